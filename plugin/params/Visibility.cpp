#include "params/Visibility.h"

#include "AE_EffectCB.h"
#include "AE_EffectSuites.h"
#include "params/ParamTable.h"
#include "shell/GlobalSetup.h"
#include "shell/Scoped.h"
#include "shell/SuiteHandler.h"
#include "shell/SuiteHelper.h"

namespace {

// The current values of the controlling parameters, read in place from the host's array.
class ParamValues {
  public:
    explicit ParamValues(PF_ParamDef* const* params) : params_(params) {}

    // A popup's item, counted from 1 with separators included.
    A_long Popup(PF_ParamIndex i) const { return params_[i]->u.pd.value; }
    // The stroke and fill switches count as on when above 0...
    bool SwitchOn(PF_ParamIndex i) const { return params_[i]->u.bd.value > 0; }
    // ...the module switches only when exactly 1.
    bool ModuleOn(PF_ParamIndex i) const { return params_[i]->u.bd.value == 1; }

  private:
    PF_ParamDef* const* params_;
};

using HiddenWhen = bool (*)(const ParamValues&);

// Consecutive indices, first to last; an empty run has last below first.
struct IndexRun {
    PF_ParamIndex first = 0;
    PF_ParamIndex last = -1;
};

// The parameters of one or two runs, hidden while the predicate holds and shown otherwise.
struct VisibilityRule {
    IndexRun runs[2];
    HiddenWhen hidden;
};

constexpr VisibilityRule Rule(IndexRun run, HiddenWhen hidden) {
    return VisibilityRule{{run, IndexRun{}}, hidden};
}
constexpr VisibilityRule Rule(IndexRun run, IndexRun more, HiddenWhen hidden) {
    return VisibilityRule{{run, more}, hidden};
}

// Popup items the rules test.
enum : A_long {
    kMiterJoin = 1,
    kRadial = 2,
    kSingleColor = 1,
    kGradient = 2,
    kHueShift = 3,
    kRandom = 4,
    kFromLayer = 5,
    kCircle = 2,
    kSquare = 3,
    kTriangle = 4,
    kArc = 3,
    kStep2D = 4,
    kCustomBezierTension = 9,
    kDynamicBezier = 11,
    kDynamicCustomBezier = 12,
    kDynamicVerlet = 13,
    kFirstEasing = 15,
};

bool IsShapeSize(A_long item) {
    return item == kCircle || item == kSquare;
}
bool CurvinessOff(const ParamValues& v) {
    return !v.ModuleOn(44);
}
bool FunctionIs(const ParamValues& v, A_long a, A_long b = -1, A_long c = -1) {
    const A_long f = v.Popup(71);
    return f == a || f == b || f == c;
}
bool FillAndFillGradientOff(const ParamValues& v) {
    return !v.SwitchOn(21) && !v.SwitchOn(34);
}

// ---- the visibility rules, in the order the pass applies them ----------------------------------
// clang-format off
constexpr VisibilityRule kRules[] = {
    // Stroke
    Rule({5, 7},     [](const ParamValues& v) { return !v.SwitchOn(4); }),
    Rule({11, 11},   [](const ParamValues& v) { return v.Popup(10) != kMiterJoin; }),
    Rule({13, 13},   [](const ParamValues& v) { return !v.SwitchOn(12); }),
    Rule({14, 15},   [](const ParamValues& v) { return !v.SwitchOn(12) || v.Popup(13) != kRadial; }),
    Rule({16, 17},   [](const ParamValues& v) { return !v.SwitchOn(12); }),
    // Fill
    Rule({22, 22},   [](const ParamValues& v) { return !v.SwitchOn(21); }),
    Rule({23, 23},   [](const ParamValues& v) {
        return !v.SwitchOn(21) || (v.Popup(22) != kSingleColor && v.Popup(22) != kGradient); }),
    Rule({24, 24},   [](const ParamValues& v) { return !v.SwitchOn(21) || v.Popup(22) != kGradient; }),
    Rule({25, 26},   [](const ParamValues& v) { return !v.SwitchOn(21) || v.Popup(22) != kHueShift; }),
    Rule({27, 27},   [](const ParamValues& v) { return !v.SwitchOn(21) || v.Popup(22) != kRandom; }),
    Rule({28, 28},   [](const ParamValues& v) { return !v.SwitchOn(21) || v.Popup(22) != kFromLayer; }),
    Rule({29, 30},   [](const ParamValues& v) { return FillAndFillGradientOff(v); }),
    Rule({31, 33},   [](const ParamValues& v) { return FillAndFillGradientOff(v) || !v.SwitchOn(30); }),
    Rule({35, 35},   [](const ParamValues& v) { return !v.SwitchOn(34); }),
    Rule({36, 37},   [](const ParamValues& v) { return !v.SwitchOn(34) || v.Popup(35) != kRadial; }),
    Rule({38, 39},   [](const ParamValues& v) { return !v.SwitchOn(34); }),
    // The module switches live behind the module panel.
    Rule({42, 42},   [](const ParamValues&) { return true; }),
    // Arrowheads; the shape sizes follow the "Start" and "End" shapes alone.
    Rule({54, 62}, {67, 68}, [](const ParamValues& v) { return !v.ModuleOn(43); }),
    Rule({63, 63},   [](const ParamValues& v) { return !IsShapeSize(v.Popup(55)) && !IsShapeSize(v.Popup(56)); }),
    Rule({64, 66},   [](const ParamValues& v) { return v.Popup(55) != kTriangle && v.Popup(56) != kTriangle; }),
    // Curviness, by "Function"
    Rule({70, 71},   [](const ParamValues& v) { return CurvinessOff(v); }),
    Rule({72, 72},   [](const ParamValues& v) { return CurvinessOff(v) || !FunctionIs(v, kArc, kStep2D); }),
    Rule({73, 73},   [](const ParamValues& v) { return CurvinessOff(v) || !FunctionIs(v, kCustomBezierTension); }),
    Rule({74, 74},   [](const ParamValues& v) {
        return CurvinessOff(v) || !FunctionIs(v, kDynamicBezier, kDynamicCustomBezier); }),
    Rule({75, 75},   [](const ParamValues& v) { return CurvinessOff(v) || !FunctionIs(v, kDynamicVerlet); }),
    Rule({76, 78},   [](const ParamValues& v) {
        return CurvinessOff(v) || !FunctionIs(v, kDynamicBezier, kDynamicCustomBezier); }),
    Rule({79, 82},   [](const ParamValues& v) { return CurvinessOff(v) || !FunctionIs(v, kDynamicCustomBezier); }),
    Rule({83, 86},   [](const ParamValues& v) { return CurvinessOff(v) || !FunctionIs(v, kDynamicVerlet); }),
    Rule({87, 87},   [](const ParamValues& v) {
        return CurvinessOff(v) || !FunctionIs(v, kDynamicBezier, kDynamicCustomBezier, kDynamicVerlet); }),
    Rule({88, 89},   [](const ParamValues& v) { return CurvinessOff(v) || v.Popup(71) < kFirstEasing; }),
    // The other modules' groups, by their switches
    Rule({91, 94},   [](const ParamValues& v) { return !v.ModuleOn(45); }),
    Rule({96, 97},   [](const ParamValues& v) { return !v.ModuleOn(46); }),
    Rule({99, 106}, {108, 113}, [](const ParamValues& v) { return !v.ModuleOn(47); }),
    Rule({116, 117}, [](const ParamValues& v) { return !v.ModuleOn(48); }),
    Rule({119, 124}, [](const ParamValues& v) { return !v.ModuleOn(49); }),
    Rule({126, 129}, [](const ParamValues& v) { return !v.ModuleOn(50); }),
    Rule({131, 139}, [](const ParamValues& v) { return !v.ModuleOn(51); }),
    Rule({141, 144}, [](const ParamValues& v) { return !v.ModuleOn(52); }),
};
// clang-format on

constexpr int HideCallsPerPass() {
    int n = 0;
    for (const VisibilityRule& rule : kRules) {
        for (const IndexRun& run : rule.runs)
            n += run.last >= run.first ? run.last - run.first + 1 : 0;
    }
    return n;
}
static_assert(HideCallsPerPass() == 107, "every listed parameter is set on every pass");

// The title of the first fill colour, by fill palette; other palettes keep the title.
struct FillColorTitle {
    A_long palette;
    const char* title;
};
constexpr FillColorTitle kFillColorTitles[] = {
    {kSingleColor, "Fill Color"},
    {kGradient, "Start Color"},
};

}  // namespace

