// Compile-time checks that our declarations of the host interface have the host's
// layout: record sizes, member offsets and suite-table slots, for 64-bit targets.
// Compiled into every build of the plug-in, so each target ABI (Windows, macOS and the
// stand-in host's platform) is checked by its own compiler.

#include <cstddef>

#include "A.h"
#include "AE_AdvEffectSuites.h"
#include "AE_Effect.h"
#include "AE_EffectCB.h"
#include "AE_EffectCBSuites.h"
#include "AE_EffectSuites.h"
#include "AE_EffectUI.h"
#include "AE_GeneralPlug.h"
#include "DrawbotSuite.h"
#include "SPBasic.h"

static_assert(sizeof(void*) == 8, "the host interface is only laid out for 64-bit targets");

#define TL_SIZE(T, n) static_assert(sizeof(T) == (n), "size of " #T)
#define TL_AT(T, m, off) static_assert(offsetof(T, m) == (off), "offset of " #T "::" #m)
#define TL_SLOTS(S, n) static_assert(sizeof(S) == (n) * sizeof(void*), "slot count of " #S)
#define TL_SLOT(S, f, i) static_assert(offsetof(S, f) == (i) * sizeof(void*), "slot of " #S "::" #f)

namespace {

// Members of unnamed record types.
using ParamDefUU = decltype(PF_ParamDef::uu);
using ArbUnion = decltype(PF_ArbParamsExtra::u);
using ArbNew = decltype(ArbUnion::new_func_params);
using ArbDispose = decltype(ArbUnion::dispose_func_params);
using ArbCopy = decltype(ArbUnion::copy_func_params);
using ArbFlatSize = decltype(ArbUnion::flat_size_func_params);
using ArbFlatten = decltype(ArbUnion::flatten_func_params);
using ArbUnflatten = decltype(ArbUnion::unflatten_func_params);
using ArbInterp = decltype(ArbUnion::interp_func_params);
using ArbCompare = decltype(ArbUnion::compare_func_params);
using ArbPrintSize = decltype(ArbUnion::print_size_func_params);
using ArbPrint = decltype(ArbUnion::print_func_params);
using ArbScan = decltype(ArbUnion::scan_func_params);
using CollectionUnion = decltype(AEGP_CollectionItemV2::u);
using StreamCollectionUnion = decltype(AEGP_StreamCollectionItem::u);

}  // namespace

// ---------------------------------------------------------------------------------
// Scalars and small records.

TL_SIZE(A_long, 4);
TL_SIZE(A_u_long, 4);
TL_SIZE(A_short, 2);
TL_SIZE(A_u_short, 2);
TL_SIZE(A_char, 1);
TL_SIZE(A_Boolean, 1);
TL_SIZE(A_UTF16Char, 2);
TL_SIZE(A_Err, 4);
TL_SIZE(A_FpLong, 8);
TL_SIZE(A_FpShort, 4);
TL_SIZE(A_longlong, 8);
TL_SIZE(A_u_longlong, 8);
TL_SIZE(A_HandleSize, 8);
TL_SIZE(A_intptr_t, 8);
TL_SIZE(SPErr, 4);
#if defined(_WIN32)
TL_SIZE(SPBoolean, 4);
TL_SIZE(A_LegacyEnumType, 4);
#elif defined(__APPLE__)
TL_SIZE(SPBoolean, 1);
TL_SIZE(A_LegacyEnumType, 1);
#else
TL_SIZE(SPBoolean, 1);
TL_SIZE(A_LegacyEnumType, 4);
#endif

TL_SIZE(A_Time, 8);
TL_AT(A_Time, scale, 4);
TL_SIZE(A_Ratio, 8);
TL_AT(A_Ratio, den, 4);
TL_SIZE(A_FloatPoint, 16);
TL_SIZE(A_FloatRect, 32);
TL_SIZE(A_LRect, 16);
TL_SIZE(A_Rect, 16);
TL_SIZE(A_Matrix4, 128);

TL_SIZE(PF_Boolean, 1);
TL_SIZE(PF_Fixed, 4);
TL_SIZE(PF_Handle, 8);
TL_SIZE(PF_ProgPtr, 8);
TL_SIZE(PF_Cmd, 4);
TL_SIZE(PF_Precision, 2);
TL_SIZE(PF_ValueDisplayFlags, 2);
TL_SIZE(PF_FSliderFlags, 4);
TL_SIZE(PF_SpecVersion, 4);
TL_AT(PF_SpecVersion, minor, 2);
TL_SIZE(PF_Pixel, 4);
TL_AT(PF_Pixel, alpha, 0);
TL_AT(PF_Pixel, red, 1);
TL_AT(PF_Pixel, green, 2);
TL_AT(PF_Pixel, blue, 3);
TL_SIZE(PF_Pixel16, 8);
TL_SIZE(PF_PixelFloat, 16);
TL_AT(PF_PixelFloat, alpha, 0);
TL_AT(PF_PixelFloat, blue, 12);
TL_SIZE(PF_Rect, 16);
TL_AT(PF_Rect, right, 8);
TL_SIZE(PF_Point, 8);
TL_AT(PF_Point, v, 4);
TL_SIZE(PF_RationalScale, 8);
TL_SIZE(PF_PathVertex, 48);
TL_SIZE(PF_SoundWorld, 32);

// Version packing: version 1.0 sits at bit 19; versions from 8 on spill into bit 26.
static_assert(PF_VERSION(1, 0, 0, PF_Stage_DEVELOP, 0) == 0x80000u, "PF_VERSION: version");
static_assert(PF_VERSION(8, 0, 0, PF_Stage_DEVELOP, 0) == 0x4000000u, "PF_VERSION: high bits");
static_assert(PF_VERSION(127, 15, 15, PF_Stage_RELEASE, 511) == 0x3C3FFFFFu, "PF_VERSION: fields");
static_assert(PF_VERSION(1, 3, 2, PF_Stage_RELEASE, 7) ==
                  ((1u << 19) | (3u << 15) | (2u << 11) | (3u << 9) | 7u),
              "PF_VERSION: field order");

// ---------------------------------------------------------------------------------
// Worlds (PF_LayerDef = PF_EffectWorld).

