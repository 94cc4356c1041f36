// The parameter-interface pass: retitles the fill colour to fit the chosen palette, then shows
// or hides the parameters that only matter in some configurations. Runs on every
// parameter-interface update and every user change of a parameter; it keeps no state, every
// flag is recomputed from the current values.
#pragma once

#include "AE_Effect.h"
#include "AE_GeneralPlug.h"
#include "shell/RunningError.h"

// Shows (hide 0) or hides (hide 1) one parameter through the hidden flag of its stream in the
// effect; the parameter's value is untouched. Builds its own suite cache and disposes the stream
// it obtains. Returns the first error of getting the stream and setting the flag, else the
// disposal's.
PF_Err HideParam(PF_InData* in_data, AEGP_EffectRefH effectH, PF_ParamIndex index, A_Boolean hide);

// While "Enable Fill" is on, titles the first fill colour "Fill Color" for the single-colour
// palette and "Start Color" for the gradient palette (other palettes keep the title). The title
// is written into params[23] whatever the running error; the host is told through the param
// utils suite only while the running error is zero, and its answer becomes the running error.
// A missing param utils suite is reported in out_data and thrown as the integer 13.
void RetitleFillColor(PF_ParamDef* params[], PF_InData* in_data, PF_OutData* out_data,
                      RunningError& err);

// Sets every parameter named by the visibility rules hidden or shown, in the rules' fixed order,
// each only while the running error is zero: the first failure stops the pass and becomes the
// running error. Does nothing when the running error is already set.
void UpdateParamsVisibility(PF_ParamDef* params[], PF_InData* in_data, PF_OutData* out_data,
                            AEGP_EffectRefH effectH, RunningError& err);

// The whole pass: the retitling, then the visibility rules.
void UpdateParamsInterface(PF_ParamDef* params[], PF_InData* in_data, PF_OutData* out_data,
                           AEGP_EffectRefH effectH, RunningError& err);
