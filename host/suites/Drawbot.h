// The host's side of custom-interface drawing. Drawing calls are not carried out here: the
// Drawbot suites record every call into a display list, which a renderer (host/drawing, optional)
// can paint later, and which tests read directly.
//
// A drawing context stands for one pane of the effect controls during one event. The plug-in
// gets its drawing reference through "PF Effect Custom UI Suite"; the reference gives the
// supplier and the surface (host-owned: never released), and the supplier makes pens, brushes,
// fonts, paths and images, each a host object counted in the ledger until ReleaseObject.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "AE_Effect.h"
#include "AE_EffectSuites.h"
#include "AE_EffectUI.h"
#include "DrawbotSuite.h"
#include "core/Host.h"
#include "core/RefTable.h"

namespace tlhost {

// ---- the display list ---------------------------------------------------------------------------

struct DrawColor {
    float red = 0, green = 0, blue = 0, alpha = 0;
};
struct DrawPoint {
    float x = 0, y = 0;
};
struct DrawRect {
    float left = 0, top = 0, width = 0, height = 0;
};

// One element of a path, as the path suite was asked for it.
struct PathElement {
    enum class Kind { MoveTo, LineTo, BezierTo, Rect, Arc, Close };
    Kind kind = Kind::MoveTo;
    DrawPoint points[3];  // MoveTo, LineTo: [0]; BezierTo: control 1, control 2, end; Arc: centre
    DrawRect rect;        // Rect
    float radius = 0, start_angle = 0, sweep = 0;  // Arc, in degrees
};

// The pixels of an image as the supplier was given them.
struct DrawImageData {
    int width = 0, height = 0, row_bytes = 0;
    DRAWBOT_PixelLayout layout = kDRAWBOT_PixelLayout_32BGRA_Straight;
    std::vector<std::uint8_t> bytes;  // height rows of row_bytes
};

enum class DrawOpKind {
    PaintRect,
    FillPath,
    StrokePath,
    DrawString,
    DrawImage,
    PushState,
    PopState,
    Clip,
    Transform,
    SetInterpolationPolicy,
    SetAntiAliasPolicy,
    Flush,
};
const char* DrawOpName(DrawOpKind kind);

// One surface call, with copies of what the objects it used held at the time of the call: the
// list stands on its own after the objects are released.
struct DrawOp {
    DrawOpKind kind = DrawOpKind::Flush;
    DrawColor color;      // PaintRect; the brush of FillPath and DrawString; the pen
    DrawRect rect;        // PaintRect, Clip
    float pen_width = 0;  // StrokePath
    DRAWBOT_FillType fill_type = kDRAWBOT_FillType_Default;
    std::vector<PathElement> path;  // FillPath, StrokePath
    std::u16string text;            // DrawString, without its terminating zero
    float font_size = 0;            // DrawString
    DrawPoint origin;               // DrawString, DrawImage
    DRAWBOT_TextAlignment alignment = kDRAWBOT_TextAlignment_Default;
    DRAWBOT_TextTruncation truncation = kDRAWBOT_TextTruncation_None;
    float truncation_width = 0;
    std::shared_ptr<const DrawImageData> image;  // DrawImage
    float alpha = 1;                             // DrawImage
    DRAWBOT_MatrixF32 matrix{};                  // Transform
    int policy = 0;                              // SetInterpolationPolicy, SetAntiAliasPolicy
};

// A rectangle the plug-in asked to have redrawn (PF_InvalidateRect).
struct Invalidation {
    bool whole_pane = false;  // a null rectangle
    PF_Rect rect{};
};

struct DisplayList {
    std::vector<DrawOp> ops;
    std::vector<Invalidation> invalidated;

    // The operations of one kind, in drawing order.
    std::vector<const DrawOp*> Of(DrawOpKind kind) const;
};

// ---- drawing contexts ---------------------------------------------------------------------------

// A pen, brush, font, path or image the supplier made.
struct DrawObject {
    enum class Kind { Pen, Brush, Font, Path, Image };
    Kind kind = Kind::Pen;
    DrawColor color;                             // Pen, Brush
    float size = 0;                              // Pen: width; Font: size
    std::vector<PathElement> path;               // Path
    std::shared_ptr<const DrawImageData> image;  // Image
    std::vector<RefId> retains;                  // one ledger entry per RetainObject
};
const char* DrawObjectName(DrawObject::Kind kind);

// One pane's drawing context for one event. The addresses of its members are the references
// the plug-in holds: the context handle, the drawing reference, the supplier and the surface.
struct DrawingContext {
    static constexpr std::uint32_t kTag = 0x44524157;  // "DRAW"
    std::uint32_t tag = kTag;
    PF_Context context{};
    PF_Context* context_ptr = &context;
    // The drawing reference, the supplier and the surface point at these tokens.
    struct Token {
        std::uint32_t tag;
        DrawingContext* owner;
    };
    Token draw{kTag, this}, supplier{kTag, this}, surface{kTag, this};
    // Whether PF_GetDrawingReference hands out the reference (a host may give none).
    bool has_drawing_ref = true;
    bool open = true;
    DisplayList list;

    DrawingContext() = default;
    DrawingContext(const DrawingContext&) = delete;
    DrawingContext& operator=(const DrawingContext&) = delete;

    PF_ContextH handle() { return &context_ptr; }
};

// The drawing state of one host: its contexts, the objects the plug-in holds, and the answers it
// gives about the application (background colour, default font size, screen scale). Found from
// the current host by the suites; a host without one answers the application questions with the
// defaults and refuses drawing calls.
class DrawingBoard {
  public:
    explicit DrawingBoard(Host& host);
    ~DrawingBoard();
    DrawingBoard(const DrawingBoard&) = delete;
    DrawingBoard& operator=(const DrawingBoard&) = delete;

    // The board of a host, or null.
    static DrawingBoard* Of(const Host& host);

    // A new context for one event of the effect controls window. Contexts stay valid (and
    // their lists readable) for the board's life; Close makes later use a breach.
    DrawingContext& OpenContext();
    void Close(DrawingContext& context) { context.open = false; }

    // The context behind a handle, a drawing reference, a supplier or a surface; a breach
    // (A_Err_PARAMETER) for anything this board did not hand out or has closed.
    DrawingContext& ContextOf(PF_ContextH handle) const;
    DrawingContext& ContextOfDrawRef(DRAWBOT_DrawRef ref) const;
    DrawingContext& ContextOfSupplier(DRAWBOT_SupplierRef ref) const;
    DrawingContext& ContextOfSurface(DRAWBOT_SurfaceRef ref) const;

    RefTable<DrawObject>& objects() { return objects_; }

    // Whether the contexts opened from now on hand out a drawing reference (a host may give
    // none, and then the plug-in must not draw).
    bool give_drawing_refs = true;

    // The application's answers.
    PF_App_Color background = kDefaultBackground;
    float default_font_size = kDefaultFontSize;
    float screen_scale = 1.0f;

    // The panel background of the host's default (dark) interface, and its default font size.
    static constexpr PF_App_Color kDefaultBackground{0x2323, 0x2323, 0x2323};
    static constexpr float kDefaultFontSize = 12.0f;

  private:
    DrawingContext& Find(const void* token, const char* what,
                         DrawingContext::Token DrawingContext::*member) const;

    Host& host_;
    std::vector<std::unique_ptr<DrawingContext>> contexts_;
    RefTable<DrawObject> objects_{RefKind::DrawbotObject, "drawbot object"};
};

}  // namespace tlhost
