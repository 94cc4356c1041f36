// The scoped holders have the suite that gives their reference back in hand before they take
// the reference: a suite that cannot be had fails the step before anything is taken, and once a
// reference is held, giving it back needs no acquisition, whatever fails in the host meanwhile.
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

// When the test makes the host fail: before the holder is asked for its place, or once it
// holds the reference.
struct Arms {
    std::function<void()> before_put;
    std::function<void()> before_dispose;
};

// One kind of reference: how to get one (through `get`, a cache of its own), the suite and
// version it is given back through, and the host function that makes it.
struct Kind {
    const char* name;
    const char* suite;
    std::int32_t version;
    const char* maker;
    // Gets a reference and gives it back through a holder built on `holder_suites`, with the
    // host failing as `arms` say; returns the holder's Dispose().
    std::function<A_Err(PF_InData*, AEGP_SuiteHandler& holder_suites, const Arms& arms)> run;
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
A_Err HoldAndDispose(AEGP_SuiteHandler& holder_suites, const Arms& arms, Getter getter) {
    Holder holder(holder_suites);
    arms.before_put();
    EXPECT_EQ(getter(holder.put()), A_Err_NONE);
    EXPECT_TRUE(holder);
    arms.before_dispose();
    return holder.Dispose();
}

std::vector<Kind> Kinds() {
    return {
        {"Stream", kAEGPStreamSuite, kAEGPStreamSuiteVersion4, "AEGP_GetNewStreamRefForLayer",
         [](PF_InData* in_data, AEGP_SuiteHandler& holder_suites, const Arms& arms) {
             AEGP_SuiteHandler get(in_data->pica_basicP);
             return HoldAndDispose<ScopedStream>(holder_suites, arms, [&](AEGP_StreamRefH* put) {
                 return get.DynamicStreamSuite4()->AEGP_GetNewStreamRefForLayer(
                     PluginId(in_data), EffectLayer(in_data, get), put);
             });
         }},
        {"Effect", kAEGPEffectSuite, kAEGPEffectSuiteVersion3, "AEGP_GetNewEffectForEffect",
         [](PF_InData* in_data, AEGP_SuiteHandler& holder_suites, const Arms& arms) {
             AEGP_SuiteHandler get(in_data->pica_basicP);
             return HoldAndDispose<ScopedEffect>(holder_suites, arms, [&](AEGP_EffectRefH* put) {
                 return get.PFInterfaceSuite1()->AEGP_GetNewEffectForEffect(
                     PluginId(in_data), in_data->effect_ref, put);
             });
         }},
        {"LayerControlEffect", kAEGPEffectSuite, kAEGPEffectSuiteVersion2,
         "AEGP_GetLayerEffectByIndex",
         [](PF_InData* in_data, AEGP_SuiteHandler& holder_suites, const Arms& arms) {
             AEGP_SuiteHandler get(in_data->pica_basicP);
             return HoldAndDispose<ScopedEffect2>(holder_suites, arms, [&](AEGP_EffectRefH* put) {
                 return get.EffectSuite3()->AEGP_GetLayerEffectByIndex(
                     PluginId(in_data), EffectLayer(in_data, get), 0, put);
             });
         }},
        {"StreamValue", kAEGPStreamSuite, kAEGPStreamSuiteVersion4, "AEGP_GetNewStreamValue",
         [](PF_InData* in_data, AEGP_SuiteHandler& holder_suites, const Arms& arms) {
             AEGP_SuiteHandler get(in_data->pica_basicP);
             ScopedStream param(get);
             AEGP_EffectRefH effect = nullptr;
             EXPECT_EQ(get.PFInterfaceSuite1()->AEGP_GetNewEffectForEffect(
                           PluginId(in_data), in_data->effect_ref, &effect),
                       0);
             EXPECT_EQ(get.StreamSuite4()->AEGP_GetNewEffectStreamByIndex(PluginId(in_data), effect,
                                                                          11, param.put()),
                       0);
             const AEGP_PluginID plugin_id = PluginId(in_data);
             AEGP_StreamSuite4* streams = get.StreamSuite4();
             A_Err (*dispose_effect)(AEGP_EffectRefH) = get.EffectSuite3()->AEGP_DisposeEffect;
             A_Err result = A_Err_NONE;
             try {
                 ScopedStreamValue value(holder_suites);
                 const A_Time zero{0, 1};
                 arms.before_put();
                 EXPECT_EQ(
                     streams->AEGP_GetNewStreamValue(
                         plugin_id, param.get(), AEGP_LTimeMode_CompTime, &zero, TRUE, value.put()),
                     0);
                 arms.before_dispose();
                 result = value.Dispose();
             } catch (A_Err e) {
                 dispose_effect(effect);
                 throw;
             }
             dispose_effect(effect);
             return result;
         }},
        {"MemHandle", kAEGPMemorySuite, kAEGPMemorySuiteVersion1, "AEGP_GetLayerName",
         [](PF_InData* in_data, AEGP_SuiteHandler& holder_suites, const Arms& arms) {
             AEGP_SuiteHandler get(in_data->pica_basicP);
             return HoldAndDispose<ScopedMemHandle>(holder_suites, arms, [&](AEGP_MemHandle* put) {
                 return get.LayerSuite7()->AEGP_GetLayerName(
                     PluginId(in_data), EffectLayer(in_data, get), put, nullptr);
             });
         }},
    };
}

class ScopedHolders : public StyleTest, public ::testing::WithParamInterface<Kind> {
  protected:
    // Runs the kind's body with the host failing as `arms` say; the body's answer (or the error
    // it throws) is the command's result.
    CommandReport RunWith(const Arms& arms) {
        const Kind& kind = GetParam();
        return Run([&](PF_InData* in_data) -> PF_Err {
            // As the entry point does: a thrown error is the command's result.
            try {
                AEGP_SuiteHandler holder_suites(in_data->pica_basicP);
                return kind.run(in_data, holder_suites, arms);
            } catch (A_Err e) {
                return e;
            }
        });
    }
};

// The suite a reference goes back through is missing: the step fails with it before the host is
// asked for the reference, and nothing is left acquired.
TEST_P(ScopedHolders, TakeNoReferenceWithoutTheSuiteThatGivesItBack) {
    AddLayerControl(Controller(), Controller().id());  // a Layer Control effect to get
    const Kind& kind = GetParam();
    std::uint64_t made = 0;
    const CommandReport report =
        RunWith(Arms{[&] {
                         S().host().faults().FailSuite(kind.suite, kind.version, kMissing,
                                                       FaultRepeat::FromThen);
                         made = S().host().ledger().CallCount(kind.maker);
                     },
                     [] {}});
    S().host().faults().Clear();
    EXPECT_EQ(report.result, kMissing);
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
    EXPECT_EQ(S().host().ledger().CallCount(kind.maker), made) << kind.maker;
}

// Once the reference is held, every suite acquisition failing from then on does not keep it.
TEST_P(ScopedHolders, NeedNoAcquisitionToGiveTheReferenceBack) {
    AddLayerControl(Controller(), Controller().id());
    const CommandReport report =
        RunWith(Arms{[] {},
                     [&] {
                         const auto next = S().host().ledger().CallCount("AcquireSuite") + 1;
                         S().host().faults().FailNthCallOf("AcquireSuite", next, kMissing,
                                                           FaultRepeat::FromThen);
                     }});
    S().host().faults().Clear();
    EXPECT_EQ(report.result, A_Err_NONE);
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
}

INSTANTIATE_TEST_SUITE_P(EachKind, ScopedHolders, ::testing::ValuesIn(Kinds()),
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

// The handler's effect handle goes back when every call after it fails, suite acquisitions
// included: the suite that disposes it was in hand before it was taken.
TEST_F(StyleTest, TheEffectHandleGoesBackWhateverFailsAfterIt) {
    AddPaint(Contents(AddLine("Line", Controller().id())), kStroke);
    SetValue(9, 2);
    const auto change = [&] { return S().UserChangedParam(Effect(), 9); };
    FailAfterFirst(change, "AEGP_GetNewEffectForEffect", A_Err_CONST_PROJECT_MODIFICATION);
    const CommandReport report = change();
    S().host().faults().Clear();
    EXPECT_NE(report.result, A_Err_NONE);
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
}

}  // namespace
}  // namespace styletest
