// Every host call a change makes, failed in turn: the change fails with an error (never 0),
// and nothing is left acquired. Calls that give something back are not failed: the thing would
// stay with the plug-in whatever it did.
#include <set>
#include <string>

#include "style/StyleFixture.h"
#include "support/TestSupport.h"

namespace styletest {
namespace {

// Calls that give something back: when one fails the reference it was to release stays live,
// and a release from a destructor has nowhere to report to.
bool GivesBack(const std::string& function) {
    static const std::set<std::string> kReleases = {
        "ReleaseSuite",       "host_unlock_handle",   "host_dispose_handle",
        "AEGP_DisposeStream", "AEGP_DisposeEffect",   "AEGP_DisposeStreamValue",
        "AEGP_FreeMemHandle", "AEGP_UnlockMemHandle",
    };
    return kReleases.count(function) != 0;
}

struct Change {
    const char* label;
    int index;
    double value;
};

class FailureSweep : public StyleTest, public ::testing::WithParamInterface<Change> {
  protected:
    void SetUp() override {
        StyleTest::SetUp();
        for (const char* name : {"A", "B"}) {
            Layer& line = AddLine(name, Controller().id());
            AddPaint(Contents(line), kStroke);
            AddPaint(Contents(line), kGradientStroke);
        }
        SetValue(12, 1);
    }
    CommandReport Send() {
        SetValue(GetParam().index, GetParam().value);
        return S().UserChangedParam(Effect(), GetParam().index);
    }
};

TEST_P(FailureSweep, EveryFailedHostCallIsTheResultAndLeavesNothingAcquired) {
    // The calls the change makes when nothing fails.
    const auto before = S().host().ledger().CallCounts();
    const CommandReport clean_run = Send();
    ASSERT_EQ(clean_run.result, A_Err_NONE);
    ASSERT_TRUE(clean_run.clean()) << tltest::Leftovers(clean_run);
    auto made = S().host().ledger().CallCounts();
    std::size_t sweeps = 0;
    for (const auto& [function, count] : made) {
        // A failed release leaves its reference live for good; the host's string copy has no
        // way to answer an error: neither is swept.
        if (GivesBack(function) || function == "strcpy") continue;
        const auto earlier = before.count(function) ? before.at(function) : 0;
        for (std::uint64_t n = 1; n <= count - earlier; ++n) {
            SCOPED_TRACE(function + " #" + std::to_string(n));
            const auto now = S().host().ledger().CallCount(function);
            S().host().faults().FailNthCallOf(function, now + n, A_Err_CONST_PROJECT_MODIFICATION);
            const CommandReport report = Send();
            S().host().faults().Clear();
            ++sweeps;
            EXPECT_NE(report.result, A_Err_NONE);
            EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
            if (!report.clean()) return;  // the ledger keeps what leaked; stop here
        }
    }
    EXPECT_GT(sweeps, 20u);
}

INSTANTIATE_TEST_SUITE_P(Changes, FailureSweep,
                         ::testing::Values(Change{"MiterJoin", 10, 1}, Change{"Radial", 13, 2},
                                           Change{"LineCap", 9, 2}, Change{"Preset", 74, 5},
                                           Change{"EnableFill", 21, 1}),
                         [](const auto& info) { return std::string(info.param.label); });

}  // namespace
}  // namespace styletest
