// The work for each changed parameter: values and expressions written onto the connection
// layers' shapes, switches that exclude each other, and presets written back into the effect's
// own sliders. Every case reads and updates the handler's running error and does no host work
// while it is set.
#include <array>
#include <cstddef>
#include <string>

#include "arrowheads/Export.h"
#include "assistant/Bake.h"
#include "assistant/Relink.h"
#include "style/ChangeHandling.h"
#include "style/KeyEvents.h"
#include "style/Reveal.h"
#include "style/Writers.h"

namespace {

// ---- shape property names ----------------------------------------------------------------------

constexpr char kLineCapMatchName[] = "ADBE Vector Stroke Line Cap";
constexpr char kLineJoinMatchName[] = "ADBE Vector Stroke Line Join";
constexpr char kTrimTypeMatchName[] = "ADBE Vector Trim Type";
constexpr char kGradientTypeMatchName[] = "ADBE Vector Grad Type";
constexpr char kHighlightLengthMatchName[] = "ADBE Vector Grad HiLite Length";
constexpr char kHighlightAngleMatchName[] = "ADBE Vector Grad HiLite Angle";

// "Line Join" popup position of "Miter Join" (the host's code for a miter join too).
constexpr A_long kMiterJoin = 1;
// "Gradient Type" popup position of "Radial".
constexpr A_long kRadial = 2;

// ---- reading and writing the effect's own parameters -------------------------------------------

A_long PopupValue(const ChangeContext& ctx, PF_ParamIndex index) {
    return ctx.params[index]->u.pd.value;
}

bool SwitchOn(const ChangeContext& ctx, PF_ParamIndex index) {
    return ctx.params[index]->u.bd.value > 0;
}

// Sets one of the effect's parameters to `value` for the host to pick up from the parameter
// array, flags it changed and collapses its twirly.
void WriteBackNumber(PF_ParamDef* param, double value) {
    switch (param->param_type) {
        case PF_Param_FLOAT_SLIDER:
            param->u.fs_d.value = value;
            break;
        case PF_Param_CHECKBOX:
            param->u.bd.value = static_cast<PF_ParamValue>(value);
            break;
        default:
            // Only sliders and checkboxes are written back.
            return;
    }
    param->uu.change_flags = PF_ChangeFlag_CHANGED_VALUE;
    param->flags |= PF_ParamFlag_COLLAPSE_TWIRLY;
}

// ---- popups passed straight to the shapes ------------------------------------------------------

// The popup positions equal the host's codes for line cap, line join and trim type.
template <PF_ParamIndex Popup, const char* MatchName>
void WritePopupToShapes(ChangeContext& ctx) {
    ctx.err.Then([&] {
        return ExecuteSetPropValue(ctx.in_data, MatchName, PopupValue(ctx, Popup), FALSE, nullptr);
    });
}

// With a miter join, every stroke's miter limit follows the effect's "Miter Limit" from now on.
void RunMiterLimit(ChangeContext& ctx) {
    RunOnConnectionLayers(
        ctx.in_data, ctx.suites, ctx.err,
        [&](AEGP_StreamRefH root, AEGP_LayerIDVal layer_id, AEGP_LayerIDVal effect_layer_id) {
            return SetMiterLimitExpression(ctx.in_data, root, layer_id, effect_layer_id);
        });
}

constexpr PF_ParamIndex kLineCap = 9;
constexpr PF_ParamIndex kLineJoin = 10;
constexpr PF_ParamIndex kTrimMultipleShapes = 124;

void LineJoinChanged(ChangeContext& ctx) {
    WritePopupToShapes<kLineJoin, kLineJoinMatchName>(ctx);
    if (ctx.err.ok() && PopupValue(ctx, kLineJoin) == kMiterJoin) RunMiterLimit(ctx);
}

// ---- gradient type -----------------------------------------------------------------------------

// The stroke's and the fill's gradient controls: the popup, the group that the gradient's shape
// properties sit in, and the identifiers the highlight expressions read.
struct GradientControls {
    PF_ParamIndex type_popup;
    const char* group_match_name;
    A_long enable_id;
    A_long type_id;
    A_long length_id;
    A_long angle_id;
};
constexpr GradientControls kGradients[] = {
    {13, "ADBE Vector Graphic - G-Stroke", 12, 13, 14, 15},
    {35, "ADBE Vector Graphic - G-Fill", 34, 35, 36, 37},
};

// The two highlight properties and which identifier each one's expression reads.
struct HighlightProperty {
    const char* match_name;
    A_long GradientControls::*value_id;
};
constexpr HighlightProperty kHighlightProperties[] = {
    {kHighlightLengthMatchName, &GradientControls::length_id},
    {kHighlightAngleMatchName, &GradientControls::angle_id},
};

// Writes the gradient type into the gradients of that kind; for a radial gradient the highlight
// length and angle then follow the effect. A linear choice leaves earlier expressions in place.
template <std::size_t Gradient>
void GradientTypeChanged(ChangeContext& ctx) {
    const GradientControls& g = kGradients[Gradient];
    const A_long type = PopupValue(ctx, g.type_popup);
    ctx.err.Then([&] {
        return ExecuteSetPropValue(ctx.in_data, kGradientTypeMatchName, type, TRUE,
                                   g.group_match_name);
    });
    if (type != kRadial) return;
    for (const HighlightProperty& property : kHighlightProperties) {
        std::string text;
        ctx.err
            .Then([&] {
                return FormatHighlightExpression(ctx.in_data, ctx.effect_layer_name, g.enable_id,
                                                 g.type_id, g.*property.value_id, text);
            })
            .Then([&] {
                return ExecuteSetPropExpression(ctx.in_data, property.match_name, text.c_str(),
                                                TRUE, g.group_match_name);
            });
    }
}

// ---- reveal in timeline ------------------------------------------------------------------------

// The colours of the stroke's or the fill's gradients become the composition's selection; only
// when that worked do the key presses follow that make the timeline show them.
template <std::size_t Gradient>
void RevealGradientColors(ChangeContext& ctx) {
    ctx.err.Then([&] {
        return SelectStreamsByMatchName(ctx.in_data, kGradientColorsMatchName, TRUE,
                                        kGradients[Gradient].group_match_name);
    });
    if (ctx.err.ok()) RevealSelectedProperties();
}

// ---- switches that exclude each other ----------------------------------------------------------

constexpr PF_ParamIndex kEnableFill = 21;
constexpr PF_ParamIndex kFillEnableGradient = 34;

// "Enable Fill" and the fill's "Enable Gradient" are never on together: whichever was changed,
// the other one is switched off if it is on. Nothing is written to the shapes.
template <PF_ParamIndex Other>
void SwitchOffOther(ChangeContext& ctx) {
    if (!ctx.err.ok()) return;
    if (SwitchOn(ctx, Other)) WriteBackNumber(ctx.params[Other], 0);
}

// ---- presets -----------------------------------------------------------------------------------

constexpr double kOneThird = 100.0 / 3;

template <std::size_t Targets>
struct PresetRow {
    const char* name;
    std::array<double, Targets> values;
};

// A preset popup and the sliders it writes, in column order; row p - 1 is popup item p, and
// "None" or a value outside the table takes the first row.
template <std::size_t Targets, std::size_t Rows>
struct PresetTable {
    PF_ParamIndex popup;
    std::array<PF_ParamIndex, Targets> targets;
    std::array<PresetRow<Targets>, Rows> rows;
};

// Curviness dynamics: "Stiffness", "Damping", "Max Tangent Length".
constexpr PresetTable<3, 10> kDynamicsPresets{
    74,
    {76, 77, 78},
    {{
        {"None", {100, 50, kOneThird}},
        {"Fifty-Fifty", {50, 50, kOneThird}},
        {"Gum", {10, 20, kOneThird}},
        {"Medium", {100, 50, kOneThird}},
        {"Playdoh", {1, 0, 25}},
        {"Rubber Band", {150, 80, kOneThird}},
        {"Soft Metal", {85, 30, 20}},
        {"Soft Plastic", {50, 10, kOneThird}},
        {"Springy", {250, 45, kOneThird}},
        {"Very Elastic", {20, 90, 20}},
    }},
};

// Curviness Verlet: "Stiffness", "Solver Steps", "Subsegments", "Gravity".
constexpr PresetTable<4, 5> kVerletPresets{
    75,
    {83, 84, 85, 86},
    {{
        {"None", {50, 5, 10, 0}},
        {"High Gravity", {90, 1, 10, 50}},
        {"Low Gravity", {50, 10, 10, 25}},
        {"Medium", {50, 5, 10, 0}},
        {"Zero Gravity Flexible", {5, 1, 10, 0}},
    }},
};

template <const auto& Table>
void PresetChanged(ChangeContext& ctx) {
    if (!ctx.err.ok()) return;
    const A_long p = PopupValue(ctx, Table.popup);
    const bool in_table = p >= 1 && static_cast<std::size_t>(p) <= Table.rows.size();
    const auto& row = Table.rows[in_table ? static_cast<std::size_t>(p - 1) : 0];
    for (std::size_t j = 0; j < Table.targets.size(); ++j) {
        WriteBackNumber(ctx.params[Table.targets[j]], row.values[j]);
    }
}

// ---- the Assistant -----------------------------------------------------------------------------

constexpr PF_ParamIndex kBakePaths = 147;
constexpr PF_ParamIndex kBakeStyles = 148;
constexpr PF_ParamIndex kRelink = 149;
// The bakes run over the work area, the one range they know.
constexpr A_long kWorkArea = 1;

// "Bake Work Area": paths or styles into keyframes, one undo group of its own.
template <const char* Title, const char* Target, PF_ParamIndex Button>
void BakeWorkArea(ChangeContext& ctx) {
    ctx.err.Then([&] {
        return ExecuteConvertExpressions(ctx.in_data, ctx.out_data, ctx.params, Title, Target,
                                         kWorkArea, Button);
    });
}

// "Relink Expressions": switched-off expressions back on, one undo group of its own.
void RelinkExpressions(ChangeContext& ctx) {
    ctx.err.Then([&] { return ExecuteRelinkExpressions(ctx.in_data, ctx.params); });
}

// ---- arrowheads --------------------------------------------------------------------------------

constexpr PF_ParamIndex kCreatePlaceholders = 68;

// "Create Placeholders": the arrowheads as placeholder layers, one undo group of its own, then
// the Arrowheads module off (which happens also after an earlier failure, in part).
void CreatePlaceholders(ChangeContext& ctx) {
    ExecuteExportArrowheads(ctx.in_data, ctx.params, ctx.err);
}

}  // namespace

