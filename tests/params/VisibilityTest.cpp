// The parameter-interface pass driven through the stand-in host: which parameters are hidden
// for the configurations that matter, the fill colour's title, and what a failure leaves.
// Expected sets are written out per configuration; the host's hidden flags are what we read.
#include <cstdint>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/TestSupport.h"

namespace {

using tlhost::CommandReport;
using Indices = std::set<int>;

Indices Range(int first, int last) {
    Indices out;
    for (int i = first; i <= last; ++i) out.insert(i);
    return out;
}

Indices Union(std::initializer_list<Indices> parts) {
    Indices out;
    for (const auto& p : parts) out.insert(p.begin(), p.end());
    return out;
}

std::string Describe(const Indices& indices) {
    std::string out;
    for (int i : indices) out += (out.empty() ? "" : " ") + std::to_string(i);
    return "{" + out + "}";
}

Indices Minus(Indices from, const Indices& shown) {
    for (int i : shown) from.erase(i);
    return from;
}

// Every parameter the pass sets, in the order it sets them.
std::vector<int> ListedInOrder() {
    std::vector<int> out;
    const std::pair<int, int> runs[] = {{5, 7},     {11, 11},   {13, 17},   {22, 33},   {35, 39},
                                        {42, 42},   {54, 62},   {67, 68},   {63, 66},   {70, 89},
                                        {91, 94},   {96, 97},   {99, 106},  {108, 113}, {116, 117},
                                        {119, 124}, {126, 129}, {131, 139}, {141, 144}};
    for (const auto& [first, last] : runs) {
        for (int i = first; i <= last; ++i) out.push_back(i);
    }
    return out;
}

// The module groups' listed parameters, all hidden while every module is off.
const Indices kModuleGroups = Union(
    {Range(54, 68), Range(70, 89), Range(91, 94), Range(96, 97), Range(99, 106), Range(108, 113),
     Range(116, 117), Range(119, 124), Range(126, 129), Range(131, 139), Range(141, 144)});
// Hidden at the defaults: every switch off, every module off, "Line Join" on "Miter Join".
const Indices kAtDefaults =
    Union({Range(5, 7), Range(13, 17), Range(22, 33), Range(35, 39), {42}, kModuleGroups});

class Visibility : public ::testing::Test {
  protected:
    void SetUp() override {
        applied_ = tltest::StartWithEffect();
        ASSERT_TRUE(applied_.session);
        ASSERT_TRUE(applied_.effect);
        ASSERT_EQ(applied_.effect->params().size(), 151u);
    }
    tlhost::Session& S() { return *applied_.session; }
    tlhost::HostParam& Param(int i) { return applied_.effect->params()[i]; }
    void Set(int i, PF_ParamValue v) {
        PF_ParamDef& d = Param(i).def();
        if (d.param_type == PF_Param_POPUP) {
            d.u.pd.value = v;
        } else {
            d.u.bd.value = v;
        }
    }
    CommandReport Update() { return S().UpdateParamsUI(*applied_.effect); }
    std::uint64_t Calls(const char* fn) { return S().host().ledger().CallCount(fn); }
    void FailNext(const char* fn, A_Err err, std::uint64_t nth = 1) {
        S().host().faults().FailNthCallOf(fn, Calls(fn) + nth, err);
    }

    // Runs an interface update and checks every listed parameter against `hidden`.
    void ExpectHiddenExactly(const Indices& hidden) {
        CommandReport report = Update();
        ASSERT_EQ(report.result, PF_Err_NONE);
        EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
        for (int i : ListedInOrder()) {
            EXPECT_EQ(Param(i).hidden, hidden.count(i) == 1) << "index " << i;
        }
    }

