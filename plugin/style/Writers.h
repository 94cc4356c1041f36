// Writing onto the shape properties of the connection layers: values, expressions that read the
// effect's parameters back live, hidden flags and group switches.
//
// Every writer walks a property group depth-first (children in index order), finds properties by
// match name (or shape groups by name), acts on each match without searching it further, and
// returns the first host error; changes made before an error stay. Switched-off groups are
// written too. The group stream passed in belongs to the caller; every stream, parent reference
// and stream value the writers obtain is disposed before they return.
#pragma once

#include <cstddef>
#include <cstdio>
#include <functional>
#include <string>

#include "AE_Effect.h"
#include "AE_EffectCB.h"
#include "AE_GeneralPlug.h"
#include "shell/RunningError.h"
#include "shell/Scoped.h"
#include "shell/SuiteHandler.h"
#include "style/ExpressionText.h"

// ---- names -------------------------------------------------------------------------------------

// The effect as expressions address it: thisComp.layer(<effect layer name>).effect(<this>).
inline constexpr char kEffectMatchName[] = "LK TetherlineStyles";

inline constexpr char kMiterLimitMatchName[] = "ADBE Vector Stroke Miter Limit";
inline constexpr char kDashMatchName[] = "ADBE Vector Stroke Dash 1";
inline constexpr char kGapMatchName[] = "ADBE Vector Stroke Gap 1";
inline constexpr char kDashOffsetMatchName[] = "ADBE Vector Stroke Offset";

// ---- expression texts --------------------------------------------------------------------------

// The answer for a text that would not fit a fixed buffer (FormatText): such a text is refused
// whole, never cut short.
inline constexpr A_Err kTextTooLong = PF_Err_OUT_OF_MEMORY;

// Formats `format` with `args` into `out`, a fixed buffer of `out_size` bytes, through the host's
// formatted printing. The text is measured first: one that would not fit (with its terminator)
// is refused with kTextTooLong and `out` is left empty, so the buffer is never overrun and never
// holds a cut text. For fixed texts only; expressions are sized for their names
// (FormatExpression).
template <class... Args>
A_Err FormatText(PF_InData* in_data, A_char* out, std::size_t out_size, const A_char* format,
                 Args... args) {
    if (out_size == 0) return kTextTooLong;
    out[0] = '\0';
    const int length = std::snprintf(nullptr, 0, format, args...);
    if (length < 0 || static_cast<std::size_t>(length) >= out_size) return kTextTooLong;
    const int written = PF_SPRINTF(out, format, args...);
    if (written != length) {
        out[0] = '\0';
        return kFormattingFailed;
    }
    return A_Err_NONE;
}

// The miter-limit expression: the stroke's miter limit follows the effect's "Miter Limit".
A_Err FormatMiterLimitExpression(PF_InData* in_data, const std::string& effect_layer_name,
                                 std::string& out);

// The expression for one dash property ("ADBE Vector Stroke Dash 1", "... Gap 1" or
// "... Offset"): the effect's dash, gap or dash offset while "Dashes" is on, else 0.
// A_Err_PARAMETER for any other match name.
A_Err FormatDashExpression(PF_InData* in_data, const A_char* dash_match_name,
                           const std::string& effect_layer_name, std::string& out);

// The gradient highlight expression: the effect's parameter `value_id` (highlight length or
// angle) while the gradient whose switch is `enable_id` is on and its type `type_id` is radial,
// else 0. Parameters are addressed by match name, since the stroke's and the fill's share names.
A_Err FormatHighlightExpression(PF_InData* in_data, const std::string& effect_layer_name,
                                A_long enable_id, A_long type_id, A_long value_id,
                                std::string& out);

// ---- the matching walk -------------------------------------------------------------------------

// One depth-first walk below a group: for each child in index order, `test` decides whether it
// matches; a match goes to `act` and is not searched further; a child that does not match is
// walked in turn when it is a named or indexed group. Each child is disposed after it is handled
// unless `act` took it over (by releasing the holder). The first host error stops the walk and is
// its result.
struct MatchingWalk {
    MatchingWalk(AEGP_SuiteHandler& s, AEGP_PluginID id) : suites(s), plugin_id(id) {}

