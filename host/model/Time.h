// The host's time, A_Time: a 32-bit signed value over a 32-bit unsigned scale. Times
// are compared and converted exactly, in 64-bit integers, never through floating
// point: 7/30 s and 14/60 s are the same time, and a key at one replaces a key at
// the other.
#pragma once

#include <optional>

#include "A.h"

namespace tlhost {

// Seconds as a double (0 for a zero scale).
double SecondsOf(const A_Time& time);

// -1, 0 or 1 as `a` is earlier than, the same time as or later than `b`. Both scales
// must be non-zero.
int CompareTimes(const A_Time& a, const A_Time& b);

// The time with value and scale divided by their greatest common divisor (scale 1
// for time 0): one form for every way of writing the same time.
A_Time ReducedTime(const A_Time& time);

// a + b, reduced; none when the sum does not fit the host's time.
std::optional<A_Time> AddTimes(const A_Time& a, const A_Time& b);

// The host time for seconds: the smallest of a set of usual time scales that gives
// back exactly the same seconds, else the closest in microseconds. None when the time
// is out of the host's range.
std::optional<A_Time> TimeFromSeconds(double seconds);

// The frame duration the host gives a composition of `frame_rate` frames per second:
// one over the rate for whole rates, 1001 over a thousand times the next whole rate
// for the drop-frame rates (29.97 gives 1001/30000), else the closest time.
A_Time FrameDurationForRate(double frame_rate);

}  // namespace tlhost
