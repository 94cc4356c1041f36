#include "shell/ArbData.h"

#include <cstring>

#include "AE_EffectCB.h"
#include "shell/HandleLock.h"
#include "shell/RunningError.h"
#include "shell/SuiteHandler.h"

namespace {

bool IsOurRefcon(const void* refconPV) {
    return static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(refconPV)) ==
           kModuleStateRefcon;
}

PF_Err NewArb(PF_InData* in_data, PF_OutData* out_data, PF_ArbParamsExtra* extra) {
    const auto& p = extra->u.new_func_params;
    if (!IsOurRefcon(p.refconPV)) return PF_Err_INTERNAL_STRUCT_DAMAGED;
    return CreateDefaultArb(in_data, out_data, p.arbPH);
}

PF_Err DisposeArb(PF_InData* in_data, PF_ArbParamsExtra* extra) {
    const auto& p = extra->u.dispose_func_params;
    if (!IsOurRefcon(p.refconPV)) return PF_Err_INTERNAL_STRUCT_DAMAGED;
    if (p.arbH != nullptr) in_data->utils->host_dispose_handle(p.arbH);
    return PF_Err_NONE;
}

PF_Err CopyArb(PF_InData* in_data, PF_OutData* out_data, PF_ArbParamsExtra* extra) {
    const auto& p = extra->u.copy_func_params;
    if (!IsOurRefcon(p.refconPV)) return PF_Err_NONE;
    if (p.dst_arbPH == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
    const PF_ArbitraryH before = *p.dst_arbPH;
    RunningError err;
    err.Call(CreateDefaultArb, in_data, out_data, p.dst_arbPH)
        .Call(Arb_Copy, in_data, out_data, p.src_arbH, p.dst_arbPH);
    if (!err.ok() && *p.dst_arbPH != before) {
        // A copy that failed half-way is not handed over.
        in_data->utils->host_dispose_handle(*p.dst_arbPH);
        *p.dst_arbPH = before;
    }
    return err.get();
}

PF_Err FlatSize(PF_ArbParamsExtra* extra) {
    const auto& p = extra->u.flat_size_func_params;
    if (p.flat_data_sizePLu != nullptr) *p.flat_data_sizePLu = kModuleStateSize;
    return PF_Err_NONE;
}

PF_Err FlattenArb(PF_InData* in_data, PF_ArbParamsExtra* extra) {
    const auto& p = extra->u.flatten_func_params;
    if (p.buf_sizeLu != kModuleStateSize) return PF_Err_NONE;
    // Whatever the host's buffer holds would be saved as the record: there is no record to
    // flatten, or nowhere to put it, only by the host's mistake.
    if (p.arbH == nullptr || p.flat_dataPV == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
    if (!HoldsModuleState(in_data, p.arbH)) return kDamagedRecord;
    AEGP_SuiteHandler suites(in_data->pica_basicP);
    ScopedHandleLock lock(suites.HandleSuite1(), p.arbH);
    if (lock.get() == nullptr) return PF_Err_OUT_OF_MEMORY;
    std::memcpy(p.flat_dataPV, lock.get(), kModuleStateSize);
    return PF_Err_NONE;
}

PF_Err UnflattenArb(PF_InData* in_data, PF_ArbParamsExtra* extra) {
    const auto& p = extra->u.unflatten_func_params;
    if (p.buf_sizeLu != kModuleStateSize) return PF_Err_NONE;
    if (p.arbPH == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
    AEGP_SuiteHandler suites(in_data->pica_basicP);
    const PF_HandleSuite1* handles = suites.HandleSuite1();
    PF_ArbitraryH arbH = handles->host_new_handle(kModuleStateSize);
    if (arbH == nullptr) return PF_Err_OUT_OF_MEMORY;
    {
        ScopedHandleLock lock(handles, arbH);
        if (lock.get() != nullptr) {
            // A record is never handed over with bytes the host left in the block.
            std::memset(lock.get(), 0, kModuleStateSize);
            if (p.flat_dataPV != nullptr) std::memcpy(lock.get(), p.flat_dataPV, kModuleStateSize);
            *p.arbPH = arbH;
            return PF_Err_NONE;
        }
    }
    // The block could not be locked (its content is unknown): the handle is not handed over,
    // so it is freed here.
    handles->host_dispose_handle(arbH);
    return PF_Err_OUT_OF_MEMORY;
}

}  // namespace

PF_Err CreateDefaultArb(PF_InData* in_data, PF_OutData* /*out_data*/, PF_ArbitraryH* arbPH) {
    if (arbPH == nullptr) return PF_Err_BAD_CALLBACK_PARAM;
    AEGP_SuiteHandler suites(in_data->pica_basicP);
    const PF_HandleSuite1* handles = suites.HandleSuite1();
    PF_ArbitraryH arbH = handles->host_new_handle(kModuleStateSize);
    if (arbH == nullptr) return PF_Err_OUT_OF_MEMORY;

    PF_Err result = PF_Err_OUT_OF_MEMORY;
    if (void* data = in_data->utils->host_lock_handle(arbH)) {
        std::memset(data, 0, kModuleStateSize);
        *arbPH = arbH;
        result = PF_Err_NONE;
    }
    handles->host_unlock_handle(arbH);
    // A handle that was not handed over would otherwise be lost.
    if (result != PF_Err_NONE) handles->host_dispose_handle(arbH);
    return result;
}

PF_Err Arb_Copy(PF_InData* in_data, PF_OutData* /*out_data*/, PF_ArbitraryH srcH,
                PF_ArbitraryH* dstPH) {
    if (srcH == nullptr) return PF_Err_NONE;
    AEGP_SuiteHandler suites(in_data->pica_basicP);
    const PF_HandleSuite1* handles = suites.HandleSuite1();

    PF_ArbitraryH dstH = dstPH != nullptr ? *dstPH : nullptr;
    // Ten bytes are read from the source and written into the destination.
    if (!HoldsModuleState(in_data, srcH) || (dstH != nullptr && !HoldsModuleState(in_data, dstH))) {
        return kDamagedRecord;
    }
    const void* src = handles->host_lock_handle(srcH);
    if (src == nullptr) {
        handles->host_unlock_handle(srcH);
        return PF_Err_OUT_OF_MEMORY;
    }

    PF_Err result = PF_Err_NONE;
    if (dstH != nullptr) {
        void* dst = handles->host_lock_handle(dstH);
        if (dst == nullptr) {
            result = PF_Err_OUT_OF_MEMORY;
            handles->host_unlock_handle(dstH);
        } else {
            // The record is 10 bytes: one 8-byte and one 2-byte move.
            std::memcpy(dst, src, 8);
            std::memcpy(static_cast<char*>(dst) + 8, static_cast<const char*>(src) + 8, 2);
            handles->host_unlock_handle(dstH);
            result = PF_Err_NONE;
        }
    }
    handles->host_unlock_handle(srcH);
    return result;
}

bool HoldsModuleState(const PF_InData* in_data, PF_Handle handle) {
    return in_data->utils->host_get_handle_size(handle) >= kModuleStateSize;
}

PF_Err HandleArbCallback(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* /*params*/[],
                         PF_ArbParamsExtra* extra) {
    switch (extra->which_function) {
        case PF_Arbitrary_NEW_FUNC:
            return NewArb(in_data, out_data, extra);
        case PF_Arbitrary_DISPOSE_FUNC:
            return DisposeArb(in_data, extra);
        case PF_Arbitrary_COPY_FUNC:
            return CopyArb(in_data, out_data, extra);
        case PF_Arbitrary_FLAT_SIZE_FUNC:
            return FlatSize(extra);
        case PF_Arbitrary_FLATTEN_FUNC:
            return FlattenArb(in_data, extra);
        case PF_Arbitrary_UNFLATTEN_FUNC:
            return UnflattenArb(in_data, extra);
        default:
            // Interpolation, comparison, printing and scanning are not supported.
            return PF_Err_NONE;
    }
}
