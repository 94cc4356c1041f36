#include "core/Boundary.h"

namespace tlhost {

namespace detail {

bool EnterCall(Host* host, const char* function, A_Err* fault) noexcept {
    try {
        std::uint64_t nth_of_function = 0;
        std::uint64_t nth = host->ledger().CountCall(function, &nth_of_function);
        host->ledger().SetCurrentCall(function, nth_of_function);
        // The fault hooks cost nothing while no rule is armed.
        if (host->faults().Empty()) return false;
        if (auto injected = host->faults().OnCall(function, nth, nth_of_function)) {
            *fault = *injected;
            return true;
        }
    } catch (...) {
        *fault = A_Err_ALLOC;
        return true;
    }
    return false;
}

void LeaveCall(Host* host) noexcept {
    host->ledger().SetCurrentCall(nullptr, 0);
}

void RecordBoundaryException(Host* host, const char* function, const char* what) noexcept {
    try {
        host->ledger().Violation(std::string(function) +
                                 ": exception stopped at the host boundary: " + what);
    } catch (...) {
    }
}

}  // namespace detail

A_Err Decline(const char* function) noexcept {
    Host* host = Host::Current();
    if (!host) return kNoHostErr;
    A_Err fault = A_Err_NONE;
    if (detail::EnterCall(host, function, &fault)) return fault;
    try {
        host->ledger().Declined(function);
    } catch (...) {
    }
    detail::LeaveCall(host);
    return kDeclinedErr;
}

}  // namespace tlhost
