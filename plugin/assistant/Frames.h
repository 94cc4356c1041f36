// Frame numbers and key times of the bake, from the host's times.
//
// A frame number counts the composition's frames from composition time 0: a time over
// the frame duration, truncated toward zero (a time 0.99 frame in is frame 0). It is
// worked out exactly, in 64-bit integers on the values and scales: a work area that starts
// on frame 7 at 30 frames per second (7/30 s) is frame 7, never 6 as a rounded 0.2333...
// over 0.0333... would make it. The key for a frame is at frame × frame duration, also
// exact, and refused rather than wrapped when it does not fit the host's time.
#pragma once

#include "AE_GeneralPlug.h"

// The answer when a frame number or a key time does not fit the host's 32 bits, or when
// the composition's frame duration is not a positive time.
inline constexpr A_Err kFrameOutOfRange = A_Err_PARAMETER;

// The frame that `time` falls in. kFrameOutOfRange for a frame duration that is not
// positive, a zero time scale, or a frame number beyond 32 bits.
A_Err FrameOfTime(const A_Time& time, const A_Time& frame_duration, A_long* frame);

// The frames a span of `duration` covers from a frame that starts on `start_frame`:
// writes `start_frame` + (duration in frames, truncated). kFrameOutOfRange as above.
A_Err EndFrame(A_long start_frame, const A_Time& duration, const A_Time& frame_duration,
               A_long* end_frame);

// The time of the key for `frame`: value = frame × frame duration value, scale = the frame
// duration's scale. kFrameOutOfRange when the value does not fit 32 bits.
A_Err KeyTimeOfFrame(A_long frame, const A_Time& frame_duration, A_Time* time);