    tltest::Applied applied_;
};

TEST_F(Visibility, EachPassSetsTheHundredAndSevenListedParametersThroughTheirOwnStreams) {
    ASSERT_EQ(ListedInOrder().size(), 107u);
    const auto flags = Calls("AEGP_SetDynamicStreamFlag");
    const auto streams = Calls("AEGP_GetNewEffectStreamByIndex");
    const auto disposed = Calls("AEGP_DisposeStream");
    ExpectHiddenExactly(kAtDefaults);
    EXPECT_EQ(Calls("AEGP_SetDynamicStreamFlag") - flags, 107u);
    EXPECT_EQ(Calls("AEGP_GetNewEffectStreamByIndex") - streams, 107u);
    EXPECT_EQ(Calls("AEGP_DisposeStream") - disposed, 107u);

    // A user change runs the same pass.
    Set(4, 1);
    CommandReport report = S().UserChangedParam(*applied_.effect, 4);
    EXPECT_EQ(report.result, PF_Err_NONE);
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
    EXPECT_EQ(Calls("AEGP_SetDynamicStreamFlag") - flags, 214u);
    EXPECT_FALSE(Param(5).hidden);
}

TEST_F(Visibility, MiterLimitOnlyForMiterJoins) {
    Set(10, 2);
    ExpectHiddenExactly(Union({kAtDefaults, {11}}));
    Set(10, 1);
    ExpectHiddenExactly(kAtDefaults);
}

TEST_F(Visibility, ParametersOutsideTheRulesAreNeverTouched) {
    const int unlisted[] = {1, 2, 4, 8, 10, 12, 18, 19, 21, 34, 40, 41, 43, 52, 107, 146, 149};
    for (int i : unlisted) Param(i).hidden = true;
    ASSERT_EQ(Update().result, PF_Err_NONE);
    for (int i : unlisted) EXPECT_TRUE(Param(i).hidden) << "index " << i;
}

TEST_F(Visibility, StrokeSwitchesCountAsOnAboveZero) {
    Set(4, 3);
    Set(12, 7);  // "Gradient Type" Linear: no highlight
    ExpectHiddenExactly(Minus(kAtDefaults, {5, 6, 7, 13, 16, 17}));
    Set(13, 2);
    ExpectHiddenExactly(Minus(kAtDefaults, Range(5, 17)));
}

struct PaletteCase {
    PF_ParamValue palette;
    Indices shown;  // among 23 to 28
};

void PrintTo(const PaletteCase& c, std::ostream* os) {
    *os << c.palette << " shows " << Describe(c.shown);
}

class FillPalette : public Visibility, public ::testing::WithParamInterface<PaletteCase> {};

TEST_P(FillPalette, ShowsThePaletteAndOnlyItsOwnSettings) {
    Set(21, 1);
    Set(22, GetParam().palette);
    ExpectHiddenExactly(Minus(kAtDefaults, Union({{22, 29, 30}, GetParam().shown})));
}

INSTANTIATE_TEST_SUITE_P(EachKind, FillPalette,
                         ::testing::Values(PaletteCase{1, {23}}, PaletteCase{2, {23, 24}},
                                           PaletteCase{3, {25, 26}}, PaletteCase{4, {27}},
                                           PaletteCase{5, {28}}, PaletteCase{7, {}},
                                           PaletteCase{36, {}}),
                         [](const auto& info) {
                             return "Palette" + std::to_string(info.param.palette);
                         });

TEST_F(Visibility, FillOpacityFollowsEitherFillAndItsDistanceSwitch) {
    Set(30, 1);  // distance on, but neither a fill nor a fill gradient
    ExpectHiddenExactly(kAtDefaults);
    Set(34, 1);  // fill gradient alone, Linear
    ExpectHiddenExactly(Minus(kAtDefaults, Union({Range(29, 33), {35, 38, 39}})));
    Set(35, 2);
    ExpectHiddenExactly(Minus(kAtDefaults, Range(29, 39)));
}

struct ModuleCase {
    int module_switch;
    Indices shown;
};

void PrintTo(const ModuleCase& c, std::ostream* os) {
    *os << c.module_switch << " shows " << Describe(c.shown);
}

class ModuleGroups : public Visibility, public ::testing::WithParamInterface<ModuleCase> {};

TEST_P(ModuleGroups, ShowTheirSettingsOnlyWhileTheirSwitchIsExactlyOne) {
    Set(GetParam().module_switch, 2);
    ExpectHiddenExactly(kAtDefaults);
    Set(GetParam().module_switch, 1);
    ExpectHiddenExactly(Minus(kAtDefaults, GetParam().shown));
}

INSTANTIATE_TEST_SUITE_P(
    EachModule, ModuleGroups,
    ::testing::Values(ModuleCase{43, Union({Range(54, 62), {67, 68}})},  // shapes "None"
                      ModuleCase{44, {70, 71}},                          // "Function" Linear
                      ModuleCase{45, Range(91, 94)}, ModuleCase{46, {96, 97}},
                      ModuleCase{47, Union({Range(99, 106), Range(108, 113)})},
                      ModuleCase{48, {116, 117}}, ModuleCase{49, Range(119, 124)},
                      ModuleCase{50, Range(126, 129)}, ModuleCase{51, Range(131, 139)},
                      ModuleCase{52, Range(141, 144)}),
    [](const auto& info) { return "Switch" + std::to_string(info.param.module_switch); });

TEST_F(Visibility, ArrowheadSizesFollowTheShapesNotTheSwitch) {
    Set(55, 2);  // Start Circle
    Set(56, 4);  // End Triangle
    ExpectHiddenExactly(Minus(kAtDefaults, {63, 64, 65, 66}));
    Set(55, 1);
    Set(56, 3);  // End Square
    ExpectHiddenExactly(Minus(kAtDefaults, {63}));
}

struct FunctionCase {
    PF_ParamValue function;
    Indices shown;  // among 72 to 89
};

void PrintTo(const FunctionCase& c, std::ostream* os) {
    *os << c.function << " shows " << Describe(c.shown);
}

class CurvinessFunction : public Visibility, public ::testing::WithParamInterface<FunctionCase> {};

TEST_P(CurvinessFunction, ShowsOnlyTheChosenFunctionsSettings) {
    Set(71, GetParam().function);
    ExpectHiddenExactly(kAtDefaults);  // Curviness off: hidden whatever the function
    Set(44, 1);
    ExpectHiddenExactly(Minus(kAtDefaults, Union({{70, 71}, GetParam().shown})));
}

INSTANTIATE_TEST_SUITE_P(
    EachFamily, CurvinessFunction,
    ::testing::Values(FunctionCase{3, {72}}, FunctionCase{4, {72}}, FunctionCase{5, {}},
                      FunctionCase{9, {73}}, FunctionCase{11, {74, 76, 77, 78, 87}},
                      FunctionCase{12, Union({{74}, Range(76, 82), {87}})},
                      FunctionCase{13, Union({{75}, Range(83, 87)})}, FunctionCase{14, {}},
                      FunctionCase{15, {88, 89}}, FunctionCase{45, {88, 89}}),
    [](const auto& info) { return "Function" + std::to_string(info.param.function); });

// ---------------------------------------------------------------------------------
// Retitling the fill colour

TEST_F(Visibility, TheFillColourIsTitledAfterTheSingleColourOrGradientPalette) {
    Set(21, 1);
    Set(22, 2);
    ASSERT_EQ(Update().result, PF_Err_NONE);
    EXPECT_EQ(Param(23).name(), "Start Color");
    Set(22, 1);
    ASSERT_EQ(S().UserChangedParam(*applied_.effect, 22).result, PF_Err_NONE);
    EXPECT_EQ(Param(23).name(), "Fill Color");

    // Other palettes, and a fill switched off, leave the title as it is.
    Set(22, 2);
    ASSERT_EQ(Update().result, PF_Err_NONE);
    const auto updates = Calls("PF_UpdateParamUI");
    for (PF_ParamValue palette : {3, 5, 36}) {
        Set(22, palette);
        ASSERT_EQ(Update().result, PF_Err_NONE);
    }
    Set(21, 0);
    Set(22, 1);
    ASSERT_EQ(Update().result, PF_Err_NONE);
    EXPECT_EQ(Param(23).name(), "Start Color");
    EXPECT_EQ(Calls("PF_UpdateParamUI"), updates);
}

TEST_F(Visibility, AMissingParamUtilsSuiteEndsTheCommandWith13WhileAFillIsOn) {
    S().host().faults().FailSuite("PF Param Utils Suite", 2, PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(Update().result, PF_Err_NONE) << "not needed while the fill is off";

    Set(21, 1);
    Param(22).hidden = true;
    const auto flags = Calls("AEGP_SetDynamicStreamFlag");
    CommandReport report = Update();
    EXPECT_EQ(report.result, 13);
    EXPECT_EQ(report.return_msg, "Not able to acquire AEFX Suite.");
    EXPECT_TRUE(report.out_flags & PF_OutFlag_DISPLAY_ERROR_MESSAGE);
    EXPECT_EQ(Calls("AEGP_SetDynamicStreamFlag"), flags);
    EXPECT_TRUE(Param(22).hidden) << "no visibility changed";
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
}

// ---------------------------------------------------------------------------------
// Failures

TEST_F(Visibility, AFailedHideStopsThePassInItsFixedOrder) {
    // The n-th call fails: the parameters before it in the order are set, the rest keep their
    // previous visibility (all shown here). 39 is index 63, which comes after 67 and 68.
    const std::vector<int> order = ListedInOrder();
    for (std::size_t failing : {1u, 10u, 39u, 107u}) {
        SCOPED_TRACE(failing);
        for (int i : order) Param(i).hidden = false;
        const auto flags = Calls("AEGP_SetDynamicStreamFlag");
        FailNext("AEGP_SetDynamicStreamFlag", 1234, failing);
        CommandReport report = Update();
        EXPECT_EQ(report.result, 1234);
        EXPECT_EQ(Calls("AEGP_SetDynamicStreamFlag") - flags, failing);
        EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
        for (std::size_t k = 0; k < order.size(); ++k) {
            const bool set = k + 1 < failing;
            EXPECT_EQ(Param(order[k]).hidden, set && kAtDefaults.count(order[k]) == 1)
                << "index " << order[k];
        }
    }
}

TEST_F(Visibility, AStreamTheHostRefusesStopsThePass) {
    const auto flags = Calls("AEGP_SetDynamicStreamFlag");
    FailNext("AEGP_GetNewEffectStreamByIndex", 777, 3);
    CommandReport report = Update();
    EXPECT_EQ(report.result, 777);
    EXPECT_EQ(Calls("AEGP_SetDynamicStreamFlag") - flags, 2u);
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
}

TEST_F(Visibility, WithoutTheEffectLayerItsNameOrItsHandleNothingIsHidden) {
    for (const char* step :
         {"AEGP_GetEffectLayer", "AEGP_GetLayerName", "AEGP_GetNewEffectForEffect"}) {
        SCOPED_TRACE(step);
        const auto flags = Calls("AEGP_SetDynamicStreamFlag");
        FailNext(step, 4321);
        CommandReport report = Update();
        EXPECT_EQ(report.result, 4321);
        EXPECT_EQ(Calls("AEGP_SetDynamicStreamFlag"), flags);
        EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
    }
}

TEST_F(Visibility, TheEffectHandleIsDisposedAndItsErrorCountsOnlyWhenNothingFailedBefore) {
    FailNext("AEGP_DisposeEffect", 99);
    EXPECT_EQ(Update().result, 99);

    const auto disposals = Calls("AEGP_DisposeEffect");
    FailNext("AEGP_SetDynamicStreamFlag", 55);
    FailNext("AEGP_DisposeEffect", 99);
    EXPECT_EQ(Update().result, 55);
    EXPECT_EQ(Calls("AEGP_DisposeEffect") - disposals, 1u);
}

}  // namespace
