// Parameter setup driven through the stand-in host: the declared parameters checked row by row
// against literal expectations, the module panel and its custom interface, and the failure
// paths (a refused parameter, a failed panel default or registration).
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "AE_EffectUI.h"
#include "support/TestSupport.h"

namespace {

using tlhost::CommandReport;
using tlhost::HostParam;

constexpr PF_ParamFlags kSup = PF_ParamFlag_SUPERVISE;
constexpr PF_ParamFlags kFix = PF_ParamFlag_CANNOT_TIME_VARY;
constexpr PF_ParamFlags kCol = PF_ParamFlag_START_COLLAPSED;

std::vector<std::string> Split(const std::string& list) {
    std::vector<std::string> out(1);
    for (char c : list) {
        if (c == '|') {
            out.emplace_back();
        } else {
            out.back() += c;
        }
    }
    return out;
}

class Declared : public ::testing::Test {
  protected:
    void SetUp() override {
        session_ = tltest::StartInProcess();
        ASSERT_TRUE(session_);
        report_ = session_->ParamsSetup();
        ASSERT_EQ(session_->declared_params().size(), 150u);
    }
    // The parameter with the given index (1 to 150).
    const HostParam& P(int index) const { return session_->declared_params()[index - 1]; }
    const PF_ParamDef& D(int index) const { return P(index).def(); }

