// Every host call a click or a draw makes, failed in turn: the event fails with an error and
// leaves nothing acquired. Calls that give something back are not failed (the thing would stay
// with the plug-in whatever it did), nor is the string copy, which cannot answer an error.
#include <functional>
#include <set>
#include <string>

#include "panel/PanelFixture.h"
#include "support/TestSupport.h"

namespace paneltest {
namespace {

bool Swept(const std::string& function) {
    static const std::set<std::string> kNotSwept = {
        "ReleaseSuite",        "host_unlock_handle",
        "host_dispose_handle", "AEGP_DisposeStream",
        "AEGP_DisposeEffect",  "AEGP_DisposeStreamValue",
        "AEGP_FreeMemHandle",  "AEGP_UnlockMemHandle",
        "ReleaseObject",       "strcpy",
    };
    return kNotSwept.count(function) == 0;
}

class PanelFailureSweep : public PanelTest {
  protected:
    void Sweep(const std::function<CommandReport()>& event) {
        AddConnection("Line 1");
        AddConnection("Line 2");
        const auto before = H().ledger().CallCounts();
        const CommandReport clean_run = event();
        ASSERT_EQ(clean_run.result, A_Err_NONE);
        ASSERT_TRUE(clean_run.clean()) << tltest::Leftovers(clean_run);
        const auto made = H().ledger().CallCounts();
        std::size_t sweeps = 0;
        for (const auto& [function, count] : made) {
            if (!Swept(function)) continue;
            const auto earlier = before.count(function) ? before.at(function) : 0;
            for (std::uint64_t n = 1; n <= count - earlier; ++n) {
                SCOPED_TRACE(function + " #" + std::to_string(n));
                FailNext(function, n, A_Err_CONST_PROJECT_MODIFICATION);
                const CommandReport report = event();
                H().faults().Clear();
                ++sweeps;
                EXPECT_NE(report.result, A_Err_NONE);
                EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
                if (!report.clean()) return;
            }
        }
        EXPECT_GT(sweeps, 20u);
    }
};

TEST_F(PanelFailureSweep, ClickingAModuleReportsEveryFailure) {
    Sweep([&] { return ClickModule(0).report; });
}

TEST_F(PanelFailureSweep, ClickingDashesReportsEveryFailure) {
    // Dashes on and off again: the setup and the removal both run under every fault.
    Sweep([&] {
        CommandReport on = ClickModule(2).report;
        if (on.result != A_Err_NONE) return on;
        return ClickModule(2).report;
    });
}

TEST_F(PanelFailureSweep, DrawingReportsEveryFailure) {
    Sweep([&] { return Draw().report; });
}

}  // namespace
}  // namespace paneltest
