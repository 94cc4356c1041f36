// Fault injection: make a chosen host call fail with a chosen error, so that tests
// drive the plug-in's error paths and check that it still releases what it holds.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tlhost {

using HostErr = std::int32_t;

enum class FaultRepeat {
    Once,      // only the matching call fails
    FromThen,  // the matching call and every later one that the rule covers fail
};

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
    std::optional<HostErr> Fire(Rule& rule);
    std::vector<Rule> rules_;
    std::uint64_t fired_ = 0;
};

}  // namespace tlhost
