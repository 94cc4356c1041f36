// tl-pipl-gen as the builds run it: the resource script the Windows build compiles, the raw
// property lists, the refusal of formats that do not exist for a platform, and the containers'
// layout for property lists of other sizes.

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "Formats.h"
#include "shell/Pipl.h"

namespace {

struct Generated {
    int status = -1;  // the generator's exit status
    bool written = false;
    std::string output;
};

Generated Generate(const std::string& arguments) {
    // Test programs run side by side: a file of this test's own.
    const std::string out = ::testing::TempDir() + "tl-pipl-gen-" +
                            ::testing::UnitTest::GetInstance()->current_test_info()->name() + "-" +
                            std::to_string(getpid()) + ".out";
    std::remove(out.c_str());
    const std::string command =
        std::string("'") + TL_PIPLGEN_PATH + "' " + arguments + " --out '" + out + "' 2>/dev/null";
    const int status = std::system(command.c_str());
    Generated run;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream in(out, std::ios::binary);
    run.written = static_cast<bool>(in);
    run.output.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    std::remove(out.c_str());
    return run;
}

std::string AsString(const std::vector<std::uint8_t>& v) {
    return std::string(v.begin(), v.end());
}

// The bytes of the one raw-data block between BEGIN and END, read back from 16-bit words the
// way the resource compiler stores them (low byte first).
std::string WordsOf(const std::string& script) {
    const std::size_t begin = script.find("\nBEGIN\n");
    const std::size_t end = script.find("\nEND\n");
    if (begin == std::string::npos || end == std::string::npos) return "";
    std::istringstream words(script.substr(begin + 7, end - begin - 7));
    std::string out, word;
    while (words >> word) {
        if (!word.empty() && word.back() == ',') word.pop_back();
        const unsigned long v = std::stoul(word, nullptr, 16);
        EXPECT_LE(v, 0xFFFFul) << word;
        out += static_cast<char>(v & 0xFF);
        out += static_cast<char>(v >> 8);
    }
    return out;
}

TEST(PiplGen, ResourceScriptDeclaresPipl16000InUSEnglishWithTheWindowsBytes) {
    const Generated run = Generate("--platform windows --format rc");
    ASSERT_EQ(run.status, 0);
    // The language applies to what follows it; the resource is type "PIPL", identifier 16000.
    const std::size_t language = run.output.find("\nLANGUAGE 0x09, 0x01\n");
    const std::size_t resource = run.output.find("\n16000 PIPL\nBEGIN\n");
    ASSERT_NE(language, std::string::npos) << run.output;
    ASSERT_NE(resource, std::string::npos) << run.output;
    EXPECT_LT(language, resource);
    EXPECT_EQ(run.output.find("16000", resource + 2), std::string::npos) << "one resource only";
    EXPECT_EQ(WordsOf(run.output), AsString(BuildPipl(PiplPlatform::Windows)));
}

TEST(PiplGen, RawPropertyListsFollowThePlatformArgument) {
    const Generated windows = Generate("--platform windows");
    const Generated macos = Generate("--platform macos --format raw");
    ASSERT_EQ(windows.status, 0);
    ASSERT_EQ(macos.status, 0);
    EXPECT_EQ(windows.output, AsString(BuildPipl(PiplPlatform::Windows)));
    EXPECT_EQ(macos.output, AsString(BuildPipl(PiplPlatform::MacOS)));
    const Generated pkginfo = Generate("--platform macos --format pkginfo");
    EXPECT_EQ(pkginfo.output, "eFKTFXTC");
}

TEST(PiplGen, RefusesFormatsThePlatformDoesNotHave) {
    for (const char* arguments :
         {"--platform macos --format rc", "--platform windows --format rsrc",
          "--platform windows --format pkginfo", "--platform windows --format zip",
          "--platform linux", "--platform windows --format rc --format rc"}) {
        const Generated run = Generate(arguments);
        EXPECT_EQ(run.status, 2) << arguments;
        EXPECT_FALSE(run.written) << arguments;
    }
}

TEST(PiplContainers, ResourceScriptRefusesAnOddLength) {
    std::string script, error;
    EXPECT_FALSE(piplgen::WindowsResourceScript({1, 2, 3}, script, error));
    EXPECT_NE(error.find("odd"), std::string::npos) << error;
    ASSERT_TRUE(piplgen::WindowsResourceScript({0x01, 0x80, 0xFF, 0x00}, script, error));
    EXPECT_EQ(WordsOf(script), std::string("\x01\x80\xFF\x00", 4));
}

TEST(PiplContainers, ResourceFileOffsetsFollowTheDataSize) {
    // Five bytes of data: the map moves with the data, the map's own layout does not.
    const std::vector<std::uint8_t> file = piplgen::MacResourceFile({'a', 'b', 'c', 'd', 'e'});
    ASSERT_EQ(file.size(), 256u + 4 + 5 + 50);
    auto be32 = [&](std::size_t at) {
        return std::uint32_t{file[at]} << 24 | std::uint32_t{file[at + 1]} << 16 |
               std::uint32_t{file[at + 2]} << 8 | file[at + 3];
    };
    EXPECT_EQ(be32(0), 256u);
    EXPECT_EQ(be32(4), 265u);
    EXPECT_EQ(be32(8), 9u);
    EXPECT_EQ(be32(12), 50u);
    EXPECT_EQ(be32(256), 5u);
    EXPECT_EQ(std::string(file.begin() + 260, file.begin() + 265), "abcde");
    EXPECT_EQ(be32(265), 256u) << "the map starts with a copy of the header";
}

}  // namespace
