#include "shell/GlobalSetup.h"

#include "AE_EffectCB.h"
#include "shell/HandleLock.h"
#include "shell/Identity.h"
#include "shell/SuiteHandler.h"

// The flags answered here and written into the registration resource come from one table;
// spelled out they are these host flags.
static_assert(identity::kOutFlags == (PF_OutFlag_PIX_INDEPENDENT | PF_OutFlag_CUSTOM_UI |
                                      PF_OutFlag_I_AM_OBSOLETE | PF_OutFlag_DEEP_COLOR_AWARE),
              "out_flags");
static_assert(identity::kOutFlags2 ==
                  (PF_OutFlag2_PARAM_GROUP_START_COLLAPSED_FLAG |
                   PF_OutFlag2_SUPPORTS_SMART_RENDER | PF_OutFlag2_FLOAT_COLOR_AWARE |
                   PF_OutFlag2_SUPPORTS_THREADED_RENDERING),
              "out_flags2");
static_assert(sizeof(AEGP_PluginID) == 4, "the global data block holds a 32-bit identifier");

PF_Err GlobalSetup(PF_InData* in_data, PF_OutData* out_data) {
    AEGP_SuiteHandler suites(in_data->pica_basicP);
    const PF_HandleSuite1* handles = suites.HandleSuite1();

    // Without its identifier every later host call that needs it would fail with an unrelated
    // error, so a failure here fails the command.
    PF_Err err = PF_Err_OUT_OF_MEMORY;
    PF_Handle globalH = handles->host_new_handle(sizeof(AEGP_PluginID));
    if (globalH != nullptr) {
        // The block is the host's only once it is the global data; on every other
        // path, including a missing suite thrown from the registration step, it is
        // freed here instead of being lost.
        struct DisposeUnlessKept {
            const PF_HandleSuite1* handles;
            PF_Handle handle;
            const PF_OutData* out;
            ~DisposeUnlessKept() {
                if (out->global_data != handle) handles->host_dispose_handle(handle);
            }
        } keep_or_free{handles, globalH, out_data};
        ScopedHandleLock lock(handles, globalH);
        if (lock.get() != nullptr) {
            err = suites.UtilitySuite5()->AEGP_RegisterWithAEGP(nullptr, identity::kDisplayName,
                                                                lock.as<AEGP_PluginID>());
            if (err == A_Err_NONE) out_data->global_data = globalH;
        }
    }

    out_data->my_version = identity::kMyVersion;
    out_data->out_flags = static_cast<PF_OutFlags>(identity::kOutFlags);
    out_data->out_flags2 = static_cast<PF_OutFlags2>(identity::kOutFlags2);
    return err;
}

PF_Err GetPluginID(const PF_InData* in_data, AEGP_PluginID* id) {
    *id = 0;
    if (in_data == nullptr || in_data->global_data == nullptr || in_data->utils == nullptr) {
        return PF_Err_INTERNAL_STRUCT_DAMAGED;
    }
    PF_Err err = PF_Err_OUT_OF_MEMORY;
    PF_Handle globalH = in_data->global_data;
    if (const void* block = in_data->utils->host_lock_handle(globalH)) {
        *id = *static_cast<const AEGP_PluginID*>(block);
        err = PF_Err_NONE;
    }
    in_data->utils->host_unlock_handle(globalH);
    return err;
}
