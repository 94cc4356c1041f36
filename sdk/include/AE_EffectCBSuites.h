// Callback suites an effect acquires through the basic suite.
#ifndef TL_SDK_AE_EFFECTCBSUITES_H
#define TL_SDK_AE_EFFECTCBSUITES_H

#include "AE_Effect.h"

#ifdef __cplusplus
extern "C" {
#endif

// Host memory handles, the suite form of the handle callbacks in PF_UtilCallbacks.
#define kPFHandleSuite "PF Handle Suite"
#define kPFHandleSuiteVersion1 2

typedef struct PF_HandleSuite1 {
    PF_Handle (*host_new_handle)(A_HandleSize size);
    void* (*host_lock_handle)(PF_Handle pf_handle);
    void (*host_unlock_handle)(PF_Handle pf_handle);
    void (*host_dispose_handle)(PF_Handle pf_handle);
    A_HandleSize (*host_get_handle_size)(PF_Handle pf_handle);
    PF_Err (*host_resize_handle)(A_HandleSize new_sizeL, PF_Handle* handlePH);
} PF_HandleSuite1;

#ifdef __cplusplus
}
#endif

#endif  // TL_SDK_AE_EFFECTCBSUITES_H
