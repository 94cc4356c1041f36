// The render paths: a pass-through copy of the input layer. They keep no state of their own.
#pragma once

#include "AE_Effect.h"

// Copies the input layer (parameter 0) into `output` with the host's utility copy, whole world.
PF_Err Render(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[], PF_LayerDef* output);

// Checks out the input layer for the requested area and widens the output's result rectangles
// by what the checkout gives. Returns the checkout's error untouched.
PF_Err SmartPreRender(PF_InData* in_data, PF_OutData* out_data, PF_PreRenderExtra* extra);

// Copies the checked-out input world into the output world (high quality, straight alpha),
// always checking the input back in. Returns the first error.
PF_Err SmartRender(PF_InData* in_data, PF_OutData* out_data, PF_SmartRenderExtra* extra);

// True when the rectangle holds no pixel: left not below right, or top not below bottom.
bool IsEmptyRect(const PF_LRect* r);

// Widens *dst to cover *src. An empty destination becomes a copy of the source; an empty source
// leaves the destination as it is.
void UnionLRect(const PF_LRect* src, PF_LRect* dst);
