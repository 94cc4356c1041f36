#include "panel/PanelLayout.h"

void GetRectFromIndex(const PF_Point& origin, A_long index, PF_Rect* rect) {
    rect->left = origin.h + kButtonPitch * index;
    rect->top = origin.v;
    rect->right = rect->left + kButtonSize;
    rect->bottom = rect->top + kButtonSize;
}

bool IsPointInRect(const PF_Point& point, const PF_Rect& rect) {
    return rect.left < point.h && point.h <= rect.right && rect.top < point.v &&
           point.v <= rect.bottom;
}

bool IsPointInPanel(const PF_Point& origin, const PF_Point& point) {
    const PF_Rect box{origin.h, origin.v, origin.h + kModulePanelWidth,
                      origin.v + kModulePanelHeight};
    return IsPointInRect(point, box);
}

A_long ButtonAtPoint(const PF_Point& origin, const PF_Point& point) {
    if (!IsPointInPanel(origin, point)) return -1;
    for (A_long i = 0; i < kModuleCount; ++i) {
        PF_Rect rect;
        GetRectFromIndex(origin, i, &rect);
        if (IsPointInRect(point, rect)) return i;
    }
    return -1;
}

DRAWBOT_PointF32 CaptionAnchor(const PF_Point& origin, A_long index) {
    PF_Rect rect;
    GetRectFromIndex(origin, index, &rect);
    return DRAWBOT_PointF32{static_cast<float>(rect.left + rect.right) / 2.0f,
                            static_cast<float>(origin.v + kCaptionOffset)};
}

DRAWBOT_RectF32 BorderRect(const PF_Point& origin, A_long index) {
    PF_Rect rect;
    GetRectFromIndex(origin, index, &rect);
    return DRAWBOT_RectF32{static_cast<float>(rect.left) + 0.5f,
                           static_cast<float>(origin.v) + 0.5f, static_cast<float>(kButtonSize),
                           static_cast<float>(kButtonSize)};
}
