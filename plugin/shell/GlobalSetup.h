// Global setup and the global data block: the 4-byte host handle that keeps the plug-in
// identifier the host returned when the effect registered with its AEGP layer.
#pragma once

#include "AE_Effect.h"
#include "AE_GeneralPlug.h"

// Registers with the host's AEGP layer, keeps the plug-in identifier as the global data, and
// answers the version and flags. Returns 0 whatever the registration gave; only a missing suite
// (thrown) makes it fail.
PF_Err GlobalSetup(PF_InData* in_data, PF_OutData* out_data);

// The plug-in identifier kept in the global data block, or 0 when global setup left none.
AEGP_PluginID GetPluginID(const PF_InData* in_data);
