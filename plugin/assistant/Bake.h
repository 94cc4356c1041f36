// Baking expressions into keyframes: for every frame of the composition's work area that a
// layer spans, the value a property's expression gives at that frame becomes a keyframe,
// and the expression is switched off (its text stays). The path bake takes shape paths
// (and, on connection layers, the layer's position and orientation); the style bake takes
// every other property whose expression is on and that varies over time. One press is one
// undo group of the host.
#pragma once

#include "AE_Effect.h"
#include "AE_GeneralPlug.h"

inline constexpr char kConvertPathTitle[] = "Convert Path Expressions";
inline constexpr char kConvertStyleTitle[] = "Convert Style Expressions";
// The target kinds: exactly "Path" selects the path bake, any other text the style bake.
inline constexpr char kPathTarget[] = "Path";
inline constexpr char kStyleTarget[] = "Style";

// Bakes the layers this effect styles (the effect layer alone when it is a shape layer,
// else every other layer whose controller is the effect layer) over the composition's work
// area, inside one undo group named `command_title`. `work_area` must be 1 (the work area is
// the only range baked). Then, when nothing failed, refreshes the interface of parameter
// `param_index` (the pressed button). The undo group is ended on every path; the result is
// the first error met.
A_Err ExecuteConvertExpressions(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                                const A_char* command_title, const A_char* target_kind,
                                A_long work_area, PF_ParamIndex param_index);

// The frames of `layer` to bake: the part of the work area (start frame inclusive, end
// frame exclusive) that the layer spans from its in point for its duration, in composition
// time and in frames of `frame_duration`. Both are written even when a read fails (a layer
// that cannot be read spans frame 0 to 0); the read error is the result. A layer outside
// the work area gets an empty range (end not after start).
A_Err GetStartEndFrames(PF_InData* in_data, AEGP_LayerH layer, const A_Time& frame_duration,
                        A_long work_area_start, A_long work_area_end, A_long* start_frame,
                        A_long* end_frame);

// The path bake of a property group and everything below it: every "ADBE Vector Shape" in
// a switched-on group, and with `connection` set every "ADBE Position" and "ADBE
// Orientation". A group whose eyeball is off is left alone, with all it holds.
A_Err ConvertPathStreams(PF_InData* in_data, AEGP_StreamRefH group, A_long start_frame,
                         A_long end_frame, const A_Time& frame_duration, const A_char* layer_label,
                         A_Boolean connection);

// The style bake of a property group: every other property below it whose expression is on
// and that varies over time (paths, and with `connection` set position and orientation,
// belong to the path bake). Switched-off groups are left alone.
A_Err ConvertArbitraryStreams(PF_InData* in_data, AEGP_StreamRefH group, A_long start_frame,
                              A_long end_frame, const A_Time& frame_duration,
                              const A_char* layer_label, A_Boolean connection);

// Bakes one property: a key per frame from `start_frame` up to (not including) `end_frame`
// holding the property's value after its expression at that frame, gathered in one batch
// and committed at once; then its expression is switched off. The Info panel shows the
// progress. When a step fails the batch is dropped (nothing of it reaches the property) and
// the expression stays on.
A_Err ConvertStreamExpression(PF_InData* in_data, AEGP_StreamRefH stream, A_long start_frame,
                              A_long end_frame, const A_Time& frame_duration,
                              const A_char* layer_label);
