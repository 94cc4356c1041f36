// Scoped holders for the host references a handler obtains and must dispose: stream references
// and effect references. Each holder disposes its reference exactly once, either when the
// handler asks for the disposal's error (Dispose, to feed a running error) or, on any other way
// out of the scope, in its destructor.
//
//     ScopedStream stream(suites);
//     err.Call(suites.StreamSuite4()->AEGP_GetNewEffectStreamByIndex, id, fx, i, stream.put());
//     err.Then([&] { return UseStream(stream.get()); });
//     err.Release(stream.Dispose());
#pragma once

#include "AE_GeneralPlug.h"
#include "shell/SuiteHandler.h"

namespace scoped_detail {

// How each kind of reference is given back, through the suite cache of the scope.
struct StreamDisposal {
    using Handle = AEGP_StreamRefH;
    static A_Err Dispose(AEGP_SuiteHandler& suites, Handle h) {
        return suites.StreamSuite4()->AEGP_DisposeStream(h);
    }
};

struct EffectDisposal {
    using Handle = AEGP_EffectRefH;
    static A_Err Dispose(AEGP_SuiteHandler& suites, Handle h) {
        return suites.EffectSuite3()->AEGP_DisposeEffect(h);
    }
};

}  // namespace scoped_detail

template <class Disposal>
class ScopedAegpRef {
  public:
    using Handle = typename Disposal::Handle;

    explicit ScopedAegpRef(AEGP_SuiteHandler& suites) : suites_(suites) {}
    ~ScopedAegpRef() {
        // The error of a disposal nobody asked for has nowhere to go; a suite missing at this
        // point (thrown by the cache) must not escape a destructor either.
        try {
            Dispose();
        } catch (...) {
        }
    }

    ScopedAegpRef(const ScopedAegpRef&) = delete;
    ScopedAegpRef& operator=(const ScopedAegpRef&) = delete;

    // The place a host function writes a new reference into. Only for an empty holder.
    Handle* put() { return &handle_; }
    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

    // Disposes the reference now, if one is held, and returns the host's answer (0 when there
    // was nothing to dispose). The holder is empty afterwards, whatever the answer.
    A_Err Dispose() {
        if (handle_ == nullptr) return A_Err_NONE;
        Handle h = handle_;
        handle_ = nullptr;
        return Disposal::Dispose(suites_, h);
    }

    // Gives up ownership without disposing.
    Handle release() {
        Handle h = handle_;
        handle_ = nullptr;
        return h;
    }

  private:
    AEGP_SuiteHandler& suites_;
    Handle handle_ = nullptr;
};

// A stream reference, disposed through "AEGP Stream Suite" v9.
using ScopedStream = ScopedAegpRef<scoped_detail::StreamDisposal>;
// An effect reference, disposed through "AEGP Effect Suite" v3.
using ScopedEffect = ScopedAegpRef<scoped_detail::EffectDisposal>;
