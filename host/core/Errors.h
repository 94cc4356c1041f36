// Errors a host function body raises: an error answer, or an error answer that
// also records a breach of the interface by the plug-in.
#pragma once

#include <string>
#include <utility>

#include "A.h"

namespace tlhost {

// Thrown by host function bodies to answer with an error. With a message, the
// call is also recorded as a breach of the interface by the plug-in.
struct HostError {
    A_Err code;
    std::string violation;
};

[[noreturn]] inline void Refuse(A_Err code) {
    throw HostError{code, {}};
}
[[noreturn]] inline void Breach(A_Err code, std::string message) {
    throw HostError{code, std::move(message)};
}

// The error the host answers with when it declines a call or meets a breach.
constexpr A_Err kDeclinedErr = A_Err_GENERIC;
constexpr A_Err kNoHostErr = A_Err_GENERIC;

}  // namespace tlhost
