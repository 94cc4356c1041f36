// Key synthesis on macOS: the key code that types "s" in the current keyboard layout, posted as
// keyboard events to the HID event tap. Key codes are found by asking the layout what each of
// the first 128 key codes types; the answers are kept in a process-wide dictionary built on the
// first reveal and never rebuilt, even when the user switches layouts later.
#if defined(__APPLE__)

#include "style/KeyEvents.h"

#include <ApplicationServices/ApplicationServices.h>
#include <Carbon/Carbon.h>
#include <CoreFoundation/CoreFoundation.h>

#include <cstdint>

namespace {

constexpr CGKeyCode kNoKeyCode = 0xFFFF;
constexpr CFIndex kKeyCodeCount = 128;
constexpr UniCharCount kMaxTypedUnits = 4;

// One-character strings (keys, copied by the dictionary) to key codes (values stored as
// integers, not retained). Touched only on the host's user-interface thread.
CFMutableDictionaryRef charToCodeDict = nullptr;

// Fills the dictionary; when several key codes type the same character the lowest one wins,
// because adding never replaces a key already present.
void FillCharToCodeDict() {
    for (CFIndex k = 0; k < kKeyCodeCount; ++k) {
        CFStringRef typed = createStringForKey(static_cast<std::uint16_t>(k));
        if (typed == nullptr) continue;
        CFDictionaryAddValue(charToCodeDict, typed,
                             reinterpret_cast<const void*>(static_cast<std::uintptr_t>(k)));
        CFRelease(typed);
    }
}

}  // namespace

const struct __CFString* createStringForKey(std::uint16_t key_code) {
    TISInputSourceRef source = TISCopyCurrentKeyboardInputSource();
    if (source == nullptr) return nullptr;
    CFDataRef layout_data =
        static_cast<CFDataRef>(TISGetInputSourceProperty(source, kTISPropertyUnicodeKeyLayoutData));
    UniChar units[kMaxTypedUnits] = {};
    UniCharCount length = 0;
    if (layout_data != nullptr) {
        const UCKeyboardLayout* layout =
            reinterpret_cast<const UCKeyboardLayout*>(CFDataGetBytePtr(layout_data));
        UInt32 dead_key_state = 0;
        UCKeyTranslate(layout, key_code, kUCKeyActionDisplay, 0, LMGetKbdType(), 0, &dead_key_state,
                       kMaxTypedUnits, &length, units);
    }
    // The layout data belongs to the input source: done with it before the release.
    CFRelease(source);
    if (length < 1) return nullptr;
    return CFStringCreateWithCharacters(kCFAllocatorDefault, units, 1);
}

std::uint16_t keyCodeForChar(char c) {
    if (charToCodeDict == nullptr) {
        charToCodeDict = CFDictionaryCreateMutable(kCFAllocatorDefault, kKeyCodeCount,
                                                   &kCFCopyStringDictionaryKeyCallBacks, nullptr);
        // Nothing is built without the dictionary; the next call tries again.
        if (charToCodeDict == nullptr) return kNoKeyCode;
        FillCharToCodeDict();
    }
    const UniChar unit = static_cast<unsigned char>(c);
    CFStringRef wanted = CFStringCreateWithCharacters(kCFAllocatorDefault, &unit, 1);
    if (wanted == nullptr) return kNoKeyCode;
    const void* value = nullptr;
    const bool found = CFDictionaryGetValueIfPresent(charToCodeDict, wanted, &value);
    CFRelease(wanted);
    if (!found) return kNoKeyCode;
    return static_cast<std::uint16_t>(reinterpret_cast<std::uintptr_t>(value));
}

void RevealSelectedProperties() {
    // Used as found, 0xFFFF included: the reveal reports nothing.
    const CGKeyCode key = keyCodeForChar('s');
    CGEventRef down = CGEventCreateKeyboardEvent(nullptr, key, true);
    CGEventRef up = CGEventCreateKeyboardEvent(nullptr, key, false);
    for (const KeyStroke& stroke : kRevealKeyStrokes) {
        CGEventRef event = stroke.down ? down : up;
        if (event != nullptr) CGEventPost(kCGHIDEventTap, event);
    }
    if (down != nullptr) CFRelease(down);
    if (up != nullptr) CFRelease(up);
}

#endif  // defined(__APPLE__)
