// The module's two exported functions: registration, and the command entry that routes every
// host command to its handler.

#include <new>
#include <type_traits>

#include "AE_Effect.h"
#include "AE_EffectUI.h"
#include "SPBasic.h"
#include "panel/ModulePanel.h"
#include "params/ParamsSetup.h"
#include "shell/About.h"
#include "shell/ArbData.h"
#include "shell/GlobalSetup.h"
#include "shell/Identity.h"
#include "shell/Render.h"
#include "shell/SuiteHelper.h"
#include "shell/UserMessage.h"
#include "style/ChangeHandling.h"

namespace {

// The one place where a failure raised inside a command becomes the command's error, so that
// nothing unwinds into the host: a thrown host error code (a missing suite) is returned as it
// is, a failure with a message for the user is shown through the output record (when there is
// one) and returned with its code, an exhausted allocation as out-of-memory, anything else as
// internal damage.
template <class Command>
PF_Err Guarded(PF_InData* in_data, PF_OutData* out_data, Command&& command) noexcept {
    try {
        return command();
    } catch (A_Err err) {
        return err;
    } catch (const UserMessageError& failure) {
        suite_helper_detail::ReportSuiteError(in_data, out_data, failure.message.c_str(),
                                              failure.message.c_str());
        return failure.code;
    } catch (const std::bad_alloc&) {
        return PF_Err_OUT_OF_MEMORY;
    } catch (...) {
        return PF_Err_INTERNAL_STRUCT_DAMAGED;
    }
}

PF_Err HandleEvent(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                   PF_LayerDef* output, PF_EventExtra* event) {
    switch (event->e_type) {
        case PF_Event_DRAW:
            return DrawEvent(in_data, out_data, params, output, event);
        case PF_Event_DO_CLICK:
            return DoClick(in_data, out_data, params, output, event);
        default:
            return PF_Err_NONE;
    }
}

// Commands whose extra record the handler cannot do without.
bool NeedsExtra(PF_Cmd cmd) {
    return cmd == PF_Cmd_USER_CHANGED_PARAM || cmd == PF_Cmd_EVENT ||
           cmd == PF_Cmd_ARBITRARY_CALLBACK || cmd == PF_Cmd_SMART_PRE_RENDER ||
           cmd == PF_Cmd_SMART_RENDER;
}

PF_Err Dispatch(PF_Cmd cmd, PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                PF_LayerDef* output, void* extra) {
    if (extra == nullptr && NeedsExtra(cmd)) return PF_Err_BAD_CALLBACK_PARAM;
    switch (cmd) {
        case PF_Cmd_ABOUT:
            return About(in_data, out_data);
        case PF_Cmd_GLOBAL_SETUP:
            return GlobalSetup(in_data, out_data);
        case PF_Cmd_PARAMS_SETUP:
            return ParamsSetup(in_data, out_data);
        case PF_Cmd_RENDER:
            return Render(in_data, out_data, params, output);
        case PF_Cmd_USER_CHANGED_PARAM:
            return HandleChangedParam(in_data, out_data, params, output,
                                      static_cast<const PF_UserChangedParamExtra*>(extra));
        case PF_Cmd_UPDATE_PARAMS_UI:
            return HandleChangedParam(in_data, out_data, params, output, nullptr);
        case PF_Cmd_EVENT:
            return HandleEvent(in_data, out_data, params, output,
                               static_cast<PF_EventExtra*>(extra));
        case PF_Cmd_ARBITRARY_CALLBACK:
            return HandleArbCallback(in_data, out_data, params,
                                     static_cast<PF_ArbParamsExtra*>(extra));
        case PF_Cmd_SMART_PRE_RENDER:
            return SmartPreRender(in_data, out_data, static_cast<PF_PreRenderExtra*>(extra));
        case PF_Cmd_SMART_RENDER:
            return SmartRender(in_data, out_data, static_cast<PF_SmartRenderExtra*>(extra));
        default:
            // Sequence setup and every other command: nothing to do.
            return PF_Err_NONE;
    }
}

const A_u_char* Text(const char* s) {
    return reinterpret_cast<const A_u_char*>(s);
}

}  // namespace

extern "C" DllExport PF_Err PluginDataEntryFunction(PF_PluginDataPtr inPtr,
                                                    PF_PluginDataCB inPluginDataCallBackPtr,
                                                    SPBasicSuite* /*inSPBasicSuitePtr*/,
                                                    const char* /*inHostName*/,
                                                    const char* /*inHostVersion*/) {
    if (inPluginDataCallBackPtr == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
    return Guarded(nullptr, nullptr, [&] {
        return inPluginDataCallBackPtr(
            inPtr, Text(identity::kDisplayName), Text(identity::kMatchName),
            Text(identity::kCategory), Text(identity::kEntryPointName),
            static_cast<A_long>(identity::kKind), identity::kApiVersionMajor,
            identity::kApiVersionMinor, identity::kReservedInfo);
    });
}

extern "C" DllExport PF_Err EffectMain(PF_Cmd cmd, PF_InData* in_data, PF_OutData* out_data,
                                       PF_ParamDef* params[], PF_LayerDef* output, void* extra) {
    if (in_data == nullptr || out_data == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
    return Guarded(in_data, out_data,
                   [&] { return Dispatch(cmd, in_data, out_data, params, output, extra); });
}

// The exported functions must keep the host's exact signatures.
static_assert(std::is_same_v<decltype(&EffectMain), PF_EffectMainFunc>, "EffectMain signature");
static_assert(std::is_same_v<decltype(&PluginDataEntryFunction), PF_PluginDataEntryFunc>,
              "PluginDataEntryFunction signature");
