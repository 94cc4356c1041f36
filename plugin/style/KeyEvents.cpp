// The platform-independent part of key synthesis: what each platform's file sends.
#include "style/KeyEvents.h"

std::array<KeyboardInput, 4> RevealKeyboardInputs() {
    std::array<KeyboardInput, 4> inputs{};
    static_assert(sizeof kRevealKeyStrokes / sizeof kRevealKeyStrokes[0] == 4,
                  "one record per stroke");
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        inputs[i] = KeyboardInput{kInputKeyboard,
                                  kRevealVirtualKey,
                                  0,
                                  kRevealKeyStrokes[i].down ? 0 : kKeyEventKeyUp,
                                  0,
                                  0};
    }
    return inputs;
}

std::vector<KeyCodeEvent> RevealKeyCodeEvents(std::uint16_t key_code) {
    std::vector<KeyCodeEvent> events;
    if (key_code == kNoKeyCode) return events;
    for (const KeyStroke& stroke : kRevealKeyStrokes) events.push_back({key_code, stroke.down});
    return events;
}