    std::unique_ptr<tlhost::Session> session_;
    CommandReport report_;
};

TEST_F(Declared, AllParametersWithIdentifiersEqualToIndicesAndCount151) {
    EXPECT_EQ(report_.result, PF_Err_NONE);
    EXPECT_EQ(session_->declared_num_params(), 151);
    EXPECT_TRUE(report_.clean()) << tltest::Leftovers(report_);
    for (int i = 1; i <= 150; ++i) EXPECT_EQ(D(i).uu.id, i) << "index " << i;
}

TEST_F(Declared, GroupsStartAndEndWhereTheTableSays) {
    const struct {
        int index;
        const char* name;
        PF_ParamFlags flags;
    } starts[] = {{1, "Stroke", 0},
                  {20, "Fill", kCol},
                  {42, "Enable Modules", kCol | kSup},
                  {54, "Arrowheads", kSup},
                  {70, "Curviness", 0},
                  {91, "Dashes", kSup},
                  {96, "Offset", kSup},
                  {99, "Repeater", kSup},
                  {103, "Transform: Repeater", kCol},
                  {116, "Round Corners", kSup},
                  {119, "Trim", 0},
                  {126, "Twist", kSup},
                  {131, "Wiggle", kSup},
                  {141, "Zig Zag", kSup},
                  {146, "Assistant", kCol}};
    const int ends[] = {19, 40, 53, 69, 90, 95, 98, 114, 115, 118, 125, 130, 140, 145, 150};
    for (const auto& row : starts) {
        EXPECT_EQ(D(row.index).param_type, PF_Param_GROUP_START) << row.index;
        EXPECT_EQ(P(row.index).name(), row.name);
        EXPECT_EQ(D(row.index).flags, row.flags) << row.index;
    }
    for (int i : ends) {
        EXPECT_EQ(D(i).param_type, PF_Param_GROUP_END) << i;
        EXPECT_EQ(P(i).name(), "") << i;
    }
}

TEST_F(Declared, FloatSlidersCarryTheirDefaultsRangesPrecisionAndDisplay) {
    const struct {
        int index;
        const char* name;
        double value;
        float valid_min, valid_max, slider_min, slider_max;
        PF_Precision precision;
        bool percent;
    } rows[] = {
        {3, "Stroke Opacity", 100, 0, 100, 0, 100, 1, true},
        {6, "Far (px)", 400, 0, 1000000, 0, 1000, 0, false},
        {11, "Miter Limit", 4, 1, 10000, 1, 50, 1, false},
        {14, "Highlight Length", 0, -100, 100, -100, 100, 1, true},
        {15, "Highlight Angle", 0, -100000, 100000, 0, 360, 1, false},
        {17, "Gradient Scale (%)", 100, -1000000, 1000000, 0, 200, 0, false},
        {27, "Random Seed", 1, 0, 10000, 0, 100, 0, false},
        {36, "Highlight Length", 0, -100, 100, -100, 100, 1, true},
        {63, "Circle/Square Size", 15, 0, 10000, 0, 100, 0, false},
        {64, "Triangle Scale", 100, 0, 10000, 0, 100, 0, true},
        {73, "Tension", 33.333, -10000, 10000, 0, 100, 1, true},
        {78, "Max Tangent Length", 100.0 / 3.0, -1000, 1000, 0, 100, 1, true},
        {79, "Start Tangent X", 0, -10000, 10000, 0, 300, 1, false},
        {85, "Subsegments", 10, 2, 1000, 0, 20, 0, false},
        {87, "Dynamics Start Frame", 0, 0, 100000, 0, 200, 0, false},
        {88, "Precision", 15, 2, 10000, 2, 50, 0, false},
        {107, "Position Offset", 0, -1000000, 1000000, -300, 300, 1, false},
        {110, "Scale", 100, -10000, 10000, 0, 300, 1, true},
        {120, "Start", 0, 0, 100, 0, 100, 1, true},
        {122, "Both Ends", 0, 0, 50, 0, 50, 1, true},
        {123, "Offset", 0, -10000, 10000, 0, 360, 1, false},
        {139, "Random Seed", 0, 0, 10000, 0, 100, 0, false},
        {143, "Ridges per segment", 10, 0, 10000, 0, 100, 1, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.index);
        const PF_FloatSliderDef& fs = D(row.index).u.fs_d;
        ASSERT_EQ(D(row.index).param_type, PF_Param_FLOAT_SLIDER);
        EXPECT_EQ(P(row.index).name(), row.name);
        EXPECT_DOUBLE_EQ(fs.value, row.value);
        EXPECT_FLOAT_EQ(fs.dephault, static_cast<float>(row.value));
        EXPECT_EQ(fs.valid_min, row.valid_min);
        EXPECT_EQ(fs.valid_max, row.valid_max);
        EXPECT_EQ(fs.slider_min, row.slider_min);
        EXPECT_EQ(fs.slider_max, row.slider_max);
        EXPECT_EQ(fs.precision, row.precision);
        EXPECT_EQ(fs.display_flags, row.percent ? PF_ValueDisplayFlag_PERCENT : 0);
        EXPECT_FLOAT_EQ(fs.curve_tolerance, 0.05f);
        EXPECT_EQ(fs.phase, 0.0);
        EXPECT_EQ(fs.fs_flags, 0u);
        EXPECT_EQ(fs.useExponent, 0);
    }
    // Every slider may be animated except "Dynamics Start Frame".
    for (int i = 1; i <= 150; ++i) {
        if (D(i).param_type == PF_Param_FLOAT_SLIDER) {
            EXPECT_EQ(D(i).flags, i == 87 ? kFix : 0) << i;
        }
    }
}

TEST_F(Declared, PopupsOfferTheirChoicesAndStartOnTheFirst) {
    const struct {
        int index;
        const char* name;
        A_short choices;
        PF_ParamFlags flags;
    } rows[] = {{9, "Line Cap", 3, kSup | kFix},
                {10, "Line Join", 3, kSup | kFix},
                {13, "Gradient Type", 2, kSup | kFix},
                {22, "Fill Palette", 36, kSup},
                {35, "Gradient Type", 2, kSup | kFix},
                {55, "Start", 4, 0},
                {56, "End", 4, 0},
                {71, "Function", 45, kSup},
                {74, "Preset", 10, kSup},
                {75, "Preset", 5, kSup},
                {124, "Trim Multiple Shapes", 2, kSup},
                {134, "Points", 2, 0},
                {144, "Points", 2, 0}};
    int popups = 0;
    for (int i = 1; i <= 150; ++i) popups += D(i).param_type == PF_Param_POPUP;
    EXPECT_EQ(popups, 13);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.index);
        const PF_ParamDef& d = D(row.index);
        ASSERT_EQ(d.param_type, PF_Param_POPUP);
        EXPECT_EQ(P(row.index).name(), row.name);
        EXPECT_EQ(d.u.pd.num_choices, row.choices);
        EXPECT_EQ(Split(P(row.index).text()).size(), static_cast<std::size_t>(row.choices));
        EXPECT_EQ(d.u.pd.value, 1);
        EXPECT_EQ(d.u.pd.dephault, 1);
        EXPECT_EQ(d.flags, row.flags);
    }
    EXPECT_EQ(P(9).text(), "Butt Cap|Round Cap|Projecting Cap");
    EXPECT_EQ(P(10).text(), "Miter Join|Round Join|Bevel Join");
    EXPECT_EQ(P(35).text(), "Linear|Radial");
    EXPECT_EQ(P(56).text(), "None|Circle|Square|Triangle");
    EXPECT_EQ(P(74).text(),
              "None|Fifty-Fifty|Gum|Medium|Playdoh|Rubber Band|Soft Metal|Soft Plastic|Springy|"
              "Very Elastic");
    EXPECT_EQ(P(75).text(), "None|High Gravity|Low Gravity|Medium|Zero Gravity Flexible");
    EXPECT_EQ(P(124).text(), "Simultaneously|Individually");
    EXPECT_EQ(P(144).text(), "Corner|Smooth");
}

