#include "model/Time.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <numeric>

namespace tlhost {

namespace {

// Time scales tried in order when a time in seconds is turned into a host time.
constexpr std::int64_t kTimeScales[] = {
    1,    2,    3,    4,     5,     6,     8,     10,    12,     15,      16,
    20,   24,   25,   30,    48,    50,    60,    100,   120,    240,     1000,
    1001, 2997, 3000, 24000, 25000, 30000, 48000, 60000, 600000, 1000000,
};

bool FitsTime(std::int64_t value, std::uint64_t scale) {
    return value >= std::numeric_limits<A_long>::min() &&
           value <= std::numeric_limits<A_long>::max() && scale >= 1 &&
           scale <= std::numeric_limits<A_u_long>::max();
}

}  // namespace

double SecondsOf(const A_Time& time) {
    return time.scale == 0 ? 0.0 : static_cast<double>(time.value) / time.scale;
}

int CompareTimes(const A_Time& a, const A_Time& b) {
    // |value| < 2^31 and scale < 2^32: each product fits in 63 bits.
    const std::int64_t left =
        static_cast<std::int64_t>(a.value) * static_cast<std::int64_t>(b.scale);
    const std::int64_t right =
        static_cast<std::int64_t>(b.value) * static_cast<std::int64_t>(a.scale);
    return left < right ? -1 : (left > right ? 1 : 0);
}

A_Time ReducedTime(const A_Time& time) {
    if (time.value == 0 || time.scale == 0) return A_Time{0, 1};
    const std::int64_t value = time.value;
    const std::int64_t scale = time.scale;
    const std::int64_t g = std::gcd(value < 0 ? -value : value, scale);
    return A_Time{static_cast<A_long>(value / g), static_cast<A_u_long>(scale / g)};
}

std::optional<A_Time> AddTimes(const A_Time& a, const A_Time& b) {
    if (a.scale == 0 || b.scale == 0) return std::nullopt;
    const A_Time x = ReducedTime(a);
    const A_Time y = ReducedTime(b);
    // Over the least common multiple of the scales. A sum whose scale does not fit 32
    // bits, or whose value does not fit 64, is no host time whatever it reduces to:
    // each term is below 2^63, and a sum beyond that is over 2^31 seconds.
    const std::uint64_t g = std::gcd(std::uint64_t{x.scale}, std::uint64_t{y.scale});
    const std::uint64_t scale = std::uint64_t{x.scale} / g * y.scale;
    if (scale > std::numeric_limits<A_u_long>::max()) return std::nullopt;
    const std::int64_t left = std::int64_t{x.value} * static_cast<std::int64_t>(scale / x.scale);
    const std::int64_t right = std::int64_t{y.value} * static_cast<std::int64_t>(scale / y.scale);
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    if ((left > 0 && right > kMax - left) || (left < 0 && right < -kMax - left)) {
        return std::nullopt;
    }
    const std::int64_t value = left + right;
    if (value == 0) return A_Time{0, 1};
    const std::int64_t d = std::gcd(value < 0 ? -value : value, static_cast<std::int64_t>(scale));
    if (!FitsTime(value / d, scale / static_cast<std::uint64_t>(d))) return std::nullopt;
    return A_Time{static_cast<A_long>(value / d),
                  static_cast<A_u_long>(scale / static_cast<std::uint64_t>(d))};
}

std::optional<A_Time> TimeFromSeconds(double seconds) {
    constexpr double kMax = std::numeric_limits<A_long>::max();
    if (!std::isfinite(seconds) || std::fabs(seconds) > kMax) return std::nullopt;
    std::optional<A_Time> closest;
    for (std::int64_t scale : kTimeScales) {
        const double ticks = std::round(seconds * static_cast<double>(scale));
        if (std::fabs(ticks) > kMax) break;
        A_Time time{static_cast<A_long>(ticks), static_cast<A_u_long>(scale)};
        if (SecondsOf(time) == seconds) return time;
        closest = time;
    }
    return closest;
}

A_Time FrameDurationForRate(double frame_rate) {
    if (!(frame_rate > 0) || !std::isfinite(frame_rate)) return A_Time{1, 30};
    const double whole = std::round(frame_rate);
    if (whole == frame_rate && whole <= std::numeric_limits<A_long>::max()) {
        return A_Time{1, static_cast<A_u_long>(whole)};
    }
    // 23.976, 29.97, 59.94...: 1000 frames in the time of 1001.
    const double next = std::ceil(frame_rate);
    if (next * 1000 <= std::numeric_limits<A_u_long>::max() &&
        std::fabs(frame_rate - next * 1000 / 1001) < 0.0005) {
        return A_Time{1001, static_cast<A_u_long>(next * 1000)};
    }
    std::optional<A_Time> time = TimeFromSeconds(1.0 / frame_rate);
    return time && time->value > 0 ? *time : A_Time{1, 1000000};
}

}  // namespace tlhost
