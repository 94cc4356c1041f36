// The captions under the buttons are kept as wide-character text and handed to the drawing
// surface as UTF-16. macOS converts through Core Foundation (CaptionText_mac.cpp); every other
// platform converts here by hand (CaptionText.cpp).
#pragma once

#include <cstddef>

#include "DrawbotSuite.h"

// Room for any caption of the module table, with its terminating zero.
inline constexpr std::size_t kCaptionCapacity = 16;

// Writes `text` into `out` as UTF-16 followed by a zero unit. False, with `out` holding an empty
// string, when the text does not fit in `capacity` units (zero included) or cannot be converted.
bool CaptionToUTF16(const wchar_t* text, DRAWBOT_UTF16Char* out, std::size_t capacity);
