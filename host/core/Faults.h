// Fault injection: make a chosen host call fail with a chosen error, so that tests
// drive the plug-in's error paths and check that it still releases what it holds.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/Ledger.h"

namespace tlhost {

using HostErr = std::int32_t;

enum class FaultRepeat {
    Once,      // only the matching call fails
    FromThen,  // the matching call and every later one that the rule covers fail
    // The matching call and every later one fail, except calls that give something back
    // (disposals, unlocks, releases, ends of undo groups and keyframe batches, check-ins),
    // which the host always answers, so that whatever the plug-in holds can still go back.
    FromThenExceptGiveBacks,
};

// The kind of reference a host function gives back when it is a disposal, an unlock, a
// release, the end of an undo group or keyframe batch, or a pixel check-in; none for every
// other function. Named by the host function's name.
std::optional<RefKind> GiveBackKind(const char* function);

class Faults {
  public:
    // The k-th host call of any function (1-based, counted over the session's life).
    void FailNthHostCall(std::uint64_t k, HostErr error, FaultRepeat repeat = FaultRepeat::Once);
    // The n-th call of one named host function (1-based).
    void FailNthCallOf(std::string function, std::uint64_t n, HostErr error,
                       FaultRepeat repeat = FaultRepeat::Once);
    // Acquisition of a named suite; version -1 matches every version.
    void FailSuite(std::string name, std::int32_t version, HostErr error,
                   FaultRepeat repeat = FaultRepeat::FromThen);
    void Clear() { rules_.clear(); }
    bool Empty() const { return rules_.empty(); }

    // Asked by the boundary on every call: the error to answer with, if any rule fires.
    std::optional<HostErr> OnCall(const char* function, std::uint64_t nth_host_call,
                                  std::uint64_t nth_of_function);
    std::optional<HostErr> OnSuiteAcquire(const char* name, std::int32_t version);

    std::uint64_t Fired() const { return fired_; }
    // While a sink is set, the name of every function a rule failed is appended to it.
    void TraceFailed(std::vector<const char*>* sink) { failed_trace_ = sink; }
    // How many calls that give back a reference of `kind` were failed: each may leave one
    // reference of that kind behind that the plug-in had no way to give back.
    std::uint64_t FailedGiveBacks(RefKind kind) const {
        return failed_give_backs_[static_cast<std::size_t>(kind)];
    }

  private:
    enum class Kind { NthHostCall, NthCallOf, Suite };
    struct Rule {
        Kind kind;
        std::string name;
        std::uint64_t n = 0;
        std::int32_t version = -1;
        HostErr error = 0;
        FaultRepeat repeat = FaultRepeat::Once;
        bool spent = false;
    };
    std::optional<HostErr> Fire(Rule& rule, const char* function);
    std::vector<Rule> rules_;
    std::uint64_t fired_ = 0;
    std::vector<const char*>* failed_trace_ = nullptr;
    std::array<std::uint64_t, kRefKindCount> failed_give_backs_{};
};

}  // namespace tlhost
