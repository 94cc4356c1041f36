// Every host call of a command failed in turn. A scenario prepares a session (the plug-in linked
// in, a project, whatever commands must come first) and names one command. The sweep runs that
// command once without faults and counts its host calls N; then, for k = 1..N, it runs the
// command again from a session prepared the same way, with the k-th call failing
//
//   (a) once,
//   (b) from then on,
//   (c) from then on, except calls that give something back (disposals, unlocks, releases, the
//       ends of undo groups and keyframe batches, check-ins),
//
// Rebuilding the session for every run costs less than forking a prepared one (page faults
// dominate a fork here); the runs go to worker processes, so that a crash ends one run, not the
// sweep, and two workers share the machine's cores. A run passes when it ends with
//
//   - a non-zero result whenever its outcome (the project, the effect's parameters, what the
//     command produced) differs from the fault-free run's, and whenever a call failed that the
//     plug-in could see (any but a give-back), unless a case the scenario tolerates by name
//     covers every call failed;
//   - nothing left acquired, locked or open that a failed give-back does not account for (in
//     mode (c) nothing at all), undo groups and keyframe batches included;
//   - no breach of the interface (a disposal of something not held, a late use);
//   - in mode (a), the host's own error as the result when a function answering with an error
//     code failed and the command reported a failure;
//   - whatever the scenario checks of its own, and no crash.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "session/Session.h"

namespace sweep {

enum class Mode { Once, FromThen, FromThenExceptGiveBacks };
inline constexpr Mode kModes[] = {Mode::Once, Mode::FromThen, Mode::FromThenExceptGiveBacks};
const char* ModeName(Mode mode);

// The error every failed call answers with: one the plug-in never makes itself.
inline constexpr A_Err kInjected = A_Err_CONST_PROJECT_MODIFICATION;

// What a scenario's command works on, prepared afresh for every run.
struct Stage {
    std::unique_ptr<tlhost::Session> session;
    tlhost::EffectInstance* effect = nullptr;  // the instance the command goes to
    // Pixel worlds, the pre-render record and the arbitrary-data places a command uses.
    std::unique_ptr<tlhost::World> input;
    std::unique_ptr<tlhost::World> output;
    PF_PreRenderOutput prerender{};
    PF_ArbitraryH arb = nullptr;
    std::vector<std::uint8_t> flat;
    A_u_long flat_size = 0;

    tlhost::Host& host() { return session->host(); }
    tlhost::Project& project() { return session->host().project(); }
};

// What a command gave: the host's report and, as text, whatever it produced beyond the project
// and the effect's parameters (a handle's bytes, a display list, pixels, rectangles).
struct Outcome {
    tlhost::CommandReport report;
    std::string produced;
};

// A zero result with a changed outcome that is right: the plug-in cannot see these calls fail,
// or is told to go on without them. A run falls under the case when every call failed in it is
// one of `functions`; or, for a case with `steady`, when what `steady` describes of the run is
// what it describes of the fault-free run (the case names what such a failure may change, and
// everything else must be as without it).
struct Tolerated {
    std::string name;
    std::string reason;
    std::vector<std::string> functions;
    std::function<std::string(Stage&, const Outcome&)> steady;
};

// What a scenario's own checks see of a run: its outcome, the scenario's snapshot before the
// command and after the fault-free run, and every host function failed in it.
struct RunView {
    const Outcome& outcome;
    const std::string& before;
    const std::string& clean;
    const std::vector<const char*>& failed;
};

struct Scenario {
    std::string name;
    // Builds the stage without faults; a test failure (gtest) when it cannot.
    std::function<void(Stage&)> prepare;
    std::function<Outcome(Stage&)> command;
    // The scenario's own checks over a run (see RunView); a problem as text, empty when none.
    std::function<std::string(Stage&)> snapshot;
    std::function<std::string(Stage&, const RunView& run)> check;
    std::vector<Tolerated> tolerated;
};

// Calls no plug-in can see fail: they answer nothing.
const std::vector<Tolerated>& UnseenFailures();

// Which k a sweep runs: every call, or a spread of `count` values from the first call to the last.
struct Plan {
    bool full = true;
    std::size_t count = 12;
    int jobs = 2;           // runs in flight at once
    unsigned timeout = 60;  // seconds one run may take before it counts as hung
};
// The plan for this build: the whole sweep, a spread in sanitizer builds; TL_SWEEP=full or
// TL_SWEEP=<count> and TL_SWEEP_JOBS=<n> choose otherwise.
Plan PlanFromEnvironment();

struct Tally {
    std::uint64_t runs = 0;
    std::uint64_t reported = 0;      // a non-zero result
    std::uint64_t leaks = 0;         // left acquired, locked or open beyond failed give-backs
    std::uint64_t suspicious = 0;    // zero with a changed outcome or a seen failure, not tolerated
    std::uint64_t tolerated = 0;     // zero where a named case covers every call failed
    std::uint64_t unchanged = 0;     // zero with the fault-free outcome, only give-backs failed
    std::uint64_t breaches = 0;      // interface breaches
    std::uint64_t wrong_errors = 0;  // a host error replaced by another in mode (a)
    std::uint64_t check_failures = 0;  // the scenario's own checks
    std::uint64_t crashes = 0;         // killed, hung or exited abnormally
    bool Passed() const {
        return leaks + suspicious + breaches + wrong_errors + check_failures + crashes == 0;
    }
};

struct SweepResult {
    std::string scenario;
    std::uint64_t calls = 0;    // N, the fault-free run's host calls
    std::string clean_problem;  // what was wrong with the fault-free run, if anything
    Tally by_mode[3];
    std::vector<std::string> tolerated_cases;  // "name: count" of the cases that occurred
    std::vector<std::string> problems;         // the first few failed runs, described
    // Runs of mode (a) that answered 0 with the fault-free outcome, by the function failed.
    std::map<std::string, std::uint64_t> unchanged_once;
    double seconds = 0;
    bool Passed() const;
};

SweepResult RunSweep(const Scenario& scenario, const Plan& plan);

// One table: a block of rows per scenario, one row per mode, and the totals.
std::string FormatTable(const std::vector<SweepResult>& results);

}  // namespace sweep