// ================================================================================================
// DISPATCH TABLE: the work for each changed parameter, by index. A null case needs no work yet.
// ================================================================================================
const ChangeCaseRow kChangeCases[] = {
    {kLineCap, &WritePopupToShapes<kLineCap, kLineCapMatchName>},  // "Line Cap"
    {kLineJoin, &LineJoinChanged},                                 // "Line Join"
    {kGradients[0].type_popup, &GradientTypeChanged<0>},           // stroke "Gradient Type"
    {16, &RevealGradientColors<0>},                                // stroke "Gradient Colors"
    {kEnableFill, &SwitchOffOther<kFillEnableGradient>},           // "Enable Fill"
    {kFillEnableGradient, &SwitchOffOther<kEnableFill>},           // fill "Enable Gradient"
    {kGradients[1].type_popup, &GradientTypeChanged<1>},           // fill "Gradient Type"
    {38, &RevealGradientColors<1>},                                // fill "Gradient Colors"
    {kCreatePlaceholders, &CreatePlaceholders},                    // "Create Placeholders"
    {kDynamicsPresets.popup, &PresetChanged<kDynamicsPresets>},    // dynamics "Preset"
    {kVerletPresets.popup, &PresetChanged<kVerletPresets>},        // Verlet "Preset"
    {kTrimMultipleShapes, &WritePopupToShapes<kTrimMultipleShapes, kTrimTypeMatchName>},
    // "Path Expressions", "Style Expressions", "Relink Expressions"
    {kBakePaths, &BakeWorkArea<kConvertPathTitle, kPathTarget, kBakePaths>},
    {kBakeStyles, &BakeWorkArea<kConvertStyleTitle, kStyleTarget, kBakeStyles>},
    {kRelink, &RelinkExpressions},
};
const std::size_t kChangeCaseCount = sizeof kChangeCases / sizeof kChangeCases[0];