TEST_F(Declared, LongChoiceListsPlaceEachItemAtItsNumber) {
    // Items count from 1 with the "(-" separators included; the last palette can be chosen.
    const std::vector<std::string> palettes = Split(P(22).text());
    const std::pair<int, const char*> palette_items[] = {{1, "Single Color"},
                                                         {5, "From Layer"},
                                                         {6, "(-"},
                                                         {7, "1944 Mustang"},
                                                         {31, "Sandy Stone Beach Ocean Diver"},
                                                         {35, "Watermelon"},
                                                         {36, "Zen and Tea"}};
    for (const auto& [item, text] : palette_items) EXPECT_EQ(palettes.at(item - 1), text);

    const std::vector<std::string> functions = Split(P(71).text());
    const std::pair<int, const char*> function_items[] = {
        {2, "(-"},
        {3, "Arc"},
        {4, "Step (2D only)"},
        {9, "Custom Bezier Tension"},
        {12, "Dynamic Custom Bezier (2 layers only)"},
        {13, "Dynamic Verlet"},
        {14, "(-"},
        {15, "Sine - In"},
        {35, "Circular - In Out"},
        {36, "(-"},
        {45, "Bounce - In Out"}};
    for (const auto& [item, text] : function_items) EXPECT_EQ(functions.at(item - 1), text);
}

TEST_F(Declared, CheckboxesCarryDefaultLabelAndFlags) {
    const struct {
        int index;
        const char* name;
        PF_ParamValue on;
        const char* label;
        PF_ParamFlags flags;
    } rows[] = {{4, "Opacity From Distance", 0, "", kSup},
                {7, "Reverse Behavior", 0, "", 0},
                {21, "Enable Fill", 0, "", kSup},
                {34, "Enable Gradient", 0, "", kSup},
                {43, "Arrowheads", 0, "Enable", kSup | kFix},
                {48, "Round Corners", 0, "Enable", kSup | kFix},
                {52, "Zig Zag", 0, "Enable", kSup | kFix},
                {62, "Opacity from Path", 1, "", 0},
                {102, "Symmetric Offset", 1, "", 0},
                {106, "Center Anchor", 1, "", 0}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.index);
        const PF_ParamDef& d = D(row.index);
        ASSERT_EQ(d.param_type, PF_Param_CHECKBOX);
        EXPECT_EQ(P(row.index).name(), row.name);
        EXPECT_EQ(d.u.bd.value, row.on);
        EXPECT_EQ(d.u.bd.dephault, row.on);
        EXPECT_EQ(P(row.index).text(), row.label);
        EXPECT_EQ(d.flags, row.flags);
    }
    for (int i = 43; i <= 52; ++i) EXPECT_EQ(P(i).text(), "Enable") << i;
}

