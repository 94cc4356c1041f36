// Golden pictures: one per example project, and the README's pictures, each drawn by the tool
// with the command the README shows and compared with the picture kept in the source tree
// within a small tolerance (anti-aliasing may differ slightly between cairo builds): every
// channel within 3 of the golden picture's, save at most 0.5 % of the pixels.
//
// After a deliberate change to the drawing or to an example, bless new golden pictures with
//     cmake --build build --target bless-golden-pictures
// (it runs this test with TL_BLESS_GOLDEN=1, which writes the pictures instead of comparing),
// look at them, and commit them. A failing comparison leaves the picture drawn and a picture of
// the differences (in red) beside the test's temporary files, and names them.
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include <gtest/gtest.h>

#include "drawing/Renderer.h"
#include "support/ToolRunner.h"

namespace rendertest {

using tltest::Outcome;
using tltest::RunTool;
using tltest::TempFile;
namespace {

struct Golden {
    const char* picture;  // where the golden picture lives, from the top of the source tree
    // The tool's arguments: "@" starts a path from the top of the source tree, and "PNG" stands
    // for the picture drawn.
    std::vector<std::string> args;
};

const Golden kGoldens[] = {
    {"docs/render-main.png",
     {"render", "@examples/connections.json", "--scale", "0.5", "--png", "PNG"}},
    {"docs/render-styled.png",
     {"run", "@examples/connections.json", "--set", "10=1", "--click-module", "2", "--set", "12=1",
      "--set", "13=2", "--set", "14=40", "--set", "15=30", "--scale", "0.5", "--png-after", "PNG"}},
    {"docs/render-placeholders.png",
     {"run", "@examples/connections.json", "--press", "68", "--scale", "0.5", "--png-after",
      "PNG"}},
    {"tests/render/golden/animated.png",
     {"render", "@examples/animated.json", "--time", "0.8", "--scale", "0.5", "--png", "PNG"}},
    {"tests/render/golden/animated-self-styled.png",
     {"render", "@examples/animated.json", "--comp", "Self Styled", "--time", "0.25", "--png",
      "PNG"}},
};

std::string SourcePath(const std::string& relative) {
    return std::string(TL_SOURCE_DIR) + "/" + relative;
}

TEST(GoldenPictures, EachExampleAndReadmePictureDrawsAsItsGoldenPicture) {
    const bool bless = std::getenv("TL_BLESS_GOLDEN") != nullptr;
    for (const Golden& golden : kGoldens) {
        SCOPED_TRACE(golden.picture);
        const std::string want_path = SourcePath(golden.picture);
        std::string leaf = golden.picture;
        std::replace(leaf.begin(), leaf.end(), '/', '-');
        const std::string drawn = bless ? want_path : TempFile(leaf);
        std::vector<std::string> args;
        for (const std::string& arg : golden.args) {
            args.push_back(arg == "PNG" ? drawn : arg[0] == '@' ? SourcePath(arg.substr(1)) : arg);
        }
        const Outcome outcome = RunTool(args);
        ASSERT_EQ(outcome.status, 0) << outcome.err;
        if (bless) {
            std::printf("blessed %s\n", drawn.c_str());
            continue;
        }
        tlhost::RenderedImage want, got;
        std::string error;
        ASSERT_TRUE(tlhost::ReadPng(want_path, &want, &error)) << error;
        ASSERT_TRUE(tlhost::ReadPng(drawn, &got, &error)) << error;
        ASSERT_EQ(got.width, want.width);
        ASSERT_EQ(got.height, want.height);
        tlhost::RenderedImage diff = got;
        std::size_t off = 0;
        int worst = 0;
        for (std::size_t i = 0; i < got.rgba.size(); i += 4) {
            int d = 0;
            for (std::size_t c = 0; c < 4; ++c)
                d = std::max(d, std::abs(got.rgba[i + c] - want.rgba[i + c]));
            worst = std::max(worst, d);
            const bool differs = d > 3;
            off += differs;
            diff.rgba[i] = differs ? 255 : got.rgba[i] / 4;
            diff.rgba[i + 1] = differs ? 0 : got.rgba[i + 1] / 4;
            diff.rgba[i + 2] = differs ? 0 : got.rgba[i + 2] / 4;
            diff.rgba[i + 3] = 255;
        }
        const std::size_t pixels = got.rgba.size() / 4;
        if (off * 200 > pixels) {
            const std::string diff_path = TempFile("diff-" + leaf);
            tlhost::WritePng(diff, diff_path, &error);
            ADD_FAILURE() << off << " of " << pixels << " pixels differ (by up to " << worst
                          << ") from " << want_path << "; drawn: " << drawn
                          << ", differences: " << diff_path;
        }
    }
}

}  // namespace
}  // namespace rendertest
