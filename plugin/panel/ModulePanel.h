// The custom-drawn row of module buttons.
#pragma once

#include "AE_Effect.h"
#include "AE_EffectUI.h"

// Draws the panel for a draw event.
PF_Err DrawEvent(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                 PF_LayerDef* output, PF_EventExtra* event);

// Switches the module under a click.
PF_Err DoClick(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[], PF_LayerDef* output,
               PF_EventExtra* event);
