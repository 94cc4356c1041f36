// Key synthesis on Windows: the virtual key S sent through the system's input injection, one
// keyboard input record per call.
#if defined(_WIN32)

#include "style/KeyEvents.h"

#include <cstddef>

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

// The records are worked out in KeyEvents.cpp; here they must mean what the system means.
static_assert(INPUT_KEYBOARD == kInputKeyboard, "the keyboard input type");
static_assert(KEYEVENTF_KEYUP == kKeyEventKeyUp, "the key-up flag");
static_assert(sizeof(INPUT) == static_cast<std::size_t>(kInputRecordSize),
              "the input record is 40 bytes on 64-bit Windows");
static_assert(sizeof(void*) != 8 || sizeof(INPUT) == 40,
              "the input record is 40 bytes on 64-bit Windows");

void RevealSelectedProperties() {
    for (const KeyboardInput& record : RevealKeyboardInputs()) {
        INPUT input{};
        input.type = record.type;
        input.ki.wVk = record.virtual_key;
        input.ki.wScan = record.scan_code;
        input.ki.dwFlags = record.flags;
        input.ki.time = record.time;
        input.ki.dwExtraInfo = record.extra_info;
        // A refused injection (another desktop has the input, say) costs only the reveal.
        SendInput(1, &input, sizeof(INPUT));
    }
}

#endif  // defined(_WIN32)
