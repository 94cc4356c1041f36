// Where the buttons are and which one a click hits, the module table, and the captions' text.
#include <gtest/gtest.h>

#include <cstring>

#include "panel/CaptionText.h"
#include "panel/ModuleTable.h"
#include "panel/PanelLayout.h"

namespace {

constexpr PF_Point kOrigin{10, 100};

PF_Rect Button(A_long i) {
    PF_Rect r;
    GetRectFromIndex(kOrigin, i, &r);
    return r;
}

TEST(PanelLayout, ButtonsAre24SquareAnd27ApartEndingAtTheRightOfThePanel) {
    for (A_long i = 0; i < kModuleCount; ++i) {
        const PF_Rect r = Button(i);
        EXPECT_EQ(r.left, 10 + 27 * i);
        EXPECT_EQ(r.top, 100);
        EXPECT_EQ(r.right, r.left + 24);
        EXPECT_EQ(r.bottom, 124);
    }
    EXPECT_EQ(Button(9).right, 10 + 267);
}

TEST(PanelLayout, LeftAndTopEdgesAreOutsideRightAndBottomEdgesInside) {
    const PF_Rect r = Button(3);  // (91, 100) to (115, 124)
    EXPECT_FALSE(IsPointInRect({91, 110}, r));
    EXPECT_TRUE(IsPointInRect({92, 110}, r));
    EXPECT_TRUE(IsPointInRect({115, 110}, r));
    EXPECT_FALSE(IsPointInRect({116, 110}, r));
    EXPECT_FALSE(IsPointInRect({100, 100}, r));
    EXPECT_TRUE(IsPointInRect({100, 101}, r));
    EXPECT_TRUE(IsPointInRect({100, 124}, r));
    EXPECT_FALSE(IsPointInRect({100, 125}, r));
    // Corners: only the bottom-right one belongs to the rectangle.
    EXPECT_FALSE(IsPointInRect({91, 100}, r));
    EXPECT_TRUE(IsPointInRect({115, 124}, r));
}

TEST(PanelLayout, TheThreePixelGapsHitNothing) {
    for (A_long i = 0; i < kModuleCount - 1; ++i) {
        const A_long left = 10 + 27 * i;
        EXPECT_EQ(ButtonAtPoint(kOrigin, {left + 24, 112}), i) << "right edge of " << i;
        for (A_long dx = 25; dx <= 27; ++dx) {
            EXPECT_EQ(ButtonAtPoint(kOrigin, {left + dx, 112}), -1) << i << " + " << dx;
        }
        EXPECT_EQ(ButtonAtPoint(kOrigin, {left + 28, 112}), i + 1);
    }
}

TEST(PanelLayout, EveryPixelOfTheRowHitsAtMostTheButtonItLiesIn) {
    int hits[kModuleCount] = {};
    for (A_long x = 0; x <= 300; ++x) {
        for (A_long y = 90; y <= 150; ++y) {
            const A_long i = ButtonAtPoint(kOrigin, {x, y});
            if (i < 0) continue;
            ASSERT_LT(i, kModuleCount);
            ASSERT_TRUE(IsPointInRect({x, y}, Button(i))) << x << "," << y;
            ++hits[i];
        }
    }
    for (int count : hits) EXPECT_EQ(count, 24 * 24);
}

TEST(PanelLayout, ClicksOutsideThePanelBoxOrInTheCaptionStripHitNothing) {
    EXPECT_FALSE(IsPointInPanel(kOrigin, {10, 112}));
    EXPECT_TRUE(IsPointInPanel(kOrigin, {11, 112}));
    EXPECT_TRUE(IsPointInPanel(kOrigin, {277, 139}));
    EXPECT_FALSE(IsPointInPanel(kOrigin, {278, 112}));
    EXPECT_FALSE(IsPointInPanel(kOrigin, {100, 140}));
    EXPECT_FALSE(IsPointInPanel(kOrigin, {100, 100}));
    EXPECT_EQ(ButtonAtPoint(kOrigin, {277, 124}), 9);
    EXPECT_EQ(ButtonAtPoint(kOrigin, {22, 125}), -1);  // the caption under button 0
    EXPECT_EQ(ButtonAtPoint(kOrigin, {22, 139}), -1);
    EXPECT_EQ(ButtonAtPoint(kOrigin, {-5, 112}), -1);
}

TEST(PanelLayout, CaptionsAreCentredUnderTheirButtonsAndBordersOnTheHalfPixel) {
    for (A_long i = 0; i < kModuleCount; ++i) {
        const DRAWBOT_PointF32 anchor = CaptionAnchor(kOrigin, i);
        EXPECT_FLOAT_EQ(anchor.x, 10 + 27 * i + 12);
        EXPECT_FLOAT_EQ(anchor.y, 134);
        const DRAWBOT_RectF32 border = BorderRect(kOrigin, i);
        EXPECT_FLOAT_EQ(border.left, 10.5f + 27 * i);
        EXPECT_FLOAT_EQ(border.top, 100.5f);
        EXPECT_FLOAT_EQ(border.width, 24);
        EXPECT_FLOAT_EQ(border.height, 24);
    }
}

// A frame at the ends of the 32-bit window coordinates puts buttons beyond them: nothing
// overflows (the sanitizer build would stop), hits are still exact, and the rectangles handed
// out are brought to the nearest end.
TEST(PanelLayout, FramesAtTheCoordinateLimitsNeitherOverflowNorMissAHit) {
    constexpr A_long kMax = 2147483647;
    constexpr A_long kMin = -kMax - 1;
    const PF_Point high{kMax - 30, kMax - 30};
    EXPECT_EQ(ButtonAtPoint(high, {kMax - 29, kMax - 29}), 0);
    EXPECT_EQ(ButtonAtPoint(high, {kMax, kMax - 10}), 1);
    EXPECT_TRUE(IsPointInPanel(high, {kMax, kMax}));
    PF_Rect r;
    GetRectFromIndex(high, 9, &r);
    EXPECT_EQ(r.left, kMax);
    EXPECT_EQ(r.right, kMax);
    EXPECT_EQ(r.bottom, kMax - 6);
    EXPECT_FLOAT_EQ(CaptionAnchor(high, 9).x, static_cast<float>(kMax - 30.0 + 243 + 12));
    EXPECT_FLOAT_EQ(BorderRect(high, 9).left, static_cast<float>(kMax - 30.0 + 243 + 0.5));
    EXPECT_FLOAT_EQ(ImageOrigin(high, 9).x, static_cast<float>(kMax - 30.0 + 243));

    const PF_Point low{kMin, kMin};
    EXPECT_FALSE(IsPointInPanel(low, {kMin, kMin}));
    EXPECT_EQ(ButtonAtPoint(low, {kMin + 1, kMin + 1}), 0);
    EXPECT_EQ(ButtonAtPoint(low, {kMin + 28, kMin + 24}), 1);
    GetRectFromIndex(low, 0, &r);
    EXPECT_EQ(r.left, kMin);
    EXPECT_EQ(r.right, kMin + 24);
}

TEST(ModuleTable, NamesCaptionsAndCheckboxesInPanelOrder) {
    const char* names[] = {"Arrowheads",    "Curviness",  "Dashes", "Offset Paths", "Repeater",
                           "Round Corners", "Trim Paths", "Twist",  "Wiggle Paths", "Zig Zag"};
    const wchar_t* captions[] = {L"Arw", L"Curv", L"Dsh", L"Ofst", L"Rpt",
                                 L"RCo", L"Trm",  L"Twt", L"Wgl",  L"ZgZ"};
    for (int i = 0; i < kModuleCount; ++i) {
        EXPECT_STREQ(moduleNames[i], names[i]);
        EXPECT_STREQ(moduleShortNames[i], captions[i]);
        EXPECT_EQ(kModuleTable[i].enable_param, 43 + i);
        const ModuleShapes expected = i == 1   ? ModuleShapes::None
                                      : i == 2 ? ModuleShapes::Dashes
                                               : ModuleShapes::NamedGroup;
        EXPECT_EQ(kModuleTable[i].shapes, expected) << names[i];
    }
}

TEST(CaptionText, CaptionsBecomeUtf16WithATerminatingZero) {
    DRAWBOT_UTF16Char out[kCaptionCapacity];
    ASSERT_TRUE(CaptionToUTF16(L"Curv", out, kCaptionCapacity));
    const DRAWBOT_UTF16Char expected[] = {'C', 'u', 'r', 'v', 0};
    EXPECT_EQ(std::memcmp(out, expected, sizeof expected), 0);
    for (const wchar_t* caption : moduleShortNames) {
        EXPECT_TRUE(CaptionToUTF16(caption, out, kCaptionCapacity));
    }
}

TEST(CaptionText, CharactersBeyondTheBasicPlaneBecomeSurrogatePairs) {
    DRAWBOT_UTF16Char out[8];
    ASSERT_TRUE(CaptionToUTF16(L"\U0001F517x", out, 8));
    EXPECT_EQ(out[0], 0xD83D);
    EXPECT_EQ(out[1], 0xDD17);
    EXPECT_EQ(out[2], 'x');
    EXPECT_EQ(out[3], 0);
}

TEST(CaptionText, TextThatDoesNotFitIsRefusedWithAnEmptyResult) {
    DRAWBOT_UTF16Char out[4] = {1, 1, 1, 1};
    EXPECT_TRUE(CaptionToUTF16(L"abc", out, 4));
    EXPECT_FALSE(CaptionToUTF16(L"abcd", out, 4));
    EXPECT_EQ(out[0], 0);
    // A pair needs both its units and the zero.
    EXPECT_FALSE(CaptionToUTF16(L"ab\U0001F517", out, 4));
    EXPECT_EQ(out[0], 0);
    EXPECT_FALSE(CaptionToUTF16(nullptr, out, 4));
}

}  // namespace
