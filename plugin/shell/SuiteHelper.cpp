#include "shell/SuiteHelper.h"

namespace suite_helper_detail {

const char kAcquireFailed[] = "Not able to acquire AEFX Suite.";

void ReportSuiteError(const PF_InData* in_data, PF_OutData* out_data, const char* message,
                      const char* fallback) {
    if (out_data == nullptr) return;
    out_data->out_flags |= PF_OutFlag_DISPLAY_ERROR_MESSAGE;
    if (in_data != nullptr && in_data->utils != nullptr) {
        // Bounded to the 256-byte message buffer.
        in_data->utils->ansi.sprintf(out_data->return_msg, "%.255s",
                                     message != nullptr ? message : fallback);
    }
}

}  // namespace suite_helper_detail

namespace {

using suite_helper_detail::kAcquireFailed;
using suite_helper_detail::ReportSuiteError;

constexpr char kReleaseFailed[] = "Not able to release AEFX Suite.";
constexpr char kNullDrawbotPlace[] = "NULL suite pointer passed to AEFX_AcquireDrawbotSuites";

struct DrawbotSuiteName {
    const char* name;
    std::int32_t version;
};

// The drawing suites, in acquisition and release order (the order of DrawbotSuites' fields).
constexpr DrawbotSuiteName kDrawbotSuites[] = {
    {kDRAWBOT_DrawSuite, kDRAWBOT_DrawSuite_Version1},
    {kDRAWBOT_SupplierSuite, kDRAWBOT_SupplierSuite_Version1},
    {kDRAWBOT_SurfaceSuite, kDRAWBOT_SurfaceSuite_Version2},
    {kDRAWBOT_PathSuite, kDRAWBOT_PathSuite_Version1},
};
constexpr std::size_t kDrawbotCount = sizeof(kDrawbotSuites) / sizeof(kDrawbotSuites[0]);

void StoreDrawbotSuites(void* const (&tables)[kDrawbotCount], DrawbotSuites& out) {
    out.drawbot_suiteP = static_cast<DRAWBOT_DrawbotSuite1*>(tables[0]);
    out.supplier_suiteP = static_cast<DRAWBOT_SupplierSuite1*>(tables[1]);
    out.surface_suiteP = static_cast<DRAWBOT_SurfaceSuite2*>(tables[2]);
    out.path_suiteP = static_cast<DRAWBOT_PathSuite1*>(tables[3]);
}

}  // namespace

PF_Err AEFX_AcquireSuite(PF_InData* in_data, PF_OutData* out_data, const char* name,
                         std::int32_t version, const char* message, void** suite) {
    const SPBasicSuite* pica = in_data != nullptr ? in_data->pica_basicP : nullptr;
    const void* table = nullptr;
    if (suite != nullptr) *suite = nullptr;
    if (pica == nullptr || suite == nullptr || pica->AcquireSuite(name, version, &table) != 0 ||
        table == nullptr) {
        ReportSuiteError(in_data, out_data, message, kAcquireFailed);
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    *suite = const_cast<void*>(table);
    return PF_Err_NONE;
}

PF_Err AEFX_ReleaseSuite(PF_InData* in_data, PF_OutData* out_data, const char* name,
                         std::int32_t version, const char* message) {
    const SPBasicSuite* pica = in_data != nullptr ? in_data->pica_basicP : nullptr;
    if (pica == nullptr) {
        ReportSuiteError(in_data, out_data, message, kReleaseFailed);
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    pica->ReleaseSuite(name, version);
    return PF_Err_NONE;
}

PF_Err AEFX_AcquireDrawbotSuites(PF_InData* in_data, PF_OutData* out_data, DrawbotSuites* suitesP) {
    if (suitesP == nullptr) {
        ReportSuiteError(in_data, out_data, kNullDrawbotPlace, kNullDrawbotPlace);
        return PF_Err_UNRECOGNIZED_PARAM_TYPE;
    }
    void* tables[kDrawbotCount] = {};
    PF_Err err = PF_Err_NONE;
    for (std::size_t i = 0; i < kDrawbotCount && err == PF_Err_NONE; ++i) {
        err = AEFX_AcquireSuite(in_data, out_data, kDrawbotSuites[i].name,
                                kDrawbotSuites[i].version, kAcquireFailed, &tables[i]);
    }
    StoreDrawbotSuites(tables, *suitesP);
    return err;
}

PF_Err AEFX_ReleaseDrawbotSuites(PF_InData* in_data, PF_OutData* out_data, DrawbotSuites* suitesP) {
    void* held[kDrawbotCount] = {};
    if (suitesP != nullptr) {
        held[0] = suitesP->drawbot_suiteP;
        held[1] = suitesP->supplier_suiteP;
        held[2] = suitesP->surface_suiteP;
        held[3] = suitesP->path_suiteP;
        *suitesP = DrawbotSuites{};
    }
    for (std::size_t i = 0; i < kDrawbotCount; ++i) {
        if (suitesP != nullptr && held[i] == nullptr) continue;
        // Goes on after a failure; the message is left for the host to show.
        AEFX_ReleaseSuite(in_data, out_data, kDrawbotSuites[i].name, kDrawbotSuites[i].version,
                          kReleaseFailed);
    }
    return PF_Err_NONE;
}
