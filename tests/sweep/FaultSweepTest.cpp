// The fault sweep over every command scenario: the whole sweep in ordinary builds, a spread of
// calls in sanitizer builds (see FaultSweep.h for what a run must end with). The table of every
// scenario is printed at the end and written next to the build's other outputs.
#include <cctype>
#include <fstream>
#include <iostream>

#include <gtest/gtest.h>

#include "sweep/FaultSweep.h"
#include "sweep/Scenarios.h"

namespace sweep {
namespace {

std::vector<SweepResult>& Results() {
    static std::vector<SweepResult> results;
    return results;
}

class TablePrinter : public ::testing::Environment {
  public:
    void TearDown() override {
        if (Results().empty()) return;
        const std::string table = FormatTable(Results());
        std::cout << "\n" << table << std::flush;
        std::ofstream(TL_SWEEP_TABLE) << table;
    }
};
const auto* const kPrinter = ::testing::AddGlobalTestEnvironment(new TablePrinter);

class FaultSweep : public ::testing::TestWithParam<std::size_t> {};

TEST_P(FaultSweep, EveryHostCallFailedInTurn) {
    const Scenario& scenario = AllScenarios()[GetParam()];
    const SweepResult result = RunSweep(scenario, PlanFromEnvironment());
    Results().push_back(result);
    ASSERT_TRUE(result.clean_problem.empty()) << result.clean_problem;
    std::string problems;
    for (const std::string& p : result.problems) problems += p + "\n";
    for (Mode mode : kModes) {
        const Tally& t = result.by_mode[static_cast<std::size_t>(mode)];
        SCOPED_TRACE(ModeName(mode));
        EXPECT_EQ(t.crashes, 0u) << problems;
        EXPECT_EQ(t.leaks, 0u) << problems;
        EXPECT_EQ(t.suspicious, 0u) << problems;
        EXPECT_EQ(t.breaches, 0u) << problems;
        EXPECT_EQ(t.wrong_errors, 0u) << problems;
        EXPECT_EQ(t.check_failures, 0u) << problems;
    }
}

std::string TestName(const ::testing::TestParamInfo<std::size_t>& info) {
    std::string name;
    for (char c : AllScenarios()[info.param].name) {
        name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    }
    return std::to_string(info.param) + "_" + name;
}

INSTANTIATE_TEST_SUITE_P(Commands, FaultSweep,
                         ::testing::Range<std::size_t>(0, AllScenarios().size()), TestName);

}  // namespace
}  // namespace sweep
