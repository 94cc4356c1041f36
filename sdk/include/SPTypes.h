// Basic types of the host's suite broker.
#ifndef TL_SDK_SPTYPES_H
#define TL_SDK_SPTYPES_H

#include <stddef.h>
#include <stdint.h>

typedef int32_t SPErr;

// The broker's boolean is four bytes on Windows and one byte elsewhere. Only
// IsEqual returns it.
#if defined(_WIN32)
typedef int32_t SPBoolean;
#else
typedef uint8_t SPBoolean;
#endif

// Four-character error code packed big-end first, as the host builds its codes.
#define TL_SP_FOUR_CHAR(a, b, c, d) \
    ((SPErr)(((uint32_t)(a) << 24) | ((uint32_t)(b) << 16) | ((uint32_t)(c) << 8) | (uint32_t)(d)))

#define kSPNoError ((SPErr)0)
// Returned by AcquireSuite for an unknown (name, version) pair. The exact code is
// not confirmed; callers should treat any non-zero result as "not available".
#define kSPSuiteNotFoundError TL_SP_FOUR_CHAR('S', '!', 'F', 'd')

#endif  // TL_SDK_SPTYPES_H