TL_SIZE(PF_LayerDef, 120);
TL_AT(PF_LayerDef, reserved0, 0);
TL_AT(PF_LayerDef, reserved1, 8);
TL_AT(PF_LayerDef, world_flags, 16);
TL_AT(PF_LayerDef, data, 24);
TL_AT(PF_LayerDef, rowbytes, 32);
TL_AT(PF_LayerDef, width, 36);
TL_AT(PF_LayerDef, height, 40);
TL_AT(PF_LayerDef, extent_hint, 44);
TL_AT(PF_LayerDef, platform_ref, 64);
TL_AT(PF_LayerDef, reserved_long1, 72);
TL_AT(PF_LayerDef, reserved_long4, 80);
TL_AT(PF_LayerDef, pix_aspect_ratio, 88);
TL_AT(PF_LayerDef, reserved_long2, 96);
TL_AT(PF_LayerDef, origin_x, 104);
TL_AT(PF_LayerDef, origin_y, 108);
TL_AT(PF_LayerDef, reserved_long3, 112);
TL_AT(PF_LayerDef, dephault, 116);

// ---------------------------------------------------------------------------------
// PF_InData.

TL_SIZE(PF_InData, 408);
TL_AT(PF_InData, inter, 0);
TL_AT(PF_InData, utils, 176);
TL_AT(PF_InData, effect_ref, 184);
TL_AT(PF_InData, quality, 192);
TL_AT(PF_InData, version, 196);
TL_AT(PF_InData, serial_num, 200);
TL_AT(PF_InData, appl_id, 204);
TL_AT(PF_InData, num_params, 208);
TL_AT(PF_InData, reserved, 212);
TL_AT(PF_InData, what_cpu, 216);
TL_AT(PF_InData, what_fpu, 220);
TL_AT(PF_InData, current_time, 224);
TL_AT(PF_InData, time_step, 228);
TL_AT(PF_InData, total_time, 232);
TL_AT(PF_InData, local_time_step, 236);
TL_AT(PF_InData, time_scale, 240);
TL_AT(PF_InData, field, 244);
TL_AT(PF_InData, shutter_angle, 248);
TL_AT(PF_InData, width, 252);
TL_AT(PF_InData, height, 256);
TL_AT(PF_InData, extent_hint, 260);
TL_AT(PF_InData, output_origin_x, 276);
TL_AT(PF_InData, output_origin_y, 280);
TL_AT(PF_InData, downsample_x, 284);
TL_AT(PF_InData, downsample_y, 292);
TL_AT(PF_InData, pixel_aspect_ratio, 300);
TL_AT(PF_InData, in_flags, 308);
TL_AT(PF_InData, global_data, 312);
TL_AT(PF_InData, sequence_data, 320);
TL_AT(PF_InData, frame_data, 328);
TL_AT(PF_InData, start_sampL, 336);
TL_AT(PF_InData, dur_sampL, 340);
TL_AT(PF_InData, total_sampL, 344);
TL_AT(PF_InData, src_snd, 352);
TL_AT(PF_InData, pica_basicP, 384);
TL_AT(PF_InData, pre_effect_source_origin_x, 392);
TL_AT(PF_InData, pre_effect_source_origin_y, 396);
TL_AT(PF_InData, shutter_phase, 400);

// ---------------------------------------------------------------------------------
// PF_InteractCallbacks (in_data->inter).

TL_SIZE(PF_InteractCallbacks, 176);
TL_AT(PF_InteractCallbacks, checkout_param, 0);
TL_AT(PF_InteractCallbacks, checkin_param, 8);
TL_AT(PF_InteractCallbacks, add_param, 16);
TL_AT(PF_InteractCallbacks, abort, 24);
TL_AT(PF_InteractCallbacks, progress, 32);
TL_AT(PF_InteractCallbacks, register_ui, 40);
TL_AT(PF_InteractCallbacks, checkout_layer_audio, 48);
TL_AT(PF_InteractCallbacks, checkin_layer_audio, 56);
TL_AT(PF_InteractCallbacks, get_audio_data, 64);
TL_AT(PF_InteractCallbacks, reserved_str, 72);
TL_AT(PF_InteractCallbacks, reserved, 96);

// ---------------------------------------------------------------------------------
// PF_UtilCallbacks (in_data->utils).

TL_SIZE(PF_UtilCallbacks, 552);
TL_SIZE(PF_ANSICallbacksBlock, 160);
TL_SIZE(PF_ColorCallbacks, 64);
TL_AT(PF_UtilCallbacks, begin_sampling, 0);
TL_AT(PF_UtilCallbacks, copy, 64);
TL_AT(PF_UtilCallbacks, fill, 72);
TL_AT(PF_UtilCallbacks, new_world, 112);
TL_AT(PF_UtilCallbacks, dispose_world, 120);
TL_AT(PF_UtilCallbacks, host_new_handle, 160);
TL_AT(PF_UtilCallbacks, host_lock_handle, 168);
TL_AT(PF_UtilCallbacks, host_unlock_handle, 176);
TL_AT(PF_UtilCallbacks, host_dispose_handle, 184);
TL_AT(PF_UtilCallbacks, get_callback_addr, 192);
TL_AT(PF_UtilCallbacks, app, 200);
TL_AT(PF_UtilCallbacks, ansi, 208);
TL_AT(PF_UtilCallbacks, colorCB, 368);
TL_AT(PF_UtilCallbacks, get_platform_data, 432);
TL_AT(PF_UtilCallbacks, host_get_handle_size, 440);
TL_AT(PF_UtilCallbacks, iterate_generic, 456);
TL_AT(PF_UtilCallbacks, host_resize_handle, 464);
TL_AT(PF_UtilCallbacks, get_pixel_data16, 536);
TL_AT(PF_UtilCallbacks, reserved, 544);
TL_AT(PF_ANSICallbacksBlock, sprintf, 120);
TL_AT(PF_ANSICallbacksBlock, strcpy, 128);
TL_AT(PF_ANSICallbacksBlock, asin, 136);
TL_AT(PF_ANSICallbacksBlock, acos, 144);
static_assert(offsetof(PF_UtilCallbacks, ansi) + offsetof(PF_ANSICallbacksBlock, sprintf) == 328,
              "in_data->utils->ansi.sprintf");
static_assert(offsetof(PF_UtilCallbacks, ansi) + offsetof(PF_ANSICallbacksBlock, strcpy) == 336,
              "in_data->utils->ansi.strcpy");

// ---------------------------------------------------------------------------------
// PF_OutData.

TL_SIZE(PF_OutData, 408);
TL_AT(PF_OutData, my_version, 0);
TL_AT(PF_OutData, name, 4);
TL_AT(PF_OutData, global_data, 40);
TL_AT(PF_OutData, num_params, 48);
TL_AT(PF_OutData, sequence_data, 56);
TL_AT(PF_OutData, flat_sdata_size, 64);
TL_AT(PF_OutData, frame_data, 72);
TL_AT(PF_OutData, width, 80);
TL_AT(PF_OutData, height, 84);
TL_AT(PF_OutData, origin, 88);
TL_AT(PF_OutData, out_flags, 96);
TL_AT(PF_OutData, return_msg, 100);
TL_AT(PF_OutData, start_sampL, 356);
TL_AT(PF_OutData, dur_sampL, 360);
TL_AT(PF_OutData, dest_snd, 368);
TL_AT(PF_OutData, out_flags2, 400);

