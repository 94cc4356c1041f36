#include "shell/Render.h"

#include <algorithm>

#include "AE_EffectCB.h"
#include "shell/RunningError.h"
#include "shell/SuiteHandler.h"

namespace {
// The input layer is parameter 0 and is checked out once, under this identifier.
constexpr PF_ParamIndex kInputLayer = 0;
constexpr A_long kInputCheckoutId = 0;
}  // namespace

bool IsEmptyRect(const PF_LRect* r) {
    return r->left >= r->right || r->top >= r->bottom;
}

void UnionLRect(const PF_LRect* src, PF_LRect* dst) {
    if (IsEmptyRect(dst)) {
        *dst = *src;
    } else if (!IsEmptyRect(src)) {
        dst->left = std::min(dst->left, src->left);
        dst->top = std::min(dst->top, src->top);
        dst->right = std::max(dst->right, src->right);
        dst->bottom = std::max(dst->bottom, src->bottom);
    }
}

PF_Err Render(PF_InData* in_data, PF_OutData* /*out_data*/, PF_ParamDef* params[],
              PF_LayerDef* output) {
    return in_data->utils->copy(in_data->effect_ref, &params[kInputLayer]->u.ld, output, nullptr,
                                nullptr);
}

PF_Err SmartPreRender(PF_InData* in_data, PF_OutData* /*out_data*/, PF_PreRenderExtra* extra) {
    const PF_RenderRequest request = extra->input->output_request;
    PF_CheckoutResult checkout{};
    const PF_Err err = extra->cb->checkout_layer(
        in_data->effect_ref, kInputLayer, kInputCheckoutId, &request, in_data->current_time,
        in_data->time_step, in_data->time_scale, &checkout);
    if (err != PF_Err_NONE) return err;

    UnionLRect(&checkout.result_rect, &extra->output->result_rect);
    UnionLRect(&checkout.max_result_rect, &extra->output->max_result_rect);
    return PF_Err_NONE;
}

PF_Err SmartRender(PF_InData* in_data, PF_OutData* /*out_data*/, PF_SmartRenderExtra* extra) {
    AEGP_SuiteHandler suites(in_data->pica_basicP);
    const PF_SmartRenderCallbacks* cb = extra->cb;
    PF_ProgPtr ref = in_data->effect_ref;

    RunningError err;
    PF_EffectWorld* inputP = nullptr;
    PF_EffectWorld* outputP = nullptr;
    try {
        err.Call(cb->checkout_layer_pixels, ref, kInputCheckoutId, &inputP)
            .Call(cb->checkout_output, ref, &outputP);
        if (err.ok() && inputP != nullptr && outputP != nullptr) {
            err.Call(suites.CompositeSuite2()->AEGP_CopyBits_HQ_Straight, inputP, nullptr, nullptr,
                     outputP);
        }
    } catch (...) {
        // A missing composite suite is thrown; the input goes back to the host all the same.
        cb->checkin_layer_pixels(ref, kInputCheckoutId);
        throw;
    }
    err.Release(cb->checkin_layer_pixels(ref, kInputCheckoutId));
    return err.get();
}
