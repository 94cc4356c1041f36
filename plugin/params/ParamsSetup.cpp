#include "params/ParamsSetup.h"

#include <cstdint>
#include <cstring>

#include "AE_EffectCB.h"
#include "AE_EffectUI.h"
#include "params/ParamTable.h"
#include "shell/ArbData.h"

namespace {

// Sliders show their value with this curve tolerance; nothing else of the curve is used.
constexpr PF_FpShort kCurveTolerance = 0.05f;

// Fills the kind-specific part of a cleared definition from its row. The name is copied by the
// caller with the host's string utility.
void FillKindValues(const ParamRow& row, PF_ParamDef& def) {
    switch (row.kind) {
        case ParamKind::GroupStart:
            def.param_type = PF_Param_GROUP_START;
            break;
        case ParamKind::GroupEnd:
            def.param_type = PF_Param_GROUP_END;
            break;
        case ParamKind::FloatSlider: {
            def.param_type = PF_Param_FLOAT_SLIDER;
            PF_FloatSliderDef& fs = def.u.fs_d;
            fs.value = row.value;
            fs.dephault = static_cast<PF_FpShort>(row.value);
            fs.valid_min = row.valid_min;
            fs.valid_max = row.valid_max;
            fs.slider_min = row.slider_min;
            fs.slider_max = row.slider_max;
            fs.precision = row.precision;
            fs.display_flags = row.display;
            fs.curve_tolerance = kCurveTolerance;
            break;
        }
        case ParamKind::Checkbox:
            def.param_type = PF_Param_CHECKBOX;
            def.u.bd.value = static_cast<PF_ParamValue>(row.value);
            def.u.bd.dephault = static_cast<PF_Boolean>(row.value);
            def.u.bd.u.nameptr = row.text;
            break;
        case ParamKind::Color:
            def.param_type = PF_Param_COLOR;
            def.u.cd.value = PF_Pixel{255, row.red, row.green, row.blue};
            def.u.cd.dephault = def.u.cd.value;
            break;
        case ParamKind::Popup:
            def.param_type = PF_Param_POPUP;
            def.u.pd.value = static_cast<PF_ParamValue>(row.value);
            def.u.pd.dephault = static_cast<A_short>(row.value);
            def.u.pd.num_choices = row.choices;
            def.u.pd.u.namesptr = row.text;
            break;
        case ParamKind::Button:
            def.param_type = PF_Param_BUTTON;
            def.u.button_d.u.namesptr = row.text;
            break;
        case ParamKind::Layer:
            def.param_type = PF_Param_LAYER;
            def.u.ld.dephault = PF_LayerDefault_NONE;
            break;
        case ParamKind::ArbitraryData:
            // The module panel: drawn by the effect in the effect controls. Its default handle
            // is made by the caller.
            def.param_type = PF_Param_ARBITRARY_DATA;
            def.ui_flags = kModulePanelUIFlags;
            def.ui_width = kModulePanelWidth;
            def.ui_height = kModulePanelHeight;
            def.u.arb_d.id = static_cast<A_short>(row.index);
            def.u.arb_d.refconPV =
                reinterpret_cast<void*>(static_cast<std::uintptr_t>(kModuleStateRefcon));
            break;
    }
}

// The module panel receives events in the effect controls only.
PF_Err RegisterModulePanel(PF_InData* in_data) {
    PF_CustomUIInfo ui;
    std::memset(&ui, 0, sizeof ui);
    ui.events = PF_CustomEFlag_EFFECT;
    return PF_REGISTER_UI(in_data, &ui);
}

}  // namespace

PF_Err ParamsSetup(PF_InData* in_data, PF_OutData* out_data) {
    // The panel's default and interface registration do not stop setup when they fail: the
    // failure is kept and returned once every parameter is declared. The panel's interface is
    // registered only once it has its default.
    PF_Err kept = PF_Err_NONE;
    PF_ParamDef def;

    for (const ParamRow& row : ParamTable()) {
        std::memset(&def, 0, sizeof def);
        const bool panel = row.kind == ParamKind::ArbitraryData;
        if (panel) kept = CreateDefaultArb(in_data, out_data, &def.u.arb_d.dephault);

        def.uu.id = row.index;
        def.flags = row.flags;
        PF_STRCPY(def.name, row.name);
        FillKindValues(row, def);

        // Appended at the end of the list.
        const PF_Err added = PF_ADD_PARAM(in_data, -1, &def);
        if (added != PF_Err_NONE) {
            // The host did not take the panel's default; it is still ours to give back, through
            // the input record's callbacks, which need no suite.
            if (panel && def.u.arb_d.dephault != nullptr) {
                in_data->utils->host_dispose_handle(def.u.arb_d.dephault);
            }
            return added;
        }
        if (panel && kept == PF_Err_NONE) kept = RegisterModulePanel(in_data);
    }

    out_data->num_params = kParamCount;
    return kept;
}