// ---------------------------------------------------------------------------------
// PF_ParamDef and the members of its union.

TL_SIZE(PF_ParamDef, 176);
TL_SIZE(ParamDefUU, 4);
TL_AT(PF_ParamDef, uu, 0);
TL_AT(PF_ParamDef, ui_flags, 4);
TL_AT(PF_ParamDef, ui_width, 8);
TL_AT(PF_ParamDef, ui_height, 10);
TL_AT(PF_ParamDef, param_type, 12);
TL_AT(PF_ParamDef, name, 16);
TL_AT(PF_ParamDef, flags, 48);
TL_AT(PF_ParamDef, unused, 52);
TL_AT(PF_ParamDef, u, 56);
TL_SIZE(PF_ParamDefUnion, 120);

TL_SIZE(PF_SliderDef, 88);
TL_AT(PF_SliderDef, value, 0);
TL_AT(PF_SliderDef, value_str, 4);
TL_AT(PF_SliderDef, value_desc, 36);
TL_AT(PF_SliderDef, valid_min, 68);
TL_AT(PF_SliderDef, valid_max, 72);
TL_AT(PF_SliderDef, slider_min, 76);
TL_AT(PF_SliderDef, slider_max, 80);
TL_AT(PF_SliderDef, dephault, 84);

TL_SIZE(PF_FixedSliderDef, 92);
TL_AT(PF_FixedSliderDef, value_desc, 36);
TL_AT(PF_FixedSliderDef, dephault, 84);
TL_AT(PF_FixedSliderDef, precision, 88);
TL_AT(PF_FixedSliderDef, display_flags, 90);

TL_SIZE(PF_AngleDef, 16);
TL_AT(PF_AngleDef, dephault, 4);
TL_AT(PF_AngleDef, valid_min, 8);
TL_AT(PF_AngleDef, valid_max, 12);

TL_SIZE(PF_CheckBoxDef, 16);
TL_AT(PF_CheckBoxDef, value, 0);
TL_AT(PF_CheckBoxDef, dephault, 4);
TL_AT(PF_CheckBoxDef, reserved, 5);
TL_AT(PF_CheckBoxDef, reserved1, 6);
TL_AT(PF_CheckBoxDef, u, 8);

TL_SIZE(PF_ColorDef, 8);
TL_AT(PF_ColorDef, dephault, 4);

TL_SIZE(PF_PointDef, 20);
TL_AT(PF_PointDef, y_value, 4);
TL_AT(PF_PointDef, reserved, 8);
TL_AT(PF_PointDef, restrict_bounds, 11);
TL_AT(PF_PointDef, x_dephault, 12);
TL_AT(PF_PointDef, y_dephault, 16);

TL_SIZE(PF_PopupDef, 16);
TL_AT(PF_PopupDef, value, 0);
TL_AT(PF_PopupDef, num_choices, 4);
TL_AT(PF_PopupDef, dephault, 6);
TL_AT(PF_PopupDef, u, 8);

TL_SIZE(PF_FloatSliderDef, 88);
TL_AT(PF_FloatSliderDef, value, 0);
TL_AT(PF_FloatSliderDef, phase, 8);
TL_AT(PF_FloatSliderDef, value_desc, 16);
TL_AT(PF_FloatSliderDef, valid_min, 48);
TL_AT(PF_FloatSliderDef, valid_max, 52);
TL_AT(PF_FloatSliderDef, slider_min, 56);
TL_AT(PF_FloatSliderDef, slider_max, 60);
TL_AT(PF_FloatSliderDef, dephault, 64);
TL_AT(PF_FloatSliderDef, precision, 68);
TL_AT(PF_FloatSliderDef, display_flags, 70);
TL_AT(PF_FloatSliderDef, fs_flags, 72);
TL_AT(PF_FloatSliderDef, curve_tolerance, 76);
TL_AT(PF_FloatSliderDef, useExponent, 80);
TL_AT(PF_FloatSliderDef, exponent, 84);

TL_SIZE(PF_ArbitraryDef, 32);
TL_AT(PF_ArbitraryDef, id, 0);
TL_AT(PF_ArbitraryDef, pad, 2);
TL_AT(PF_ArbitraryDef, dephault, 8);
TL_AT(PF_ArbitraryDef, value, 16);
TL_AT(PF_ArbitraryDef, refconPV, 24);

TL_SIZE(PF_PathDef, 12);
TL_AT(PF_PathDef, reserved0, 4);
TL_AT(PF_PathDef, dephault, 8);

TL_SIZE(PF_ButtonDef, 16);
TL_AT(PF_ButtonDef, value, 0);
TL_AT(PF_ButtonDef, u, 8);

TL_SIZE(PF_Point3DDef, 64);
TL_AT(PF_Point3DDef, y_value, 8);
TL_AT(PF_Point3DDef, z_value, 16);
TL_AT(PF_Point3DDef, x_dephault, 24);
TL_AT(PF_Point3DDef, y_dephault, 32);
TL_AT(PF_Point3DDef, z_dephault, 40);
TL_AT(PF_Point3DDef, reserved, 48);

// ---------------------------------------------------------------------------------
// Command extras.

TL_SIZE(PF_UserChangedParamExtra, 4);

TL_SIZE(PF_ArbParamsExtra, 48);
TL_AT(PF_ArbParamsExtra, which_function, 0);
TL_AT(PF_ArbParamsExtra, id, 4);
TL_AT(PF_ArbParamsExtra, padding, 6);
TL_AT(PF_ArbParamsExtra, u, 8);
TL_SIZE(ArbUnion, 40);
TL_AT(ArbNew, arbPH, 8);
TL_AT(ArbDispose, arbH, 8);
TL_AT(ArbCopy, src_arbH, 8);
TL_AT(ArbCopy, dst_arbPH, 16);
TL_AT(ArbFlatSize, arbH, 8);
TL_AT(ArbFlatSize, flat_data_sizePLu, 16);
TL_AT(ArbFlatten, arbH, 8);
TL_AT(ArbFlatten, buf_sizeLu, 16);
TL_AT(ArbFlatten, flat_dataPV, 24);
TL_AT(ArbUnflatten, buf_sizeLu, 8);
TL_AT(ArbUnflatten, flat_dataPV, 16);
TL_AT(ArbUnflatten, arbPH, 24);
TL_AT(ArbInterp, left_arbH, 8);
TL_AT(ArbInterp, right_arbH, 16);
TL_AT(ArbInterp, tF, 24);
TL_AT(ArbInterp, interpPH, 32);
TL_AT(ArbCompare, a_arbH, 8);
TL_AT(ArbCompare, b_arbH, 16);
TL_AT(ArbCompare, compareP, 24);
TL_AT(ArbPrintSize, arbH, 8);
TL_AT(ArbPrintSize, print_sizePLu, 16);
TL_AT(ArbPrint, print_flags, 8);
TL_AT(ArbPrint, arbH, 16);
TL_AT(ArbPrint, print_sizeLu, 24);
TL_AT(ArbPrint, print_bufferPC, 32);
TL_AT(ArbScan, bufPC, 8);
TL_AT(ArbScan, bytes_to_scanLu, 16);
TL_AT(ArbScan, arbPH, 24);