TEST_F(Declared, ColorsButtonsAndTheColorLayer) {
    const struct {
        int index;
        const char* name;
        A_u_char red, green, blue;
    } colors[] = {{2, "Stroke Color", 255, 255, 255},
                  {23, "Fill Color", 200, 140, 248},
                  {24, "End Color", 31, 0, 63},
                  {60, "Fill Color", 255, 255, 255}};
    for (const auto& row : colors) {
        const PF_ParamDef& d = D(row.index);
        ASSERT_EQ(d.param_type, PF_Param_COLOR) << row.index;
        EXPECT_EQ(P(row.index).name(), row.name);
        for (const PF_Pixel& px : {d.u.cd.value, d.u.cd.dephault}) {
            EXPECT_EQ(px.alpha, 255);
            EXPECT_EQ(px.red, row.red);
            EXPECT_EQ(px.green, row.green);
            EXPECT_EQ(px.blue, row.blue);
        }
    }
    const struct {
        int index;
        const char* name;
        const char* text;
    } buttons[] = {{16, "Gradient Colors", "Reveal in Timeline"},
                   {38, "Gradient Colors", "Reveal in Timeline"},
                   {68, "Customization", "Create Placeholders"},
                   {147, "Path Expressions", "Bake Work Area"},
                   {148, "Style Expressions", "Bake Work Area"},
                   {149, "", "Relink Expressions"}};
    for (const auto& row : buttons) {
        ASSERT_EQ(D(row.index).param_type, PF_Param_BUTTON) << row.index;
        EXPECT_EQ(P(row.index).name(), row.name);
        EXPECT_EQ(P(row.index).text(), row.text);
        EXPECT_EQ(D(row.index).flags, kSup);
    }
    EXPECT_EQ(D(28).param_type, PF_Param_LAYER);
    EXPECT_EQ(P(28).name(), "Color Layer");
    EXPECT_EQ(D(28).u.ld.dephault, PF_LayerDefault_NONE);
}

TEST_F(Declared, TheModulePanelAloneHasInterfaceFlagsAndIsDrawnInTheEffectControls) {
    const PF_ParamDef& d = D(41);
    ASSERT_EQ(d.param_type, PF_Param_ARBITRARY_DATA);
    EXPECT_EQ(P(41).name(), "Modules");
    EXPECT_EQ(d.ui_flags, 0x82);
    EXPECT_EQ(d.ui_width, 267);
    EXPECT_EQ(d.ui_height, 39);
    EXPECT_EQ(d.flags, 0);
    EXPECT_EQ(d.u.arb_d.id, 41);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(d.u.arb_d.refconPV),
              static_cast<std::uintptr_t>(0xDEADBEEFDEADBEEFull));
    EXPECT_EQ(d.u.arb_d.value, nullptr);
    ASSERT_NE(d.u.arb_d.dephault, nullptr);
    EXPECT_EQ(session_->host().handles().Bytes(d.u.arb_d.dephault),
              std::vector<std::uint8_t>(10, 0));
    for (int i = 1; i <= 150; ++i) {
        if (i == 41) continue;
        EXPECT_EQ(D(i).ui_flags | D(i).ui_width | D(i).ui_height, 0) << "index " << i;
    }
    ASSERT_TRUE(session_->custom_ui().has_value());
    PF_CustomUIInfo expected;
    std::memset(&expected, 0, sizeof expected);
    expected.events = PF_CustomEFlag_EFFECT;
    EXPECT_EQ(std::memcmp(&*session_->custom_ui(), &expected, sizeof expected), 0);
}

