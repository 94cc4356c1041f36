// Synthesised key presses: after the gradient-colour properties of the connection layers have
// been made the composition's selection, two presses of S make the host's timeline reveal them.
// How the presses are made differs per platform: one file per platform carries the definition
// (KeyEvents_win.cpp, KeyEvents_mac.cpp, and KeyEvents_posix.cpp for the stand-in host's
// platform), and the build compiles exactly one of them.
#pragma once

#include <cstdint>

// Sends two presses of the S key, each a key-down followed by a key-up, back to back and
// without modifier keys. Reports nothing: the system's answers are ignored.
void RevealSelectedProperties();

// One synthesised key event, described the same way on every platform.
struct KeyStroke {
    bool down;  // key down, else key up
};

// The four events of RevealSelectedProperties, in the order they are sent.
inline constexpr KeyStroke kRevealKeyStrokes[] = {{true}, {false}, {true}, {false}};

// The key pressed, as the Windows virtual key (the letter S).
inline constexpr std::uint16_t kRevealVirtualKey = 0x53;

#if defined(__APPLE__)
// The key code that types `c` (taken as one UTF-16 unit) with no modifier held in the keyboard
// layout current when it was first called; 0xFFFF when no key types it. The table behind it is
// built once per process and kept until the module is unloaded.
std::uint16_t keyCodeForChar(char c);
// A new one-character string (the caller releases it) holding what `key_code` types with no
// modifier held in the current keyboard layout, or null.
const struct __CFString* createStringForKey(std::uint16_t key_code);
#endif

#if !defined(_WIN32) && !defined(__APPLE__)
// Where the plug-in runs without a host's windowing system (the stand-in host's platform),
// nothing receives key events: each synthesised event is handed to this observer instead, so
// that a program linking the plug-in can see what would have been sent. Without an observer
// the events are dropped. Not exported from the module.
using KeyStrokeObserver = void (*)(std::uint16_t virtual_key, KeyStroke stroke);
void SetKeyStrokeObserver(KeyStrokeObserver observer);
#endif
