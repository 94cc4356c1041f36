// The sweep finds what it claims to find: small plug-in bodies with one deliberate fault each
// (an error answered with 0, a handle kept, a crash, another error in place of the host's) are
// swept, and the fault shows in the right column and nowhere else.
#include <cstdlib>
#include <cstring>

#include <gtest/gtest.h>

#include "AE_EffectCBSuites.h"
#include "AE_GeneralPlug.h"
#include "support/FakePlugin.h"
#include "support/TestSupport.h"
#include "sweep/FaultSweep.h"

namespace sweep {
namespace {

using Body = PF_Err (*)(PF_InData*, PF_OutData*);
Body g_body = nullptr;
// What the body made, as the scenario's outcome.
int g_made = 0;

PF_Err SelfTestMain(PF_Cmd cmd, PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                    PF_LayerDef* output, void* extra) {
    if (cmd == PF_Cmd_ABOUT && g_body) return g_body(in_data, out_data);
    return tltest::InProcessEntryPoints().effect_main(cmd, in_data, out_data, params, output,
                                                      extra);
}

const PF_HandleSuite1* HandleSuite(PF_InData* in_data) {
    return tltest::AcquireSuite<const PF_HandleSuite1>(in_data, kPFHandleSuite,
                                                       kPFHandleSuiteVersion1);
}

void ReleaseHandleSuite(PF_InData* in_data) {
    in_data->pica_basicP->ReleaseSuite(kPFHandleSuite, kPFHandleSuiteVersion1);
}

Scenario Over(Body body) {
    Scenario s;
    s.name = "self test";
    s.prepare = [](Stage& stage) {
        stage.session =
            tlhost::Session::Start({tltest::InProcessEntryPoints().data_entry, SelfTestMain},
                                   tltest::BuiltResource(), nullptr);
        ASSERT_TRUE(stage.session);
    };
    s.command = [body](Stage& stage) {
        g_body = body;
        g_made = 0;
        Outcome out{stage.session->About(), ""};
        out.produced = "made " + std::to_string(g_made) + "\n";
        g_body = nullptr;
        return out;
    };
    return s;
}

Plan Everything() {
    Plan plan;
    plan.full = true;
    plan.timeout = 20;
    return plan;
}

std::uint64_t Sum(const SweepResult& r, std::uint64_t Tally::*column) {
    std::uint64_t n = 0;
    for (const Tally& t : r.by_mode) n += t.*column;
    return n;
}

// Makes a handle, locks it, writes, unlocks and disposes it; every failure is reported.
PF_Err Sound(PF_InData* in_data, PF_OutData*) {
    const PF_HandleSuite1* hs = HandleSuite(in_data);
    if (!hs) return PF_Err_BAD_CALLBACK_PARAM;
    PF_Err err = PF_Err_OUT_OF_MEMORY;
    if (PF_Handle h = hs->host_new_handle(4)) {
        if (void* p = hs->host_lock_handle(h)) {
            std::memset(p, 1, 4);
            g_made = 1;
            err = PF_Err_NONE;
        }
        hs->host_unlock_handle(h);
        hs->host_dispose_handle(h);
    }
    ReleaseHandleSuite(in_data);
    return err;
}

TEST(SweepSelfTest, ASoundBodyPasses) {
    const SweepResult r = RunSweep(Over(Sound), Everything());
    EXPECT_TRUE(r.clean_problem.empty()) << r.clean_problem;
    EXPECT_EQ(r.calls, 6u);
    EXPECT_TRUE(r.Passed());
    EXPECT_GT(Sum(r, &Tally::reported), 0u);
    EXPECT_EQ(Sum(r, &Tally::suspicious), 0u);
}

TEST(SweepSelfTest, AnErrorAnsweredWithZeroIsSuspicious) {
    const SweepResult r = RunSweep(Over([](PF_InData* in_data, PF_OutData*) -> PF_Err {
                                       const PF_HandleSuite1* hs = HandleSuite(in_data);
                                       if (!hs) return PF_Err_BAD_CALLBACK_PARAM;
                                       if (PF_Handle h = hs->host_new_handle(4)) {
                                           g_made = 1;
                                           hs->host_dispose_handle(h);
                                       }
                                       ReleaseHandleSuite(in_data);
                                       return PF_Err_NONE;  // a refused handle goes unreported
                                   }),
                                   Everything());
    // Failing the allocation, once or from then on, changes what was made.
    EXPECT_EQ(r.by_mode[0].suspicious, 1u);
    EXPECT_GE(r.by_mode[1].suspicious, 1u);
    EXPECT_EQ(Sum(r, &Tally::leaks), 0u);
    EXPECT_FALSE(r.Passed());
    ASSERT_FALSE(r.problems.empty());
    EXPECT_NE(r.problems[0].find("host_new_handle"), std::string::npos) << r.problems[0];
}

TEST(SweepSelfTest, AHandleKeptOnAnErrorPathIsALeak) {
    const SweepResult r = RunSweep(Over([](PF_InData* in_data, PF_OutData*) -> PF_Err {
                                       const PF_HandleSuite1* hs = HandleSuite(in_data);
                                       if (!hs) return PF_Err_BAD_CALLBACK_PARAM;
                                       PF_Handle h = hs->host_new_handle(4);
                                       PF_Err err = PF_Err_OUT_OF_MEMORY;
                                       if (h && hs->host_lock_handle(h)) {
                                           hs->host_unlock_handle(h);
                                           hs->host_dispose_handle(h);
                                           err = PF_Err_NONE;
                                       }
                                       // A failed lock returns without disposing the handle.
                                       ReleaseHandleSuite(in_data);
                                       return err;
                                   }),
                                   Everything());
    for (const Tally& t : r.by_mode) EXPECT_GE(t.leaks, 1u);
    EXPECT_EQ(Sum(r, &Tally::suspicious), 0u);
    EXPECT_FALSE(r.Passed());
}

TEST(SweepSelfTest, ACrashEndsOneRunAndTheSweepGoesOn) {
    const SweepResult r = RunSweep(Over([](PF_InData* in_data, PF_OutData*) -> PF_Err {
                                       const PF_HandleSuite1* hs = HandleSuite(in_data);
                                       if (!hs) std::abort();
                                       PF_Handle h = hs->host_new_handle(4);
                                       if (h) hs->host_dispose_handle(h);
                                       ReleaseHandleSuite(in_data);
                                       return h ? PF_Err_NONE : PF_Err_OUT_OF_MEMORY;
                                   }),
                                   Everything());
    // The acquisition is the first call: failing it once or from then on crashes; mode (c) too.
    for (const Tally& t : r.by_mode) EXPECT_EQ(t.crashes, 1u);
    EXPECT_EQ(Sum(r, &Tally::crashes), Sum(r, &Tally::crashes) + Sum(r, &Tally::leaks));
    // The runs after the crash were made all the same.
    EXPECT_EQ(r.by_mode[0].runs, r.calls);
    std::string problems;
    for (const std::string& p : r.problems) problems += p + "\n";
    EXPECT_NE(problems.find("call 1 (AcquireSuite): killed by signal"), std::string::npos)
        << problems;
}

TEST(SweepSelfTest, AnotherErrorInPlaceOfTheHostsIsFound) {
    const SweepResult r = RunSweep(Over([](PF_InData* in_data, PF_OutData*) -> PF_Err {
                                       const auto* util = tltest::AcquireSuite<AEGP_UtilitySuite5>(
                                           in_data, kAEGPUtilitySuite, kAEGPUtilitySuiteVersion5);
                                       if (!util) return PF_Err_BAD_CALLBACK_PARAM;
                                       PF_Err err = PF_Err_NONE;
                                       if (util->AEGP_StartUndoGroup("Self Test") != A_Err_NONE) {
                                           err = PF_Err_INTERNAL_STRUCT_DAMAGED;  // not the host's
                                       } else {
                                           err = util->AEGP_EndUndoGroup();
                                       }
                                       in_data->pica_basicP->ReleaseSuite(
                                           kAEGPUtilitySuite, kAEGPUtilitySuiteVersion5);
                                       return err;
                                   }),
                                   Everything());
    EXPECT_EQ(r.by_mode[0].wrong_errors, 1u);
    EXPECT_EQ(Sum(r, &Tally::leaks), 0u);
    EXPECT_FALSE(r.Passed());
}

// The first handle is needed, the second one is extra: a refused second handle goes on silently.
PF_Err SecondOptional(PF_InData* in_data, PF_OutData*) {
    const PF_HandleSuite1* hs = HandleSuite(in_data);
    if (!hs) return PF_Err_BAD_CALLBACK_PARAM;
    PF_Err err = PF_Err_OUT_OF_MEMORY;
    if (PF_Handle first = hs->host_new_handle(4)) {
        g_made |= 1;
        if (PF_Handle second = hs->host_new_handle(4)) {
            g_made |= 2;
            hs->host_dispose_handle(second);
        }
        hs->host_dispose_handle(first);
        err = PF_Err_NONE;
    }
    ReleaseHandleSuite(in_data);
    return err;
}

// A case with a steady part tolerates a silent failure only while that part is as without it.
TEST(SweepSelfTest, ACaseWithASteadyPartToleratesOnlyWhatItLeavesOut) {
    auto made_bit = [](int bit) {
        return [bit](Stage&, const Outcome& out) {
            const int made = std::atoi(out.produced.c_str() + std::strlen("made "));
            return std::to_string(made & bit);
        };
    };
    Scenario tolerant = Over(SecondOptional);
    tolerant.tolerated.push_back({"second handle", "it is extra", {}, made_bit(1)});
    const SweepResult r = RunSweep(tolerant, Everything());
    EXPECT_TRUE(r.Passed()) << (r.problems.empty() ? "" : r.problems[0]);
    EXPECT_EQ(r.by_mode[0].tolerated, 1u);
    ASSERT_EQ(r.tolerated_cases.size(), 1u);
    EXPECT_EQ(r.tolerated_cases[0].rfind("second handle", 0), 0u) << r.tolerated_cases[0];

    // A steady part that holds the second handle too leaves the silent failure suspicious.
    Scenario strict = Over(SecondOptional);
    strict.tolerated.push_back({"second handle", "it is not", {}, made_bit(3)});
    const SweepResult s = RunSweep(strict, Everything());
    EXPECT_EQ(s.by_mode[0].suspicious, 1u);
    EXPECT_EQ(Sum(s, &Tally::tolerated), 0u);
    EXPECT_FALSE(s.Passed());
}

}  // namespace
}  // namespace sweep
