#include "panel/PanelLayout.h"

#include <cstdint>
#include <limits>

namespace {

// Window coordinates are 32-bit, but a frame near the limits puts buttons beyond them: the
// geometry is worked out in 64 bits, where nothing overflows.
struct WideRect {
    std::int64_t left, top, right, bottom;
};

WideRect ButtonRect(const PF_Point& origin, A_long index) {
    const std::int64_t left = std::int64_t{origin.h} + std::int64_t{kButtonPitch} * index;
    const std::int64_t top = origin.v;
    return WideRect{left, top, left + kButtonSize, top + kButtonSize};
}

bool Inside(const PF_Point& point, const WideRect& rect) {
    return rect.left < point.h && point.h <= rect.right && rect.top < point.v &&
           point.v <= rect.bottom;
}

// A coordinate beyond the 32-bit range, brought to its nearest end.
A_long Saturated(std::int64_t x) {
    constexpr std::int64_t low = std::numeric_limits<A_long>::min();
    constexpr std::int64_t high = std::numeric_limits<A_long>::max();
    return static_cast<A_long>(x < low ? low : x > high ? high : x);
}

}  // namespace

void GetRectFromIndex(const PF_Point& origin, A_long index, PF_Rect* rect) {
    const WideRect wide = ButtonRect(origin, index);
    rect->left = Saturated(wide.left);
    rect->top = Saturated(wide.top);
    rect->right = Saturated(wide.right);
    rect->bottom = Saturated(wide.bottom);
}

bool IsPointInRect(const PF_Point& point, const PF_Rect& rect) {
    return rect.left < point.h && point.h <= rect.right && rect.top < point.v &&
           point.v <= rect.bottom;
}

bool IsPointInPanel(const PF_Point& origin, const PF_Point& point) {
    const WideRect box{origin.h, origin.v, std::int64_t{origin.h} + kModulePanelWidth,
                       std::int64_t{origin.v} + kModulePanelHeight};
    return Inside(point, box);
}

A_long ButtonAtPoint(const PF_Point& origin, const PF_Point& point) {
    if (!IsPointInPanel(origin, point)) return -1;
    for (A_long i = 0; i < kModuleCount; ++i) {
        if (Inside(point, ButtonRect(origin, i))) return i;
    }
    return -1;
}

DRAWBOT_PointF32 ImageOrigin(const PF_Point& origin, A_long index) {
    const WideRect rect = ButtonRect(origin, index);
    return DRAWBOT_PointF32{static_cast<float>(rect.left), static_cast<float>(rect.top)};
}

DRAWBOT_PointF32 CaptionAnchor(const PF_Point& origin, A_long index) {
    const WideRect rect = ButtonRect(origin, index);
    return DRAWBOT_PointF32{static_cast<float>(rect.left + rect.right) / 2.0f,
                            static_cast<float>(std::int64_t{origin.v} + kCaptionOffset)};
}

DRAWBOT_RectF32 BorderRect(const PF_Point& origin, A_long index) {
    const WideRect rect = ButtonRect(origin, index);
    return DRAWBOT_RectF32{static_cast<float>(rect.left) + 0.5f,
                           static_cast<float>(origin.v) + 0.5f, static_cast<float>(kButtonSize),
                           static_cast<float>(kButtonSize)};
}
