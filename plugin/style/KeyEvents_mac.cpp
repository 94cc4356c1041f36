// Key synthesis on macOS: the key code that types "s" in the current keyboard layout, posted as
// keyboard events to the HID event tap. Which key code types what is kept in a process-wide
// table built on the first reveal and never rebuilt (KeyCodeTable.h); the storage is a Core
// Foundation dictionary from one-character strings to key codes. Only the system calls live
// here: the table's rules and the events posted are worked out where every build compiles them.
#if defined(__APPLE__)

#include "style/KeyEvents.h"

#include <ApplicationServices/ApplicationServices.h>
#include <Carbon/Carbon.h>
#include <CoreFoundation/CoreFoundation.h>

#include <cstddef>
#include <cstdint>
#include <optional>

#include "style/KeyCodeTable.h"

namespace {

constexpr UniCharCount kMaxTypedUnits = 4;

// One-character strings (keys, copied by the dictionary) to key codes (values stored as
// integers, not retained).
struct CharToCodeDictionary {
    using Ref = CFMutableDictionaryRef;

    static Ref Create(std::size_t capacity) {
        return CFDictionaryCreateMutable(kCFAllocatorDefault, static_cast<CFIndex>(capacity),
                                         &kCFCopyStringDictionaryKeyCallBacks, nullptr);
    }
    static void AddIfAbsent(Ref dict, char16_t unit, std::uint16_t key_code) {
        const UniChar c = unit;
        CFStringRef key = CFStringCreateWithCharacters(kCFAllocatorDefault, &c, 1);
        if (key == nullptr) return;
        // Adding never replaces a key already present.
        CFDictionaryAddValue(dict, key,
                             reinterpret_cast<const void*>(static_cast<std::uintptr_t>(key_code)));
        CFRelease(key);
    }
    static bool Find(Ref dict, char16_t unit, std::uint16_t* key_code) {
        const UniChar c = unit;
        CFStringRef key = CFStringCreateWithCharacters(kCFAllocatorDefault, &c, 1);
        if (key == nullptr) return false;
        const void* value = nullptr;
        const bool found = CFDictionaryGetValueIfPresent(dict, key, &value);
        CFRelease(key);
        if (found) *key_code = static_cast<std::uint16_t>(reinterpret_cast<std::uintptr_t>(value));
        return found;
    }
};

// Touched only on the host's user-interface thread; lives until the module is unloaded.
KeyCodeTable<CharToCodeDictionary> charToCodeDict;

// The first UTF-16 unit key code `k` types with no modifier held, or nothing.
std::optional<char16_t> TypedBy(std::uint16_t k) {
    CFStringRef typed = createStringForKey(k);
    if (typed == nullptr) return std::nullopt;
    const UniChar unit = CFStringGetCharacterAtIndex(typed, 0);
    CFRelease(typed);
    return static_cast<char16_t>(unit);
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
    return charToCodeDict.KeyCodeFor(static_cast<char16_t>(static_cast<unsigned char>(c)), TypedBy);
}

void RevealSelectedProperties() {
    const std::vector<KeyCodeEvent> events = RevealKeyCodeEvents(keyCodeForChar('s'));
    // No key of the layout types "s": nothing to press.
    if (events.empty()) return;
    const CGKeyCode key = events.front().key_code;
    CGEventRef down = CGEventCreateKeyboardEvent(nullptr, key, true);
    CGEventRef up = CGEventCreateKeyboardEvent(nullptr, key, false);
    for (const KeyCodeEvent& e : events) {
        CGEventRef event = e.down ? down : up;
        if (event != nullptr) CGEventPost(kCGHIDEventTap, event);
    }
    if (down != nullptr) CFRelease(down);
    if (up != nullptr) CFRelease(up);
}

#endif  // defined(__APPLE__)
