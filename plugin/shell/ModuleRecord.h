// The module-state record (parameter 41's value), locked through the input record's handle
// utilities for the length of one command step. The unlock runs on every way out, also when
// the lock gave no pointer. A handle too small for the record is not locked at all: its bytes
// are never read or written.
#pragma once

#include "AE_Effect.h"
#include "AE_EffectCB.h"
#include "shell/ArbData.h"

class RecordLock {
  public:
    RecordLock(PF_InData* in_data, PF_Handle record) : in_data_(in_data) {
        if (record == nullptr || !HoldsModuleState(in_data, record)) {
            error_ = kDamagedRecord;
            return;
        }
        handle_ = record;
        bytes_ = static_cast<A_u_char*>(in_data_->utils->host_lock_handle(handle_));
        if (bytes_ == nullptr) error_ = PF_Err_OUT_OF_MEMORY;
    }
    ~RecordLock() { Unlock(); }
    RecordLock(const RecordLock&) = delete;
    RecordLock& operator=(const RecordLock&) = delete;

    // The record's kModuleStateSize bytes, or null when it could not be locked.
    A_u_char* bytes() const { return bytes_; }
    // Why there are no bytes: PF_Err_OUT_OF_MEMORY for a lock that gave no pointer,
    // kDamagedRecord for a missing or too small record; 0 when locked.
    PF_Err error() const { return error_; }

    void Unlock() {
        if (handle_ == nullptr) return;
        in_data_->utils->host_unlock_handle(handle_);
        handle_ = nullptr;
        bytes_ = nullptr;
    }

  private:
    PF_InData* in_data_;
    PF_Handle handle_ = nullptr;
    A_u_char* bytes_ = nullptr;
    PF_Err error_ = PF_Err_NONE;
};
