// The host's drawing suites, driven by a fake plug-in: objects counted until released, the
// display list holding copies of what was drawn, and references checked before use. Then the
// recorded panel painted by the renderer, where this build has one.
#include <gtest/gtest.h>

#include "AE_EffectSuites.h"
#include "DrawbotSuite.h"
#include "panel/ButtonImages.h"
#include "panel/PanelFixture.h"
#include "support/FakePlugin.h"
#include "support/TestSupport.h"
#ifdef TL_HAVE_DRAWING
#include "drawing/Renderer.h"
#endif

namespace {

using tlhost::CommandReport;
using tlhost::DrawOpKind;
using tlhost::PathElement;
using tlhost::RefKind;

// The context the fake plug-in's body draws in, and the suites it holds for the command.
PF_ContextH g_context = nullptr;

struct Suites {
    const SPBasicSuite* pica;
    DRAWBOT_DrawbotSuite1* draw;
    DRAWBOT_SupplierSuite1* supplier;
    DRAWBOT_SurfaceSuite2* surface;
    DRAWBOT_PathSuite1* path;
    PF_EffectCustomUISuite1* ui;
    DRAWBOT_SupplierRef supplier_ref = nullptr;
    DRAWBOT_SurfaceRef surface_ref = nullptr;

    explicit Suites(PF_InData* in_data)
        : pica(in_data->pica_basicP),
          draw(tltest::AcquireSuite<DRAWBOT_DrawbotSuite1>(in_data, kDRAWBOT_DrawSuite, 1)),
          supplier(
              tltest::AcquireSuite<DRAWBOT_SupplierSuite1>(in_data, kDRAWBOT_SupplierSuite, 1)),
          surface(tltest::AcquireSuite<DRAWBOT_SurfaceSuite2>(in_data, kDRAWBOT_SurfaceSuite, 2)),
          path(tltest::AcquireSuite<DRAWBOT_PathSuite1>(in_data, kDRAWBOT_PathSuite, 1)),
          ui(tltest::AcquireSuite<PF_EffectCustomUISuite1>(in_data, kPFEffectCustomUISuite, 1)) {
        DRAWBOT_DrawRef ref = nullptr;
        if (ui->PF_GetDrawingReference(g_context, &ref) == 0 && ref) {
            draw->GetSupplier(ref, &supplier_ref);
            draw->GetSurface(ref, &surface_ref);
        }
    }
    ~Suites() {
        pica->ReleaseSuite(kDRAWBOT_DrawSuite, 1);
        pica->ReleaseSuite(kDRAWBOT_SupplierSuite, 1);
        pica->ReleaseSuite(kDRAWBOT_SurfaceSuite, 2);
        pica->ReleaseSuite(kDRAWBOT_PathSuite, 1);
        pica->ReleaseSuite(kPFEffectCustomUISuite, 1);
    }
    SPErr Release(void* object) {
        return supplier->ReleaseObject(static_cast<DRAWBOT_ObjectRef>(object));
    }
};

constexpr DRAWBOT_ColorRGBA kRed{1, 0, 0, 1};

class DrawbotHost : public ::testing::Test {
  protected:
    CommandReport RunInContext(tltest::Body body) {
        context_ = &fake_.session().drawing().OpenContext();
        g_context = context_->handle();
        CommandReport report = fake_.Run(body);
        g_context = nullptr;
        return report;
    }
    tltest::FakePlugin fake_;
    tlhost::DrawingContext* context_ = nullptr;
};

TEST_F(DrawbotHost, ObjectsNotReleasedAreLeftoversNamedByKind) {
    const CommandReport report = RunInContext([](PF_InData* in_data, PF_OutData*) -> PF_Err {
        Suites s(in_data);
        DRAWBOT_PenRef pen = nullptr;
        DRAWBOT_BrushRef brush = nullptr;
        s.supplier->NewPen(s.supplier_ref, &kRed, 2.0f, &pen);
        s.supplier->NewBrush(s.supplier_ref, &kRed, &brush);
        s.Release(brush);
        return PF_Err_NONE;
    });
    ASSERT_EQ(report.leftovers.size(), 1u) << tltest::Leftovers(report);
    EXPECT_EQ(report.leftovers[0].kind, RefKind::DrawbotObject);
    EXPECT_EQ(report.leftovers[0].what, "drawbot pen");
    EXPECT_NE(report.leftovers[0].created_by.find("NewPen"), std::string::npos);
}

TEST_F(DrawbotHost, EachRetainNeedsARelease) {
    static SPErr third = 0;
    const CommandReport report = RunInContext([](PF_InData* in_data, PF_OutData*) -> PF_Err {
        Suites s(in_data);
        DRAWBOT_PathRef path = nullptr;
        s.supplier->NewPath(s.supplier_ref, &path);
        s.supplier->RetainObject(reinterpret_cast<DRAWBOT_ObjectRef>(path));
        s.Release(path);
        s.Release(path);
        third = s.Release(path);
        return PF_Err_NONE;
    });
    EXPECT_TRUE(report.leftovers.empty()) << tltest::Leftovers(report);
    EXPECT_NE(third, 0);
    ASSERT_EQ(report.violations.size(), 1u);
    EXPECT_NE(report.violations[0].find("disposed drawbot object"), std::string::npos);
}

TEST_F(DrawbotHost, TheListKeepsCopiesOfPathsAndColoursAsTheyWereWhenDrawn) {
    const CommandReport report = RunInContext([](PF_InData* in_data, PF_OutData*) -> PF_Err {
        Suites s(in_data);
        DRAWBOT_BrushRef brush = nullptr;
        DRAWBOT_PathRef path = nullptr;
        s.supplier->NewBrush(s.supplier_ref, &kRed, &brush);
        s.supplier->NewPath(s.supplier_ref, &path);
        s.path->MoveTo(path, 1, 2);
        s.path->LineTo(path, 3, 4);
        const DRAWBOT_PointF32 centre{5, 5};
        s.path->AddArc(path, &centre, 2, 0, 90);
        s.path->Close(path);
        s.surface->FillPath(s.surface_ref, brush, path, kDRAWBOT_FillType_EvenOdd);
        s.path->LineTo(path, 9, 9);  // after the fill: not part of it
        s.Release(path);
        s.Release(brush);
        return PF_Err_NONE;
    });
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
    const auto& ops = context_->list.ops;
    ASSERT_EQ(ops.size(), 1u);
    EXPECT_EQ(ops[0].kind, DrawOpKind::FillPath);
    EXPECT_EQ(ops[0].fill_type, kDRAWBOT_FillType_EvenOdd);
    EXPECT_FLOAT_EQ(ops[0].color.red, 1);
    ASSERT_EQ(ops[0].path.size(), 4u);
    EXPECT_EQ(ops[0].path[2].kind, PathElement::Kind::Arc);
    EXPECT_FLOAT_EQ(ops[0].path[2].sweep, 90);
    EXPECT_EQ(ops[0].path[3].kind, PathElement::Kind::Close);
}

TEST_F(DrawbotHost, AnObjectOfTheWrongKindOrAClosedContextIsRefusedAsABreach) {
    static SPErr wrong_kind = 0;
    CommandReport report = RunInContext([](PF_InData* in_data, PF_OutData*) -> PF_Err {
        Suites s(in_data);
        DRAWBOT_PenRef pen = nullptr;
        DRAWBOT_PathRef path = nullptr;
        s.supplier->NewPen(s.supplier_ref, &kRed, 1, &pen);
        s.supplier->NewPath(s.supplier_ref, &path);
        wrong_kind = s.surface->FillPath(s.surface_ref, reinterpret_cast<DRAWBOT_BrushRef>(pen),
                                         path, kDRAWBOT_FillType_Default);
        s.Release(pen);
        s.Release(path);
        return PF_Err_NONE;
    });
    EXPECT_NE(wrong_kind, 0);
    ASSERT_EQ(report.violations.size(), 1u);
    EXPECT_NE(report.violations[0].find("a pen where a brush belongs"), std::string::npos);
    EXPECT_TRUE(context_->list.ops.empty());

    // A context is good for its event only.
    fake_.session().drawing().Close(*context_);
    g_context = context_->handle();
    report = fake_.Run([](PF_InData* in_data, PF_OutData*) -> PF_Err {
        Suites s(in_data);
        return s.supplier_ref == nullptr ? PF_Err_NONE : PF_Err_INTERNAL_STRUCT_DAMAGED;
    });
    g_context = nullptr;
    EXPECT_EQ(report.result, PF_Err_NONE);
    ASSERT_EQ(report.violations.size(), 1u);
    EXPECT_NE(report.violations[0].find("closed context"), std::string::npos);
}

#ifdef TL_HAVE_DRAWING

// The panel as the renderer paints it, read back pixel by pixel (0xRRGGBBAA).
using PanelPicture = paneltest::PanelTest;

std::uint32_t Opaque(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return static_cast<std::uint32_t>(r) << 24 | static_cast<std::uint32_t>(g) << 16 |
           static_cast<std::uint32_t>(b) << 8 | 0xFF;
}

std::uint32_t ImagePixel(const A_u_char* image, int x, int y) {
    const A_u_char* p = image + (y * 24 + x) * 4;
    return Opaque(p[2], p[1], p[0]);
}

TEST_F(PanelPicture, ShowsTheBackgroundBordersAndTheStateOfEachButton) {
    SetRecord({0, 0, 0, 0, 1, 0, 0, 0, 0, 0});
    const tlhost::UIEventReport draw = Draw();
    ASSERT_EQ(draw.report.result, PF_Err_NONE);
    for (int scale : {1, 2}) {
        SCOPED_TRACE(scale);
        tlhost::RenderOptions options;
        options.area = PF_Rect{0, 0, 300, 150};
        options.scale = scale;
        options.surround = PF_App_Color{0, 0, 0};
        tlhost::RenderedImage picture;
        std::string error;
        ASSERT_TRUE(tlhost::RenderDisplayList(draw.display, options, &picture, &error)) << error;
        ASSERT_EQ(picture.width, 300 * scale);
        auto at = [&](int x, int y) { return picture.At(x * scale, y * scale); };
        // Outside the control: the host's surround; inside, in a gap: the panel background.
        EXPECT_EQ(at(5, 5), Opaque(0, 0, 0));
        EXPECT_EQ(at(paneltest::kH + 25, paneltest::kV + 10), Opaque(0x23, 0x23, 0x23));
        // The border covers the button's first column and row, and the column after it.
        EXPECT_EQ(at(paneltest::kH, paneltest::kV + 10), Opaque(49, 49, 49));
        EXPECT_EQ(at(paneltest::kH + 10, paneltest::kV), Opaque(49, 49, 49));
        EXPECT_EQ(at(paneltest::kH + 24, paneltest::kV + 10), Opaque(49, 49, 49));
        // Inside: the face of the off and the on image.
        EXPECT_EQ(at(paneltest::kH + 27 * 3 + 2, paneltest::kV + 2), ImagePixel(imgsData[3], 2, 2));
        EXPECT_EQ(at(paneltest::kH + 27 * 4 + 2, paneltest::kV + 2),
                  ImagePixel(imgsPressedData[4], 2, 2));
        // Somewhere in the caption strip under a button there is text lighter than the panel.
        bool text = false;
        for (int x = paneltest::kH; x < paneltest::kH + 24 && !text; ++x) {
            for (int y = paneltest::kV + 26; y < paneltest::kV + 38 && !text; ++y) {
                text = at(x, y) != Opaque(0x23, 0x23, 0x23);
            }
        }
        EXPECT_TRUE(text);
    }
}

TEST_F(PanelPicture, AnEmptyAreaOrAnOddScaleIsRefused) {
    tlhost::RenderOptions options;
    tlhost::RenderedImage picture;
    std::string error;
    EXPECT_FALSE(tlhost::RenderDisplayList({}, options, &picture, &error));
    options.area = PF_Rect{0, 0, 10, 10};
    options.scale = 3;
    EXPECT_FALSE(tlhost::RenderDisplayList({}, options, &picture, &error));
    EXPECT_EQ(error, "the scale must be 1 or 2");
}

#endif  // TL_HAVE_DRAWING

}  // namespace
