// `tetherline-host run` with a "Reveal in Timeline" button pressed on the example project: the
// command's line names the key events and the selection it made, and the summary lists the
// selected properties in order.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/ToolRunner.h"

namespace {

std::string Colors(const std::string& layer, const std::string& paint) {
    return layer + " > Contents > " + layer + " > Contents > " + paint + " > Colors";
}

TEST(ToolRun, PressingTheStrokeRevealShowsTheSelectionAndFourKeyEvents) {
    int status = -1;
    const std::vector<std::string> lines = tltest::RunToolLines(
        std::string("run '") + TL_EXAMPLES_DIR + "/connections.json' --press 16 --summary",
        &status);
    EXPECT_EQ(status, 0);
    ASSERT_GE(lines.size(), 7u);
    // Connection 2's gradient stroke is switched off; Connection 5 belongs to another
    // controller.
    const std::vector<std::string> selected = {Colors("Connection 1", "Gradient Stroke 1"),
                                               Colors("Connection 3", "Gradient Stroke 1"),
                                               Colors("Connection 4", "Gradient Stroke 1")};
    std::string expected_line =
        "{\"command\":\"PF_Cmd_USER_CHANGED_PARAM\",\"key_events\":[\"S down\",\"S up\",\"S "
        "down\",\"S up\"],\"leftovers\":[],\"param\":16,\"result\":0,\"selection\":{\"Main\":[";
    for (std::size_t i = 0; i < selected.size(); ++i) {
        expected_line += (i ? ",\"" : "\"") + selected[i] + "\"";
    }
    expected_line += "]}}";
    EXPECT_EQ(lines[1], expected_line);
    const std::vector<std::string> summary(lines.end() - 5, lines.end());
    const std::vector<std::string> expected_summary = {"Main > selection: none  ->  3 properties",
                                                       "  " + selected[0], "  " + selected[1],
                                                       "  " + selected[2], "0 properties changed"};
    EXPECT_EQ(summary, expected_summary);
}

TEST(ToolRun, TheFillRevealReplacesTheStrokeSelection) {
    int status = -1;
    const std::vector<std::string> lines =
        tltest::RunToolLines(std::string("run '") + TL_EXAMPLES_DIR +
                                 "/connections.json' --press 16 --press 38 --summary",
                             &status);
    EXPECT_EQ(status, 0);
    ASSERT_GE(lines.size(), 4u);
    const std::vector<std::string> summary(lines.end() - 4, lines.end());
    const std::vector<std::string> expected_summary = {
        "Main > selection: none  ->  2 properties",
        "  " + Colors("Connection 1", "Gradient Fill 1"),
        "  " + Colors("Connection 3", "Gradient Fill 1"), "0 properties changed"};
    EXPECT_EQ(summary, expected_summary);
}

}  // namespace