// ---------------------------------------------------------------------------------
// SmartFX.

TL_SIZE(PF_RenderRequest, 44);
TL_AT(PF_RenderRequest, rect, 0);
TL_AT(PF_RenderRequest, field, 16);
TL_AT(PF_RenderRequest, channel_mask, 20);
TL_AT(PF_RenderRequest, preserve_rgb_of_zero_alpha, 24);
TL_AT(PF_RenderRequest, unused, 25);
TL_AT(PF_RenderRequest, reserved, 28);

TL_SIZE(PF_PreRenderInput, 64);
TL_AT(PF_PreRenderInput, output_request, 0);
TL_AT(PF_PreRenderInput, bitdepth, 44);
TL_AT(PF_PreRenderInput, gpu_data, 48);
TL_AT(PF_PreRenderInput, what_gpu, 56);
TL_AT(PF_PreRenderInput, device_index, 60);

TL_SIZE(PF_PreRenderOutput, 56);
TL_AT(PF_PreRenderOutput, result_rect, 0);
TL_AT(PF_PreRenderOutput, max_result_rect, 16);
TL_AT(PF_PreRenderOutput, solid, 32);
TL_AT(PF_PreRenderOutput, reserved, 33);
TL_AT(PF_PreRenderOutput, flags, 34);
TL_AT(PF_PreRenderOutput, pre_render_data, 40);
TL_AT(PF_PreRenderOutput, delete_pre_render_data_func, 48);

TL_SIZE(PF_PreRenderCallbacks, 16);
TL_AT(PF_PreRenderCallbacks, checkout_layer, 0);
TL_AT(PF_PreRenderCallbacks, GuidMixInPtr, 8);

TL_SIZE(PF_CheckoutResult, 76);
TL_AT(PF_CheckoutResult, result_rect, 0);
TL_AT(PF_CheckoutResult, max_result_rect, 16);
TL_AT(PF_CheckoutResult, par, 32);
TL_AT(PF_CheckoutResult, solid, 40);
TL_AT(PF_CheckoutResult, reservedB, 41);
TL_AT(PF_CheckoutResult, ref_width, 44);
TL_AT(PF_CheckoutResult, ref_height, 48);
TL_AT(PF_CheckoutResult, reserved, 52);

TL_SIZE(PF_PreRenderExtra, 24);
TL_AT(PF_PreRenderExtra, input, 0);
TL_AT(PF_PreRenderExtra, output, 8);
TL_AT(PF_PreRenderExtra, cb, 16);

TL_SIZE(PF_SmartRenderInput, 72);
TL_AT(PF_SmartRenderInput, output_request, 0);
TL_AT(PF_SmartRenderInput, bitdepth, 44);
TL_AT(PF_SmartRenderInput, pre_render_data, 48);
TL_AT(PF_SmartRenderInput, gpu_data, 56);
TL_AT(PF_SmartRenderInput, what_gpu, 64);
TL_AT(PF_SmartRenderInput, device_index, 68);

TL_SIZE(PF_SmartRenderCallbacks, 24);
TL_AT(PF_SmartRenderCallbacks, checkout_layer_pixels, 0);
TL_AT(PF_SmartRenderCallbacks, checkin_layer_pixels, 8);
TL_AT(PF_SmartRenderCallbacks, checkout_output, 16);

TL_SIZE(PF_SmartRenderExtra, 16);
TL_AT(PF_SmartRenderExtra, input, 0);
TL_AT(PF_SmartRenderExtra, cb, 8);

// ---------------------------------------------------------------------------------
// Custom user interface.

TL_SIZE(PF_CustomUIInfo, 44);
TL_AT(PF_CustomUIInfo, reserved, 0);
TL_AT(PF_CustomUIInfo, events, 4);
TL_AT(PF_CustomUIInfo, comp_ui_width, 8);
TL_AT(PF_CustomUIInfo, comp_ui_height, 12);
TL_AT(PF_CustomUIInfo, comp_ui_alignment, 16);
TL_AT(PF_CustomUIInfo, layer_ui_width, 20);
TL_AT(PF_CustomUIInfo, layer_ui_height, 24);
TL_AT(PF_CustomUIInfo, layer_ui_alignment, 28);
TL_AT(PF_CustomUIInfo, preview_ui_width, 32);
TL_AT(PF_CustomUIInfo, preview_ui_height, 36);
TL_AT(PF_CustomUIInfo, preview_ui_alignment, 40);

TL_SIZE(PF_EventExtra, 208);
TL_AT(PF_EventExtra, contextH, 0);
TL_AT(PF_EventExtra, e_type, 8);
TL_AT(PF_EventExtra, u, 16);
TL_AT(PF_EventExtra, effect_win, 80);
TL_AT(PF_EventExtra, cbs, 128);
TL_AT(PF_EventExtra, evt_in_flags, 200);
TL_AT(PF_EventExtra, evt_out_flags, 204);
TL_SIZE(PF_EventUnion, 64);

TL_SIZE(PF_EffectWindowInfo, 44);
TL_AT(PF_EffectWindowInfo, index, 0);
TL_AT(PF_EffectWindowInfo, area, 4);
TL_AT(PF_EffectWindowInfo, current_frame, 8);
TL_AT(PF_EffectWindowInfo, param_title_frame, 24);
TL_AT(PF_EffectWindowInfo, horiz_offset, 40);

TL_SIZE(PF_EventCallbacks, 72);
TL_AT(PF_EventCallbacks, refcon, 0);
TL_AT(PF_EventCallbacks, layer_to_comp, 8);
TL_AT(PF_EventCallbacks, info_draw_text, 64);

TL_SIZE(PF_DoClickEventInfo, 64);
TL_AT(PF_DoClickEventInfo, when, 0);
TL_AT(PF_DoClickEventInfo, screen_point, 4);
TL_AT(PF_DoClickEventInfo, num_clicks, 12);
TL_AT(PF_DoClickEventInfo, modifiers, 16);
TL_AT(PF_DoClickEventInfo, continue_refcon, 24);
TL_AT(PF_DoClickEventInfo, send_drag, 56);
TL_AT(PF_DoClickEventInfo, last_time, 57);

