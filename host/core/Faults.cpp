#include "core/Faults.h"

#include <cstring>

namespace tlhost {

namespace {

struct GiveBack {
    const char* function;
    RefKind kind;
};
// Every host function that gives something back, with what it gives back.
constexpr GiveBack kGiveBacks[] = {
    {"ReleaseSuite", RefKind::Suite},
    {"host_dispose_handle", RefKind::Handle},
    {"host_unlock_handle", RefKind::HandleLock},
    {"AEGP_DisposeStream", RefKind::Stream},
    {"AEGP_DisposeEffect", RefKind::Effect},
    {"AEGP_DisposeStreamValue", RefKind::StreamValue},
    {"AEGP_DisposeCollection", RefKind::Collection},
    {"AEGP_FreeMemHandle", RefKind::MemHandle},
    {"AEGP_UnlockMemHandle", RefKind::MemHandleLock},
    {"AEGP_EndUndoGroup", RefKind::UndoGroup},
    {"AEGP_EndAddKeyframes", RefKind::KeyframeBatch},
    {"checkin_layer_pixels", RefKind::PixelCheckout},
    {"ReleaseObject", RefKind::DrawbotObject},
};

}  // namespace

std::optional<RefKind> GiveBackKind(const char* function) {
    if (!function) return std::nullopt;
    for (const GiveBack& row : kGiveBacks) {
        if (std::strcmp(row.function, function) == 0) return row.kind;
    }
    return std::nullopt;
}

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

std::optional<HostErr> Faults::Fire(Rule& rule, const char* function) {
    if (rule.repeat == FaultRepeat::Once) rule.spent = true;
    ++fired_;
    if (failed_trace_) failed_trace_->push_back(function);
    if (auto kind = GiveBackKind(function)) ++failed_give_backs_[static_cast<std::size_t>(*kind)];
    return rule.error;
}

std::optional<HostErr> Faults::OnCall(const char* function, std::uint64_t nth_host_call,
                                      std::uint64_t nth_of_function) {
    for (auto& rule : rules_) {
        if (rule.spent) continue;
        const bool from_then = rule.repeat != FaultRepeat::Once;
        std::uint64_t nth = 0;
        if (rule.kind == Kind::NthHostCall) {
            nth = nth_host_call;
        } else if (rule.kind == Kind::NthCallOf && rule.name == function) {
            nth = nth_of_function;
        } else {
            continue;
        }
        if (from_then ? nth < rule.n : nth != rule.n) continue;
        // What gives something back still succeeds.
        if (rule.repeat == FaultRepeat::FromThenExceptGiveBacks && GiveBackKind(function)) {
            continue;
        }
        return Fire(rule, function);
    }
    return std::nullopt;
}

std::optional<HostErr> Faults::OnSuiteAcquire(const char* name, std::int32_t version) {
    for (auto& rule : rules_) {
        if (rule.spent || rule.kind != Kind::Suite) continue;
        if (rule.name == name && (rule.version < 0 || rule.version == version)) {
            return Fire(rule, "AcquireSuite");
        }
    }
    return std::nullopt;
}

}  // namespace tlhost
