// `tetherline-host run` pressing the Assistant's buttons on the animated example project: the
// summary names the properties that got keys and how many, the expressions switched off or
// on, the Info panel's last texts and the undo group of each press.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "support/ToolRunner.h"

namespace {

bool Has(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

const std::string kLine1 = "Rig > Connection 1 > Contents > Connection 1 > Contents > ";
const std::string kLine2 = "Rig > Connection 2 > Contents > Connection 2 > Contents > ";

TEST(ToolRunAssistant, ThePathBakeKeysPathsPositionAndOrientationOverTheWorkArea) {
    int status = -1;
    const std::vector<std::string> lines = tltest::RunToolLines(
        std::string("run '") + TL_EXAMPLES_DIR + "/animated.json' --press 147 --summary", &status);
    EXPECT_EQ(status, 0);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[1],
              "{\"command\":\"PF_Cmd_USER_CHANGED_PARAM\",\"leftovers\":[],\"param\":147,"
              "\"result\":0}");
    // The work area is 0.4 s to 1.2 s at 25 frames per second: 20 frames.
    for (const std::string& line : {
             kLine1 + "Path 1 > Path: keyframes 0 -> 20, expression switched off",
             kLine1 + "Path 2 > Path: keyframes 2 -> 22",
             std::string("Rig > Connection 1 > Transform > Orientation: keyframes 0 -> 20, "
                         "expression switched off"),
             std::string("Rig > Connection 1 > Transform > Position: keyframes 0 -> 20, "
                         "expression switched off"),
             // Connection 2 starts after the work area: no keys, its expressions off.
             kLine2 + "Path 1 > Path: expression switched off",
             std::string("Rig > Connection 2 > Transform > Position: expression switched off"),
             std::string("info panel: 80 updates, the last: \"Evaluating...\" / \"Layer\" \"#2\" "
                         "/ \"Frame\" \"20 of 20\""),
             std::string("undo group \"Convert Path Expressions\" (closed): 9 changes"),
         }) {
        EXPECT_TRUE(Has(lines, line)) << line;
    }
    // Styles, the switched-off "Outline" group and Connection 3 (another controller's) stay.
    for (const std::string& line : lines) {
        EXPECT_EQ(line.find("Stroke Width: keyframes"), std::string::npos) << line;
        EXPECT_EQ(line.find("Outline"), std::string::npos) << line;
        EXPECT_EQ(line.find("Connection 3"), std::string::npos) << line;
    }
}

TEST(ToolRunAssistant, TheStyleBakeAndTheRelinkSwitchExpressionsOffAndBackOn) {
    int status = -1;
    const std::vector<std::string> baked = tltest::RunToolLines(
        std::string("run '") + TL_EXAMPLES_DIR + "/animated.json' --press 148 --summary", &status);
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(Has(baked, kLine1 + "Stroke 1 > Stroke Width: keyframes 0 -> 20, expression "
                                    "switched off"));
    EXPECT_TRUE(
        Has(baked, kLine1 + "Trim Paths > End: keyframes 0 -> 20, expression switched off"));
    EXPECT_TRUE(Has(baked, "undo group \"Convert Style Expressions\" (closed): 9 changes"));

    const std::vector<std::string> relinked =
        tltest::RunToolLines(std::string("run '") + TL_EXAMPLES_DIR +
                                 "/animated.json' --press 148 --press 149 --summary",
                             &status);
    EXPECT_EQ(status, 0);
    // Back on where keys make the property vary; Connection 2's stay off (no keys).
    EXPECT_TRUE(Has(relinked, kLine1 + "Stroke 1 > Stroke Width: keyframes 0 -> 20"));
    EXPECT_TRUE(Has(relinked, kLine2 + "Stroke 1 > Stroke Width: expression switched off"));
    EXPECT_TRUE(Has(relinked, "undo group \"Relink Expressions\" (closed): 4 changes"));
}

}  // namespace
