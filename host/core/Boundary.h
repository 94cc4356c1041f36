// The C boundary of the stand-in host. Every function the plug-in can call goes
// through `Serve`: the call is counted, a fault rule may answer it with an error,
// and no exception ever unwinds into the plug-in. Functions the host does not
// implement are filled in with `TL_DECLINE`, which records the call and answers
// with an error instead of a silent success.
#pragma once

#include <exception>
#include <new>
#include <string>
#include <utility>

#include "A.h"
#include "core/Errors.h"
#include "core/Host.h"

namespace tlhost {

namespace detail {
// Counts the call and consults the fault rules. Returns true with `*fault` set
// when the call must fail. False with `*fault` = kNoHostErr when no host is current.
bool EnterCall(Host* host, const char* function, A_Err* fault) noexcept;
void LeaveCall(Host* host) noexcept;
void RecordBoundaryException(Host* host, const char* function, const char* what) noexcept;
}  // namespace detail

template <class Body>
A_Err Serve(const char* function, Body&& body) noexcept {
    Host* host = Host::Current();
    A_Err fault = A_Err_NONE;
    if (!host || detail::EnterCall(host, function, &fault)) return host ? fault : kNoHostErr;
    A_Err result = A_Err_NONE;
    try {
        result = body(*host);
    } catch (const HostError& e) {
        if (!e.violation.empty())
            host->ledger().Violation(std::string(function) + ": " + e.violation);
        result = e.code;
    } catch (const std::bad_alloc&) {
        result = A_Err_ALLOC;
    } catch (const std::exception& e) {
        detail::RecordBoundaryException(host, function, e.what());
        result = kNoHostErr;
    } catch (...) {
        detail::RecordBoundaryException(host, function, "unknown exception");
        result = kNoHostErr;
    }
    detail::LeaveCall(host);
    return result;
}

// For the few host functions that answer with a value instead of an error code
// (handle allocation, locking): a fault or failure answers `on_failure`.
template <class R, class Body>
R ServeValue(const char* function, R on_failure, Body&& body) noexcept {
    R out = on_failure;
    A_Err err = Serve(function, [&](Host& host) -> A_Err {
        out = body(host);
        return A_Err_NONE;
    });
    return err ? on_failure : out;
}

A_Err Decline(const char* function) noexcept;

}  // namespace tlhost

// Fills one suite or callback slot with a function that records the call as
// declined and answers with an error. Works for any slot returning an error code.
#define TL_DECLINE(table, slot) \
    (table).slot = [](auto...) -> A_Err { return ::tlhost::Decline(#slot); }
