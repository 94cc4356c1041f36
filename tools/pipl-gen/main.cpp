// tl-pipl-gen: writes the effect's registration resource (the property list) for one platform,
// as raw bytes or in the container the platform's build packs it in. Runs on the build machine,
// whatever the target: the byte order follows --platform, never the machine running it.
//
//   tl-pipl-gen --platform windows|macos [--format FORMAT] --out FILE
//
//   raw       the property list itself (default)
//   rc        windows: a resource script declaring it as "PIPL" 16000, US English
//   rsrc      macos: a resource file holding it as 'PiPL' 16000, for the bundle's Resources
//   pkginfo   macos: the bundle's PkgInfo (kind and host creator code)

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "Formats.h"
#include "shell/Pipl.h"

namespace {

constexpr char kUsage[] =
    "usage: tl-pipl-gen --platform windows|macos [--format raw|rc|rsrc|pkginfo] --out FILE\n";

int Usage(const std::string& why) {
    std::fprintf(stderr, "tl-pipl-gen: %s\n%s", why.c_str(), kUsage);
    return 2;
}

enum class Format { Raw, ResourceScript, ResourceFile, PkgInfo };

struct FormatRow {
    const char* name;
    Format format;
    bool windows, macos;  // the platforms it exists for
};
// clang-format off
constexpr FormatRow kFormats[] = {
    // name       format                  windows macos
    {"raw",     Format::Raw,            true,   true},
    {"rc",      Format::ResourceScript, true,   false},
    {"rsrc",    Format::ResourceFile,   false,  true},
    {"pkginfo", Format::PkgInfo,        false,  true},
};
// clang-format on

bool WriteFile(const char* path, const void* data, std::size_t size) {
    std::FILE* f = std::fopen(path, "wb");
    if (f == nullptr) {
        std::fprintf(stderr, "tl-pipl-gen: cannot open %s for writing: %s\n", path,
                     std::strerror(errno));
        return false;
    }
    const bool written = std::fwrite(data, 1, size, f) == size;
    const bool closed = std::fclose(f) == 0;
    if (!written || !closed) {
        std::fprintf(stderr, "tl-pipl-gen: writing %s failed\n", path);
        std::remove(path);
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const char* platform_arg = nullptr;
    const char* format_arg = nullptr;
    const char* out_path = nullptr;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::printf("%s", kUsage);
            return 0;
        }
        const char** slot = arg == "--platform" ? &platform_arg
                            : arg == "--format" ? &format_arg
                            : arg == "--out"    ? &out_path
                                                : nullptr;
        if (slot == nullptr) return Usage("unknown argument: " + arg);
        if (i + 1 >= argc) return Usage("missing value after " + arg);
        if (*slot != nullptr) return Usage(arg + " given twice");
        *slot = argv[++i];
    }
    if (platform_arg == nullptr) return Usage("--platform is required");
    if (out_path == nullptr || *out_path == '\0') return Usage("--out is required");

    PiplPlatform platform;
    if (std::strcmp(platform_arg, "windows") == 0) {
        platform = PiplPlatform::Windows;
    } else if (std::strcmp(platform_arg, "macos") == 0) {
        platform = PiplPlatform::MacOS;
    } else {
        return Usage(std::string("unknown platform: ") + platform_arg);
    }
    const FormatRow* format = &kFormats[0];
    if (format_arg != nullptr) {
        format = nullptr;
        for (const FormatRow& row : kFormats) {
            if (std::strcmp(format_arg, row.name) == 0) format = &row;
        }
        if (format == nullptr) return Usage(std::string("unknown format: ") + format_arg);
    }
    const bool windows = platform == PiplPlatform::Windows;
    if (!(windows ? format->windows : format->macos)) {
        return Usage(std::string("format ") + format->name + " does not exist for " + platform_arg);
    }

    const std::vector<std::uint8_t> pipl = BuildPipl(platform);
    switch (format->format) {
        case Format::Raw:
            return WriteFile(out_path, pipl.data(), pipl.size()) ? 0 : 1;
        case Format::ResourceScript: {
            std::string script, error;
            if (!piplgen::WindowsResourceScript(pipl, script, error)) {
                std::fprintf(stderr, "tl-pipl-gen: %s\n", error.c_str());
                return 1;
            }
            return WriteFile(out_path, script.data(), script.size()) ? 0 : 1;
        }
        case Format::ResourceFile: {
            const std::vector<std::uint8_t> file = piplgen::MacResourceFile(pipl);
            return WriteFile(out_path, file.data(), file.size()) ? 0 : 1;
        }
        case Format::PkgInfo: {
            const std::string info = piplgen::MacPkgInfo();
            return WriteFile(out_path, info.data(), info.size()) ? 0 : 1;
        }
    }
    return 1;
}
