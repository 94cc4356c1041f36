// Key synthesis on Windows: the virtual key S sent through the system's input injection, one
// keyboard input record per call.
#if defined(_WIN32)

#include "style/KeyEvents.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

static_assert(sizeof(void*) != 8 || sizeof(INPUT) == 40,
              "the keyboard input record is 40 bytes on 64-bit Windows");

void RevealSelectedProperties() {
    for (const KeyStroke& stroke : kRevealKeyStrokes) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = kRevealVirtualKey;
        input.ki.wScan = 0;
        input.ki.dwFlags = stroke.down ? 0 : KEYEVENTF_KEYUP;
        input.ki.time = 0;
        input.ki.dwExtraInfo = 0;
        // A refused injection (another desktop has the input, say) costs only the reveal.
        SendInput(1, &input, sizeof(INPUT));
    }
}

#endif  // defined(_WIN32)
