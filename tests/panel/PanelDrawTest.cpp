// Drawing the panel: what the plug-in records on the host's surface for a draw event, and that
// every failure still gives back all it acquired.
#include <cstring>

#include "panel/ButtonImages.h"
#include "panel/PanelFixture.h"
#include "support/TestSupport.h"

namespace paneltest {
namespace {

constexpr float kCaptionGray = 88.0f / 255.0f;
constexpr float kBorderGray = 49.0f / 255.0f;

std::vector<DrawOpKind> Kinds(const tlhost::DisplayList& list) {
    std::vector<DrawOpKind> kinds;
    for (const DrawOp& op : list.ops) kinds.push_back(op.kind);
    return kinds;
}

// The operations of a full draw: background, image and caption per button, ten borders.
std::vector<DrawOpKind> FullDraw() {
    std::vector<DrawOpKind> kinds{DrawOpKind::PaintRect};
    for (int i = 0; i < 10; ++i) {
        kinds.push_back(DrawOpKind::DrawImage);
        kinds.push_back(DrawOpKind::DrawString);
    }
    for (int i = 0; i < 10; ++i) kinds.push_back(DrawOpKind::StrokePath);
    return kinds;
}

bool ShowsImage(const DrawOp& op, const A_u_char* image) {
    return op.image && op.image->width == 24 && op.image->height == 24 &&
           op.image->row_bytes == 96 && op.image->layout == kDRAWBOT_PixelLayout_32BGRA_Straight &&
           op.image->bytes.size() == kButtonImageBytes &&
           std::memcmp(op.image->bytes.data(), image, kButtonImageBytes) == 0;
}

using PanelDraw = PanelTest;

TEST_F(PanelDraw, PaintsBackgroundButtonsCaptionsAndBordersWhereTheLayoutSays) {
    const UIEventReport draw = Draw();
    ASSERT_EQ(draw.report.result, PF_Err_NONE);
    EXPECT_TRUE(draw.report.clean()) << tltest::Leftovers(draw.report);
    EXPECT_TRUE(draw.report.declined.empty());
    EXPECT_EQ(draw.out_flags, PF_EO_HANDLED_EVENT);
    ASSERT_EQ(Kinds(draw.display), FullDraw());

    // The background covers the frame and one row more, in the host's background colour.
    const DrawOp& background = draw.display.ops[0];
    EXPECT_FLOAT_EQ(background.rect.left, kH);
    EXPECT_FLOAT_EQ(background.rect.top, kV);
    EXPECT_FLOAT_EQ(background.rect.width, 267);
    EXPECT_FLOAT_EQ(background.rect.height, 40);
    EXPECT_FLOAT_EQ(background.color.red, 0x2323 / 65535.0f);
    EXPECT_FLOAT_EQ(background.color.alpha, 1.0f);

    const char16_t* captions[] = {u"Arw", u"Curv", u"Dsh", u"Ofst", u"Rpt",
                                  u"RCo", u"Trm",  u"Twt", u"Wgl",  u"ZgZ"};
    const auto images = draw.display.Of(DrawOpKind::DrawImage);
    const auto texts = draw.display.Of(DrawOpKind::DrawString);
    const auto borders = draw.display.Of(DrawOpKind::StrokePath);
    for (int i = 0; i < 10; ++i) {
        SCOPED_TRACE(i);
        EXPECT_FLOAT_EQ(images[i]->origin.x, kH + 27 * i);
        EXPECT_FLOAT_EQ(images[i]->origin.y, kV);
        EXPECT_FLOAT_EQ(images[i]->alpha, 1.0f);
        EXPECT_TRUE(ShowsImage(*images[i], imgsData[i]));

        EXPECT_EQ(texts[i]->text, captions[i]);
        EXPECT_FLOAT_EQ(texts[i]->origin.x, kH + 27 * i + 12);
        EXPECT_FLOAT_EQ(texts[i]->origin.y, kV + 34);
        EXPECT_EQ(texts[i]->alignment, kDRAWBOT_TextAlignment_Center);
        EXPECT_EQ(texts[i]->truncation, kDRAWBOT_TextTruncation_None);
        EXPECT_FLOAT_EQ(texts[i]->truncation_width, 0);
        EXPECT_FLOAT_EQ(texts[i]->font_size, 0.89f * tlhost::DrawingBoard::kDefaultFontSize);
        EXPECT_FLOAT_EQ(texts[i]->color.red, kCaptionGray);
        EXPECT_FLOAT_EQ(texts[i]->color.blue, kCaptionGray);
        EXPECT_FLOAT_EQ(texts[i]->color.alpha, 1.0f);

        ASSERT_EQ(borders[i]->path.size(), 1u);
        const tlhost::PathElement& rect = borders[i]->path[0];
        EXPECT_EQ(rect.kind, tlhost::PathElement::Kind::Rect);
        EXPECT_FLOAT_EQ(rect.rect.left, kH + 27 * i + 0.5f);
        EXPECT_FLOAT_EQ(rect.rect.top, kV + 0.5f);
        EXPECT_FLOAT_EQ(rect.rect.width, 24);
        EXPECT_FLOAT_EQ(rect.rect.height, 24);
        EXPECT_FLOAT_EQ(borders[i]->pen_width, 1.0f);
        EXPECT_FLOAT_EQ(borders[i]->color.green, kBorderGray);
        EXPECT_FLOAT_EQ(borders[i]->color.alpha, 1.0f);
    }
    // Drawing asks for no redraw and leaves the record alone.
    EXPECT_TRUE(draw.display.invalidated.empty());
    EXPECT_EQ(Record(), std::vector<std::uint8_t>(10, 0));
}

TEST_F(PanelDraw, TheBackgroundFollowsTheHostsColourAndTheCaptionsItsFontSize) {
    S().drawing().background = PF_App_Color{0xFFFF, 0x8000, 0x0000};
    S().drawing().default_font_size = 20.0f;
    const UIEventReport draw = Draw();
    ASSERT_EQ(draw.report.result, PF_Err_NONE);
    const DrawOp& background = draw.display.ops.at(0);
    EXPECT_FLOAT_EQ(background.color.red, 1.0f);
    EXPECT_FLOAT_EQ(background.color.green, 0x8000 / 65535.0f);
    EXPECT_FLOAT_EQ(background.color.blue, 0.0f);
    for (const DrawOp* text : draw.display.Of(DrawOpKind::DrawString)) {
        EXPECT_FLOAT_EQ(text->font_size, 0.89f * 20.0f);
    }
}

TEST_F(PanelDraw, AButtonShowsThePressedImageWheneverItsByteIsNonZero) {
    SetRecord({1, 0, 2, 0, 0, 0, 0, 0, 0, 255});
    const UIEventReport draw = Draw();
    ASSERT_EQ(draw.report.result, PF_Err_NONE);
    const auto images = draw.display.Of(DrawOpKind::DrawImage);
    ASSERT_EQ(images.size(), 10u);
    const bool on[10] = {true, false, true, false, false, false, false, false, false, true};
    for (int i = 0; i < 10; ++i) {
        EXPECT_TRUE(ShowsImage(*images[i], on[i] ? imgsPressedData[i] : imgsData[i])) << i;
    }
    // Drawing follows the record only: the checkboxes are not read, nor changed.
    EXPECT_EQ(Checkbox(0), 0);
    EXPECT_EQ(Record(), (std::vector<std::uint8_t>{1, 0, 2, 0, 0, 0, 0, 0, 0, 255}));
}

TEST_F(PanelDraw, EveryImageDiffersBetweenItsTwoStatesAndFromEveryOtherModule) {
    for (int i = 0; i < 10; ++i) {
        EXPECT_NE(std::memcmp(imgsData[i], imgsPressedData[i], kButtonImageBytes), 0) << i;
        for (int j = 0; j < i; ++j) {
            EXPECT_NE(std::memcmp(imgsData[i], imgsData[j], kButtonImageBytes), 0) << i << j;
        }
    }
}

TEST_F(PanelDraw, OutsideTheControlAreaNothingIsDrawn) {
    PF_EventExtra event{};
    event.e_type = PF_Event_DRAW;
    event.effect_win.index = 41;
    event.effect_win.area = PF_EA_PARAM_TITLE;
    event.effect_win.current_frame = kFrame;
    const UIEventReport draw = S().CustomUIEvent(Effect(), event);
    EXPECT_EQ(draw.report.result, PF_Err_NONE);
    EXPECT_TRUE(draw.report.clean()) << tltest::Leftovers(draw.report);
    EXPECT_TRUE(draw.display.ops.empty());
    EXPECT_EQ(draw.out_flags, PF_EO_HANDLED_EVENT);
}

TEST_F(PanelDraw, ARecordThatCannotBeLockedGivesTheBackgroundAndTheBordersAndTheError) {
    // The record is the first handle the draw locks.
    FailNext("host_lock_handle", 1, A_Err_GENERIC);
    const UIEventReport draw = Draw();
    EXPECT_EQ(draw.report.result, PF_Err_OUT_OF_MEMORY);
    EXPECT_TRUE(draw.report.clean()) << tltest::Leftovers(draw.report);
    std::vector<DrawOpKind> expected{DrawOpKind::PaintRect};
    expected.insert(expected.end(), 10, DrawOpKind::StrokePath);
    EXPECT_EQ(Kinds(draw.display), expected);
}

TEST_F(PanelDraw, AFrameSpanningTheWholeCoordinateRangeIsPaintedWithoutOverflow) {
    const PF_Rect frame{-2147483647 - 1, -2147483647 - 1, 2147483647, 2147483647};
    const UIEventReport draw = S().DrawEvent(Effect(), frame);
    EXPECT_EQ(draw.report.result, PF_Err_NONE);
    EXPECT_TRUE(draw.report.clean()) << tltest::Leftovers(draw.report);
    ASSERT_EQ(Kinds(draw.display), FullDraw());
    EXPECT_FLOAT_EQ(draw.display.ops[0].rect.width, 4294967295.0f);
    EXPECT_FLOAT_EQ(draw.display.ops[0].rect.height, 4294967296.0f);
}

TEST_F(PanelDraw, AContextWithoutADrawingReferenceIsNotDrawnIn) {
    S().drawing().give_drawing_refs = false;
    const UIEventReport draw = Draw();
    EXPECT_EQ(draw.report.result, PF_Err_NONE);
    EXPECT_TRUE(draw.report.clean()) << tltest::Leftovers(draw.report);
    EXPECT_TRUE(draw.display.ops.empty());
}

// A host call failing part-way through the draw: the drawing stops there, the error is the
// command's result, and everything acquired is given back (objects, suites, handles, locks).
struct DrawFault {
    const char* function;
    std::uint64_t nth;
    A_Err expected;   // the command's result
    std::size_t ops;  // operations recorded before the drawing stopped
};

class PanelDrawFault : public PanelTest, public ::testing::WithParamInterface<DrawFault> {};

TEST_P(PanelDrawFault, StopsThereAndReleasesEverything) {
    const DrawFault& fault = GetParam();
    FailNext(fault.function, fault.nth, 77);
    const UIEventReport draw = Draw();
    EXPECT_EQ(draw.report.result, fault.expected);
    EXPECT_TRUE(draw.report.clean()) << tltest::Leftovers(draw.report);
    EXPECT_EQ(draw.display.ops.size(), fault.ops);
    EXPECT_EQ(H().ledger().LiveCount(tlhost::RefKind::DrawbotObject), 0u);
    EXPECT_EQ(H().ledger().LiveCount(tlhost::RefKind::Suite), 0u);
    EXPECT_EQ(draw.out_flags, PF_EO_HANDLED_EVENT);
    // The next draw is whole again.
    const UIEventReport again = Draw();
    EXPECT_EQ(again.report.result, PF_Err_NONE);
    EXPECT_EQ(again.display.ops.size(), 31u);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, PanelDrawFault,
    ::testing::Values(DrawFault{"PF_GetDrawingReference", 1, 77, 0},
                      DrawFault{"GetSupplier", 1, 77, 0}, DrawFault{"GetSurface", 1, 77, 0},
                      DrawFault{"PF_AppGetBgColor", 1, 77, 0}, DrawFault{"PaintRect", 1, 77, 0},
                      DrawFault{"GetDefaultFontSize", 1, 77, 1},
                      DrawFault{"NewDefaultFont", 1, 77, 1},
                      // The scratch image of button 3 cannot be made or locked.
                      DrawFault{"host_new_handle", 4, PF_Err_OUT_OF_MEMORY, 7},
                      DrawFault{"host_lock_handle", 5, PF_Err_OUT_OF_MEMORY, 7},
                      DrawFault{"NewImageFromBuffer", 4, 77, 7}, DrawFault{"DrawImage", 3, 77, 5},
                      DrawFault{"NewBrush", 6, 77, 12}, DrawFault{"DrawString", 10, 77, 20},
                      DrawFault{"NewPen", 1, 77, 21}, DrawFault{"NewPath", 4, 77, 24},
                      DrawFault{"AddRect", 7, 77, 27}, DrawFault{"StrokePath", 10, 77, 30}),
    [](const ::testing::TestParamInfo<DrawFault>& info) {
        return std::string(info.param.function) + "_" + std::to_string(info.param.nth);
    });

TEST_F(PanelDraw, DrawingSuitesThatCannotBeAcquiredDrawNothingAndReleaseThoseThatWere) {
    H().faults().FailSuite("DRAWBOT Surface Suite", 2, 5);
    const UIEventReport draw = Draw();
    EXPECT_EQ(draw.report.result, PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_TRUE(draw.report.clean()) << tltest::Leftovers(draw.report);
    EXPECT_TRUE(draw.display.ops.empty());
    EXPECT_EQ(draw.report.return_msg, "Not able to acquire AEFX Suite.");
    EXPECT_TRUE(draw.report.out_flags & PF_OutFlag_DISPLAY_ERROR_MESSAGE);
}

TEST_F(PanelDraw, AMissingCustomInterfaceSuiteIsTheCommandsErrorAndReleasesTheDrawingSuites) {
    H().faults().FailSuite("PF Effect Custom UI Suite", 1, 5);
    const UIEventReport draw = Draw();
    EXPECT_EQ(draw.report.result, A_Err_MISSING_SUITE);
    EXPECT_TRUE(draw.report.clean()) << tltest::Leftovers(draw.report);
    EXPECT_TRUE(draw.display.ops.empty());
}

}  // namespace
}  // namespace paneltest
