// `tetherline-host run` with "Create Placeholders" pressed on the example project: one
// placeholder layer per arrowhead path, each listed with where it stands, the placeholder
// composition made once, and the Arrowheads groups switched off.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "support/ToolRunner.h"

namespace {

// A placeholder's line: its name, then position x and y, rotation and opacity.
struct Placeholder {
    std::string name;
    double x, y, rotation, opacity;
};

std::vector<Placeholder> Placeholders(const std::vector<std::string>& lines) {
    static const std::regex kLine(
        R"(new layer Main > (.*) \(showing "TL_Arrowhead", 3D\): position ([-0-9.e]+), )"
        R"(([-0-9.e]+), 0; rotation ([-0-9.e]+); opacity ([-0-9.e]+))");
    std::vector<Placeholder> out;
    for (const std::string& line : lines) {
        std::smatch m;
        if (!std::regex_match(line, m, kLine)) continue;
        out.push_back({m[1], std::atof(m[2].str().c_str()), std::atof(m[3].str().c_str()),
                       std::atof(m[4].str().c_str()), std::atof(m[5].str().c_str())});
    }
    return out;
}

const Placeholder* Find(const std::vector<Placeholder>& all, const std::string& name) {
    for (const Placeholder& p : all) {
        if (p.name == name) return &p;
    }
    ADD_FAILURE() << "no placeholder " << name;
    return nullptr;
}

// The wrapped difference of two angles in degrees.
double AngleBetween(double a, double b) {
    double d = std::fmod(a - b, 360.0);
    if (d > 180) d -= 360;
    if (d < -180) d += 360;
    return std::abs(d);
}

TEST(ToolRun, CreatePlaceholdersListsOnePlaceholderPerArrowheadOnItsTrimmedEnd) {
    int status = -1;
    const std::vector<std::string> lines = tltest::RunToolLines(
        std::string("run '") + TL_EXAMPLES_DIR + "/connections.json' --press 68 --summary",
        &status);
    EXPECT_EQ(status, 0);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[1],
              "{\"command\":\"PF_Cmd_USER_CHANGED_PARAM\",\"leftovers\":[],\"param\":68,"
              "\"result\":0}");
    // Connections 1, 2 and 4 carry a start and an end arrowhead each; Connection 5 belongs to
    // another controller.
    const std::vector<Placeholder> placeholders = Placeholders(lines);
    ASSERT_EQ(placeholders.size(), 6u);
    // Connection 1's path runs from (960, 540) to (300, 200), leaving and arriving along x.
    const Placeholder* start =
        Find(placeholders, "Start Arrowhead - Controller - Arrowheads 1 - Connection 1");
    const Placeholder* end =
        Find(placeholders, "End Arrowhead - Controller - Arrowheads 1 - Connection 1");
    ASSERT_TRUE(start && end);
    EXPECT_NEAR(start->x, 960, 0.05);
    EXPECT_NEAR(start->y, 540, 0.05);
    EXPECT_NEAR(end->x, 300, 0.05);
    EXPECT_NEAR(end->y, 200, 0.05);
    EXPECT_LT(AngleBetween(start->rotation, 0), 0.01);
    EXPECT_LT(AngleBetween(end->rotation, 180), 0.01);
    EXPECT_EQ(end->opacity, 100);
    // Connection 4's set is numbered 2: its placeholders follow "Path 2", which ends at
    // (1500, 250), not "Path 1", which ends at (1500, 950).
    const Placeholder* numbered =
        Find(placeholders, "End Arrowhead - Controller - Arrowheads 2 - Connection 4");
    ASSERT_TRUE(numbered);
    EXPECT_NEAR(numbered->x, 1500, 0.05);
    EXPECT_NEAR(numbered->y, 250, 0.05);

    auto has = [&](const std::string& text) {
        return std::find(lines.begin(), lines.end(), text) != lines.end();
    };
    EXPECT_TRUE(has("new composition \"TL_Arrowhead\": 100 x 100, 30 fps, 1 layer"));
    EXPECT_TRUE(
        has("new layer TL_Arrowhead > Shape Layer 1 (shape): position 49, 50, 0; "
            "rotation 0; opacity 100"));
    for (const char* line : {"Connection 1", "Connection 2", "Connection 4"}) {
        EXPECT_TRUE(has(std::string("Main > ") + line + " > Contents > " + line +
                        " > Contents > Arrowheads: switched on  ->  switched off"))
            << line;
    }
    EXPECT_TRUE(has("undo group \"Export Arrowheads as Placeholders\" (closed): 55 changes"));
}

// A second press in the same run adds a second set and no second composition.
TEST(ToolRun, ASecondPressAddsPlaceholdersButNoComposition) {
    int status = -1;
    const std::vector<std::string> lines =
        tltest::RunToolLines(std::string("run '") + TL_EXAMPLES_DIR +
                                 "/connections.json' --press 68 --press 68 --summary",
                             &status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(Placeholders(lines).size(), 12u);
    EXPECT_EQ(
        std::count_if(lines.begin(), lines.end(),
                      [](const std::string& l) { return l.rfind("new composition", 0) == 0; }),
        1);
}

// The project written after a press holds the placeholder composition and the layers' sources:
// pressing again on it adds placeholders showing that composition and makes no other.
TEST(ToolRun, TheWrittenProjectKeepsThePlaceholderCompositionForTheNextPress) {
    const std::string out = ::testing::TempDir() + "placeholders.json";
    int status = -1;
    tltest::RunToolLines(std::string("run '") + TL_EXAMPLES_DIR +
                             "/connections.json' --press 68 --out '" + out + "'",
                         &status);
    ASSERT_EQ(status, 0);
    const std::vector<std::string> lines =
        tltest::RunToolLines("run '" + out + "' --press 68 --summary", &status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(Placeholders(lines).size(), 6u);
    EXPECT_EQ(
        std::count_if(lines.begin(), lines.end(),
                      [](const std::string& l) { return l.rfind("new composition", 0) == 0; }),
        0);
}

}  // namespace
