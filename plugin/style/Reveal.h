// Revealing properties in the timeline: the properties of the connection layers that bear a
// match name become the composition's selection, and key presses (KeyEvents.h) make the
// timeline show the selected properties.
#pragma once

#include "AE_Effect.h"
#include "AE_GeneralPlug.h"

// The gradient colours of a gradient stroke or fill.
inline constexpr char kGradientColorsMatchName[] = "ADBE Vector Grad Colors";

// Makes every property named `match_name` on the connection layers the selection of the effect
// layer's composition; with `within_group` set only those directly inside a group named
// `group_match_name`. The order is the connection layers' order and, within a layer, the
// depth-first order of its property tree. Properties inside switched-off groups are left out;
// when nothing is found the selection is emptied, and that is a success.
//
// Returns the first host error; the key presses are to follow only a result of 0. Every stream
// found is released exactly once on every path: those pushed into the selection's collection go
// with the collection, which is disposed once the selection is set; the others are disposed here.
A_Err SelectStreamsByMatchName(PF_InData* in_data, const A_char* match_name, A_Boolean within_group,
                               const A_char* group_match_name);
