// Scoped holders for the host references a handler obtains and must give back: stream
// references, effect references, stream values, memory handles, undo groups and keyframe
// batches. Each holder gives its reference back exactly once, either when the handler asks for
// the answer (Dispose, End, Commit or Discard, to feed a running error) or, on any other way out
// of the scope, in its destructor.
//
//     ScopedStream stream(suites);
//     err.Call(suites.StreamSuite4()->AEGP_GetNewEffectStreamByIndex, id, fx, i, stream.put());
//     err.Then([&] { return UseStream(stream.get()); });
//     err.Release(stream.Dispose());
//
// A reference is let go of only once a suite that can give it back is in hand. When the suite
// the reference is normally given back through cannot be acquired, the other version of that
// suite the plug-in uses (which has the same disposal) gives it back instead, and the missing
// suite is still thrown, so that it reaches the command's result. When no version can be
// acquired the holder keeps the reference, and its destructor tries again.
#pragma once

#include "AE_GeneralPlug.h"
#include "shell/SuiteHandler.h"

namespace scoped_detail {

// Finds the disposal of a reference kind: through the usual suite, else through the other
// version. Throws the usual suite's error when it was missing (after `give_back` has run through
// the other version), or when neither version can be acquired (without running it).
template <class Disposal, class GiveBack>
A_Err DisposeThroughEitherSuite(AEGP_SuiteHandler& suites, GiveBack give_back) {
    typename Disposal::Fn fn = nullptr;
    try {
        fn = Disposal::Usual(suites);
    } catch (A_Err missing) {
        typename Disposal::Fn other = nullptr;
        try {
            other = Disposal::Other(suites);
        } catch (A_Err) {
            throw missing;
        }
        give_back(other);
        throw missing;
    }
    return give_back(fn);
}

// How each kind of reference is given back, through the suite cache of the scope.
struct StreamDisposal {
    using Handle = AEGP_StreamRefH;
    using Fn = A_Err (*)(AEGP_StreamRefH);
    // "AEGP Stream Suite" v9, else v7.
    static Fn Usual(AEGP_SuiteHandler& s) { return s.StreamSuite4()->AEGP_DisposeStream; }
    static Fn Other(AEGP_SuiteHandler& s) { return s.StreamSuite2()->AEGP_DisposeStream; }
};

struct EffectDisposal {
    using Handle = AEGP_EffectRefH;
    using Fn = A_Err (*)(AEGP_EffectRefH);
    // "AEGP Effect Suite" v3, else v2.
    static Fn Usual(AEGP_SuiteHandler& s) { return s.EffectSuite3()->AEGP_DisposeEffect; }
    static Fn Other(AEGP_SuiteHandler& s) { return s.EffectSuite2()->AEGP_DisposeEffect; }
};

struct EffectDisposalV2 {
    using Handle = AEGP_EffectRefH;
    using Fn = A_Err (*)(AEGP_EffectRefH);
    // "AEGP Effect Suite" v2, else v3.
    static Fn Usual(AEGP_SuiteHandler& s) { return s.EffectSuite2()->AEGP_DisposeEffect; }
    static Fn Other(AEGP_SuiteHandler& s) { return s.EffectSuite3()->AEGP_DisposeEffect; }
};

struct MemHandleDisposal {
    using Handle = AEGP_MemHandle;
    using Fn = A_Err (*)(AEGP_MemHandle);
    // "AEGP Memory Suite" v1 is the only version: asking for it a second time is the only
    // other way.
    static Fn Usual(AEGP_SuiteHandler& s) { return s.MemorySuite1()->AEGP_FreeMemHandle; }
    static Fn Other(AEGP_SuiteHandler& s) { return s.MemorySuite1()->AEGP_FreeMemHandle; }
};

struct StreamValueDisposal {
    using Fn = A_Err (*)(AEGP_StreamValue2*);
    // "AEGP Stream Suite" v9, else v8 (the same value record).
    static Fn Usual(AEGP_SuiteHandler& s) { return s.StreamSuite4()->AEGP_DisposeStreamValue; }
    static Fn Other(AEGP_SuiteHandler& s) { return s.StreamSuite3()->AEGP_DisposeStreamValue; }
};

}  // namespace scoped_detail

