#include "assistant/Frames.h"

#include <cstdint>
#include <limits>

namespace {

bool FitsLong(std::int64_t x) {
    return x >= std::numeric_limits<A_long>::min() && x <= std::numeric_limits<A_long>::max();
}

bool IsFrameDuration(const A_Time& frame_duration) {
    return frame_duration.value > 0 && frame_duration.scale > 0;
}

}  // namespace

A_Err FrameOfTime(const A_Time& time, const A_Time& frame_duration, A_long* frame) {
    *frame = 0;
    if (!IsFrameDuration(frame_duration) || time.scale == 0) return kFrameOutOfRange;
    // (value / scale) / (fd.value / fd.scale) = value × fd.scale / (scale × fd.value). Each
    // product of a 32-bit signed and a 32-bit unsigned number fits in 63 bits; integer
    // division truncates toward zero.
    const std::int64_t numerator =
        static_cast<std::int64_t>(time.value) * static_cast<std::int64_t>(frame_duration.scale);
    const std::int64_t denominator =
        static_cast<std::int64_t>(time.scale) * static_cast<std::int64_t>(frame_duration.value);
    const std::int64_t frames = numerator / denominator;
    if (!FitsLong(frames)) return kFrameOutOfRange;
    *frame = static_cast<A_long>(frames);
    return A_Err_NONE;
}

A_Err EndFrame(A_long start_frame, const A_Time& duration, const A_Time& frame_duration,
               A_long* end_frame) {
    *end_frame = start_frame;
    A_long frames = 0;
    const A_Err err = FrameOfTime(duration, frame_duration, &frames);
    if (err != A_Err_NONE) return err;
    const std::int64_t end = static_cast<std::int64_t>(start_frame) + frames;
    if (!FitsLong(end)) return kFrameOutOfRange;
    *end_frame = static_cast<A_long>(end);
    return A_Err_NONE;
}

A_Err KeyTimeOfFrame(A_long frame, const A_Time& frame_duration, A_Time* time) {
    *time = A_Time{0, frame_duration.scale};
    if (!IsFrameDuration(frame_duration)) return kFrameOutOfRange;
    const std::int64_t value =
        static_cast<std::int64_t>(frame) * static_cast<std::int64_t>(frame_duration.value);
    if (!FitsLong(value)) return kFrameOutOfRange;
    time->value = static_cast<A_long>(value);
    return A_Err_NONE;
}
