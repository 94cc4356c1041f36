// Key synthesis where no host's windowing system runs (the stand-in host's platform): the events
// go to an observer that a program linking the plug-in may set, or nowhere.
#if !defined(_WIN32) && !defined(__APPLE__)

#include "style/KeyEvents.h"

namespace {

KeyStrokeObserver g_observer = nullptr;

}  // namespace

void SetKeyStrokeObserver(KeyStrokeObserver observer) {
    g_observer = observer;
}

void RevealSelectedProperties() {
    for (const KeyStroke& stroke : kRevealKeyStrokes) {
        if (g_observer != nullptr) g_observer(kRevealVirtualKey, stroke);
    }
}

#endif  // !defined(_WIN32) && !defined(__APPLE__)
