// tetherline-host render and run --png-before/--png-after as the README uses them: pictures of
// the example's compositions, what is left out said once each on standard error, and options
// that cannot give a picture refused before anything is drawn.
#include <cmath>
#include <fstream>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "drawing/Renderer.h"
#include "render/RenderFixture.h"
#include "support/ToolRunner.h"

namespace rendertest {

using tltest::Count;
using tltest::ExamplePath;
using tltest::Outcome;
using tltest::RunTool;
using tltest::TempFile;
namespace {

using ::testing::HasSubstr;

tlhost::RenderedImage ReadPicture(const std::string& path) {
    tlhost::RenderedImage image;
    std::string error;
    EXPECT_TRUE(tlhost::ReadPng(path, &image, &error)) << error;
    return image;
}

// A point of a cubic segment.
std::pair<double, double> OnCubic(const double p[8], double t) {
    const double u = 1 - t;
    const double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
    return {a * p[0] + b * p[2] + c * p[4] + d * p[6], a * p[1] + b * p[3] + c * p[5] + d * p[7]};
}

TEST(RenderTool, DrawsTheExamplesMainCompositionAndSaysWhatItLeavesOutOnce) {
    const std::string png = TempFile("main.png");
    const Outcome outcome = RunTool({"render", ExamplePath("connections.json"), "--png", png});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    const tlhost::RenderedImage image = ReadPicture(png);
    ASSERT_EQ(image.width, 1920);
    ASSERT_EQ(image.height, 1080);
    // Connection 3's middle: the cubic from (960, 540) through (680, 540) and (680, 900) to
    // (400, 900) passes (680, 720); its stroke is 3 wide, in 0.9, 0.3, 0.2.
    EXPECT_TRUE(Near(image.At(680, 720), Rgb(230, 77, 51)));
    EXPECT_TRUE(Near(image.At(10, 1070), kBlack));
    // Said once each: the background solid, and the gradients' colours (four layers have
    // gradients).
    EXPECT_EQ(Count(outcome.err, "\"Background\" in \"Main\" is not drawn"), 1u) << outcome.err;
    EXPECT_EQ(Count(outcome.err, "gradient colours are not held in the project"), 1u);
}

TEST(RenderTool, ChoosesTheCompositionTheTimeAndTheScale) {
    const std::string png = TempFile("self.png");
    const Outcome outcome =
        RunTool({"render", ExamplePath("connections.json"), "--comp", "Self Styled", "--time",
                 "2.5", "--scale", "0.5", "--png", png});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    const tlhost::RenderedImage image = ReadPicture(png);
    EXPECT_EQ(image.width, 640);
    EXPECT_EQ(image.height, 360);
    // The styled shape's line runs along y = 360 (180 at half size) from x = 200 to 1080.
    EXPECT_TRUE(Near(image.At(320, 180), kWhite));
    EXPECT_TRUE(Near(image.At(320, 170), kBlack));
}

TEST(RenderTool, RefusesOptionsThatGiveNoPicture) {
    const std::string png = TempFile("refused.png");
    struct Case {
        std::vector<std::string> options;
        const char* says;
    };
    const Case cases[] = {
        {{"--comp", "Nowhere"}, "no composition is named \"Nowhere\""},
        {{"--time", "10"}, "--time takes seconds from 0 up to the composition's duration (10 s)"},
        {{"--time", "-0.5"}, "--time takes seconds"},
        {{"--scale", "0"}, "--scale takes a positive number"},
        {{"--scale", "9"}, "--scale takes a positive number"},  // 17280 pixels wide
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.says);
        std::vector<std::string> args{"render", ExamplePath("connections.json"), "--png", png};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const Outcome outcome = RunTool(args);
        EXPECT_EQ(outcome.status, 2);
        EXPECT_THAT(outcome.err, HasSubstr(c.says));
        EXPECT_FALSE(std::ifstream(png).good());
    }
    EXPECT_NE(RunTool({"render", ExamplePath("connections.json")}).status, 0);  // no --png
    EXPECT_EQ(RunTool({"render", TempFile("missing.json"), "--png", png}).status, 1);
    const Outcome unwritable =
        RunTool({"render", ExamplePath("connections.json"), "--png", TempFile("no/such/dir.png")});
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_THAT(unwritable.err, HasSubstr("cannot write"));
}

TEST(RenderTool, DrawsProjectsWithoutTheEffect) {
    const std::string project = TempFile("plain.json");
    std::ofstream(project) << R"({"items": [{"name": "Plain", "type": "composition", "id": 1,
        "width": 40, "height": 20, "layers": [{"id": 1, "name": "Line", "type": "shape",
        "properties": {"match_name": "ADBE Vector Layer", "name": "Line", "group": "named",
        "children": [{"match_name": "ADBE Root Vectors Group", "name": "Contents",
          "group": "indexed", "children": [
            {"match_name": "ADBE Vector Shape - Group", "name": "Path 1", "group": "named",
             "children": [{"match_name": "ADBE Vector Shape", "name": "Path", "kind": "path",
               "value": {"closed": false, "vertices": [[0, 10, 0, 0, 0, 0], [40, 10, 0, 0, 0, 0]]}}]},
            {"match_name": "ADBE Vector Graphic - Stroke", "name": "Stroke 1", "group": "named",
             "children": [{"match_name": "ADBE Vector Stroke Width", "name": "Stroke Width",
               "kind": "one_d", "value": 4}]}]}]}}]}], "undo_groups": []})";
    const std::string png = TempFile("plain.png");
    const Outcome outcome = RunTool({"render", project, "--png", png});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_TRUE(outcome.err.empty()) << outcome.err;
    const tlhost::RenderedImage image = ReadPicture(png);
    EXPECT_TRUE(Near(image.At(20, 10), kWhite));
    EXPECT_TRUE(Near(image.At(20, 5), kBlack));
}

