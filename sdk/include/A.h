// Scalar types and small records shared by every part of the host interface.
//
// These are our own declarations of the host's public types. Integer widths are
// fixed with <stdint.h> because the host's types are fixed width on every platform
// (64-bit Windows has a 32-bit `long`, so `long` can never stand in for A_long).
#ifndef TL_SDK_A_H
#define TL_SDK_A_H

#include <stddef.h>
#include <stdint.h>

typedef int32_t A_long;
typedef uint32_t A_u_long;
typedef int16_t A_short;
typedef uint16_t A_u_short;
typedef char A_char;
typedef unsigned char A_u_char;
typedef unsigned char A_Boolean;
typedef A_u_short A_UTF16Char;
typedef A_long A_Err;
typedef double A_FpLong;
typedef float A_FpShort;
typedef int64_t A_longlong;
typedef uint64_t A_u_longlong;
typedef A_u_longlong A_HandleSize;
typedef intptr_t A_intptr_t;

// Enumerations the host stores in one byte on macOS and in four bytes on Windows.
// Other platforms are not hosts; they follow the Windows choice so that the
// stand-in host and the tests see the same layout as the shipping Windows build.
#if defined(_WIN32)
typedef A_long A_LegacyEnumType;
#elif defined(__APPLE__)
typedef A_char A_LegacyEnumType;
#else
typedef A_long A_LegacyEnumType;
#endif

// Relocatable host memory owned by the host (arbitrary-data stream values).
typedef struct A_OpaqueMem** A_Handle;

// A time is value / scale seconds.
typedef struct A_Time {
    A_long value;
    A_u_long scale;
} A_Time;

typedef struct A_Ratio {
    A_long num;
    A_u_long den;
} A_Ratio;

typedef struct A_FloatPoint {
    A_FpLong x, y;
} A_FloatPoint;

typedef struct A_FloatRect {
    A_FpLong left, top, right, bottom;
} A_FloatRect;

typedef struct A_LRect {
    A_long left, top, right, bottom;
} A_LRect;

typedef A_LRect A_Rect;

typedef struct A_Matrix4 {
    A_FpLong mat[4][4];
} A_Matrix4;

// Error codes returned by the AEGP suites.
enum {
    A_Err_NONE = 0,
    A_Err_GENERIC = 1,
    A_Err_STRUCT = 2,
    A_Err_PARAMETER = 3,
    A_Err_ALLOC = 4,
    A_Err_WRONG_THREAD = 5,
    A_Err_CONST_PROJECT_MODIFICATION = 6,
    A_Err_MISSING_SUITE = 13,
    A_Err_NOT_IN_CACHE_OR_COMPUTE_PENDING = 22,
    A_Err_PROJECT_LOAD_FATAL = 23,
    A_Err_EFFECT_APPLY_FATAL = 24,
    A_Err_LAST = 25
};

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

#endif  // TL_SDK_A_H
