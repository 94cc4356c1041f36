// Global setup and the global data block: the 4-byte host handle that keeps the plug-in
// identifier the host returned when the effect registered with its AEGP layer.
#pragma once

#include "AE_Effect.h"
#include "AE_GeneralPlug.h"

// Registers with the host's AEGP layer, keeps the plug-in identifier as the global data, and
// answers the version and flags. A block the host does not give or lock fails with
// PF_Err_OUT_OF_MEMORY and a refused registration with the host's error, so that the host
// refuses the module at once instead of running it without its identity; nothing is kept then.
PF_Err GlobalSetup(PF_InData* in_data, PF_OutData* out_data);

// The plug-in identifier kept in the global data block. Without a global data block (global
// setup did not keep one) PF_Err_INTERNAL_STRUCT_DAMAGED; when the block cannot be locked
// PF_Err_OUT_OF_MEMORY. `*id` is 0 on failure.
PF_Err GetPluginID(const PF_InData* in_data, AEGP_PluginID* id);
