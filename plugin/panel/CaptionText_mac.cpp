// The caption conversion on macOS: the wide-character text (UTF-32 in the machine's byte order)
// becomes a Core Foundation string, whose UTF-16 characters are copied out.
#if defined(__APPLE__)

#include "panel/CaptionText.h"

#include <CoreFoundation/CoreFoundation.h>

#include <cwchar>

bool CaptionToUTF16(const wchar_t* text, DRAWBOT_UTF16Char* out, std::size_t capacity) {
    if (out == nullptr || capacity == 0) return false;
    out[0] = 0;
    if (text == nullptr) return false;
    const CFStringEncoding encoding = CFByteOrderGetCurrent() == CFByteOrderBigEndian
                                          ? kCFStringEncodingUTF32BE
                                          : kCFStringEncodingUTF32LE;
    CFStringRef string = CFStringCreateWithBytes(
        kCFAllocatorDefault, reinterpret_cast<const UInt8*>(text),
        static_cast<CFIndex>(std::wcslen(text) * sizeof(wchar_t)), encoding, false);
    if (string == nullptr) return false;
    const CFIndex length = CFStringGetLength(string);
    const bool fits = length >= 0 && static_cast<std::size_t>(length) + 1 <= capacity;
    if (fits) {
        CFStringGetCharacters(string, CFRangeMake(0, length), reinterpret_cast<UniChar*>(out));
        out[length] = 0;
    }
    CFRelease(string);
    return fits;
}

#endif  // defined(__APPLE__)
