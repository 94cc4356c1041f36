// The basic suite: the entry into the host's suite broker.
//
// The host hands it to the plug-in in PF_InData::pica_basicP. Every other suite is
// acquired through AcquireSuite by (name, numeric version) and released again with
// the same pair.
#ifndef TL_SDK_SPBASIC_H
#define TL_SDK_SPBASIC_H

#include "SPTypes.h"

#ifdef __cplusplus
extern "C" {
#endif

#define kSPBasicSuite "SP Basic Suite"
#define kSPBasicSuiteVersion 4

typedef struct SPBasicSuite {
    SPErr (*AcquireSuite)(const char* name, int32_t version, const void** suite);
    SPErr (*ReleaseSuite)(const char* name, int32_t version);
    SPBoolean (*IsEqual)(const char* token1, const char* token2);
    SPErr (*AllocateBlock)(size_t size, void** block);
    SPErr (*FreeBlock)(void* block);
    SPErr (*ReallocateBlock)(void* block, size_t new_size, void** new_block);
    SPErr (*Undefined)(void);
} SPBasicSuite;

#ifdef __cplusplus
}
#endif

#endif  // TL_SDK_SPBASIC_H
