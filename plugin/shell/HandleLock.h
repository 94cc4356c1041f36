// Keeps a host handle locked through the handle suite for the life of a scope.
#pragma once

#include "AE_Effect.h"
#include "AE_EffectCBSuites.h"

// Locks on construction and unlocks on destruction, also when an error is thrown in between.
// The unlock runs even when the lock gave no pointer, so every lock call is balanced.
class ScopedHandleLock {
  public:
    ScopedHandleLock(const PF_HandleSuite1* suite, PF_Handle handle)
        : suite_(suite), handle_(handle), data_(suite->host_lock_handle(handle)) {}
    ~ScopedHandleLock() { suite_->host_unlock_handle(handle_); }

    ScopedHandleLock(const ScopedHandleLock&) = delete;
    ScopedHandleLock& operator=(const ScopedHandleLock&) = delete;

    // The locked block, or null when the host gave no pointer.
    void* get() const { return data_; }
    template <class T>
    T* as() const {
        return static_cast<T*>(data_);
    }

  private:
    const PF_HandleSuite1* suite_;
    PF_Handle handle_;
    void* data_;
};
