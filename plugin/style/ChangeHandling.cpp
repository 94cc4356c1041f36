#include "style/ChangeHandling.h"

#include "params/Visibility.h"
#include "shell/GlobalSetup.h"
#include "style/ExpressionText.h"

ChangeCase FindChangeCase(PF_ParamIndex index) {
    for (std::size_t i = 0; i < kChangeCaseCount; ++i) {
        if (kChangeCases[i].index == index) return kChangeCases[i].run;
    }
    return nullptr;
}

PF_Err HandleChangedParam(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                          PF_LayerDef* /*output*/, const PF_UserChangedParamExtra* extra) {
    ChangeContext ctx(in_data, out_data, params);

    // 1. The plug-in's identifier, the effect layer, its name and this instance's effect handle.
    ctx.err.Then([&] { return GetPluginID(in_data, &ctx.plugin_id); })
        .Then([&] {
            return ctx.suites.PFInterfaceSuite1()->AEGP_GetEffectLayer(in_data->effect_ref,
                                                                       &ctx.effect_layer);
        })
        .Then([&] {
            return GetLayerNameUTF8(ctx.suites, ctx.plugin_id, ctx.effect_layer,
                                    ctx.effect_layer_name);
        })
        .Then([&] {
            return ctx.suites.PFInterfaceSuite1()->AEGP_GetNewEffectForEffect(
                ctx.plugin_id, in_data->effect_ref, ctx.effect.put());
        });

    // 2. Retitle and show or hide parameters to fit the current values.
    UpdateParamsInterface(params, in_data, out_data, ctx.effect.get(), ctx.err);

    // 3, 4. The work for the changed parameter; none for an interface update.
    if (extra != nullptr) {
        if (const ChangeCase run = FindChangeCase(extra->param_index)) run(ctx);
    }

    // 5. Give the effect handle back; the suites go when the context does.
    ctx.err.Release(ctx.effect.Dispose());
    return ctx.err.get();
}