TL_SIZE(PF_DrawEventInfo, 20);
TL_AT(PF_DrawEventInfo, update_rect, 0);
TL_AT(PF_DrawEventInfo, depth, 16);

TL_SIZE(PF_KeyDownEvent, 20);
TL_AT(PF_KeyDownEvent, when, 0);
TL_AT(PF_KeyDownEvent, screen_point, 4);
TL_AT(PF_KeyDownEvent, keycode, 12);
TL_AT(PF_KeyDownEvent, modifiers, 16);

TL_SIZE(PF_AdjustCursorEventInfo, 16);
TL_AT(PF_AdjustCursorEventInfo, screen_point, 0);
TL_AT(PF_AdjustCursorEventInfo, modifiers, 8);
TL_AT(PF_AdjustCursorEventInfo, set_cursor, 12);

TL_SIZE(PF_Context, 72);
TL_AT(PF_Context, magic, 0);
TL_AT(PF_Context, w_type, 4);
TL_AT(PF_Context, reserved_flt, 8);
TL_AT(PF_Context, plugin_state, 16);
TL_AT(PF_Context, reserved_drawref, 48);
TL_AT(PF_Context, reserved_paneP, 56);
TL_AT(PF_Context, reserved_job_manageP, 64);

TL_SIZE(PF_App_Color, 6);

// ---------------------------------------------------------------------------------
// Drawbot.

TL_SIZE(DRAWBOT_ColorRGBA, 16);
TL_AT(DRAWBOT_ColorRGBA, alpha, 12);
TL_SIZE(DRAWBOT_PointF32, 8);
TL_SIZE(DRAWBOT_RectF32, 16);
TL_AT(DRAWBOT_RectF32, width, 8);
TL_SIZE(DRAWBOT_Rect32, 16);
TL_SIZE(DRAWBOT_MatrixF32, 36);
TL_SIZE(DRAWBOT_UTF16Char, 2);
TL_SIZE(DRAWBOT_Boolean, 1);
TL_SIZE(DRAWBOT_FillType, 4);
TL_SIZE(DRAWBOT_PixelLayout, 4);
TL_SIZE(DRAWBOT_TextAlignment, 4);
TL_SIZE(DRAWBOT_TextTruncation, 4);
TL_SIZE(DRAWBOT_InterpolationPolicy, 4);
TL_SIZE(DRAWBOT_AntiAliasPolicy, 4);

// ---------------------------------------------------------------------------------
// AEGP values.

TL_SIZE(AEGP_ColorVal, 32);
TL_AT(AEGP_ColorVal, alphaF, 0);
TL_AT(AEGP_ColorVal, redF, 8);
TL_AT(AEGP_ColorVal, greenF, 16);
TL_AT(AEGP_ColorVal, blueF, 24);

TL_SIZE(AEGP_StreamVal2, 32);
TL_SIZE(AEGP_StreamValue2, 40);
TL_AT(AEGP_StreamValue2, streamH, 0);
TL_AT(AEGP_StreamValue2, val, 8);
TL_SIZE(AEGP_StreamVal, 32);
TL_SIZE(AEGP_StreamValue, 40);
TL_AT(AEGP_StreamValue, val, 8);
TL_SIZE(AEGP_TwoDVal, 16);
TL_SIZE(AEGP_ThreeDVal, 24);

TL_SIZE(AEGP_MaskVertex, 48);
TL_AT(AEGP_MaskVertex, x, 0);
TL_AT(AEGP_MaskVertex, y, 8);
TL_AT(AEGP_MaskVertex, tan_in_x, 16);
TL_AT(AEGP_MaskVertex, tan_in_y, 24);
TL_AT(AEGP_MaskVertex, tan_out_x, 32);
TL_AT(AEGP_MaskVertex, tan_out_y, 40);

TL_SIZE(AEGP_KeyframeEase, 16);
TL_SIZE(AEGP_DownsampleFactor, 4);

// Collection items. The leading type is 4 bytes on Windows and 1 on macOS; the union
// after it is 8-aligned either way.
TL_SIZE(AEGP_CollectionItemV2, 56);
TL_AT(AEGP_CollectionItemV2, type, 0);
TL_AT(AEGP_CollectionItemV2, u, 8);
TL_AT(AEGP_CollectionItemV2, stream_refH, 48);
TL_SIZE(CollectionUnion, 40);
TL_SIZE(AEGP_LayerCollectionItem, 8);
TL_SIZE(AEGP_MaskCollectionItem, 16);
TL_AT(AEGP_MaskCollectionItem, index, 8);
TL_SIZE(AEGP_EffectCollectionItem, 16);
TL_AT(AEGP_EffectCollectionItem, index, 8);
TL_SIZE(AEGP_StreamCollectionItem, 32);
TL_AT(AEGP_StreamCollectionItem, type, 0);
TL_AT(AEGP_StreamCollectionItem, u, 8);
TL_SIZE(StreamCollectionUnion, 24);
TL_SIZE(AEGP_LayerStreamCollectionItem, 16);
TL_AT(AEGP_LayerStreamCollectionItem, layer_stream, 8);
TL_SIZE(AEGP_MaskStreamCollectionItem, 24);
TL_AT(AEGP_MaskStreamCollectionItem, mask_stream, 16);
TL_SIZE(AEGP_EffectStreamCollectionItem, 24);
TL_AT(AEGP_EffectStreamCollectionItem, param_index, 16);
TL_SIZE(AEGP_MaskVertexCollectionItem, 24);
TL_AT(AEGP_MaskVertexCollectionItem, index, 16);
TL_SIZE(AEGP_KeyframeCollectionItem, 40);
TL_AT(AEGP_KeyframeCollectionItem, index, 32);

// ---------------------------------------------------------------------------------
// Suite tables.

