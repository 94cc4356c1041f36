// Relinking expressions: switching back on every expression that is switched off on a
// time-varying property of the layers this effect styles, as after a bake. An orientation
// relinked loses its keyframes and keeps its value at time 0. One press is one undo group of
// the host.
#pragma once

#include "AE_Effect.h"
#include "AE_GeneralPlug.h"

inline constexpr char kRelinkTitle[] = "Relink Expressions";

// The relink of every layer this effect styles (the effect layer alone when it is a shape
// layer, else every other layer whose controller is the effect layer), in composition
// order, inside the undo group "Relink Expressions", which is ended on every path. The first
// error stops all later work and is the result.
A_Err ExecuteRelinkExpressions(PF_InData* in_data, PF_ParamDef* params[]);

// Walks the children of `group` depth first and switches on each expression that is switched
// off on a property that varies over time; an "ADBE Orientation" switched on loses its
// keyframes and keeps its value at composition time 0 as its value. Properties whose
// expression is on, that do not vary over time or cannot be animated are left alone.
A_Err EnableLayerExpressions(PF_InData* in_data, AEGP_StreamRefH group);

// Deletes every keyframe of `stream`, last first, bracketed by a keyframe batch that adds
// nothing. The batch is closed on every path.
A_Err removeStreamKeys(PF_InData* in_data, AEGP_StreamRefH stream);
