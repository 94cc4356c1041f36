// tetherline-host run as scripts use it: names of every kind reach the expressions through the
// tool, values the host would not take are refused, and the exit status says whether every
// command succeeded and gave back what it took.
#include <fstream>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "support/ToolRunner.h"

namespace {

using ::testing::HasSubstr;
using ::testing::Not;
using Json = nlohmann::json;

using tltest::Outcome;
using tltest::ReadAll;
using tltest::RunTool;
using tltest::TempFile;

Json Example() {
    return Json::parse(ReadAll(tltest::ExamplePath("connections.json")));
}

// The example with its controller layer renamed, written where the tool can read it.
std::string ExampleWithController(const std::string& name) {
    Json doc = Example();
    for (Json& layer : doc["items"][0]["layers"]) {
        if (layer["name"] == "Controller") layer["name"] = name;
    }
    const std::string path = TempFile("project.json");
    std::ofstream(path, std::ios::binary) << doc.dump();
    return path;
}

std::vector<std::string> MiterLimitLines(const std::string& out) {
    std::vector<std::string> lines;
    std::istringstream in(out);
    std::string line;
    while (std::getline(in, line)) {
        if (line.find("> Miter Limit:") != std::string::npos &&
            line.find("with expression") != std::string::npos) {
            lines.push_back(line);
        }
    }
    return lines;
}

#ifdef TL_HAVE_EXPRESSIONS
TEST(RunTool, EveryControllerNameGivesMiterLimitsThatFollowTheSlider) {
    std::string long_utf8 = "Rig ";
    while (long_utf8.size() + 3 <= 255) long_utf8 += "\xE2\x82\xAC";
    const std::string names[] = {
        "Tetherline Controller - Main Rig 01",       long_utf8,
        "Main\nRig\r\n\xE2\x80\xA8Left\xE2\x80\xA9", "\"Rig\" \\ Tab\t\x01",
        "Controller " + std::string(600, 'c'),
    };
    for (const std::string& name : names) {
        SCOPED_TRACE(name.substr(0, 40));
        const Outcome run = RunTool(
            {"run", ExampleWithController(name), "--set", "10=1", "--set", "11=6", "--summary"});
        EXPECT_EQ(run.status, 0) << run.err;
        const auto lines = MiterLimitLines(run.out);
        EXPECT_EQ(lines.size(), 9u) << run.out;
        for (const std::string& line : lines) {
            EXPECT_THAT(line, HasSubstr("-> evaluates to 6"));
            EXPECT_THAT(line, Not(HasSubstr("(error")));
        }
    }
}
#endif

TEST(RunTool, SetRefusesValuesTheParameterCannotTake) {
    const std::string project = ExampleWithController("Controller");
    const struct {
        const char* setting;
        const char* why;
    } refused[] = {
        {"11=nan", "parameter 11: nan is not a finite number"},
        {"11=inf", "parameter 11: inf is not a finite number"},
        {"11=-inf", "not a finite number"},
        {"11=0.5", "0.5 is outside the slider's range 1 to 10000"},
        {"11=1e9", "outside the slider's range"},
        {"9=4", "4 is not one of the popup's items 1 to 3"},
        {"9=nan", "not a finite number"},
        {"21=2", "a checkbox takes 0 or 1"},
    };
    for (const auto& r : refused) {
        const Outcome run = RunTool({"run", project, "--set", r.setting});
        EXPECT_EQ(run.status, 2) << r.setting;
        EXPECT_THAT(run.err, HasSubstr(r.why)) << r.setting;
    }
    // What it does take, it writes into a file it loads again.
    const std::string out = TempFile("out.json");
    EXPECT_EQ(RunTool({"run", project, "--set", "11=10000", "--set", "9=3", "--out", out}).status,
              0);
    const Outcome again = RunTool({"run", out});
    EXPECT_EQ(again.status, 0) << again.err;
}

TEST(RunTool, ACommandThatFailsMakesTheExitStatusNonZeroAndIsNamed) {
    const std::string project = ExampleWithController("Endless " + std::string(1 << 20, 'z'));
    const Outcome run = RunTool({"run", project, "--set", "9=2", "--set", "10=1"});
    EXPECT_EQ(run.status, 1);
    // The first change succeeded; the second is named with its error and the message.
    EXPECT_THAT(run.err, Not(HasSubstr("(parameter 9)")));
    EXPECT_THAT(run.err, HasSubstr("PF_Cmd_USER_CHANGED_PARAM (parameter 10) returned error 4: "
                                   "Tetherline - Styles cannot write an expression"));
    EXPECT_THAT(run.out, HasSubstr("\"param\":10,\"result\":4"));
}

TEST(RunTool, AProjectFileTheLoaderRefusesNamesThePlace) {
    Json doc = Example();
    doc["items"][0]["layers"][1]["name"] = std::string("Line\0One", 8);
    const std::string path = TempFile("nul.json");
    std::ofstream(path, std::ios::binary) << doc.dump();
    const Outcome run = RunTool({"run", path});
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.err, HasSubstr("/items/0/layers/1/name: must not hold a NUL character"));
}

}  // namespace
