// The effect's own parameter streams in a project file, read with the plug-in's declared
// parameters: values outside what a parameter can take, and streams that belong to no
// parameter, are refused with their place.
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "io/ProjectFile.h"
#include "support/TestSupport.h"

namespace {

using namespace tlhost;
using Json = nlohmann::json;

#define STYLES "/items/0/layers/0/properties/children/0/children/0"

Json Example() {
    const std::string here = __FILE__;
    const std::string root = here.substr(0, here.rfind("/tests/io/"));
    std::ifstream in(root + "/examples/connections.json", std::ios::binary);
    std::stringstream read;
    read << in.rdbuf();
    return Json::parse(read.str());
}

// A parameter stream of the effect, as a file holds it.
std::string Leaf(int index, const std::string& value, const char* kind = "one_d") {
    char match_name[32];
    std::snprintf(match_name, sizeof match_name, "LK TetherlineStyles-%04d", index);
    return std::string(R"({"match_name": ")") + match_name + R"(", "name": "P", "kind": ")" + kind +
           R"(", "value": )" + value + "}";
}

class EffectStreams : public ::testing::Test {
  protected:
    void SetUp() override {
        session_ = tltest::StartInProcess();
        ASSERT_TRUE(session_);
        ASSERT_EQ(session_->ParamsSetup().result, PF_Err_NONE);
    }

    // Loads the example with the controller's effect holding `children`.
    bool Load(const std::string& children, LoadError* error) {
        Json doc = Example();
        doc[Json::json_pointer(STYLES)]["children"] = Json::parse("[" + children + "]");
        Project& project = session_->host().project();
        Session& s = *session_;
        return LoadProject(doc.dump(), project, error, [&](Layer&, EffectInstance& effect) {
            if (effect.match_name() != s.registration().match_name) return false;
            s.Instantiate(effect);
            return true;
        });
    }

    std::unique_ptr<Session> session_;
};

TEST_F(EffectStreams, ValuesWithinWhatEachParameterTakesAreLoaded) {
    LoadError error;
    ASSERT_TRUE(Load(Leaf(9, "3") + "," + Leaf(11, "10000") + "," + Leaf(11 + 10, "1"), &error))
        << error.message();
    EffectInstance* effect = session_->FindEffect();
    ASSERT_TRUE(effect);
    EXPECT_EQ(effect->params()[9].def().u.pd.value, 3);
    EXPECT_EQ(effect->params()[11].def().u.fs_d.value, 10000);
}

struct Refused {
    const char* label;
    std::string children;
    const char* where;  // below the effect's group
    const char* what;
};

class RefusedStreams : public EffectStreams, public ::testing::WithParamInterface<Refused> {};

TEST_P(RefusedStreams, AreNamedWithTheirPlace) {
    LoadError error;
    EXPECT_FALSE(Load(GetParam().children, &error));
    EXPECT_EQ(error.where, std::string(STYLES) + GetParam().where);
    EXPECT_NE(error.what.find(GetParam().what), std::string::npos) << error.what;
    EXPECT_TRUE(session_->host().project().items().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Faults, RefusedStreams,
    ::testing::Values(
        // "Line Cap" has three items.
        Refused{"PopupPastItsChoices", Leaf(9, "4"), "/children/0/value",
                "\"Line Cap\": 4 is not one of the popup's items 1 to 3"},
        Refused{"PopupZero", Leaf(9, "0"), "/children/0/value", "items 1 to 3"},
        Refused{"PopupBetweenItems", Leaf(9, "2.5"), "/children/0/value", "items 1 to 3"},
        Refused{"PopupHuge", Leaf(9, "1e300"), "/children/0/value", "items 1 to 3"},
        // "Miter Limit" takes 1 to 10000.
        Refused{"SliderBelowItsRange", Leaf(11, "0.5"), "/children/0/value",
                "\"Miter Limit\": 0.5 is outside the slider's range 1 to 10000"},
        Refused{"SliderAboveItsRange", Leaf(11, "10000.5"), "/children/0/value",
                "range 1 to 10000"},
        Refused{"CheckboxTwo", Leaf(21, "2"), "/children/0/value", "a checkbox takes 0 or 1"},
        // Streams that belong to no parameter.
        Refused{"StreamOfTheInputLayer", Leaf(0, "0"), "/children/0",
                "stray parameter stream \"LK TetherlineStyles-0000\""},
        Refused{"StreamPastTheLastParameter", Leaf(11, "4") + "," + Leaf(999, "0"), "/children/1",
                "stray parameter stream \"LK TetherlineStyles-0999\""},
        Refused{
            "StreamWithoutAnIndex",
            R"({"match_name": "LK TetherlineStyles-abcd", "name": "X", "kind": "one_d", "value": 0})",
            "/children/0", "stray parameter stream \"LK TetherlineStyles-abcd\""},
        Refused{"StreamListedTwice", Leaf(11, "4") + "," + Leaf(11, "5"), "/children/1",
                "listed twice"}),
    [](const auto& info) { return std::string(info.param.label); });

}  // namespace
