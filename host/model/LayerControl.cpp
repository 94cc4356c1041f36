#include "model/LayerControl.h"

#include "model/Project.h"

namespace tlhost {

namespace {

void AddInputSlot(EffectInstance& effect) {
    PF_ParamDef input{};
    input.param_type = PF_Param_LAYER;
    effect.params().emplace_back(input);
}

}  // namespace

void SetUpLayerControl(EffectInstance& effect, AEGP_LayerIDVal target) {
    AddInputSlot(effect);
    PF_ParamDef def{};
    def.param_type = PF_Param_LAYER;
    def.uu.id = 1;
    def.u.ld.dephault = PF_LayerDefault_NONE;
    HostParam layer(def);
    layer.set_name("Layer");
    layer.match_name = kLayerControlLayerMatchName;
    layer.layer_id = target;
    effect.params().push_back(layer);
    effect.AttachParamStreams();
}

EffectInstance& AddLayerControl(Layer& layer, std::optional<AEGP_LayerIDVal> target) {
    EffectInstance& control = layer.AddEffect(kLayerControlMatchName, "Layer Control");
    if (target) {
        SetUpLayerControl(control, *target);
    } else {
        AddInputSlot(control);
        control.AttachParamStreams();
    }
    return control;
}

}  // namespace tlhost