// Slot counts.
TL_SLOTS(SPBasicSuite, 7);
TL_SLOTS(PF_HandleSuite1, 6);
TL_SLOTS(PFAppSuite4, 11);
TL_SLOTS(PF_EffectCustomUISuite1, 1);
TL_SLOTS(PF_ParamUtilsSuite1, 10);
TL_SLOTS(PF_AdvAppSuite2, 11);
TL_SLOTS(DRAWBOT_DrawbotSuite1, 2);
TL_SLOTS(DRAWBOT_SupplierSuite1, 13);
TL_SLOTS(DRAWBOT_SurfaceSuite2, 17);
TL_SLOTS(DRAWBOT_PathSuite1, 6);
TL_SLOTS(AEGP_UtilitySuite5, 31);
TL_SLOTS(AEGP_CompositeSuite2, 6);
TL_SLOTS(AEGP_PFInterfaceSuite1, 5);
TL_SLOTS(AEGP_LayerSuite5, 46);
TL_SLOTS(AEGP_LayerSuite7, 48);
TL_SLOTS(AEGP_EffectSuite2, 17);
TL_SLOTS(AEGP_EffectSuite3, 17);
TL_SLOTS(AEGP_StreamSuite2, 22);
TL_SLOTS(AEGP_StreamSuite3, 22);
TL_SLOTS(AEGP_StreamSuite4, 22);
TL_SLOTS(AEGP_DynamicStreamSuite4, 26);
TL_SLOTS(AEGP_KeyframeSuite4, 20);
TL_SLOTS(AEGP_CompSuite5, 30);
TL_SLOTS(AEGP_CompSuite7, 34);
TL_SLOTS(AEGP_CompSuite8, 37);
TL_SLOTS(AEGP_CollectionSuite2, 6);
TL_SLOTS(AEGP_ItemSuite8, 27);
TL_SLOTS(AEGP_ProjSuite5, 14);
TL_SLOTS(AEGP_MaskOutlineSuite2, 7);
TL_SLOTS(AEGP_MemorySuite1, 8);

// Slots of the functions the plug-in calls, and the slots that move between versions.
TL_SLOT(SPBasicSuite, AcquireSuite, 0);
TL_SLOT(SPBasicSuite, ReleaseSuite, 1);

TL_SLOT(PF_HandleSuite1, host_new_handle, 0);
TL_SLOT(PF_HandleSuite1, host_lock_handle, 1);
TL_SLOT(PF_HandleSuite1, host_unlock_handle, 2);
TL_SLOT(PF_HandleSuite1, host_dispose_handle, 3);

TL_SLOT(PFAppSuite4, PF_AppGetBgColor, 0);
TL_SLOT(PFAppSuite4, PF_InvalidateRect, 8);

TL_SLOT(PF_EffectCustomUISuite1, PF_GetDrawingReference, 0);

TL_SLOT(PF_ParamUtilsSuite1, PF_UpdateParamUI, 0);

TL_SLOT(PF_AdvAppSuite2, PF_InfoDrawText3Plus, 9);

TL_SLOT(DRAWBOT_DrawbotSuite1, GetSupplier, 0);
TL_SLOT(DRAWBOT_DrawbotSuite1, GetSurface, 1);

TL_SLOT(DRAWBOT_SupplierSuite1, NewPen, 0);
TL_SLOT(DRAWBOT_SupplierSuite1, NewBrush, 1);
TL_SLOT(DRAWBOT_SupplierSuite1, SupportsText, 2);
TL_SLOT(DRAWBOT_SupplierSuite1, GetDefaultFontSize, 3);
TL_SLOT(DRAWBOT_SupplierSuite1, NewDefaultFont, 4);
TL_SLOT(DRAWBOT_SupplierSuite1, NewImageFromBuffer, 5);
TL_SLOT(DRAWBOT_SupplierSuite1, NewPath, 6);
TL_SLOT(DRAWBOT_SupplierSuite1, SupportsPixelLayoutBGRA, 7);
TL_SLOT(DRAWBOT_SupplierSuite1, PrefersPixelLayoutBGRA, 8);
TL_SLOT(DRAWBOT_SupplierSuite1, SupportsPixelLayoutARGB, 9);
TL_SLOT(DRAWBOT_SupplierSuite1, PrefersPixelLayoutARGB, 10);
TL_SLOT(DRAWBOT_SupplierSuite1, RetainObject, 11);
TL_SLOT(DRAWBOT_SupplierSuite1, ReleaseObject, 12);

TL_SLOT(DRAWBOT_SurfaceSuite2, PushStateStack, 0);
TL_SLOT(DRAWBOT_SurfaceSuite2, PopStateStack, 1);
TL_SLOT(DRAWBOT_SurfaceSuite2, PaintRect, 2);
TL_SLOT(DRAWBOT_SurfaceSuite2, FillPath, 3);
TL_SLOT(DRAWBOT_SurfaceSuite2, StrokePath, 4);
TL_SLOT(DRAWBOT_SurfaceSuite2, Clip, 5);
TL_SLOT(DRAWBOT_SurfaceSuite2, GetClipBounds, 6);
TL_SLOT(DRAWBOT_SurfaceSuite2, IsWithinClipBounds, 7);
TL_SLOT(DRAWBOT_SurfaceSuite2, Transform, 8);
TL_SLOT(DRAWBOT_SurfaceSuite2, DrawString, 9);
TL_SLOT(DRAWBOT_SurfaceSuite2, DrawImage, 10);
TL_SLOT(DRAWBOT_SurfaceSuite2, SetInterpolationPolicy, 11);
TL_SLOT(DRAWBOT_SurfaceSuite2, GetInterpolationPolicy, 12);
TL_SLOT(DRAWBOT_SurfaceSuite2, SetAntiAliasPolicy, 13);
TL_SLOT(DRAWBOT_SurfaceSuite2, GetAntiAliasPolicy, 14);
TL_SLOT(DRAWBOT_SurfaceSuite2, Flush, 15);
TL_SLOT(DRAWBOT_SurfaceSuite2, GetTransformToScreenScale, 16);

TL_SLOT(DRAWBOT_PathSuite1, MoveTo, 0);
TL_SLOT(DRAWBOT_PathSuite1, LineTo, 1);
TL_SLOT(DRAWBOT_PathSuite1, BezierTo, 2);
TL_SLOT(DRAWBOT_PathSuite1, AddRect, 3);
TL_SLOT(DRAWBOT_PathSuite1, AddArc, 4);
TL_SLOT(DRAWBOT_PathSuite1, Close, 5);

TL_SLOT(AEGP_UtilitySuite5, AEGP_StartUndoGroup, 6);
TL_SLOT(AEGP_UtilitySuite5, AEGP_EndUndoGroup, 7);
TL_SLOT(AEGP_UtilitySuite5, AEGP_RegisterWithAEGP, 8);

TL_SLOT(AEGP_CompositeSuite2, AEGP_CopyBits_LQ, 3);
TL_SLOT(AEGP_CompositeSuite2, AEGP_CopyBits_HQ_Straight, 4);
TL_SLOT(AEGP_CompositeSuite2, AEGP_CopyBits_HQ_Premul, 5);

TL_SLOT(AEGP_PFInterfaceSuite1, AEGP_GetEffectLayer, 0);
TL_SLOT(AEGP_PFInterfaceSuite1, AEGP_GetNewEffectForEffect, 1);

