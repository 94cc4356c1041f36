// Where the module panel puts its buttons, captions and borders, and the colours it paints them
// in. Coordinates are the host's integer window coordinates of the effect controls; the origin is
// the top-left corner of the control's current frame.
#pragma once

#include "AE_Effect.h"
#include "DrawbotSuite.h"
#include "params/ParamTable.h"

// Buttons are 24 pixels square and 27 apart, so 3 pixels of gap; the tenth ends at h + 267.
inline constexpr A_long kButtonSize = 24;
inline constexpr A_long kButtonPitch = 27;
static_assert(kButtonPitch * (kModuleCount - 1) + kButtonSize == kModulePanelWidth,
              "the last button ends where the panel does");

// The caption's anchor lies this far below the origin, centred under its button.
inline constexpr A_long kCaptionOffset = 34;
// The captions are drawn a little smaller than the host's default font.
inline constexpr float kCaptionFontScale = 0.89f;

// Caption text and button borders (red, green and blue alike; opaque).
inline constexpr float kCaptionGray = 88.0f / 255.0f;
inline constexpr float kBorderGray = 49.0f / 255.0f;
inline constexpr float kBorderWidth = 1.0f;

// The rectangle of button `index` for a panel whose top-left corner is `origin`. Edges beyond
// the 32-bit window coordinates (a frame near their limits) are brought to the nearest limit;
// the hit tests and drawing positions below work in 64 bits and need no such care.
void GetRectFromIndex(const PF_Point& origin, A_long index, PF_Rect* rect);

// Where button `index`'s image is drawn: its rectangle's top-left corner.
DRAWBOT_PointF32 ImageOrigin(const PF_Point& origin, A_long index);

// A point is inside when left < x <= right and top < y <= bottom: the left and top edge
// coordinates belong to the neighbour, the right and bottom ones to the rectangle.
bool IsPointInRect(const PF_Point& point, const PF_Rect& rect);

// Whether a click lies in the panel's box: h < x <= h + 267 and v < y <= v + 39.
bool IsPointInPanel(const PF_Point& origin, const PF_Point& point);

// The button under a click, or -1 for a click outside the panel's box, in a gap between buttons
// or in the caption strip below them.
A_long ButtonAtPoint(const PF_Point& origin, const PF_Point& point);

// The caption's anchor under button `index` (its text is centred on it).
DRAWBOT_PointF32 CaptionAnchor(const PF_Point& origin, A_long index);

// The border drawn around button `index`: on the half pixel, so that a 1-pixel pen covers whole
// pixels.
DRAWBOT_RectF32 BorderRect(const PF_Point& origin, A_long index);
