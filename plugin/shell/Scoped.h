// Scoped holders for the host references a handler obtains and must give back: stream
// references, effect references, stream values, memory handles, undo groups and keyframe
// batches. Each holder gives its reference back exactly once, either when the handler asks for
// the answer (Dispose, End, Commit or Discard, to feed a running error) or, on any other way out
// of the scope, in its destructor.
//
//     ScopedStream stream(suites);
//     err.Then([&] {
//         return suites.StreamSuite4()->AEGP_GetNewEffectStreamByIndex(id, fx, i, stream.put());
//     });
//     err.Then([&] { return UseStream(stream.get()); });
//     err.Release(stream.Dispose());
//
// A holder has the suite that gives its reference back in hand before it takes the reference:
// put() acquires it (through the scope's suite cache) before the host call that fills the place
// is made, and throws the missing suite when it cannot be had, so that nothing is taken. Giving
// the reference back then never has to acquire anything, and whatever fails in the host later,
// the reference can go back.
#pragma once

#include "AE_GeneralPlug.h"
#include "shell/SuiteHandler.h"

namespace scoped_detail {

// How each kind of reference is given back, through the suite cache of the scope.
struct StreamDisposal {
    using Handle = AEGP_StreamRefH;
    using Fn = A_Err (*)(AEGP_StreamRefH);
    // "AEGP Stream Suite" v9.
    static Fn Of(AEGP_SuiteHandler& s) { return s.StreamSuite4()->AEGP_DisposeStream; }
};

struct EffectDisposal {
    using Handle = AEGP_EffectRefH;
    using Fn = A_Err (*)(AEGP_EffectRefH);
    // "AEGP Effect Suite" v3.
    static Fn Of(AEGP_SuiteHandler& s) { return s.EffectSuite3()->AEGP_DisposeEffect; }
};

struct EffectDisposalV2 {
    using Handle = AEGP_EffectRefH;
    using Fn = A_Err (*)(AEGP_EffectRefH);
    // "AEGP Effect Suite" v2.
    static Fn Of(AEGP_SuiteHandler& s) { return s.EffectSuite2()->AEGP_DisposeEffect; }
};

struct MemHandleDisposal {
    using Handle = AEGP_MemHandle;
    using Fn = A_Err (*)(AEGP_MemHandle);
    // "AEGP Memory Suite" v1.
    static Fn Of(AEGP_SuiteHandler& s) { return s.MemorySuite1()->AEGP_FreeMemHandle; }
};

struct StreamValueDisposal {
    using Fn = A_Err (*)(AEGP_StreamValue2*);
    // "AEGP Stream Suite" v9.
    static Fn Of(AEGP_SuiteHandler& s) { return s.StreamSuite4()->AEGP_DisposeStreamValue; }
};

}  // namespace scoped_detail

template <class Disposal>
class ScopedAegpRef {
  public:
    using Handle = typename Disposal::Handle;

    explicit ScopedAegpRef(AEGP_SuiteHandler& suites) : suites_(suites) {}
    ~ScopedAegpRef() {
        // The answer of a disposal nobody asked for has nowhere to go.
        Dispose();
    }

    ScopedAegpRef(const ScopedAegpRef&) = delete;
    ScopedAegpRef& operator=(const ScopedAegpRef&) = delete;

    // The place a host function writes a new reference into. Only for an empty holder. The
    // suite that gives the reference back is acquired first; a missing one is thrown.
    Handle* put() {
        if (dispose_ == nullptr) dispose_ = Disposal::Of(suites_);
        return &handle_;
    }
    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

    // Gives the reference back now, if one is held, and returns the host's answer (0 when there
    // was nothing to give back). The holder is empty afterwards.
    A_Err Dispose() {
        if (handle_ == nullptr) return A_Err_NONE;
        Handle h = handle_;
        handle_ = nullptr;
        return dispose_(h);
    }

    // Gives up ownership without disposing.
    Handle release() {
        Handle h = handle_;
        handle_ = nullptr;
        return h;
    }

  private:
    AEGP_SuiteHandler& suites_;
    typename Disposal::Fn dispose_ = nullptr;
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
// the record zeroed and nothing to dispose. As with the references above, put() has the suite
// that disposes the value in hand before the value is read.
//
//     ScopedStreamValue value(suites);
//     err.Then([&] {
//         return suites.StreamSuite4()->AEGP_GetNewStreamValue(id, stream, mode, &t, TRUE,
//                                                              value.put());
//     });
//     err.Then([&] { return Use(value.get().val.one_d); });
//     err.Release(value.Dispose());
class ScopedStreamValue {
  public:
    explicit ScopedStreamValue(AEGP_SuiteHandler& suites) : suites_(suites) {}
    ~ScopedStreamValue() { Dispose(); }

    ScopedStreamValue(const ScopedStreamValue&) = delete;
    ScopedStreamValue& operator=(const ScopedStreamValue&) = delete;

    // The record the host fills. Only for an empty holder.
    AEGP_StreamValue2* put() {
        if (dispose_ == nullptr) dispose_ = scoped_detail::StreamValueDisposal::Of(suites_);
        return &value_;
    }
    AEGP_StreamValue2& get() { return value_; }
    explicit operator bool() const { return value_.streamH != nullptr; }

    // Disposes the value now, if one is held, and returns the host's answer (0 when there was
    // nothing to dispose).
    A_Err Dispose() {
        if (value_.streamH == nullptr) return A_Err_NONE;
        AEGP_StreamValue2 held = value_;
        value_ = AEGP_StreamValue2{};
        return dispose_(&held);
    }

  private:
    AEGP_SuiteHandler& suites_;
    scoped_detail::StreamValueDisposal::Fn dispose_ = nullptr;
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
