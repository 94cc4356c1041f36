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

namespace scoped_detail {

struct EffectDisposalV2 {
    using Handle = AEGP_EffectRefH;
    static A_Err Dispose(AEGP_SuiteHandler& suites, Handle h) {
        return suites.EffectSuite2()->AEGP_DisposeEffect(h);
    }
};

}  // namespace scoped_detail

// An effect reference, disposed through "AEGP Effect Suite" v2 (the controller lookup gives
// the effects it inspects back through that version).
using ScopedEffect2 = ScopedAegpRef<scoped_detail::EffectDisposalV2>;

// A stream value obtained with AEGP_GetNewStreamValue ("AEGP Stream Suite" v9), disposed
// exactly once: by Dispose (to feed a running error) or by the destructor. The value counts as
// held once the host has filled it, that is once its stream member is set; a failed read leaves
// the record zeroed and nothing to dispose.
//
//     ScopedStreamValue value(suites);
//     err.Call(suites.StreamSuite4()->AEGP_GetNewStreamValue, id, stream, mode, &t, TRUE,
//              value.put());
//     err.Then([&] { return Use(value.get().val.one_d); });
//     err.Release(value.Dispose());
class ScopedStreamValue {
  public:
    explicit ScopedStreamValue(AEGP_SuiteHandler& suites) : suites_(suites) {}
    ~ScopedStreamValue() {
        try {
            Dispose();
        } catch (...) {
        }
    }

    ScopedStreamValue(const ScopedStreamValue&) = delete;
    ScopedStreamValue& operator=(const ScopedStreamValue&) = delete;

    // The record the host fills. Only for an empty holder.
    AEGP_StreamValue2* put() { return &value_; }
    AEGP_StreamValue2& get() { return value_; }
    explicit operator bool() const { return value_.streamH != nullptr; }

    // Disposes the value now, if one is held, and returns the host's answer (0 when there was
    // nothing to dispose). The holder is empty afterwards, whatever the answer.
    A_Err Dispose() {
        if (value_.streamH == nullptr) return A_Err_NONE;
        AEGP_StreamValue2 held = value_;
        value_ = AEGP_StreamValue2{};
        return suites_.StreamSuite4()->AEGP_DisposeStreamValue(&held);
    }

  private:
    AEGP_SuiteHandler& suites_;
    AEGP_StreamValue2 value_{};
};
