// The caption conversion for platforms without Core Foundation. wchar_t holds UTF-16 code units
// where it is 16 bits wide (Windows) and UTF-32 code points where it is 32 bits wide.
#if !defined(__APPLE__)

#include "panel/CaptionText.h"

#include <cstdint>

namespace {

// Appends one code point; false when it does not fit or is not a Unicode scalar value.
bool Append(std::uint32_t cp, DRAWBOT_UTF16Char* out, std::size_t capacity, std::size_t* used) {
    if (cp >= 0xD800 && cp <= 0xDFFF) return false;
    if (cp > 0x10FFFF) return false;
    if (cp < 0x10000) {
        if (*used + 1 >= capacity) return false;
        out[(*used)++] = static_cast<DRAWBOT_UTF16Char>(cp);
        return true;
    }
    if (*used + 2 >= capacity) return false;
    cp -= 0x10000;
    out[(*used)++] = static_cast<DRAWBOT_UTF16Char>(0xD800 | (cp >> 10));
    out[(*used)++] = static_cast<DRAWBOT_UTF16Char>(0xDC00 | (cp & 0x3FF));
    return true;
}

}  // namespace

bool CaptionToUTF16(const wchar_t* text, DRAWBOT_UTF16Char* out, std::size_t capacity) {
    if (out == nullptr || capacity == 0) return false;
    out[0] = 0;
    if (text == nullptr) return false;
    std::size_t used = 0;
    for (const wchar_t* p = text; *p != 0; ++p) {
        bool ok;
        if constexpr (sizeof(wchar_t) == 2) {
            // Already UTF-16: copy the units, surrogate pairs included.
            ok = used + 1 < capacity;
            if (ok) out[used++] = static_cast<DRAWBOT_UTF16Char>(*p);
        } else {
            ok = Append(static_cast<std::uint32_t>(*p), out, capacity, &used);
        }
        if (!ok) {
            out[0] = 0;
            return false;
        }
    }
    out[used] = 0;
    return true;
}

#endif  // !defined(__APPLE__)
