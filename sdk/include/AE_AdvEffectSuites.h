// Advanced application suite: project state and the Info panel.
#ifndef TL_SDK_AE_ADVEFFECTSUITES_H
#define TL_SDK_AE_ADVEFFECTSUITES_H

#include "AE_Effect.h"

#ifdef __cplusplus
extern "C" {
#endif

#define kPFAdvAppSuite "PF AE Adv App Suite"
#define kPFAdvAppSuiteVersion2 2

typedef struct PF_AdvAppSuite2 {
    PF_Err (*PF_SetProjectDirty)(void);
    PF_Err (*PF_SaveProject)(void);
    PF_Err (*PF_SaveBackgroundState)(void);
    PF_Err (*PF_ForceForeground)(void);
    PF_Err (*PF_RestoreBackgroundState)(void);
    PF_Err (*PF_RefreshAllWindows)(void);
    PF_Err (*PF_InfoDrawText)(const A_char* line1Z0, const A_char* line2Z0);
    PF_Err (*PF_InfoDrawColor)(PF_Pixel color);
    PF_Err (*PF_InfoDrawText3)(const A_char* line1Z0, const A_char* line2Z0, const A_char* line3Z0);
    // Info panel: line 1; line 2 right part then left part; line 3 right part then left
    // part. Every string may be NULL.
    PF_Err (*PF_InfoDrawText3Plus)(const A_char* line1Z0, const A_char* line2_jrZ0,
                                   const A_char* line2_jlZ0, const A_char* line3_jrZ0,
                                   const A_char* line3_jlZ0);
    PF_Err (*PF_AppendInfoText)(const A_char* appendZ0);
} PF_AdvAppSuite2;

#ifdef __cplusplus
}
#endif

#endif  // TL_SDK_AE_ADVEFFECTSUITES_H