TEST(RunPictures, ShowTheCompositionBeforeAndAfterTheActions) {
    // Switching the Dashes module on breaks Connection 1's stroke into dashes.
    const std::string before = TempFile("before.png");
    const std::string after = TempFile("after.png");
    const Outcome outcome = RunTool({"run", ExamplePath("connections.json"), "--click-module", "2",
                                     "--png-before", before, "--png-after", after});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    const tlhost::RenderedImage was = ReadPicture(before);
    const tlhost::RenderedImage now = ReadPicture(after);
    // Along the middle of Connection 1's path, (960, 540) (630, 540) (630, 200) (300, 200):
    // whole before; after, its white stroke keeps only the dashes and the darker gradient
    // stroke beneath shows in the gaps.
    const double path[8] = {960, 540, 630, 540, 630, 200, 300, 200};
    int lit_before = 0, changed = 0, samples = 0;
    for (double t = 0.3; t <= 0.7; t += 0.002, ++samples) {
        const auto [x, y] = OnCubic(path, t);
        const int px = static_cast<int>(std::floor(x)), py = static_cast<int>(std::floor(y));
        lit_before += Red(was.At(px, py)) > 128;
        changed += Red(was.At(px, py)) - Red(now.At(px, py)) > 40;
    }
    EXPECT_EQ(lit_before, samples);
    EXPECT_LT(changed, samples * 3 / 4);
    EXPECT_GT(changed, samples / 4);
    // Each picture says what it leaves out.
    EXPECT_EQ(Count(outcome.err, "\"Background\" in \"Main\" is not drawn"), 2u) << outcome.err;
}

TEST(RunPictures, PlaceholdersShowTheirCompositionOnEachArrowheadsEnd) {
    const std::string before = TempFile("before.png");
    const std::string after = TempFile("after.png");
    const Outcome outcome = RunTool({"run", ExamplePath("connections.json"), "--press", "68",
                                     "--png-before", before, "--png-after", after});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    const tlhost::RenderedImage was = ReadPicture(before);
    const tlhost::RenderedImage now = ReadPicture(after);
    // Connection 1 ends at (300, 200), arriving from the right. Its placeholder shows
    // "TL_Arrowhead" (100 x 100, its graphic placed at (49, 50)) anchored at the centre and
    // turned half round, so the graphic's bar (x 30.1..34.0, y -18.5..18.5 from the graphic's
    // origin) lands 29.1 to 33 pixels left of the end, 18.5 above and below it.
    for (const auto& [x, y] :
         std::vector<std::pair<int, int>>{{269, 200}, {269, 186}, {269, 214}}) {
        SCOPED_TRACE(std::to_string(x) + ", " + std::to_string(y));
        EXPECT_TRUE(Near(was.At(x, y), kBlack));
        EXPECT_TRUE(Near(now.At(x, y), kWhite));
    }
    EXPECT_TRUE(Near(now.At(269, 222), kBlack));
    EXPECT_TRUE(Near(now.At(262, 200), kBlack));  // between the bar and the tabs
    // Nothing about the placeholders goes unsaid: they are drawn.
    EXPECT_EQ(Count(outcome.err, "TL_Arrowhead"), 0u) << outcome.err;
    EXPECT_EQ(Count(outcome.err, "is not drawn"), 2u) << outcome.err;  // the background, twice
}

TEST(RunPictures, RefusesAPictureOptionBeforeAnyAction) {
    const std::string out = TempFile("out.json");
    const Outcome outcome =
        RunTool({"run", ExamplePath("connections.json"), "--click-module", "2", "--comp", "Nowhere",
                 "--png-after", TempFile("after.png"), "--out", out});
    EXPECT_EQ(outcome.status, 2);
    EXPECT_THAT(outcome.err, HasSubstr("no composition is named \"Nowhere\""));
    EXPECT_FALSE(std::ifstream(out).good());
    EXPECT_EQ(Count(outcome.out, "\"command\""), 1u);  // parameter setup only
}

}  // namespace
}  // namespace rendertest
