// Key synthesis where no host's windowing system runs (the stand-in host's platform). There is
// no system call that injects key events here; the stand-in host plays that part: a process
// that serves the plug-in may offer the function below (the stand-in host's programs do), and
// each record Windows would be sent is handed to it. In a process without it the events are
// dropped, as a desktop without a focused window would drop them.
#if !defined(_WIN32) && !defined(__APPLE__)

#include "style/KeyEvents.h"

#include <cstdint>

// The stand-in platform's input injection: one key event, `key_down` non-zero for a key down.
// Looked up when the module is loaded; null when the process offers none.
extern "C" __attribute__((weak, visibility("default"))) void tl_standin_key_event(
    std::uint16_t virtual_key, int key_down);

void RevealSelectedProperties() {
    if (tl_standin_key_event == nullptr) return;
    for (const KeyboardInput& record : RevealKeyboardInputs()) {
        tl_standin_key_event(record.virtual_key, (record.flags & kKeyEventKeyUp) == 0 ? 1 : 0);
    }
}

#endif  // !defined(_WIN32) && !defined(__APPLE__)
