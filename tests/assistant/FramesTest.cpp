// Frame numbers and key times from the host's times, exactly.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "assistant/Frames.h"

namespace {

// Every start frame of ten seconds at the usual rates is its own frame, and its key lands
// back on the frame's exact time.
TEST(Frames, EveryFrameStartIsItsOwnFrameAtTheUsualRates) {
    for (A_u_long rate : {24u, 25u, 30u, 50u, 60u}) {
        const A_Time frame_duration{1, rate};
        int single_precision_misses = 0;
        for (A_long f = 0; f < static_cast<A_long>(10 * rate); ++f) {
            A_long frame = -1;
            ASSERT_EQ(FrameOfTime(A_Time{f, rate}, frame_duration, &frame), A_Err_NONE);
            EXPECT_EQ(frame, f) << rate << " fps, frame " << f;
            A_Time key{};
            ASSERT_EQ(KeyTimeOfFrame(frame, frame_duration, &key), A_Err_NONE);
            EXPECT_EQ(key.value, f);
            EXPECT_EQ(key.scale, rate);
            // What the same division gives in single precision.
            const float seconds = static_cast<float>(f) / static_cast<float>(rate);
            const float fd = 1.0f / static_cast<float>(rate);
            single_precision_misses += static_cast<A_long>(seconds / fd) != f;
        }
        // The fault the exact arithmetic avoids is real at these rates.
        if (rate == 24 || rate == 30 || rate == 60) {
            EXPECT_GT(single_precision_misses, 0) << rate;
        }
    }
}

TEST(Frames, TimesTruncateTowardZero) {
    const A_Time fd{1, 30};
    A_Time time{99, 3000};  // 0.99 frame
    A_long frame = -1;
    ASSERT_EQ(FrameOfTime(time, fd, &frame), A_Err_NONE);
    EXPECT_EQ(frame, 0);
    ASSERT_EQ(FrameOfTime(A_Time{-99, 3000}, fd, &frame), A_Err_NONE);
    EXPECT_EQ(frame, 0);
    ASSERT_EQ(FrameOfTime(A_Time{-7, 20}, fd, &frame), A_Err_NONE);  // -10.5 frames
    EXPECT_EQ(frame, -10);
    // 29.97 fps: 1001/30000 s a frame.
    ASSERT_EQ(FrameOfTime(A_Time{1001 * 5 - 1, 30000}, A_Time{1001, 30000}, &frame), A_Err_NONE);
    EXPECT_EQ(frame, 4);
}

TEST(Frames, EndFrameAddsWholeFramesOfTheSpan) {
    A_long end = 0;
    ASSERT_EQ(EndFrame(7, A_Time{1, 1}, A_Time{1, 25}, &end), A_Err_NONE);
    EXPECT_EQ(end, 32);
    ASSERT_EQ(EndFrame(0, A_Time{59, 30 * 30}, A_Time{1, 30}, &end), A_Err_NONE);  // 1.97 frames
    EXPECT_EQ(end, 1);
}

TEST(Frames, ResultsBeyondThirtyTwoBitsAreErrors) {
    A_long frame = 0;
    // 2^31 - 1 seconds at 30 frames per second.
    EXPECT_EQ(FrameOfTime(A_Time{std::numeric_limits<A_long>::max(), 1}, A_Time{1, 30}, &frame),
              kFrameOutOfRange);
    A_long end = 0;
    EXPECT_EQ(EndFrame(std::numeric_limits<A_long>::max() - 1, A_Time{1, 1}, A_Time{1, 30}, &end),
              kFrameOutOfRange);
    A_Time key{};
    // Frame 3,000,000 at 29.97: 3,003,000,000 does not fit; the frame before the limit does.
    EXPECT_EQ(KeyTimeOfFrame(3000000, A_Time{1001, 30000}, &key), kFrameOutOfRange);
    ASSERT_EQ(KeyTimeOfFrame(2145338, A_Time{1001, 30000}, &key), A_Err_NONE);
    EXPECT_EQ(key.value, 2145338 * 1001);
    EXPECT_EQ(KeyTimeOfFrame(2145339, A_Time{1001, 30000}, &key), kFrameOutOfRange);
    EXPECT_EQ(KeyTimeOfFrame(-3000000, A_Time{1001, 30000}, &key), kFrameOutOfRange);
}

TEST(Frames, AFrameDurationThatIsNoTimeIsAnError) {
    A_long frame = 0;
    A_Time key{};
    EXPECT_EQ(FrameOfTime(A_Time{1, 1}, A_Time{0, 30}, &frame), kFrameOutOfRange);
    EXPECT_EQ(FrameOfTime(A_Time{1, 1}, A_Time{-1, 30}, &frame), kFrameOutOfRange);
    EXPECT_EQ(FrameOfTime(A_Time{1, 1}, A_Time{1, 0}, &frame), kFrameOutOfRange);
    EXPECT_EQ(FrameOfTime(A_Time{1, 0}, A_Time{1, 30}, &frame), kFrameOutOfRange);
    EXPECT_EQ(KeyTimeOfFrame(1, A_Time{0, 30}, &key), kFrameOutOfRange);
}

}  // namespace
