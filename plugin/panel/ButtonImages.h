// The button artwork: one image per module with the module off (imgsData) and one with it on
// (imgsPressedData), in module order. Each image is 24 by 24 pixels, four bytes a pixel in blue,
// green, red, alpha order with straight alpha, 96 bytes a row, top row first.
//
// ButtonImages.cpp is written by tools/icons/make_icons.cpp from the icon drawings there; change
// the drawings and rebuild the target regenerate-icons rather than editing the bytes.
#pragma once

#include <cstddef>

#include "AE_Effect.h"
#include "params/ParamTable.h"

inline constexpr int kButtonImageSide = 24;
inline constexpr int kButtonImageRowBytes = kButtonImageSide * 4;
inline constexpr std::size_t kButtonImageBytes =
    static_cast<std::size_t>(kButtonImageRowBytes) * kButtonImageSide;
static_assert(kButtonImageBytes == 2304, "24 rows of 96 bytes");

extern const A_u_char imgsData[kModuleCount][kButtonImageBytes];
extern const A_u_char imgsPressedData[kModuleCount][kButtonImageBytes];
