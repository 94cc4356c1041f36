// The module-state record: the 10-byte arbitrary-data value of the "Modules" parameter, one byte
// per module. This file creates, copies, frees, flattens and unflattens it for the host.
#pragma once

#include <cstddef>
#include <cstdint>

#include "AE_Effect.h"

// The reference constant the parameter declares; the host hands it back with every callback.
inline constexpr std::uint64_t kModuleStateRefcon = 0xDEADBEEFDEADBEEFull;
// The size of the record, in memory and flattened.
inline constexpr std::size_t kModuleStateSize = 10;

// What a handle that should hold a record cannot be used for: one smaller than the record.
inline constexpr PF_Err kDamagedRecord = PF_Err_INTERNAL_STRUCT_DAMAGED;

// Makes a new record of zeros and stores its handle in *arbPH. A handle the host does not give
// or that cannot be locked returns 4 (PF_Err_OUT_OF_MEMORY) and leaves *arbPH untouched.
PF_Err CreateDefaultArb(PF_InData* in_data, PF_OutData* out_data, PF_ArbitraryH* arbPH);

// Copies the 10 bytes of `srcH` into the existing handle *dstPH (nothing to do when either is
// null). Returns 4 when a handle cannot be locked, kDamagedRecord when one is smaller than the
// record.
PF_Err Arb_Copy(PF_InData* in_data, PF_OutData* out_data, PF_ArbitraryH srcH, PF_ArbitraryH* dstPH);

// Whether `handle` is big enough to hold the record (sized through the input record's handle
// callbacks, which need no suite).
bool HoldsModuleState(const PF_InData* in_data, PF_Handle handle);

// Answers the arbitrary-data callbacks: new, dispose, copy, flat size, flatten, unflatten.
// Every other callback returns 0.
PF_Err HandleArbCallback(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                         PF_ArbParamsExtra* extra);