TL_SLOT(AEGP_LayerSuite5, AEGP_GetCompNumLayers, 0);
TL_SLOT(AEGP_LayerSuite5, AEGP_GetCompLayerByIndex, 1);
TL_SLOT(AEGP_LayerSuite5, AEGP_GetLayerIndex, 3);
TL_SLOT(AEGP_LayerSuite5, AEGP_GetLayerParentComp, 6);
TL_SLOT(AEGP_LayerSuite5, AEGP_GetLayerName, 7);
TL_SLOT(AEGP_LayerSuite5, AEGP_SetLayerFlag, 11);
TL_SLOT(AEGP_LayerSuite5, AEGP_GetLayerInPoint, 15);
TL_SLOT(AEGP_LayerSuite5, AEGP_GetLayerDuration, 16);
TL_SLOT(AEGP_LayerSuite5, AEGP_AddLayer, 25);
TL_SLOT(AEGP_LayerSuite5, AEGP_GetLayerObjectType, 28);
TL_SLOT(AEGP_LayerSuite5, AEGP_GetLayerID, 37);
TL_SLOT(AEGP_LayerSuite5, AEGP_SetLayerName, 40);
TL_SLOT(AEGP_LayerSuite5, AEGP_GetLayerFromLayerID, 45);

TL_SLOT(AEGP_LayerSuite7, AEGP_GetCompNumLayers, 0);
TL_SLOT(AEGP_LayerSuite7, AEGP_GetCompLayerByIndex, 1);
TL_SLOT(AEGP_LayerSuite7, AEGP_GetLayerIndex, 3);
TL_SLOT(AEGP_LayerSuite7, AEGP_GetLayerParentComp, 6);
TL_SLOT(AEGP_LayerSuite7, AEGP_GetLayerName, 7);
TL_SLOT(AEGP_LayerSuite7, AEGP_SetLayerFlag, 11);
TL_SLOT(AEGP_LayerSuite7, AEGP_GetLayerInPoint, 15);
TL_SLOT(AEGP_LayerSuite7, AEGP_GetLayerDuration, 16);
TL_SLOT(AEGP_LayerSuite7, AEGP_AddLayer, 25);
TL_SLOT(AEGP_LayerSuite7, AEGP_GetLayerObjectType, 28);
TL_SLOT(AEGP_LayerSuite7, AEGP_GetLayerID, 37);
TL_SLOT(AEGP_LayerSuite7, AEGP_SetLayerName, 40);
TL_SLOT(AEGP_LayerSuite7, AEGP_GetLayerFromLayerID, 45);
TL_SLOT(AEGP_LayerSuite7, AEGP_GetLayerLabel, 46);
TL_SLOT(AEGP_LayerSuite7, AEGP_SetLayerLabel, 47);

TL_SLOT(AEGP_EffectSuite2, AEGP_GetLayerNumEffects, 0);
TL_SLOT(AEGP_EffectSuite2, AEGP_GetLayerEffectByIndex, 1);
TL_SLOT(AEGP_EffectSuite2, AEGP_GetInstalledKeyFromLayerEffect, 2);
TL_SLOT(AEGP_EffectSuite2, AEGP_DisposeEffect, 8);
TL_SLOT(AEGP_EffectSuite2, AEGP_GetEffectMatchName, 14);

TL_SLOT(AEGP_EffectSuite3, AEGP_GetLayerNumEffects, 0);
TL_SLOT(AEGP_EffectSuite3, AEGP_GetLayerEffectByIndex, 1);
TL_SLOT(AEGP_EffectSuite3, AEGP_GetInstalledKeyFromLayerEffect, 2);
TL_SLOT(AEGP_EffectSuite3, AEGP_DisposeEffect, 8);
TL_SLOT(AEGP_EffectSuite3, AEGP_GetEffectMatchName, 14);

TL_SLOT(AEGP_StreamSuite2, AEGP_CanVaryOverTime, 1);
TL_SLOT(AEGP_StreamSuite2, AEGP_GetNewLayerStream, 3);
TL_SLOT(AEGP_StreamSuite2, AEGP_GetEffectNumParamStreams, 4);
TL_SLOT(AEGP_StreamSuite2, AEGP_GetNewEffectStreamByIndex, 5);
TL_SLOT(AEGP_StreamSuite2, AEGP_DisposeStream, 7);
TL_SLOT(AEGP_StreamSuite2, AEGP_GetStreamName, 8);
TL_SLOT(AEGP_StreamSuite2, AEGP_IsStreamTimevarying, 11);
TL_SLOT(AEGP_StreamSuite2, AEGP_GetNewStreamValue, 13);
TL_SLOT(AEGP_StreamSuite2, AEGP_DisposeStreamValue, 14);
TL_SLOT(AEGP_StreamSuite2, AEGP_SetStreamValue, 15);
TL_SLOT(AEGP_StreamSuite2, AEGP_GetExpressionState, 17);
TL_SLOT(AEGP_StreamSuite2, AEGP_SetExpressionState, 18);
TL_SLOT(AEGP_StreamSuite2, AEGP_SetExpression, 20);

TL_SLOT(AEGP_StreamSuite3, AEGP_CanVaryOverTime, 1);
TL_SLOT(AEGP_StreamSuite3, AEGP_GetNewLayerStream, 3);
TL_SLOT(AEGP_StreamSuite3, AEGP_GetEffectNumParamStreams, 4);
TL_SLOT(AEGP_StreamSuite3, AEGP_GetNewEffectStreamByIndex, 5);
TL_SLOT(AEGP_StreamSuite3, AEGP_DisposeStream, 7);
TL_SLOT(AEGP_StreamSuite3, AEGP_GetStreamName, 8);
TL_SLOT(AEGP_StreamSuite3, AEGP_IsStreamTimevarying, 11);
TL_SLOT(AEGP_StreamSuite3, AEGP_GetNewStreamValue, 13);
TL_SLOT(AEGP_StreamSuite3, AEGP_DisposeStreamValue, 14);
TL_SLOT(AEGP_StreamSuite3, AEGP_SetStreamValue, 15);
TL_SLOT(AEGP_StreamSuite3, AEGP_GetExpressionState, 17);
TL_SLOT(AEGP_StreamSuite3, AEGP_SetExpressionState, 18);
TL_SLOT(AEGP_StreamSuite3, AEGP_SetExpression, 20);

