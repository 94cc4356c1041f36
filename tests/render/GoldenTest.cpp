// A golden picture per example project, drawn by the tool as the README draws them and compared
// with the picture kept in tests/render/golden/ within a small tolerance (anti-aliasing may
// differ slightly between cairo builds): every channel within 3 of the golden picture's, save
// at most 0.5 % of the pixels.
//
// After a deliberate change to the drawing or to an example, bless new golden pictures with
//     cmake --build build --target bless-golden-pictures
// (it runs this test with TL_BLESS_GOLDEN=1, which writes the pictures instead of comparing),
// look at them, and commit them. A failing comparison leaves the picture drawn and a picture of
// the differences (in red) beside the test's temporary files, and names them.
#include <algorithm>
#include <cstdlib>
#include <fstream>

#include <gtest/gtest.h>

#include "drawing/Renderer.h"
#include "render/ToolSupport.h"

namespace rendertest {
namespace {

struct Golden {
    const char* name;     // the golden picture: golden/<name>.png
    const char* example;  // the project, in examples/
    std::vector<std::string> options;
};

const Golden kGoldens[] = {
    {"connections", "connections.json", {"--scale", "0.5"}},
    {"animated", "animated.json", {"--scale", "0.5", "--time", "0.8"}},
};

std::string GoldenPath(const Golden& golden) {
    return std::string(TL_GOLDEN_DIR) + "/" + golden.name + ".png";
}

TEST(GoldenPictures, EachExampleDrawsAsItsGoldenPicture) {
    const bool bless = std::getenv("TL_BLESS_GOLDEN") != nullptr;
    for (const Golden& golden : kGoldens) {
        SCOPED_TRACE(golden.name);
        const std::string drawn =
            bless ? GoldenPath(golden) : TempFile(golden.name + std::string(".png"));
        std::vector<std::string> args{"render", ExamplePath(golden.example), "--png", drawn};
        args.insert(args.end(), golden.options.begin(), golden.options.end());
        const Outcome outcome = RunTool(args);
        ASSERT_EQ(outcome.status, 0) << outcome.err;
        if (bless) {
            std::printf("blessed %s\n", drawn.c_str());
            continue;
        }
        tlhost::RenderedImage want, got;
        std::string error;
        ASSERT_TRUE(tlhost::ReadPng(GoldenPath(golden), &want, &error)) << error;
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
            const std::string diff_path = TempFile(golden.name + std::string("-diff.png"));
            tlhost::WritePng(diff, diff_path, &error);
            ADD_FAILURE() << off << " of " << pixels << " pixels differ (by up to " << worst
                          << ") from " << GoldenPath(golden) << "; drawn: " << drawn
                          << ", differences: " << diff_path;
        }
    }
}

}  // namespace
}  // namespace rendertest
