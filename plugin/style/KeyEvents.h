// Synthesised key presses: after the gradient-colour properties of the connection layers have
// been made the composition's selection, two presses of S make the host's timeline reveal them.
// How the presses are made differs per platform: one file per platform carries the definition
// (KeyEvents_win.cpp, KeyEvents_mac.cpp, and KeyEvents_posix.cpp for the stand-in host's
// platform), and the build compiles exactly one of them. What the presses consist of does not
// depend on the platform: it is worked out here and in KeyEvents.cpp and KeyCodeTable.h, which
// every build compiles, so that it is tested on any machine.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

// Sends two presses of the S key, each a key-down followed by a key-up, back to back and
// without modifier keys. Reports nothing: the system's answers are ignored. On macOS nothing is
// sent when no key of the current keyboard layout types "s".
void RevealSelectedProperties();

// One synthesised key event, described the same way on every platform.
struct KeyStroke {
    bool down;  // key down, else key up
};

// The four events of RevealSelectedProperties, in the order they are sent.
inline constexpr KeyStroke kRevealKeyStrokes[] = {{true}, {false}, {true}, {false}};

// The key pressed, as the Windows virtual key (the letter S).
inline constexpr std::uint16_t kRevealVirtualKey = 0x53;

// ---- Windows: keyboard input records -----------------------------------------------------------

// Values of the system's keyboard input record (INPUT_KEYBOARD, KEYEVENTF_KEYUP); the Windows
// build checks them against the system's headers.
inline constexpr std::uint32_t kInputKeyboard = 1;
inline constexpr std::uint32_t kKeyEventKeyUp = 0x0002;
// The size of the system's INPUT record, which SendInput is told with every record: the type
// and a union as large as its largest member, the mouse record. 40 bytes on 64-bit Windows.
inline constexpr int kInputRecordSize = sizeof(void*) == 8 ? 40 : 28;

// The fields of one keyboard INPUT record.
struct KeyboardInput {
    std::uint32_t type;         // INPUT_KEYBOARD
    std::uint16_t virtual_key;  // wVk
    std::uint16_t scan_code;    // wScan: none, the virtual key says it all
    std::uint32_t flags;        // dwFlags: 0 for key down, KEYEVENTF_KEYUP for key up
    std::uint32_t time;         // 0: the system stamps the event
    std::uintptr_t extra_info;  // dwExtraInfo
};

// The records a reveal sends, one SendInput call each: S down, S up, S down, S up.
std::array<KeyboardInput, 4> RevealKeyboardInputs();

// ---- macOS: key codes --------------------------------------------------------------------------

// A key code of the current keyboard layout; kNoKeyCode when no key types a character.
inline constexpr std::uint16_t kNoKeyCode = 0xFFFF;

// One keyboard event posted for a key code.
struct KeyCodeEvent {
    std::uint16_t key_code;
    bool down;
};

// The events a reveal posts for `key_code`, the key that types "s": down, up, down, up. None at
// all when no key of the layout types "s" (kNoKeyCode): there is no key to press, and events
// for a key code that does not exist would reach the host as some other key or none.
std::vector<KeyCodeEvent> RevealKeyCodeEvents(std::uint16_t key_code);

#if defined(__APPLE__)
// The key code that types `c` (taken as one UTF-16 unit) with no modifier held in the keyboard
// layout current when it was first called; kNoKeyCode when no key types it. The table behind it
// is built once per process and kept until the module is unloaded.
std::uint16_t keyCodeForChar(char c);
// A new one-character string (the caller releases it) holding what `key_code` types with no
// modifier held in the current keyboard layout, or null.
const struct __CFString* createStringForKey(std::uint16_t key_code);
#endif
