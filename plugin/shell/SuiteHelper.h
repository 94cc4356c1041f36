// One-shot suite access for code that holds the command's input and output records: acquire and
// release single suites or the four drawing suites, and a scoped holder for one suite.
//
// Unlike the suite cache these report failure through the output record: they set
// PF_OutFlag_DISPLAY_ERROR_MESSAGE and print a message into out_data->return_msg with the host's
// formatted-print utility.
#pragma once

#include <cstdint>

#include "AE_Effect.h"
#include "AE_EffectCB.h"
#include "DrawbotSuite.h"
#include "SPBasic.h"

// Acquires suite (`name`, `version`) into *suite. On failure sets the display flag, prints
// `message` (or "Not able to acquire AEFX Suite." when null) and returns 516.
PF_Err AEFX_AcquireSuite(PF_InData* in_data, PF_OutData* out_data, const char* name,
                         std::int32_t version, const char* message, void** suite);

// Releases suite (`name`, `version`). Without a basic suite sets the display flag, prints
// `message` (or "Not able to release AEFX Suite.") and returns 516; else returns 0.
PF_Err AEFX_ReleaseSuite(PF_InData* in_data, PF_OutData* out_data, const char* name,
                         std::int32_t version, const char* message);

// The four drawing suites the module panel draws with, in acquisition order.
struct DrawbotSuites {
    DRAWBOT_DrawbotSuite1* drawbot_suiteP;
    DRAWBOT_SupplierSuite1* supplier_suiteP;
    DRAWBOT_SurfaceSuite2* surface_suiteP;
    DRAWBOT_PathSuite1* path_suiteP;
};

// Acquires the four drawing suites in order, stopping at the first failure (516, with "Not able
// to acquire AEFX Suite."); the suites acquired before it stay in *suitesP, the others are null.
// A null `suitesP` gives 514 and "NULL suite pointer passed to AEFX_AcquireDrawbotSuites".
PF_Err AEFX_AcquireDrawbotSuites(PF_InData* in_data, PF_OutData* out_data, DrawbotSuites* suitesP);

// Releases the four drawing suites in the same order, printing "Not able to release AEFX Suite."
// for each one when there is no basic suite. Always returns 0. Given `suitesP`, releases only
// the entries that hold a suite and clears them, which balances a partly failed acquisition;
// without it, releases all four.
PF_Err AEFX_ReleaseDrawbotSuites(PF_InData* in_data, PF_OutData* out_data,
                                 DrawbotSuites* suitesP = nullptr);

namespace suite_helper_detail {
// Sets the display flag and prints `message`, or `fallback` when it is null, into the output
// record's message buffer. Does nothing without an output record.
void ReportSuiteError(const PF_InData* in_data, PF_OutData* out_data, const char* message,
                      const char* fallback);
extern const char kAcquireFailed[];
}  // namespace suite_helper_detail

// Holds one suite for the life of a scope. On failure reports through `out_data` when one is
// given (message or "Not able to acquire AEFX Suite.") and throws the integer 13 as an A_Err.
template <class SuiteT>
class AEFX_SuiteScoper {
  public:
    AEFX_SuiteScoper(const PF_InData* in_data, const char* name, std::int32_t version,
                     PF_OutData* out_data = nullptr, const char* message = nullptr)
        : pica_(in_data != nullptr ? in_data->pica_basicP : nullptr),
          name_(name),
          version_(version) {
        const void* suite = nullptr;
        if (pica_ == nullptr || pica_->AcquireSuite(name_, version_, &suite) != kSPNoError ||
            suite == nullptr) {
            suite_helper_detail::ReportSuiteError(in_data, out_data, message,
                                                  suite_helper_detail::kAcquireFailed);
            throw static_cast<A_Err>(A_Err_MISSING_SUITE);
        }
        suite_ = static_cast<const SuiteT*>(suite);
    }
    ~AEFX_SuiteScoper() { pica_->ReleaseSuite(name_, version_); }

    AEFX_SuiteScoper(const AEFX_SuiteScoper&) = delete;
    AEFX_SuiteScoper& operator=(const AEFX_SuiteScoper&) = delete;

    const SuiteT* get() const { return suite_; }
    const SuiteT* operator->() const { return suite_; }

  private:
    const SPBasicSuite* pica_;
    const char* name_;
    std::int32_t version_;
    const SuiteT* suite_ = nullptr;
};