// ---------------------------------------------------------------------------------
// Failures

class SetupFailures : public ::testing::Test {
  protected:
    void SetUp() override {
        session_ = tltest::StartInProcess();
        ASSERT_TRUE(session_);
    }
    void FailNext(const char* function, A_Err error, std::uint64_t nth = 1) {
        const auto earlier = session_->host().ledger().CallCount(function);
        session_->host().faults().FailNthCallOf(function, earlier + nth, error);
    }
    std::unique_ptr<tlhost::Session> session_;
};

TEST_F(SetupFailures, ARefusedParameterEndsSetupWithoutSettingTheCount) {
    for (std::uint64_t refused : {1u, 30u, 41u, 42u, 150u}) {
        SCOPED_TRACE(refused);
        FailNext("add_param", PF_Err_OUT_OF_MEMORY, refused);
        CommandReport report = session_->ParamsSetup();
        EXPECT_EQ(report.result, PF_Err_OUT_OF_MEMORY);
        EXPECT_EQ(session_->declared_params().size(), refused - 1);
        EXPECT_EQ(session_->declared_num_params(), 0);
        // A refused module panel hands back its default and registers no interface.
        EXPECT_EQ(session_->custom_ui().has_value(), refused > 41);
        EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
        session_->host().faults().Clear();
    }
}

TEST_F(SetupFailures, AFailedPanelDefaultOrRegistrationIsReturnedAfterTheLastParameter) {
    FailNext("host_lock_handle", PF_Err_OUT_OF_MEMORY);
    CommandReport report = session_->ParamsSetup();
    EXPECT_EQ(report.result, PF_Err_OUT_OF_MEMORY);
    EXPECT_EQ(session_->declared_params().size(), 150u);
    EXPECT_EQ(session_->declared_num_params(), 151);
    EXPECT_EQ(session_->declared_params()[40].def().u.arb_d.dephault, nullptr);
    EXPECT_FALSE(session_->custom_ui().has_value()) << "no interface without a default";
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);

    FailNext("register_ui", PF_Err_INTERNAL_STRUCT_DAMAGED);
    report = session_->ParamsSetup();
    EXPECT_EQ(report.result, PF_Err_INTERNAL_STRUCT_DAMAGED);
    EXPECT_EQ(session_->declared_params().size(), 150u);
    EXPECT_EQ(session_->declared_num_params(), 151);

    // A default the host does not give is a failure too, and the panel is not registered.
    FailNext("host_new_handle", 1);
    report = session_->ParamsSetup();
    EXPECT_EQ(report.result, PF_Err_OUT_OF_MEMORY);
    EXPECT_EQ(session_->declared_params().size(), 150u);
    EXPECT_EQ(session_->declared_params()[40].def().u.arb_d.dephault, nullptr);
    EXPECT_FALSE(session_->custom_ui().has_value()) << "no interface without a default";
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
}

// The panel's parameter is refused after its default was made: the default is given back
// through the input record's callbacks, which need no suite, so a suite the host would not give
// at that moment cannot lose it.
TEST_F(SetupFailures, ARefusedPanelGivesItsDefaultBackWithoutASuite) {
    FailNext("add_param", PF_Err_OUT_OF_MEMORY, 41);
    // The default's suite is the first acquired; any later acquisition fails.
    const auto acquired = session_->host().ledger().CallCount("AcquireSuite");
    session_->host().faults().FailNthCallOf("AcquireSuite", acquired + 2, 1,
                                            tlhost::FaultRepeat::FromThen);
    CommandReport report = session_->ParamsSetup();
    EXPECT_EQ(report.result, PF_Err_OUT_OF_MEMORY);
    EXPECT_EQ(session_->declared_params().size(), 40u);
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
    EXPECT_EQ(session_->host().ledger().CallCount("host_dispose_handle"), 1u);
}

}  // namespace