TL_SLOT(AEGP_StreamSuite4, AEGP_CanVaryOverTime, 1);
TL_SLOT(AEGP_StreamSuite4, AEGP_GetNewLayerStream, 3);
TL_SLOT(AEGP_StreamSuite4, AEGP_GetEffectNumParamStreams, 4);
TL_SLOT(AEGP_StreamSuite4, AEGP_GetNewEffectStreamByIndex, 5);
TL_SLOT(AEGP_StreamSuite4, AEGP_DisposeStream, 7);
TL_SLOT(AEGP_StreamSuite4, AEGP_GetStreamName, 8);
TL_SLOT(AEGP_StreamSuite4, AEGP_IsStreamTimevarying, 11);
TL_SLOT(AEGP_StreamSuite4, AEGP_GetNewStreamValue, 13);
TL_SLOT(AEGP_StreamSuite4, AEGP_DisposeStreamValue, 14);
TL_SLOT(AEGP_StreamSuite4, AEGP_SetStreamValue, 15);
TL_SLOT(AEGP_StreamSuite4, AEGP_GetExpressionState, 17);
TL_SLOT(AEGP_StreamSuite4, AEGP_SetExpressionState, 18);
TL_SLOT(AEGP_StreamSuite4, AEGP_SetExpression, 20);

TL_SLOT(AEGP_DynamicStreamSuite4, AEGP_GetNewStreamRefForLayer, 0);
TL_SLOT(AEGP_DynamicStreamSuite4, AEGP_GetStreamGroupingType, 3);
TL_SLOT(AEGP_DynamicStreamSuite4, AEGP_GetNumStreamsInGroup, 4);
TL_SLOT(AEGP_DynamicStreamSuite4, AEGP_GetDynamicStreamFlags, 5);
TL_SLOT(AEGP_DynamicStreamSuite4, AEGP_SetDynamicStreamFlag, 6);
TL_SLOT(AEGP_DynamicStreamSuite4, AEGP_GetNewStreamRefByIndex, 7);
TL_SLOT(AEGP_DynamicStreamSuite4, AEGP_GetNewStreamRefByMatchname, 8);
TL_SLOT(AEGP_DynamicStreamSuite4, AEGP_AddStream, 14);
TL_SLOT(AEGP_DynamicStreamSuite4, AEGP_GetMatchName, 15);
TL_SLOT(AEGP_DynamicStreamSuite4, AEGP_GetNewParentStreamRef, 16);

TL_SLOT(AEGP_KeyframeSuite4, AEGP_GetStreamNumKFs, 0);
TL_SLOT(AEGP_KeyframeSuite4, AEGP_DeleteKeyframe, 3);
TL_SLOT(AEGP_KeyframeSuite4, AEGP_StartAddKeyframes, 16);
TL_SLOT(AEGP_KeyframeSuite4, AEGP_AddKeyframes, 17);
TL_SLOT(AEGP_KeyframeSuite4, AEGP_SetAddKeyframe, 18);
TL_SLOT(AEGP_KeyframeSuite4, AEGP_EndAddKeyframes, 19);

TL_SLOT(AEGP_CompSuite5, AEGP_GetItemFromComp, 1);
TL_SLOT(AEGP_CompSuite5, AEGP_GetCompFramerate, 7);
TL_SLOT(AEGP_CompSuite5, AEGP_GetCompWorkAreaStart, 11);
TL_SLOT(AEGP_CompSuite5, AEGP_GetCompWorkAreaDuration, 12);
TL_SLOT(AEGP_CompSuite5, AEGP_CreateComp, 17);
TL_SLOT(AEGP_CompSuite5, AEGP_SetSelection, 19);
TL_SLOT(AEGP_CompSuite5, AEGP_GetCompFrameDuration, 28);

TL_SLOT(AEGP_CompSuite7, AEGP_GetItemFromComp, 1);
TL_SLOT(AEGP_CompSuite7, AEGP_GetCompFramerate, 7);
TL_SLOT(AEGP_CompSuite7, AEGP_GetCompWorkAreaStart, 13);
TL_SLOT(AEGP_CompSuite7, AEGP_GetCompWorkAreaDuration, 14);
TL_SLOT(AEGP_CompSuite7, AEGP_CreateComp, 19);
TL_SLOT(AEGP_CompSuite7, AEGP_SetSelection, 21);
TL_SLOT(AEGP_CompSuite7, AEGP_GetCompFrameDuration, 30);
TL_SLOT(AEGP_CompSuite7, AEGP_CreateVectorLayerInComp, 32);

TL_SLOT(AEGP_CompSuite8, AEGP_GetItemFromComp, 1);
TL_SLOT(AEGP_CompSuite8, AEGP_GetCompFramerate, 7);
TL_SLOT(AEGP_CompSuite8, AEGP_GetCompWorkAreaStart, 13);
TL_SLOT(AEGP_CompSuite8, AEGP_GetCompWorkAreaDuration, 14);
TL_SLOT(AEGP_CompSuite8, AEGP_CreateComp, 19);
TL_SLOT(AEGP_CompSuite8, AEGP_SetSelection, 21);
TL_SLOT(AEGP_CompSuite8, AEGP_GetCompFrameDuration, 31);
TL_SLOT(AEGP_CompSuite8, AEGP_CreateVectorLayerInComp, 33);

TL_SLOT(AEGP_CollectionSuite2, AEGP_NewCollection, 0);
TL_SLOT(AEGP_CollectionSuite2, AEGP_DisposeCollection, 1);
TL_SLOT(AEGP_CollectionSuite2, AEGP_CollectionPushBack, 4);

TL_SLOT(AEGP_ItemSuite8, AEGP_GetFirstProjItem, 0);
TL_SLOT(AEGP_ItemSuite8, AEGP_GetNextProjItem, 1);
TL_SLOT(AEGP_ItemSuite8, AEGP_GetItemType, 5);
TL_SLOT(AEGP_ItemSuite8, AEGP_GetItemName, 7);
TL_SLOT(AEGP_ItemSuite8, AEGP_GetItemDuration, 14);
TL_SLOT(AEGP_ItemSuite8, AEGP_GetItemPixelAspectRatio, 17);

TL_SLOT(AEGP_ProjSuite5, AEGP_GetProjectByIndex, 1);

TL_SLOT(AEGP_MaskOutlineSuite2, AEGP_SetMaskOutlineOpen, 1);
TL_SLOT(AEGP_MaskOutlineSuite2, AEGP_GetMaskOutlineVertexInfo, 3);
TL_SLOT(AEGP_MaskOutlineSuite2, AEGP_SetMaskOutlineVertexInfo, 4);
TL_SLOT(AEGP_MaskOutlineSuite2, AEGP_CreateVertex, 5);

TL_SLOT(AEGP_MemorySuite1, AEGP_FreeMemHandle, 1);
TL_SLOT(AEGP_MemorySuite1, AEGP_LockMemHandle, 2);
TL_SLOT(AEGP_MemorySuite1, AEGP_GetMemHandleSize, 4);