PF_Err HideParam(PF_InData* in_data, AEGP_EffectRefH effectH, PF_ParamIndex index, A_Boolean hide) {
    AEGP_SuiteHandler suites(in_data->pica_basicP);
    AEGP_PluginID plugin_id = 0;
    RunningError err;
    ScopedStream stream(suites);
    err.Then([&] { return GetPluginID(in_data, &plugin_id); }).Then([&] {
        return suites.StreamSuite4()->AEGP_GetNewEffectStreamByIndex(plugin_id, effectH, index,
                                                                     stream.put());
    });
    err.Then([&] {
        return suites.DynamicStreamSuite4()->AEGP_SetDynamicStreamFlag(
            stream.get(), AEGP_DynStreamFlag_HIDDEN, FALSE, hide);
    });
    err.Release(stream.Dispose());
    return err.get();
}

void RetitleFillColor(PF_ParamDef* params[], PF_InData* in_data, PF_OutData* out_data,
                      RunningError& err) {
    const ParamValues values(params);
    if (!values.SwitchOn(kParamEnableFill)) return;

    AEFX_SuiteScoper<PF_ParamUtilsSuite1> param_utils(in_data, kPFParamUtilsSuite,
                                                      kPFParamUtilsSuiteVersion1, out_data);
    const char* title = nullptr;
    for (const FillColorTitle& row : kFillColorTitles) {
        if (row.palette == values.Popup(kParamFillPalette)) title = row.title;
    }
    if (title == nullptr) return;

    PF_ParamDef* fill_color = params[kParamFillColor];
    PF_STRCPY(fill_color->name, title);
    if (!err.ok()) return;
    // The host takes the interface change from a copy of the definition.
    PF_ParamDef copy = *fill_color;
    err.Call(param_utils->PF_UpdateParamUI, in_data->effect_ref, kParamFillColor, &copy);
}

void UpdateParamsVisibility(PF_ParamDef* params[], PF_InData* in_data, PF_OutData* /*out_data*/,
                            AEGP_EffectRefH effectH, RunningError& err) {
    const ParamValues values(params);
    for (const VisibilityRule& rule : kRules) {
        if (!err.ok()) return;
        const A_Boolean hide = rule.hidden(values) ? TRUE : FALSE;
        for (const IndexRun& run : rule.runs) {
            for (PF_ParamIndex i = run.first; i <= run.last; ++i) {
                err.Then([&] { return HideParam(in_data, effectH, i, hide); });
            }
        }
    }
}

void UpdateParamsInterface(PF_ParamDef* params[], PF_InData* in_data, PF_OutData* out_data,
                           AEGP_EffectRefH effectH, RunningError& err) {
    RetitleFillColor(params, in_data, out_data, err);
    UpdateParamsVisibility(params, in_data, out_data, effectH, err);
}
