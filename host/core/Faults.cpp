#include "core/Faults.h"

#include <cstring>

namespace tlhost {

void Faults::FailNthHostCall(std::uint64_t k, HostErr error, FaultRepeat repeat) {
    rules_.push_back(Rule{Kind::NthHostCall, {}, k, -1, error, repeat, false});
}

void Faults::FailNthCallOf(std::string function, std::uint64_t n, HostErr error,
                           FaultRepeat repeat) {
    rules_.push_back(Rule{Kind::NthCallOf, std::move(function), n, -1, error, repeat, false});
}

void Faults::FailSuite(std::string name, std::int32_t version, HostErr error, FaultRepeat repeat) {
    rules_.push_back(Rule{Kind::Suite, std::move(name), 1, version, error, repeat, false});
}

std::optional<HostErr> Faults::Fire(Rule& rule) {
    if (rule.repeat == FaultRepeat::Once) rule.spent = true;
    ++fired_;
    return rule.error;
}

std::optional<HostErr> Faults::OnCall(const char* function, std::uint64_t nth_host_call,
                                      std::uint64_t nth_of_function) {
    for (auto& rule : rules_) {
        if (rule.spent) continue;
        const bool from_then = rule.repeat == FaultRepeat::FromThen;
        if (rule.kind == Kind::NthHostCall) {
            if (from_then ? nth_host_call >= rule.n : nth_host_call == rule.n) return Fire(rule);
        } else if (rule.kind == Kind::NthCallOf && rule.name == function) {
            if (from_then ? nth_of_function >= rule.n : nth_of_function == rule.n) {
                return Fire(rule);
            }
        }
    }
    return std::nullopt;
}

std::optional<HostErr> Faults::OnSuiteAcquire(const char* name, std::int32_t version) {
    for (auto& rule : rules_) {
        if (rule.spent || rule.kind != Kind::Suite) continue;
        if (rule.name == name && (rule.version < 0 || rule.version == version)) return Fire(rule);
    }
    return std::nullopt;
}

}  // namespace tlhost
