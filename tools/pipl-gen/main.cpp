// tl-pipl-gen: writes the effect's registration resource (the raw property-list bytes) to a
// file, for the build to attach to the module.
//
//   tl-pipl-gen --platform windows|macos --out FILE

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "shell/Pipl.h"

namespace {

int Usage(const char* why) {
    std::fprintf(stderr,
                 "tl-pipl-gen: %s\nusage: tl-pipl-gen --platform windows|macos --out FILE\n", why);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    const char* platform_arg = nullptr;
    const char* out_path = nullptr;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::printf("usage: tl-pipl-gen --platform windows|macos --out FILE\n");
            return 0;
        }
        if (arg != "--platform" && arg != "--out") {
            return Usage(("unknown argument: " + arg).c_str());
        }
        if (i + 1 >= argc) return Usage(("missing value after " + arg).c_str());
        const char*& slot = arg == "--platform" ? platform_arg : out_path;
        if (slot != nullptr) return Usage((arg + " given twice").c_str());
        slot = argv[++i];
    }
    if (platform_arg == nullptr) return Usage("--platform is required");
    if (out_path == nullptr || *out_path == '\0') return Usage("--out is required");

    PiplPlatform platform;
    if (std::strcmp(platform_arg, "windows") == 0) {
        platform = PiplPlatform::Windows;
    } else if (std::strcmp(platform_arg, "macos") == 0) {
        platform = PiplPlatform::MacOS;
    } else {
        return Usage((std::string("unknown platform: ") + platform_arg).c_str());
    }

    const std::vector<std::uint8_t> bytes = BuildPipl(platform);
    std::FILE* f = std::fopen(out_path, "wb");
    if (f == nullptr) {
        std::fprintf(stderr, "tl-pipl-gen: cannot open %s for writing: %s\n", out_path,
                     std::strerror(errno));
        return 1;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    const bool closed = std::fclose(f) == 0;
    if (!written || !closed) {
        std::fprintf(stderr, "tl-pipl-gen: writing %s failed\n", out_path);
        std::remove(out_path);
        return 1;
    }
    return 0;
}
