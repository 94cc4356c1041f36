// The stand-in host's own guarantees: call counting, reference accounting, fault
// injection, handle strictness, declined functions and the load check. Driven by
// small fake plug-ins defined here, so that each misbehaviour is deliberate.
#include <cstring>

#include <gtest/gtest.h>

#include "AE_EffectCBSuites.h"
#include "AE_GeneralPlug.h"
#include "core/Boundary.h"
#include "support/FakePlugin.h"
#include "support/TestSupport.h"

namespace {

using tlhost::CommandReport;
using tlhost::RefKind;
using tlhost::Session;

using Body = tltest::Body;

class HostAccounting : public ::testing::Test {
  protected:
    CommandReport Run(Body body) { return fake_.Run(body); }
    tltest::FakePlugin fake_;
    Session* session_ = &fake_.session();
};

const PF_HandleSuite1* AcquireHandleSuite(PF_InData* in_data) {
    const void* suite = nullptr;
    in_data->pica_basicP->AcquireSuite(kPFHandleSuite, kPFHandleSuiteVersion1, &suite);
    return static_cast<const PF_HandleSuite1*>(suite);
}

TEST_F(HostAccounting, ABalancedCommandLeavesNothingAndCountsEveryCall) {
    CommandReport report = Run([](PF_InData* in_data, PF_OutData*) -> PF_Err {
        const PF_HandleSuite1* hs = AcquireHandleSuite(in_data);
        PF_Handle h = hs->host_new_handle(10);
        hs->host_lock_handle(h);
        hs->host_unlock_handle(h);
        hs->host_dispose_handle(h);
        return in_data->pica_basicP->ReleaseSuite(kPFHandleSuite, kPFHandleSuiteVersion1);
    });
    EXPECT_EQ(report.result, PF_Err_NONE);
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
    const tlhost::Ledger& ledger = session_->host().ledger();
    EXPECT_EQ(ledger.CallCount("AcquireSuite"), 1u);
    EXPECT_EQ(ledger.CallCount("ReleaseSuite"), 1u);
    EXPECT_EQ(ledger.CallCount("host_new_handle"), 1u);
    EXPECT_EQ(ledger.CallCount("host_dispose_handle"), 1u);
}

TEST_F(HostAccounting, LeftoversNameTheReferenceAndTheCallThatMadeIt) {
    CommandReport report = Run([](PF_InData* in_data, PF_OutData*) -> PF_Err {
        const PF_HandleSuite1* hs = AcquireHandleSuite(in_data);
        PF_Handle h = hs->host_new_handle(4);
        hs->host_lock_handle(h);
        return PF_Err_NONE;
    });
    ASSERT_EQ(report.leftovers.size(), 3u);
    EXPECT_EQ(report.leftovers[0].kind, RefKind::Suite);
    EXPECT_EQ(report.leftovers[0].what, "\"PF Handle Suite\" v2");
    EXPECT_EQ(report.leftovers[0].created_by, "AcquireSuite #1");
    EXPECT_EQ(report.leftovers[1].kind, RefKind::Handle);
    EXPECT_EQ(report.leftovers[1].created_by, "host_new_handle #1");
    EXPECT_EQ(report.leftovers[2].kind, RefKind::HandleLock);
    EXPECT_FALSE(report.clean());
}

TEST_F(HostAccounting, ForeignDisposedAndTwiceDisposedHandlesAreCaught) {
    CommandReport report = Run([](PF_InData* in_data, PF_OutData*) -> PF_Err {
        void* foreign_master = nullptr;
        PF_UNLOCK_HANDLE(&foreign_master);
        PF_Handle h = PF_NEW_HANDLE(8);
        PF_DISPOSE_HANDLE(h);
        PF_DISPOSE_HANDLE(h);
        return PF_LOCK_HANDLE(h) ? PF_Err_INTERNAL_STRUCT_DAMAGED : PF_Err_NONE;
    });
    EXPECT_EQ(report.result, PF_Err_NONE) << "a disposed handle must not lock";
    ASSERT_EQ(report.violations.size(), 3u);
    EXPECT_NE(report.violations[0].find("foreign handle"), std::string::npos);
    EXPECT_NE(report.violations[1].find("disposed handle passed to host_dispose_handle"),
              std::string::npos);
    EXPECT_NE(report.violations[1].find("made by host_new_handle #1"), std::string::npos);
    EXPECT_NE(report.violations[2].find("host_lock_handle"), std::string::npos);
    EXPECT_TRUE(report.leftovers.empty());
}

TEST_F(HostAccounting, UnknownSuiteVersionsAreNotFoundAndVersionsAreSeparateTables) {
    CommandReport report = Run([](PF_InData* in_data, PF_OutData*) -> PF_Err {
        const void* v2 = nullptr;
        const void* v3 = nullptr;
        if (in_data->pica_basicP->AcquireSuite(kPFHandleSuite, 3, &v3) == 0 || v3) return 1;
        if (in_data->pica_basicP->AcquireSuite("No Such Suite", 1, &v3) == 0) return 2;
        if (in_data->pica_basicP->AcquireSuite(kPFHandleSuite, 2, &v2) != 0 || !v2) return 3;
        return in_data->pica_basicP->ReleaseSuite(kPFHandleSuite, 2);
    });
    EXPECT_EQ(report.result, PF_Err_NONE);
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
}

TEST_F(HostAccounting, ReleasingASuiteNotAcquiredIsABreach) {
    CommandReport report = Run([](PF_InData* in_data, PF_OutData*) -> PF_Err {
        return in_data->pica_basicP->ReleaseSuite(kPFHandleSuite, kPFHandleSuiteVersion1);
    });
    EXPECT_NE(report.result, PF_Err_NONE);
    ASSERT_EQ(report.violations.size(), 1u);
    EXPECT_NE(report.violations[0].find("not acquired"), std::string::npos);
}

TEST_F(HostAccounting, DeclinedFunctionsAnswerAnErrorAndAreRecorded) {
    CommandReport report = Run([](PF_InData* in_data, PF_OutData*) -> PF_Err {
        const void* suite = nullptr;
        in_data->pica_basicP->AcquireSuite(kAEGPUtilitySuite, kAEGPUtilitySuiteVersion5, &suite);
        auto* us = static_cast<const AEGP_UtilitySuite5*>(suite);
        PF_Err err = us->AEGP_ReportInfo(1, "hello");
        in_data->pica_basicP->ReleaseSuite(kAEGPUtilitySuite, kAEGPUtilitySuiteVersion5);
        return err;
    });
    EXPECT_EQ(report.result, tlhost::kDeclinedErr);
    ASSERT_EQ(report.declined.size(), 1u);
    EXPECT_EQ(report.declined[0], "AEGP_ReportInfo");
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
}

TEST_F(HostAccounting, FaultsFireOnTheChosenCallOnceOrFromThenOn) {
    tlhost::Faults& faults = session_->host().faults();
    faults.FailNthCallOf("host_new_handle", 2, A_Err_ALLOC);
    Body body = [](PF_InData* in_data, PF_OutData* out_data) -> PF_Err {
        A_long made = 0;
        for (int i = 0; i < 3; ++i) {
            PF_Handle h = PF_NEW_HANDLE(1);
            if (h) {
                ++made;
                PF_DISPOSE_HANDLE(h);
            }
        }
        out_data->num_params = made;
        return PF_Err_NONE;
    };
    CommandReport once = Run(body);
    EXPECT_TRUE(once.clean());
    EXPECT_EQ(faults.Fired(), 1u);

    faults.Clear();
    faults.FailNthCallOf("host_new_handle", 5, A_Err_ALLOC, tlhost::FaultRepeat::FromThen);
    Run(body);  // calls 4, 5, 6 of host_new_handle: 5 and 6 fail
    EXPECT_EQ(faults.Fired(), 3u);
}

// From the chosen call on everything fails but what gives something back: the handle made
// before goes back, its lock is released, the suite is released; the new handle and the lock
// after the chosen call fail. The failed calls are traced in order, and failed give-backs are
// counted by the kind of reference they would have given back.
TEST_F(HostAccounting, FromThenOnExceptGiveBacksStillAnswersEveryGiveBack) {
    tlhost::Faults& faults = session_->host().faults();
    std::vector<const char*> failed;
    faults.TraceFailed(&failed);
    faults.FailNthCallOf("host_new_handle",
                         session_->host().ledger().CallCount("host_new_handle") + 2, A_Err_ALLOC,
                         tlhost::FaultRepeat::FromThenExceptGiveBacks);
    CommandReport report = Run([](PF_InData* in_data, PF_OutData*) -> PF_Err {
        const PF_HandleSuite1* hs = AcquireHandleSuite(in_data);
        PF_Handle first = hs->host_new_handle(4);
        hs->host_lock_handle(first);
        PF_Handle second = hs->host_new_handle(4);
        PF_Handle third = hs->host_new_handle(4);
        hs->host_unlock_handle(first);
        hs->host_dispose_handle(first);
        in_data->pica_basicP->ReleaseSuite(kPFHandleSuite, kPFHandleSuiteVersion1);
        return first && !second && !third ? PF_Err_NONE : PF_Err_INTERNAL_STRUCT_DAMAGED;
    });
    faults.TraceFailed(nullptr);
    EXPECT_EQ(report.result, PF_Err_NONE);
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
    ASSERT_EQ(failed.size(), 2u);
    EXPECT_STREQ(failed[0], "host_new_handle");
    EXPECT_STREQ(failed[1], "host_new_handle");
    EXPECT_EQ(faults.FailedGiveBacks(RefKind::Handle), 0u);

    // Failing from then on, give-backs included: the unlock fails and is counted.
    faults.Clear();
    faults.FailNthCallOf("host_unlock_handle",
                         session_->host().ledger().CallCount("host_unlock_handle") + 1, A_Err_ALLOC,
                         tlhost::FaultRepeat::FromThen);
    report = Run([](PF_InData* in_data, PF_OutData*) -> PF_Err {
        const PF_HandleSuite1* hs = AcquireHandleSuite(in_data);
        PF_Handle h = hs->host_new_handle(4);
        hs->host_lock_handle(h);
        hs->host_unlock_handle(h);
        in_data->pica_basicP->ReleaseSuite(kPFHandleSuite, kPFHandleSuiteVersion1);
        return PF_Err_NONE;
    });
    faults.Clear();
    EXPECT_EQ(faults.FailedGiveBacks(RefKind::HandleLock), 1u);
    EXPECT_EQ(report.leftovers.size(), 2u) << tltest::Leftovers(report);  // the handle, its lock
}

TEST(GiveBacks, EveryFunctionThatGivesSomethingBackIsKnownWithWhatItGivesBack) {
    struct Row {
        const char* function;
        RefKind kind;
    };
    for (const Row& row :
         {Row{"ReleaseSuite", RefKind::Suite}, Row{"host_unlock_handle", RefKind::HandleLock},
          Row{"AEGP_DisposeStream", RefKind::Stream}, Row{"AEGP_EndUndoGroup", RefKind::UndoGroup},
          Row{"AEGP_EndAddKeyframes", RefKind::KeyframeBatch},
          Row{"checkin_layer_pixels", RefKind::PixelCheckout},
          Row{"ReleaseObject", RefKind::DrawbotObject}}) {
        ASSERT_TRUE(tlhost::GiveBackKind(row.function).has_value()) << row.function;
        EXPECT_EQ(*tlhost::GiveBackKind(row.function), row.kind) << row.function;
    }
    for (const char* taker : {"AcquireSuite", "host_new_handle", "AEGP_StartUndoGroup",
                              "AEGP_GetNewStreamRefByIndex", "strcpy"}) {
        EXPECT_FALSE(tlhost::GiveBackKind(taker).has_value()) << taker;
    }
}

TEST_F(HostAccounting, EveryCountedCallCanBeTracedByName) {
    std::vector<const char*> calls;
    session_->host().ledger().TraceCalls(&calls);
    Run([](PF_InData* in_data, PF_OutData*) -> PF_Err {
        const PF_HandleSuite1* hs = AcquireHandleSuite(in_data);
        hs->host_dispose_handle(hs->host_new_handle(1));
        in_data->pica_basicP->ReleaseSuite(kPFHandleSuite, kPFHandleSuiteVersion1);
        return PF_Err_NONE;
    });
    session_->host().ledger().TraceCalls(nullptr);
    std::vector<std::string> names(calls.begin(), calls.end());
    EXPECT_EQ(names, (std::vector<std::string>{"AcquireSuite", "host_new_handle",
                                               "host_dispose_handle", "ReleaseSuite"}));
}

TEST_F(HostAccounting, TheNthHostCallAndSuiteAcquisitionCanBeMadeToFail) {
    tlhost::Faults& faults = session_->host().faults();
    const std::uint64_t next = session_->host().ledger().TotalCalls() + 1;
    faults.FailNthHostCall(next, 77);
    CommandReport report = Run([](PF_InData* in_data, PF_OutData*) -> PF_Err {
        const void* suite = nullptr;
        return in_data->pica_basicP->AcquireSuite(kPFHandleSuite, kPFHandleSuiteVersion1, &suite);
    });
    EXPECT_EQ(report.result, 77);
    EXPECT_TRUE(report.clean());

    faults.FailSuite(kAEGPUtilitySuite, -1, 99);
    report = Run([](PF_InData* in_data, PF_OutData*) -> PF_Err {
        const void* suite = nullptr;
        PF_Err err = in_data->pica_basicP->AcquireSuite(kAEGPUtilitySuite, 11, &suite);
        return suite ? 1 : err;
    });
    EXPECT_EQ(report.result, 99);
}

TEST_F(HostAccounting, ReturnMessageOverrunIsCutAndReported) {
    CommandReport report = Run([](PF_InData* in_data, PF_OutData* out_data) -> PF_Err {
        std::string long_text(400, 'x');
        PF_SPRINTF(out_data->return_msg, "%s", long_text.c_str());
        return PF_Err_NONE;
    });
    EXPECT_EQ(report.return_msg.size(), 255u);
    ASSERT_EQ(report.violations.size(), 1u);
    EXPECT_NE(report.violations[0].find("256-byte host buffer"), std::string::npos);
}

TEST_F(HostAccounting, AnExceptionFromThePlugInIsStoppedAtTheEntryPoint) {
    CommandReport report = Run([](PF_InData*, PF_OutData*) -> PF_Err { throw 5; });
    EXPECT_EQ(report.result, PF_Err_INTERNAL_STRUCT_DAMAGED);
    ASSERT_EQ(report.violations.size(), 1u);
}

// ---------------------------------------------------------------------------------
// Loading: the module against its registration resource.

std::vector<std::uint8_t> WithWord(std::vector<std::uint8_t> bytes, const char* key,
                                   std::uint32_t value) {
    // Keys are stored byte-reversed; the datum follows id and length.
    const char reversed[4] = {key[3], key[2], key[1], key[0]};
    for (std::size_t i = 0; i + 16 <= bytes.size(); ++i) {
        if (std::memcmp(&bytes[i], reversed, 4) == 0) {
            for (int b = 0; b < 4; ++b)
                bytes[i + 12 + static_cast<std::size_t>(b)] =
                    static_cast<std::uint8_t>(value >> (8 * b));
            return bytes;
        }
    }
    ADD_FAILURE() << "no property " << key;
    return bytes;
}

TEST(HostLoading, TheBuiltModuleLoadsAndPassesTheCheck) {
    std::vector<std::string> log;
    auto session = Session::Load(TL_MODULE_PATH, TL_RESOURCE_PATH, &log);
    ASSERT_TRUE(session);
    ASSERT_FALSE(log.empty());
    EXPECT_NE(log.back().find("loaded"), std::string::npos);
    EXPECT_EQ(session->registration().calls, 1);
}

TEST(HostLoading, AFlagWordOrVersionThatDiffersFromTheResourceIsRefused) {
    tlhost::ResourceInfo info;
    std::string error;
    ASSERT_TRUE(tlhost::ReadRegistrationResource(tltest::BuiltResource(), &info, &error)) << error;
    struct Case {
        const char* key;
        std::uint32_t value;
        const char* named;
    };
    const Case cases[] = {
        {"eGLO", info.out_flags | 0x04000000u, "out_flags (eGLO)"},
        {"eGL2", info.out_flags2 & ~0x400u, "out_flags2 (eGL2)"},
        {"eVER", info.version + 1, "my_version (eVER)"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> log;
        auto bytes = WithWord(tltest::BuiltResource(), c.key, c.value);
        // The real plug-in answers against a resource that now says otherwise.
        auto refused = Session::Start(tltest::InProcessEntryPoints(), bytes, &log);
        EXPECT_FALSE(refused) << c.key;
        ASSERT_FALSE(log.empty());
        EXPECT_NE(log.back().find(c.named), std::string::npos) << log.back();
        EXPECT_NE(log.back().find("not loaded"), std::string::npos);
    }
}

TEST(HostLoading, AMalformedResourceIsRefusedWithItsPlace) {
    auto bytes = tltest::BuiltResource();
    bytes.resize(bytes.size() - 5);
    std::vector<std::string> log;
    EXPECT_FALSE(Session::Start(tltest::InProcessEntryPoints(), bytes, &log));
    ASSERT_FALSE(log.empty());
    EXPECT_NE(log.back().find("registration resource at byte"), std::string::npos) << log.back();
}

}  // namespace
