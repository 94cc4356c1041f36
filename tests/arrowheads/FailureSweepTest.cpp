// Every host call of "Create Placeholders" failing in turn, the placeholder composition built
// each time: whatever fails, nothing is left acquired, no undo group is left open, and a
// failure outside the export of a single arrowhead is the result.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "arrowheads/ArrowheadFixture.h"
#include "support/TestSupport.h"

namespace arrowtest {
namespace {

// Calls that give something back: when one fails, what it was to give back stays live (a
// failed end is not tried again). The sweep leaves them out, as the host's string copy, which
// has no way to answer an error.
bool NotSwept(const std::string& function) {
    static const std::set<std::string> kNotSwept = {
        "ReleaseSuite",
        "host_unlock_handle",
        "host_dispose_handle",
        "AEGP_DisposeStream",
        "AEGP_DisposeStreamValue",
        "AEGP_FreeMemHandle",
        "AEGP_UnlockMemHandle",
        "AEGP_EndUndoGroup",
        "AEGP_DisposeEffect",
        "strcpy",
    };
    return kNotSwept.count(function) != 0;
}

class ExportFailures : public ArrowheadTest {
  protected:
    // The next press builds the placeholder composition again.
    void ForgetPlaceholderComps() {
        for (tlhost::Composition* comp : PlaceholderComps()) comp->set_name("Used");
    }
};

TEST_F(ExportFailures, AFailureAtAnyHostCallLeavesNothingOpen) {
    AddConnection("Line 1", WithSets({{"Arrowheads 1", {"End Arrowhead"}}}));
    AddConnection("Line 2", WithSets({{"Arrowheads 1", {"Start Arrowhead"}}}));
    const std::map<std::string, std::uint64_t> before = S().host().ledger().CallCounts();
    ASSERT_EQ(Press().result, A_Err_NONE);
    ASSERT_EQ(Placeholders().size(), 2u);
    std::map<std::string, std::uint64_t> calls = S().host().ledger().CallCounts();
    for (auto& [function, count] : calls) count -= before.count(function) ? before.at(function) : 0;

    std::size_t sweeps = 0;
    std::size_t failed_presses = 0;
    for (const auto& [function, count] : calls) {
        if (NotSwept(function)) continue;
        for (std::uint64_t nth = 1; nth <= count; ++nth) {
            SCOPED_TRACE(function + " #" + std::to_string(nth));
            ForgetPlaceholderComps();
            const std::size_t groups = P().undo_groups().size();
            FailNext(function, nth, A_Err_CONST_PROJECT_MODIFICATION);
            const CommandReport report = Press();
            S().host().faults().Clear();
            ++sweeps;
            if (report.result != A_Err_NONE) ++failed_presses;
            if (report.result != A_Err_NONE && function.rfind("AEGP_", 0) == 0) {
                EXPECT_EQ(report.result, A_Err_CONST_PROJECT_MODIFICATION);
            }
            if (P().undo_groups().size() > groups) {
                EXPECT_EQ(P().undo_groups().size(), groups + 1);
                EXPECT_TRUE(LastUndoGroup().closed);
            }
            EXPECT_TRUE(report.violations.empty());
            EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
            if (!report.clean()) return;  // the ledger keeps what leaked; stop here
        }
    }
    EXPECT_GT(sweeps, 150u);
    // The steps around the single arrowheads' exports report their failures.
    EXPECT_GT(failed_presses, 20u);
}

// The undo group's end answers like any step.
TEST_F(ExportFailures, AFailedEndOfTheUndoGroupIsTheResult) {
    AddConnection("Line");
    FailNext("AEGP_EndUndoGroup", 1, A_Err_GENERIC);
    EXPECT_EQ(Press().result, A_Err_GENERIC);
}

// A suite that cannot be had ends the command with the missing-suite error, and every
// reference and the undo group are still given back.
TEST_F(ExportFailures, AMissingSuiteEndsTheCommandWithNothingOpen) {
    AddConnection("Line");
    for (const char* suite : {"AEGP Mask Outline Suite", "AEGP Item Suite", "AEGP Proj Suite"}) {
        SCOPED_TRACE(suite);
        ForgetPlaceholderComps();
        S().host().faults().FailSuite(suite, -1, A_Err_GENERIC);
        const CommandReport report = Press();
        S().host().faults().Clear();
        EXPECT_EQ(report.result, PF_Err_BAD_CALLBACK_PARAM);
        EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
        EXPECT_TRUE(LastUndoGroup().closed);
    }
}

}  // namespace
}  // namespace arrowtest
