// Key synthesis on the stand-in host's platform: the presses the Windows and macOS builds send
// reach the observer here, in the order the host must receive them.

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "style/KeyEvents.h"

#if !defined(_WIN32) && !defined(__APPLE__)

namespace {

std::vector<std::pair<std::uint16_t, bool>> g_strokes;

void Record(std::uint16_t key, KeyStroke stroke) {
    g_strokes.emplace_back(key, stroke.down);
}

TEST(KeyEvents, RevealSendsTwoPressesOfSAndNothingWithoutAnObserver) {
    g_strokes.clear();
    SetKeyStrokeObserver(Record);
    RevealSelectedProperties();
    SetKeyStrokeObserver(nullptr);
    const std::vector<std::pair<std::uint16_t, bool>> expected = {
        {0x53, true}, {0x53, false}, {0x53, true}, {0x53, false}};
    EXPECT_EQ(g_strokes, expected);

    g_strokes.clear();
    RevealSelectedProperties();
    EXPECT_TRUE(g_strokes.empty());
}

}  // namespace

#endif  // !defined(_WIN32) && !defined(__APPLE__)