template <class Disposal>
class ScopedAegpRef {
  public:
    using Handle = typename Disposal::Handle;

    explicit ScopedAegpRef(AEGP_SuiteHandler& suites) : suites_(suites) {}
    ~ScopedAegpRef() {
        // The answer of a disposal nobody asked for has nowhere to go; a suite missing at this
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

    // Gives the reference back now, if one is held, and returns the host's answer (0 when there
    // was nothing to give back). The holder is empty afterwards unless no suite could be had
    // to give it back with (then the missing suite is thrown and the reference kept).
    A_Err Dispose() {
        if (handle_ == nullptr) return A_Err_NONE;
        return scoped_detail::DisposeThroughEitherSuite<Disposal>(
            suites_, [this](typename Disposal::Fn dispose) {
                Handle h = handle_;
                handle_ = nullptr;
                return dispose(h);
            });
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
// An effect reference, disposed through "AEGP Effect Suite" v2 (the controller lookup gives
// the effects it inspects back through that version).
using ScopedEffect2 = ScopedAegpRef<scoped_detail::EffectDisposalV2>;
// A memory handle the host handed out (a name), freed through "AEGP Memory Suite" v1.
using ScopedMemHandle = ScopedAegpRef<scoped_detail::MemHandleDisposal>;

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
    // nothing to dispose). As with the references above, the value is let go of only once a
    // suite to dispose it with is in hand.
    A_Err Dispose() {
        if (value_.streamH == nullptr) return A_Err_NONE;
        return scoped_detail::DisposeThroughEitherSuite<scoped_detail::StreamValueDisposal>(
            suites_, [this](scoped_detail::StreamValueDisposal::Fn dispose) {
                AEGP_StreamValue2 held = value_;
                value_ = AEGP_StreamValue2{};
                return dispose(&held);
            });
    }

  private:
    AEGP_SuiteHandler& suites_;
    AEGP_StreamValue2 value_{};
};

// Keeps a memory handle locked for the life of a scope, through "AEGP Memory Suite" v1. The
// suite is acquired before the lock, so that the unlock always has it.
class ScopedMemLock {
  public:
    ScopedMemLock(AEGP_SuiteHandler& suites, AEGP_MemHandle handle)
        : memory_(suites.MemorySuite1()), handle_(handle) {}
    ~ScopedMemLock() { Unlock(); }

    ScopedMemLock(const ScopedMemLock&) = delete;
    ScopedMemLock& operator=(const ScopedMemLock&) = delete;

    // Locks the handle; the host's answer. The block is in data() when it succeeded.
    A_Err Lock() {
        void* data = nullptr;
        const A_Err err = memory_->AEGP_LockMemHandle(handle_, &data);
        if (err == A_Err_NONE) {
            locked_ = true;
            data_ = data;
        }
        return err;
    }
    const void* data() const { return data_; }

    // Unlocks now if locked; the host's answer (0 when there was nothing to unlock).
    A_Err Unlock() {
        if (!locked_) return A_Err_NONE;
        locked_ = false;
        data_ = nullptr;
        return memory_->AEGP_UnlockMemHandle(handle_);
    }

  private:
    AEGP_MemorySuite1* memory_;
    AEGP_MemHandle handle_;
    bool locked_ = false;
    const void* data_ = nullptr;
};

// An undo group of the host, started and ended through "AEGP Utility Suite" v11 exactly
// once: by End (to feed a running error) or, on any other way out of the scope, by the
// destructor, so that no path leaves a group open. The suite is in hand before the group
// starts, so ending it never has to acquire anything.
//
//     ScopedUndoGroup undo(suites);
//     err.Then([&] { return undo.Start("Convert Path Expressions"); });
//     ...
//     err.Release(undo.End());
class ScopedUndoGroup {
  public:
    explicit ScopedUndoGroup(AEGP_SuiteHandler& suites) : suites_(suites) {}
    ~ScopedUndoGroup() {
        try {
            End();
        } catch (...) {
        }
    }

    ScopedUndoGroup(const ScopedUndoGroup&) = delete;
    ScopedUndoGroup& operator=(const ScopedUndoGroup&) = delete;

    // Starts a group named `name`; the host's answer. Only a group that started is held.
    // Only for a holder that holds none.
    A_Err Start(const A_char* name) {
        utility_ = suites_.UtilitySuite5();
        const A_Err err = utility_->AEGP_StartUndoGroup(name);
        open_ = err == A_Err_NONE;
        return err;
    }

    bool open() const { return open_; }

    // Ends the group now, if one is open, and returns the host's answer (0 when none was
    // open). The holder holds none afterwards, whatever the answer.
    A_Err End() {
        if (!open_) return A_Err_NONE;
        open_ = false;
        return utility_->AEGP_EndUndoGroup();
    }

  private:
    AEGP_SuiteHandler& suites_;
    AEGP_UtilitySuite5* utility_ = nullptr;
    bool open_ = false;
};

// A batch of keys being added to one property ("AEGP Keyframe Suite" v4), ended exactly
// once: committed (Commit, its keys go onto the property), dropped (Discard, nothing of it
// reaches the property) or, on any other way out of the scope, dropped by the destructor.
// The suite is in hand before the batch starts, so ending it never has to acquire anything.
//
//     ScopedKeyframeBatch batch(suites);
//     err.Then([&] { return batch.Start(stream); });
//     ... AEGP_AddKeyframes(batch.get(), ...), AEGP_SetAddKeyframe(batch.get(), ...) ...
//     if (err.ok()) err.Then([&] { return batch.Commit(); });
//     err.Release(batch.Discard());
class ScopedKeyframeBatch {
  public:
    explicit ScopedKeyframeBatch(AEGP_SuiteHandler& suites) : suites_(suites) {}
    ~ScopedKeyframeBatch() {
        try {
            Discard();
        } catch (...) {
        }
    }

    ScopedKeyframeBatch(const ScopedKeyframeBatch&) = delete;
    ScopedKeyframeBatch& operator=(const ScopedKeyframeBatch&) = delete;

    // Starts a batch on `stream`; the host's answer. Only for a holder that holds none.
    A_Err Start(AEGP_StreamRefH stream) {
        keyframes_ = suites_.KeyframeSuite4();
        AEGP_AddKeyframesInfoH batch = nullptr;
        const A_Err err = keyframes_->AEGP_StartAddKeyframes(stream, &batch);
        batch_ = err == A_Err_NONE ? batch : nullptr;
        return err;
    }

    AEGP_AddKeyframesInfoH get() const { return batch_; }
    explicit operator bool() const { return batch_ != nullptr; }

    // Ends the batch, adding its keys to the property; the host's answer (0 when no batch
    // was held). The holder holds none afterwards, whatever the answer.
    A_Err Commit() { return End(TRUE); }
    // Ends the batch without adding anything; the host's answer (0 when no batch was held).
    A_Err Discard() { return End(FALSE); }

  private:
    A_Err End(A_Boolean add) {
        if (batch_ == nullptr) return A_Err_NONE;
        AEGP_AddKeyframesInfoH batch = batch_;
        batch_ = nullptr;
        return keyframes_->AEGP_EndAddKeyframes(add, batch);
    }

    AEGP_SuiteHandler& suites_;
    AEGP_KeyframeSuite4* keyframes_ = nullptr;
    AEGP_AddKeyframesInfoH batch_ = nullptr;
};
