// The scoped holders give every reference back, also when the suite they give it back through
// cannot be acquired: through the other version of that suite, or later, from the destructor.
// The missing suite is still the command's error.
#include <functional>
#include <string>

#include "shell/GlobalSetup.h"
#include "shell/Scoped.h"
#include "style/StyleFixture.h"
#include "support/TestSupport.h"

namespace styletest {
namespace {

using tlhost::FaultRepeat;

constexpr A_Err kMissing = PF_Err_BAD_CALLBACK_PARAM;  // what the suite cache throws

// One kind of reference: how to get one (through `get`, a cache of its own), and the suite
// versions it is given back through.
struct Kind {
    const char* name;
    const char* suite;
    std::int32_t usual;
    std::int32_t other;
    // Gets a reference and gives it back through a holder built on `holder_suites`, after
    // `arm` has made the suites fail; returns the holder's Dispose().
    std::function<A_Err(PF_InData*, AEGP_SuiteHandler& holder_suites,
                        const std::function<void()>& arm)>
        run;
};

AEGP_PluginID PluginId(PF_InData* in_data) {
    AEGP_PluginID id = 0;
    EXPECT_EQ(GetPluginID(in_data, &id), PF_Err_NONE);
    return id;
}

AEGP_LayerH EffectLayer(PF_InData* in_data, AEGP_SuiteHandler& get) {
    AEGP_LayerH layer = nullptr;
    EXPECT_EQ(get.PFInterfaceSuite1()->AEGP_GetEffectLayer(in_data->effect_ref, &layer), 0);
    return layer;
}

template <class Holder, class Getter>
A_Err HoldAndDispose(AEGP_SuiteHandler& holder_suites, const std::function<void()>& arm,
                     Getter getter) {
    Holder holder(holder_suites);
    EXPECT_EQ(getter(holder.put()), A_Err_NONE);
    EXPECT_TRUE(holder);
    arm();
    return holder.Dispose();
}

std::vector<Kind> Kinds() {
    return {
        {"Stream", kAEGPStreamSuite, kAEGPStreamSuiteVersion4, kAEGPStreamSuiteVersion2,
         [](PF_InData* in_data, AEGP_SuiteHandler& holder_suites, const auto& arm) {
             AEGP_SuiteHandler get(in_data->pica_basicP);
             return HoldAndDispose<ScopedStream>(holder_suites, arm, [&](AEGP_StreamRefH* put) {
                 return get.DynamicStreamSuite4()->AEGP_GetNewStreamRefForLayer(
                     PluginId(in_data), EffectLayer(in_data, get), put);
             });
         }},
        {"Effect", kAEGPEffectSuite, kAEGPEffectSuiteVersion3, kAEGPEffectSuiteVersion2,
         [](PF_InData* in_data, AEGP_SuiteHandler& holder_suites, const auto& arm) {
             AEGP_SuiteHandler get(in_data->pica_basicP);
             return HoldAndDispose<ScopedEffect>(holder_suites, arm, [&](AEGP_EffectRefH* put) {
                 return get.PFInterfaceSuite1()->AEGP_GetNewEffectForEffect(
                     PluginId(in_data), in_data->effect_ref, put);
             });
         }},
        {"LayerControlEffect", kAEGPEffectSuite, kAEGPEffectSuiteVersion2, kAEGPEffectSuiteVersion3,
         [](PF_InData* in_data, AEGP_SuiteHandler& holder_suites, const auto& arm) {
             AEGP_SuiteHandler get(in_data->pica_basicP);
             return HoldAndDispose<ScopedEffect2>(holder_suites, arm, [&](AEGP_EffectRefH* put) {
                 return get.EffectSuite3()->AEGP_GetLayerEffectByIndex(
                     PluginId(in_data), EffectLayer(in_data, get), 0, put);
             });
         }},
        {"StreamValue", kAEGPStreamSuite, kAEGPStreamSuiteVersion4, kAEGPStreamSuiteVersion3,
         [](PF_InData* in_data, AEGP_SuiteHandler& holder_suites, const auto& arm) {
             AEGP_SuiteHandler get(in_data->pica_basicP);
             ScopedStream param(get);
             AEGP_EffectRefH effect = nullptr;
             EXPECT_EQ(get.PFInterfaceSuite1()->AEGP_GetNewEffectForEffect(
                           PluginId(in_data), in_data->effect_ref, &effect),
                       0);
             EXPECT_EQ(get.StreamSuite4()->AEGP_GetNewEffectStreamByIndex(PluginId(in_data), effect,
                                                                          11, param.put()),
                       0);
             A_Err result = A_Err_NONE;
             {
                 ScopedStreamValue value(holder_suites);
                 const A_Time zero{0, 1};
                 EXPECT_EQ(get.StreamSuite4()->AEGP_GetNewStreamValue(
                               PluginId(in_data), param.get(), AEGP_LTimeMode_CompTime, &zero, TRUE,
                               value.put()),
                           0);
                 arm();
                 try {
                     result = value.Dispose();
                 } catch (A_Err e) {
                     result = e;
                     get.EffectSuite3()->AEGP_DisposeEffect(effect);
                     throw;
                 }
             }
             get.EffectSuite3()->AEGP_DisposeEffect(effect);
             return result;
         }},
        {"MemHandle", kAEGPMemorySuite, kAEGPMemorySuiteVersion1, kAEGPMemorySuiteVersion1,
         [](PF_InData* in_data, AEGP_SuiteHandler& holder_suites, const auto& arm) {
             AEGP_SuiteHandler get(in_data->pica_basicP);
             return HoldAndDispose<ScopedMemHandle>(holder_suites, arm, [&](AEGP_MemHandle* put) {
                 return get.LayerSuite7()->AEGP_GetLayerName(
                     PluginId(in_data), EffectLayer(in_data, get), put, nullptr);
             });
         }},
    };
}

class ScopedHolders : public StyleTest, public ::testing::WithParamInterface<Kind> {
  protected:
    // Runs the kind's body with `arm` making suites fail just before the disposal; the body's
    // answer (or the error it throws) is the command's result.
    CommandReport RunWith(const std::function<void()>& arm) {
        const Kind& kind = GetParam();
        return Run([&](PF_InData* in_data) -> PF_Err {
            // As the entry point does: a thrown error is the command's result.
            try {
                AEGP_SuiteHandler holder_suites(in_data->pica_basicP);
                return kind.run(in_data, holder_suites, arm);
            } catch (A_Err e) {
                return e;
            }
        });
    }
};

// Kinds given back through a suite that comes in two versions.
std::vector<Kind> KindsWithTwoVersions() {
    std::vector<Kind> kinds;
    for (const Kind& kind : Kinds()) {
        if (kind.other != kind.usual) kinds.push_back(kind);
    }
    return kinds;
}

using ScopedHoldersOfTwoVersions = ScopedHolders;

TEST_P(ScopedHoldersOfTwoVersions, GiveTheReferenceBackThroughTheOtherWhenTheirSuiteIsMissing) {
    AddLayerControl(Controller(), Controller().id());  // a Layer Control effect to get
    const Kind& kind = GetParam();
    const CommandReport report = RunWith([&] {
        S().host().faults().FailSuite(kind.suite, kind.usual, kMissing, FaultRepeat::FromThen);
    });
    S().host().faults().Clear();
    // The missing suite is the result, and nothing is left acquired.
    EXPECT_EQ(report.result, kMissing);
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
}

TEST_P(ScopedHolders, KeepTheReferenceWhenNoSuiteCanBeHadAndGiveItBackLater) {
    AddLayerControl(Controller(), Controller().id());
    const Kind& kind = GetParam();
    const CommandReport report = RunWith([&] {
        S().host().faults().FailSuite(kind.suite, kind.usual, kMissing, FaultRepeat::Once);
        if (kind.other != kind.usual) {
            S().host().faults().FailSuite(kind.suite, kind.other, kMissing, FaultRepeat::Once);
        }
    });
    S().host().faults().Clear();
    EXPECT_EQ(report.result, kMissing);
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
}

INSTANTIATE_TEST_SUITE_P(EachKind, ScopedHolders, ::testing::ValuesIn(Kinds()),
                         [](const auto& info) { return std::string(info.param.name); });
INSTANTIATE_TEST_SUITE_P(EachKind, ScopedHoldersOfTwoVersions,
                         ::testing::ValuesIn(KindsWithTwoVersions()),
                         [](const auto& info) { return std::string(info.param.name); });

// Whole commands with the suite an effect is given back through missing from the start: the
// controller lookup's Layer Control effects (given back through v2) and the handler's own
// effect handle (v3) are released all the same, and the command fails.
TEST_F(StyleTest, AMissingEffectSuiteFailsTheChangeButLeavesNoEffectBehind) {
    AddPaint(Contents(AddLine("Line", Controller().id())), kStroke);
    for (std::int32_t version : {kAEGPEffectSuiteVersion2, kAEGPEffectSuiteVersion3}) {
        S().host().faults().FailSuite(kAEGPEffectSuite, version, kMissing, FaultRepeat::FromThen);
        SetValue(9, 2);
        const CommandReport report = S().UserChangedParam(Effect(), 9);
        S().host().faults().Clear();
        EXPECT_EQ(report.result, kMissing) << version;
        EXPECT_TRUE(report.clean()) << version << "\n" << tltest::Leftovers(report);
    }
}

}  // namespace
}  // namespace styletest