    AEGP_SuiteHandler& suites;
    AEGP_PluginID plugin_id;
    // Optional: asked for every group before its children are counted; a group not entered
    // is left alone.
    std::function<A_Err(AEGP_StreamRefH group, bool& enter)> enter;
    std::function<A_Err(AEGP_StreamRefH child, bool& matched)> test;
    std::function<A_Err(ScopedStream& child)> act;
};

A_Err WalkMatching(const MatchingWalk& walk, AEGP_StreamRefH group);

// A test matching children whose match name equals `match_name` (byte for byte).
std::function<A_Err(AEGP_StreamRefH, bool&)> MatchNameTest(AEGP_SuiteHandler& suites,
                                                           const A_char* match_name);

// Whether the direct parent of `stream` has the match name `group_match_name`. The parent
// reference is disposed.
A_Err ParentMatchNameIs(const MatchingWalk& walk, AEGP_StreamRefH stream,
                        const A_char* group_match_name, bool& same);

// ---- connection layers -------------------------------------------------------------------------

// The work for one connection layer: its root stream (owned by the loop), its identifier and the
// effect layer's identifier.
using ConnectionLayerWrite = std::function<A_Err(AEGP_StreamRefH root, AEGP_LayerIDVal layer_id,
                                                 AEGP_LayerIDVal effect_layer_id)>;

// The loop every "Execute" writer runs: the connection layers (GetConcernedLayersIDs), the
// composition of the effect layer, then for each connection layer in list order, while `err` is
// zero, its root stream and `write` on it. Each root is disposed after its layer's work. Reads
// and updates `err`; does nothing when it is already set.
void RunOnConnectionLayers(PF_InData* in_data, AEGP_SuiteHandler& suites, RunningError& err,
                           const ConnectionLayerWrite& write);

// ---- writers -----------------------------------------------------------------------------------

// Writes `value` (as the one-dimensional value at composition time 0) into every property named
// `match_name` below `group`; with `within_group` set, only into those whose parent is named
// `group_match_name`. Used for the enumerated shape properties whose codes equal the effect's
// popup positions.
A_Err SetPropValue(PF_InData* in_data, AEGP_StreamRefH group, const A_char* match_name,
                   A_long value, A_Boolean within_group, const A_char* group_match_name);

// SetPropValue on the root stream of every connection layer.
A_Err ExecuteSetPropValue(PF_InData* in_data, const A_char* match_name, A_long value,
                          A_Boolean within_group, const A_char* group_match_name);

// Writes `expression` onto every property named `match_name` below `group` (with `within_group`
// set, only those whose parent is named `group_match_name`) and, when `enable` is set, switches
// it on.
A_Err SetPropExpression(PF_InData* in_data, AEGP_StreamRefH group, const A_char* match_name,
                        const A_char* expression, A_Boolean within_group,
                        const A_char* group_match_name, A_Boolean enable);

// SetPropExpression (switched on) on the root stream of every connection layer.
A_Err ExecuteSetPropExpression(PF_InData* in_data, const A_char* match_name,
                               const A_char* expression, A_Boolean within_group,
                               const A_char* group_match_name);

// Writes the miter-limit expression onto every stroke miter limit below `group`, with the
// effect layer's current name. `layer_id` (the connection layer's) is not used.
A_Err SetMiterLimitExpression(PF_InData* in_data, AEGP_StreamRefH group, AEGP_LayerIDVal layer_id,
                              AEGP_LayerIDVal effect_layer_id);

// Shows every dash, gap and dash-offset property below `group` and writes its expression.
A_Err SetupDashes(PF_InData* in_data, AEGP_StreamRefH group, AEGP_LayerIDVal layer_id,
                  AEGP_LayerIDVal effect_layer_id);

// The reverse of SetupDashes: removes the expressions and hides the properties again.
A_Err RemoveDashes(PF_InData* in_data, AEGP_StreamRefH group, AEGP_LayerIDVal layer_id,
                   AEGP_LayerIDVal effect_layer_id);

// Switches on (`visible` non-zero) or off every group or property below `group` named `name`:
// by display name (in the user's language) when `by_display_name` is set, else by match name.
// The switch is an undoable change.
A_Err SetStreamVisibility(PF_InData* in_data, AEGP_StreamRefH group, const A_char* name,
                          A_Boolean by_display_name, A_Boolean visible);
