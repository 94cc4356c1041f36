#include "sweep/FaultSweep.h"

#include <signal.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <poll.h>
#include <climits>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <sstream>

#include <gtest/gtest.h>

#include "sweep/Fingerprint.h"

namespace sweep {

namespace {

tlhost::FaultRepeat RepeatOf(Mode mode) {
    switch (mode) {
        case Mode::Once:
            return tlhost::FaultRepeat::Once;
        case Mode::FromThen:
            return tlhost::FaultRepeat::FromThen;
        case Mode::FromThenExceptGiveBacks:
            return tlhost::FaultRepeat::FromThenExceptGiveBacks;
    }
    return tlhost::FaultRepeat::Once;
}

std::size_t IndexOf(Mode mode) {
    return static_cast<std::size_t>(mode);
}

// ---- moving bytes between the processes -------------------------------------------------------

bool WriteAll(int fd, const void* data, std::size_t size) {
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t n = ::write(fd, p, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        p += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// ---- the fault-free run ----------------------------------------------------------------------

struct Clean {
    std::vector<std::string> functions;  // the name of every host call, in order
    std::string fingerprint;
    std::string snapshot;  // the scenario's snapshot after the fault-free run
    // What each of the scenario's tolerated cases with a `steady` describes of the fault-free
    // run (empty for the others), by the case's index.
    std::vector<std::string> steady;
    std::string problem;  // what is wrong with the fault-free run itself
};

// The fault-free run, from a stage of its own: the name of every host call it makes, and what it
// leaves for the runs to compare with.
Clean RunClean(const Scenario& scenario) {
    Clean clean;
    Stage stage;
    scenario.prepare(stage);
    if (::testing::Test::HasFatalFailure() || !stage.session) {
        clean.problem = "the scenario could not be prepared";
        return clean;
    }
    std::vector<const char*> trace;
    stage.host().ledger().TraceCalls(&trace);
    const Outcome outcome = scenario.command(stage);
    stage.host().ledger().TraceCalls(nullptr);
    for (const char* f : trace) clean.functions.emplace_back(f);
    clean.fingerprint = Fingerprint(stage, outcome);
    // What the scenario's checks compare a run with: the state the fault-free run left.
    if (scenario.snapshot) clean.snapshot = scenario.snapshot(stage);
    for (const Tolerated& c : scenario.tolerated) {
        clean.steady.push_back(c.steady ? c.steady(stage, outcome) : std::string());
    }
    const tlhost::CommandReport& r = outcome.report;
    if (r.result != A_Err_NONE) clean.problem += "result " + std::to_string(r.result) + "\n";
    for (const auto& ref : r.leftovers) {
        clean.problem += "left acquired: " + tlhost::Describe(ref) + "\n";
    }
    for (const auto& v : r.violations) clean.problem += "breach: " + v + "\n";
    for (const auto& d : r.declined) clean.problem += "declined: " + d + "\n";
    return clean;
}

// ---- one faulted run -------------------------------------------------------------------------

enum Finding : std::uint32_t {
    kReported = 1u << 0,
    kLeak = 1u << 1,
    kSuspicious = 1u << 2,
    kTolerated = 1u << 3,
    kUnchanged = 1u << 4,
    kBreach = 1u << 5,
    kWrongError = 1u << 6,
    kCheckFailed = 1u << 7,
};

// What a run sends back: which job it was, its findings, the tolerated case it fell under, and
// the first problems as text. Smaller than the pipe's atomic write, so records never interleave.
struct RunRecord {
    std::uint32_t magic = 0x53574550;  // "SWEP"
    std::uint32_t job = 0;
    std::int32_t result = 0;
    std::uint32_t findings = 0;
    std::int32_t tolerated_case = -1;
    char first_failed[64] = {};  // the function of the k-th call
    char detail[2048] = {};
};
static_assert(sizeof(RunRecord) <= PIPE_BUF, "a record is written atomically");

// Breaches that follow from a give-back the host itself refused in the run: the plug-in gave the
// thing back as far as it could.
struct Consequence {
    const char* breach;
    const char* refused;
};
constexpr Consequence kConsequences[] = {
    {"AEGP_FreeMemHandle: memory handle freed while locked", "AEGP_UnlockMemHandle"},
    {"host_dispose_handle: handle disposed while locked", "host_unlock_handle"},
};

bool Explained(const std::string& breach, const std::vector<const char*>& failed) {
    for (const Consequence& c : kConsequences) {
        if (breach.compare(0, std::strlen(c.breach), c.breach) != 0) continue;
        for (const char* f : failed) {
            if (std::strcmp(f, c.refused) == 0) return true;
        }
    }
    return false;
}

bool Covers(const Tolerated& c, const char* function) {
    return std::find(c.functions.begin(), c.functions.end(), function) != c.functions.end();
}

std::string FirstDifference(const std::string& clean, const std::string& run) {
    std::istringstream a(clean), b(run);
    std::string la, lb;
    for (int line = 1;; ++line) {
        const bool more_a = static_cast<bool>(std::getline(a, la));
        const bool more_b = static_cast<bool>(std::getline(b, lb));
        if (!more_a && !more_b) return "(no difference)";
        if (!more_a) la = "(end)";
        if (!more_b) lb = "(end)";
        if (la != lb || !more_a || !more_b) {
            auto cut = [](std::string s) { return s.size() > 300 ? s.substr(0, 300) + "..." : s; };
            return "outcome line " + std::to_string(line) + ": fault-free \"" + cut(la) +
                   "\", this run \"" + cut(lb) + "\"";
        }
    }
}

RunRecord RunFaulted(const Scenario& scenario, const Clean& clean,
                     const std::vector<Tolerated>& cases, Mode mode, std::uint64_t k) {
    RunRecord record;
    std::string detail;
    Stage stage;
    scenario.prepare(stage);
    tlhost::Host& host = stage.host();
    const std::string before = scenario.snapshot ? scenario.snapshot(stage) : std::string();

    std::vector<const char*> failed;
    host.faults().TraceFailed(&failed);
    host.faults().FailNthHostCall(host.ledger().TotalCalls() + k, kInjected, RepeatOf(mode));
    const Outcome outcome = scenario.command(stage);
    host.faults().Clear();
    host.faults().TraceFailed(nullptr);

    const tlhost::CommandReport& report = outcome.report;
    record.result = report.result;
    const char* first = failed.empty() ? "(none)" : failed.front();
    std::snprintf(record.first_failed, sizeof record.first_failed, "%s", first);
    if (report.result != A_Err_NONE) record.findings |= kReported;

    // Whatever is left must be what a failed give-back kept: one reference per failed call.
    std::array<std::size_t, tlhost::kRefKindCount> left{};
    for (const auto& ref : report.leftovers) ++left[static_cast<std::size_t>(ref.kind)];
    for (const auto& ref : report.leftovers) {
        const std::size_t kind = static_cast<std::size_t>(ref.kind);
        if (left[kind] > host.faults().FailedGiveBacks(ref.kind)) {
            record.findings |= kLeak;
            detail += "left acquired: " + tlhost::Describe(ref) + "\n";
            break;
        }
    }
    for (const auto& v : report.violations) {
        if (Explained(v, failed)) continue;
        record.findings |= kBreach;
        detail += "breach: " + v + "\n";
    }
    for (const auto& d : report.declined) {
        record.findings |= kBreach;
        detail += "called a declined function: " + d + "\n";
    }

    if (report.result == A_Err_NONE) {
        // A zero is right when the plug-in could not see the failure (only give-backs failed,
        // which answer nothing or come too late to matter) and nothing changed, or when a named
        // case covers every call failed.
        const std::string fingerprint = Fingerprint(stage, outcome);
        const bool same = fingerprint == clean.fingerprint;
        auto tolerated = [&](const char* f) {
            return std::any_of(cases.begin(), cases.end(),
                               [&](const Tolerated& c) { return Covers(c, f); });
        };
        const bool unseen = std::all_of(failed.begin(), failed.end(), [&](const char* f) {
            return tlhost::GiveBackKind(f).has_value() || tolerated(f);
        });
        const bool covered =
            !failed.empty() && std::all_of(failed.begin(), failed.end(), tolerated);
        // The first case whose steady part of the outcome is as the fault-free run left it.
        std::int32_t steady_case = -1;
        for (std::size_t i = 0; i < clean.steady.size() && !failed.empty(); ++i) {
            if (cases[i].steady && cases[i].steady(stage, outcome) == clean.steady[i]) {
                steady_case = static_cast<std::int32_t>(i);
                break;
            }
        }
        if (same && unseen) {
            record.findings |= kUnchanged;
        } else if (covered) {
            record.findings |= kTolerated;
            for (std::size_t i = 0; i < cases.size(); ++i) {
                if (Covers(cases[i], first)) {
                    record.tolerated_case = static_cast<std::int32_t>(i);
                    break;
                }
            }
        } else if (steady_case >= 0) {
            record.findings |= kTolerated;
            record.tolerated_case = steady_case;
        } else {
            record.findings |= kSuspicious;
            detail +=
                same ? std::string("result 0 after a failure the plug-in could see\n")
                     : "result 0 but " + FirstDifference(clean.fingerprint, fingerprint) + "\n";
        }
    } else if (mode == Mode::Once && report.result != kInjected &&
               (std::strncmp(first, "AEGP_", 5) == 0 || std::strncmp(first, "PF_", 3) == 0)) {
        // A function that answers with an error code: its error is the command's.
        record.findings |= kWrongError;
        detail += "result " + std::to_string(report.result) + " instead of the host's " +
                  std::to_string(kInjected) + "\n";
    }

    if (scenario.check) {
        const std::string problem =
            scenario.check(stage, RunView{outcome, before, clean.snapshot, failed});
        if (!problem.empty()) {
            record.findings |= kCheckFailed;
            detail += problem + "\n";
        }
    }
    if (!detail.empty()) {
        detail = std::string(ModeName(mode)) + ", call " + std::to_string(k) + " (" + first +
                 "), result " + std::to_string(report.result) + ": " + detail;
    }
    std::snprintf(record.detail, sizeof record.detail, "%s", detail.c_str());
    return record;
}

struct Job {
    Mode mode;
    std::uint64_t k;
};

std::vector<std::uint64_t> KsFor(const Plan& plan, std::uint64_t n) {
    std::vector<std::uint64_t> ks;
    if (n == 0) return ks;
    if (plan.full || n <= plan.count) {
        for (std::uint64_t k = 1; k <= n; ++k) ks.push_back(k);
        return ks;
    }
    const std::uint64_t count = std::max<std::uint64_t>(plan.count, 2);
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::uint64_t k = 1 + (i * (n - 1) + (count - 1) / 2) / (count - 1);
        if (ks.empty() || ks.back() != k) ks.push_back(k);
    }
    return ks;
}

void Count(SweepResult& result, Mode mode, const RunRecord& record,
           std::map<std::int32_t, std::uint64_t>& tolerated_counts) {
    Tally& t = result.by_mode[IndexOf(mode)];
    ++t.runs;
    const std::uint32_t f = record.findings;
    t.reported += (f & kReported) != 0;
    t.leaks += (f & kLeak) != 0;
    t.suspicious += (f & kSuspicious) != 0;
    t.tolerated += (f & kTolerated) != 0;
    t.unchanged += (f & kUnchanged) != 0;
    t.breaches += (f & kBreach) != 0;
    t.wrong_errors += (f & kWrongError) != 0;
    t.check_failures += (f & kCheckFailed) != 0;
    if (record.tolerated_case >= 0) ++tolerated_counts[record.tolerated_case];
    if (mode == Mode::Once && (f & kUnchanged)) ++result.unchanged_once[record.first_failed];
    if (record.detail[0] != '\0' && result.problems.size() < 8) {
        result.problems.emplace_back(record.detail);
    }
}

}  // namespace

const char* ModeName(Mode mode) {
    switch (mode) {
        case Mode::Once:
            return "once";
        case Mode::FromThen:
            return "from then on";
        case Mode::FromThenExceptGiveBacks:
            return "except give-backs";
    }
    return "?";
}

const std::vector<Tolerated>& UnseenFailures() {
    static const std::vector<Tolerated> cases = {
        {"string copy",
         "the host's string copy answers nothing, so a copy that did not happen "
         "cannot be seen",
         {"strcpy"},
         nullptr},
        {"handle unlock", "unlocking a handle answers nothing", {"host_unlock_handle"}, nullptr},
        {"handle disposal",
         "disposing of a handle answers nothing",
         {"host_dispose_handle"},
         nullptr},
    };
    return cases;
}

Plan PlanFromEnvironment() {
    Plan plan;
#if defined(__SANITIZE_ADDRESS__)
    plan.full = false;
#endif
    if (const char* v = std::getenv("TL_SWEEP")) {
        if (std::strcmp(v, "full") == 0) {
            plan.full = true;
        } else if (const long n = std::strtol(v, nullptr, 10); n > 0) {
            plan.full = false;
            plan.count = static_cast<std::size_t>(n);
        }
    }
    if (const char* v = std::getenv("TL_SWEEP_JOBS")) {
        if (const long n = std::strtol(v, nullptr, 10); n > 0 && n <= 64)
            plan.jobs = static_cast<int>(n);
    }
    return plan;
}

bool SweepResult::Passed() const {
    if (!clean_problem.empty()) return false;
    for (const Tally& t : by_mode) {
        if (!t.Passed()) return false;
    }
    return true;
}

namespace {

// A process that runs a list of jobs one after the other, each from a stage of its own, and
// sends a record for each.
struct Worker {
    pid_t pid = -1;
    int fd = -1;
    std::vector<std::size_t> jobs;  // indices into the sweep's job list
    std::size_t reported = 0;       // records received
    std::string pending;            // bytes of a record not yet whole
};

bool Spawn(Worker& worker, const Scenario& scenario, const Clean& clean,
           const std::vector<Tolerated>& cases, const std::vector<Job>& jobs, const Plan& plan) {
    int fds[2];
    if (::pipe(fds) != 0) return false;
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        return false;
    }
    if (pid == 0) {
        ::close(fds[0]);
        for (std::size_t index : worker.jobs) {
            const Job& job = jobs[index];
            ::alarm(plan.timeout);
            RunRecord record;
            try {
                record = RunFaulted(scenario, clean, cases, job.mode, job.k);
            } catch (const std::exception& e) {
                record = RunRecord{};
                record.findings = kBreach;
                std::snprintf(record.detail, sizeof record.detail,
                              "%s, call %llu: exception in the run: %s", ModeName(job.mode),
                              static_cast<unsigned long long>(job.k), e.what());
            }
            record.job = static_cast<std::uint32_t>(index);
            if (!WriteAll(fds[1], &record, sizeof record)) _exit(4);
        }
        _exit(0);
    }
    ::close(fds[1]);
    worker.pid = pid;
    worker.fd = fds[0];
    worker.reported = 0;
    worker.pending.clear();
    return true;
}

}  // namespace

SweepResult RunSweep(const Scenario& scenario, const Plan& plan) {
    const auto start = std::chrono::steady_clock::now();
    SweepResult result;
    result.scenario = scenario.name;
    const Clean clean = RunClean(scenario);
    result.calls = clean.functions.size();
    if (!clean.problem.empty()) {
        result.clean_problem = clean.problem;
        return result;
    }

    std::vector<Tolerated> cases = scenario.tolerated;
    cases.insert(cases.end(), UnseenFailures().begin(), UnseenFailures().end());

    std::vector<Job> jobs;
    for (Mode mode : kModes) {
        for (std::uint64_t k : KsFor(plan, result.calls)) {
            // Give-backs never fail in mode (c): failing from one on is failing from the next.
            if (mode == Mode::FromThenExceptGiveBacks &&
                tlhost::GiveBackKind(clean.functions[k - 1].c_str())) {
                continue;
            }
            jobs.push_back(Job{mode, k});
        }
    }

    // The jobs dealt out in turn, so that every worker gets its share of long and short runs.
    std::vector<Worker> workers(static_cast<std::size_t>(std::max(plan.jobs, 1)));
    for (std::size_t i = 0; i < jobs.size(); ++i) workers[i % workers.size()].jobs.push_back(i);
    std::map<std::int32_t, std::uint64_t> tolerated_counts;
    auto crashed = [&](const Job& job, int status) {
        Tally& t = result.by_mode[IndexOf(job.mode)];
        ++t.runs;
        ++t.crashes;
        std::string how = WIFSIGNALED(status)
                              ? "killed by signal " + std::to_string(WTERMSIG(status))
                              : "exited with status " + std::to_string(WEXITSTATUS(status));
        if (WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM) how = "hung";
        if (result.problems.size() < 8) {
            result.problems.push_back(std::string(ModeName(job.mode)) + ", call " +
                                      std::to_string(job.k) + " (" + clean.functions[job.k - 1] +
                                      "): " + how);
        }
    };
    for (Worker& w : workers) {
        if (!w.jobs.empty() && !Spawn(w, scenario, clean, cases, jobs, plan)) {
            result.clean_problem = "could not start a worker";
            return result;
        }
    }
    for (;;) {
        std::vector<pollfd> fds;
        std::vector<Worker*> polled;
        for (Worker& w : workers) {
            if (w.fd < 0) continue;
            fds.push_back(pollfd{w.fd, POLLIN, 0});
            polled.push_back(&w);
        }
        if (fds.empty()) break;
        if (::poll(fds.data(), fds.size(), -1) < 0) {
            if (errno == EINTR) continue;
            result.clean_problem = "poll failed";
            break;
        }
        for (std::size_t i = 0; i < fds.size(); ++i) {
            if (fds[i].revents == 0) continue;
            Worker& w = *polled[i];
            char buf[1 << 15];
            const ssize_t n = ::read(w.fd, buf, sizeof buf);
            if (n < 0 && errno == EINTR) continue;
            if (n > 0) {
                w.pending.append(buf, static_cast<std::size_t>(n));
                while (w.pending.size() >= sizeof(RunRecord)) {
                    RunRecord record;
                    std::memcpy(&record, w.pending.data(), sizeof record);
                    w.pending.erase(0, sizeof record);
                    if (record.magic != RunRecord{}.magic || record.job != w.jobs[w.reported]) {
                        result.clean_problem = "a worker sent a damaged record";
                        continue;
                    }
                    ++w.reported;
                    Count(result, jobs[record.job].mode, record, tolerated_counts);
                }
                continue;
            }
            // The worker is done, or died: a job it did not report is the one it died in.
            ::close(w.fd);
            w.fd = -1;
            int status = 0;
            ::waitpid(w.pid, &status, 0);
            if (w.reported < w.jobs.size()) {
                crashed(jobs[w.jobs[w.reported]], status);
                w.jobs.erase(w.jobs.begin(),
                             w.jobs.begin() + static_cast<std::ptrdiff_t>(w.reported + 1));
                if (!w.jobs.empty() && !Spawn(w, scenario, clean, cases, jobs, plan)) {
                    result.clean_problem = "could not restart a worker";
                }
            }
        }
    }
    for (const auto& [index, count] : tolerated_counts) {
        const Tolerated& c = cases[static_cast<std::size_t>(index)];
        result.tolerated_cases.push_back(c.name + " (" + std::to_string(count) +
                                         " runs): " + c.reason);
    }
    result.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return result;
}

std::string FormatTable(const std::vector<SweepResult>& results) {
    std::ostringstream out;
    char line[256];
    auto row = [&](const char* scenario, const char* mode, const char* n, const Tally& t) {
        std::snprintf(
            line, sizeof line, "%-34s %-18s %6s %7llu %9llu %6llu %11llu %10llu %10llu %6llu\n",
            scenario, mode, n, static_cast<unsigned long long>(t.runs),
            static_cast<unsigned long long>(t.reported), static_cast<unsigned long long>(t.leaks),
            static_cast<unsigned long long>(t.suspicious),
            static_cast<unsigned long long>(t.tolerated),
            static_cast<unsigned long long>(t.unchanged),
            static_cast<unsigned long long>(t.breaches + t.wrong_errors + t.check_failures +
                                            t.crashes));
        out << line;
    };
    std::snprintf(line, sizeof line, "%-34s %-18s %6s %7s %9s %6s %11s %10s %10s %6s\n", "scenario",
                  "mode", "N", "runs", "reported", "leaks", "suspicious", "tolerated", "unchanged",
                  "other");
    out << line;
    Tally totals[3];
    std::uint64_t total_calls = 0;
    double seconds = 0;
    for (const SweepResult& r : results) {
        total_calls += r.calls;
        seconds += r.seconds;
        const std::string n = std::to_string(r.calls);
        for (Mode mode : kModes) {
            const Tally& t = r.by_mode[IndexOf(mode)];
            row(mode == Mode::Once ? r.scenario.c_str() : "", ModeName(mode),
                mode == Mode::Once ? n.c_str() : "", t);
            Tally& sum = totals[IndexOf(mode)];
            sum.runs += t.runs;
            sum.reported += t.reported;
            sum.leaks += t.leaks;
            sum.suspicious += t.suspicious;
            sum.tolerated += t.tolerated;
            sum.unchanged += t.unchanged;
            sum.breaches += t.breaches;
            sum.wrong_errors += t.wrong_errors;
            sum.check_failures += t.check_failures;
            sum.crashes += t.crashes;
        }
        if (!r.clean_problem.empty()) out << "    fault-free run: " << r.clean_problem << "\n";
    }
    const std::string scenarios = std::to_string(results.size()) + " scenarios";
    const std::string n = std::to_string(total_calls);
    std::uint64_t runs = 0;
    for (Mode mode : kModes) {
        row(mode == Mode::Once ? scenarios.c_str() : "", ModeName(mode),
            mode == Mode::Once ? n.c_str() : "", totals[IndexOf(mode)]);
        runs += totals[IndexOf(mode)].runs;
    }
    std::snprintf(line, sizeof line, "%llu runs in %.1f s\n", static_cast<unsigned long long>(runs),
                  seconds);
    out << line;
    std::map<std::string, std::uint64_t> unchanged;
    for (const SweepResult& r : results) {
        for (const auto& [function, count] : r.unchanged_once) unchanged[function] += count;
    }
    if (!unchanged.empty()) {
        out << "Zero results with the fault-free outcome, failing once:";
        for (const auto& [function, count] : unchanged) out << " " << function << " " << count;
        out << "\n";
    }
    bool any = false;
    for (const SweepResult& r : results) {
        for (const std::string& c : r.tolerated_cases) {
            if (!any) out << "Tolerated zero results:\n";
            any = true;
            out << "  " << r.scenario << ": " << c << "\n";
        }
    }
    return out.str();
}

}  // namespace sweep
