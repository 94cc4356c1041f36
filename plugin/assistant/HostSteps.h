// Lookups the Assistant shares with the rest of the plug-in, each answering with the host's
// error code so that it can be one step of a running error.
#pragma once

#include "AE_Effect.h"
#include "AE_GeneralPlug.h"
#include "shell/GlobalSetup.h"
#include "style/ConnectedLayers.h"

// The plug-in identifier kept at global setup.
inline A_Err PluginIdOf(PF_InData* in_data, AEGP_PluginID* id) {
    return GetPluginID(in_data, id);
}

// The layer that `layer_id`'s Layer Control points at (kNoController for none).
inline A_Err ControllerOf(PF_InData* in_data, AEGP_LayerIDVal layer_id,
                          AEGP_LayerIDVal& controller) {
    return GetControllerLstVal(in_data, layer_id, controller);
}
