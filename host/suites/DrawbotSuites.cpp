// The drawing suites of custom effect-control interfaces: "DRAWBOT Draw Suite" v1, "DRAWBOT
// Supplier Suite" v1, "DRAWBOT Surface Suite" v2 and "DRAWBOT Path Suite" v1, with "PF Effect
// Custom UI Suite" v1 (the drawing reference of an event's context) and "PF AE App Suite" v6
// (background colour and redraw requests). Surface calls are recorded into the context's display
// list with copies of the objects they use; nothing is painted here.
#include <algorithm>
#include <cstring>
#include <map>

#include "core/Boundary.h"
#include "suites/Drawbot.h"
#include "suites/Objects.h"
#include "suites/Tables.h"

namespace tlhost {

namespace {

// The board of each host that has one; a host has at most one.
std::map<const Host*, DrawingBoard*>& Boards() {
    static std::map<const Host*, DrawingBoard*> boards;
    return boards;
}

}  // namespace

// ---- display list and board ---------------------------------------------------------------------

namespace {

struct OpName {
    DrawOpKind kind;
    const char* name;
};
// Each operation under the name of the surface function that records it.
constexpr OpName kOpNames[] = {
    {DrawOpKind::PaintRect, "PaintRect"},
    {DrawOpKind::FillPath, "FillPath"},
    {DrawOpKind::StrokePath, "StrokePath"},
    {DrawOpKind::DrawString, "DrawString"},
    {DrawOpKind::DrawImage, "DrawImage"},
    {DrawOpKind::PushState, "PushStateStack"},
    {DrawOpKind::PopState, "PopStateStack"},
    {DrawOpKind::Clip, "Clip"},
    {DrawOpKind::Transform, "Transform"},
    {DrawOpKind::SetInterpolationPolicy, "SetInterpolationPolicy"},
    {DrawOpKind::SetAntiAliasPolicy, "SetAntiAliasPolicy"},
    {DrawOpKind::Flush, "Flush"},
};

struct ObjectName {
    DrawObject::Kind kind;
    const char* name;
};
constexpr ObjectName kObjectNames[] = {
    {DrawObject::Kind::Pen, "pen"},     {DrawObject::Kind::Brush, "brush"},
    {DrawObject::Kind::Font, "font"},   {DrawObject::Kind::Path, "path"},
    {DrawObject::Kind::Image, "image"},
};

}  // namespace

const char* DrawOpName(DrawOpKind kind) {
    for (const OpName& row : kOpNames) {
        if (row.kind == kind) return row.name;
    }
    return "(unknown)";
}

const char* DrawObjectName(DrawObject::Kind kind) {
    for (const ObjectName& row : kObjectNames) {
        if (row.kind == kind) return row.name;
    }
    return "object";
}

std::vector<const DrawOp*> DisplayList::Of(DrawOpKind kind) const {
    std::vector<const DrawOp*> out;
    for (const DrawOp& op : ops) {
        if (op.kind == kind) out.push_back(&op);
    }
    return out;
}

DrawingBoard::DrawingBoard(Host& host) : host_(host) {
    Boards()[&host_] = this;
}

DrawingBoard::~DrawingBoard() {
    auto it = Boards().find(&host_);
    if (it != Boards().end() && it->second == this) Boards().erase(it);
}

DrawingBoard* DrawingBoard::Of(const Host& host) {
    auto it = Boards().find(&host);
    return it == Boards().end() ? nullptr : it->second;
}

DrawingContext& DrawingBoard::OpenContext() {
    contexts_.push_back(std::make_unique<DrawingContext>());
    DrawingContext& ctx = *contexts_.back();
    ctx.context.magic = PF_CONTEXT_MAGIC;
    ctx.context.w_type = PF_Window_EFFECT;
    ctx.context.reserved_drawref = reinterpret_cast<DRAWBOT_DrawRef>(&ctx.draw);
    ctx.has_drawing_ref = give_drawing_refs;
    return ctx;
}

DrawingContext& DrawingBoard::Find(const void* token, const char* what,
                                   DrawingContext::Token DrawingContext::*member) const {
    if (!token) Breach(A_Err_PARAMETER, std::string("null ") + what);
    for (const auto& ctx : contexts_) {
        if (&((*ctx).*member) != token) continue;
        if (!ctx->open) Breach(A_Err_PARAMETER, std::string(what) + " of a closed context");
        return *ctx;
    }
    Breach(A_Err_PARAMETER, std::string("foreign ") + what + " (not made by this host)");
}

DrawingContext& DrawingBoard::ContextOf(PF_ContextH handle) const {
    if (!handle) Breach(A_Err_PARAMETER, "null context handle");
    for (const auto& ctx : contexts_) {
        if (&ctx->context_ptr != handle) continue;
        if (!ctx->open) Breach(A_Err_PARAMETER, "context handle of a closed context");
        if (ctx->context_ptr != &ctx->context || ctx->context.magic != PF_CONTEXT_MAGIC) {
            Breach(A_Err_PARAMETER, "context record overwritten by the plug-in");
        }
        return *ctx;
    }
    Breach(A_Err_PARAMETER, "foreign context handle (not made by this host)");
}

DrawingContext& DrawingBoard::ContextOfDrawRef(DRAWBOT_DrawRef ref) const {
    return Find(ref, "drawing reference", &DrawingContext::draw);
}
DrawingContext& DrawingBoard::ContextOfSupplier(DRAWBOT_SupplierRef ref) const {
    return Find(ref, "supplier reference", &DrawingContext::supplier);
}
DrawingContext& DrawingBoard::ContextOfSurface(DRAWBOT_SurfaceRef ref) const {
    return Find(ref, "surface reference", &DrawingContext::surface);
}

namespace {

// ---- helpers ------------------------------------------------------------------------------------

DrawingBoard& BoardOf(Host& host) {
    DrawingBoard* board = DrawingBoard::Of(host);
    if (!board) Breach(A_Err_PARAMETER, "drawing outside a custom-interface event");
    return *board;
}

DrawColor ColorOf(const DRAWBOT_ColorRGBA* c) {
    Require(c, "colour");
    return DrawColor{c->red, c->green, c->blue, c->alpha};
}

DrawRect RectOf(const DRAWBOT_RectF32* r) {
    Require(r, "rectangle");
    return DrawRect{r->left, r->top, r->width, r->height};
}

DrawPoint PointOf(const DRAWBOT_PointF32* p) {
    Require(p, "point");
    return DrawPoint{p->x, p->y};
}

template <class Ref>
DrawObject& ObjectOf(DrawingBoard& board, Ref ref, DrawObject::Kind kind, const char* function) {
    DrawObject& object = board.objects().Get(ref, function);
    if (object.kind != kind) {
        Breach(A_Err_PARAMETER, std::string("a ") + DrawObjectName(object.kind) + " where a " +
                                    DrawObjectName(kind) + " belongs");
    }
    return object;
}

template <class Ref>
void NewObject(Host& host, DrawingBoard& board, DrawObject object, Ref* out) {
    Require(out, "object place");
    const std::string what = std::string("drawbot ") + DrawObjectName(object.kind);
    *out = board.objects().Make<Ref>(host.ledger(), std::move(object), what);
}

// Bytes a pixel takes in each layout.
int PixelBytes(DRAWBOT_PixelLayout layout) {
    switch (layout) {
        case kDRAWBOT_PixelLayout_24RGB:
        case kDRAWBOT_PixelLayout_24BGR:
            return 3;
        case kDRAWBOT_PixelLayout_32RGB:
        case kDRAWBOT_PixelLayout_32BGR:
        case kDRAWBOT_PixelLayout_32ARGB_Straight:
        case kDRAWBOT_PixelLayout_32ARGB_Premul:
        case kDRAWBOT_PixelLayout_32BGRA_Straight:
        case kDRAWBOT_PixelLayout_32BGRA_Premul:
            return 4;
    }
    return 0;
}

// Text longer than this is taken for a string without its terminating zero.
constexpr std::size_t kMaxTextUnits = 4096;

// ---- "DRAWBOT Draw Suite" v1 --------------------------------------------------------------------

SPErr GetSupplier(DRAWBOT_DrawRef ref, DRAWBOT_SupplierRef* out) {
    return Serve("GetSupplier", [&](Host& host) -> A_Err {
        Require(out, "supplier place");
        DrawingContext& ctx = BoardOf(host).ContextOfDrawRef(ref);
        *out = reinterpret_cast<DRAWBOT_SupplierRef>(&ctx.supplier);
        return A_Err_NONE;
    });
}

SPErr GetSurface(DRAWBOT_DrawRef ref, DRAWBOT_SurfaceRef* out) {
    return Serve("GetSurface", [&](Host& host) -> A_Err {
        Require(out, "surface place");
        DrawingContext& ctx = BoardOf(host).ContextOfDrawRef(ref);
        *out = reinterpret_cast<DRAWBOT_SurfaceRef>(&ctx.surface);
        return A_Err_NONE;
    });
}

// ---- "DRAWBOT Supplier Suite" v1 ----------------------------------------------------------------

SPErr NewPen(DRAWBOT_SupplierRef supplier, const DRAWBOT_ColorRGBA* color, float size,
             DRAWBOT_PenRef* out) {
    return Serve("NewPen", [&](Host& host) -> A_Err {
        DrawingBoard& board = BoardOf(host);
        board.ContextOfSupplier(supplier);
        DrawObject pen;
        pen.kind = DrawObject::Kind::Pen;
        pen.color = ColorOf(color);
        pen.size = size;
        NewObject(host, board, std::move(pen), out);
        return A_Err_NONE;
    });
}

SPErr NewBrush(DRAWBOT_SupplierRef supplier, const DRAWBOT_ColorRGBA* color,
               DRAWBOT_BrushRef* out) {
    return Serve("NewBrush", [&](Host& host) -> A_Err {
        DrawingBoard& board = BoardOf(host);
        board.ContextOfSupplier(supplier);
        DrawObject brush;
        brush.kind = DrawObject::Kind::Brush;
        brush.color = ColorOf(color);
        NewObject(host, board, std::move(brush), out);
        return A_Err_NONE;
    });
}

SPErr AnswerTrue(const char* function, DRAWBOT_SupplierRef supplier, DRAWBOT_Boolean* out) {
    return Serve(function, [&](Host& host) -> A_Err {
        Require(out, "answer place");
        BoardOf(host).ContextOfSupplier(supplier);
        *out = 1;
        return A_Err_NONE;
    });
}

SPErr SupportsText(DRAWBOT_SupplierRef supplier, DRAWBOT_Boolean* out) {
    return AnswerTrue("SupportsText", supplier, out);
}

SPErr GetDefaultFontSize(DRAWBOT_SupplierRef supplier, float* out) {
    return Serve("GetDefaultFontSize", [&](Host& host) -> A_Err {
        Require(out, "size place");
        DrawingBoard& board = BoardOf(host);
        board.ContextOfSupplier(supplier);
        *out = board.default_font_size;
        return A_Err_NONE;
    });
}

SPErr NewDefaultFont(DRAWBOT_SupplierRef supplier, float size, DRAWBOT_FontRef* out) {
    return Serve("NewDefaultFont", [&](Host& host) -> A_Err {
        DrawingBoard& board = BoardOf(host);
        board.ContextOfSupplier(supplier);
        if (!(size > 0)) Breach(A_Err_PARAMETER, "font size " + std::to_string(size));
        DrawObject font;
        font.kind = DrawObject::Kind::Font;
        font.size = size;
        NewObject(host, board, std::move(font), out);
        return A_Err_NONE;
    });
}

SPErr NewImageFromBuffer(DRAWBOT_SupplierRef supplier, int width, int height, int row_bytes,
                         DRAWBOT_PixelLayout layout, const void* data, DRAWBOT_ImageRef* out) {
    return Serve("NewImageFromBuffer", [&](Host& host) -> A_Err {
        DrawingBoard& board = BoardOf(host);
        board.ContextOfSupplier(supplier);
        Require(data, "pixel buffer");
        const int pixel_bytes = PixelBytes(layout);
        if (pixel_bytes == 0) Breach(A_Err_PARAMETER, "unknown pixel layout");
        if (width <= 0 || height <= 0 || row_bytes < width * pixel_bytes) {
            Breach(A_Err_PARAMETER, "image of " + std::to_string(width) + " by " +
                                        std::to_string(height) + " with " +
                                        std::to_string(row_bytes) + " bytes a row");
        }
        auto image = std::make_shared<DrawImageData>();
        image->width = width;
        image->height = height;
        image->row_bytes = row_bytes;
        image->layout = layout;
        const auto* bytes = static_cast<const std::uint8_t*>(data);
        image->bytes.assign(bytes, bytes + static_cast<std::size_t>(row_bytes) * height);
        DrawObject object;
        object.kind = DrawObject::Kind::Image;
        object.image = std::move(image);
        NewObject(host, board, std::move(object), out);
        return A_Err_NONE;
    });
}

SPErr NewPath(DRAWBOT_SupplierRef supplier, DRAWBOT_PathRef* out) {
    return Serve("NewPath", [&](Host& host) -> A_Err {
        DrawingBoard& board = BoardOf(host);
        board.ContextOfSupplier(supplier);
        DrawObject path;
        path.kind = DrawObject::Kind::Path;
        NewObject(host, board, std::move(path), out);
        return A_Err_NONE;
    });
}

SPErr SupportsPixelLayoutBGRA(DRAWBOT_SupplierRef supplier, DRAWBOT_Boolean* out) {
    return AnswerTrue("SupportsPixelLayoutBGRA", supplier, out);
}
SPErr PrefersPixelLayoutBGRA(DRAWBOT_SupplierRef supplier, DRAWBOT_Boolean* out) {
    return AnswerTrue("PrefersPixelLayoutBGRA", supplier, out);
}
SPErr SupportsPixelLayoutARGB(DRAWBOT_SupplierRef supplier, DRAWBOT_Boolean* out) {
    return AnswerTrue("SupportsPixelLayoutARGB", supplier, out);
}
SPErr PrefersPixelLayoutARGB(DRAWBOT_SupplierRef supplier, DRAWBOT_Boolean* out) {
    return Serve("PrefersPixelLayoutARGB", [&](Host& host) -> A_Err {
        Require(out, "answer place");
        BoardOf(host).ContextOfSupplier(supplier);
        *out = 0;
        return A_Err_NONE;
    });
}

SPErr RetainObject(DRAWBOT_ObjectRef ref) {
    return Serve("RetainObject", [&](Host& host) -> A_Err {
        DrawObject& object = BoardOf(host).objects().Get(ref, "RetainObject");
        object.retains.push_back(host.ledger().Acquire(
            RefKind::DrawbotObject,
            std::string("retain of a drawbot ") + DrawObjectName(object.kind)));
        return A_Err_NONE;
    });
}

SPErr ReleaseObject(DRAWBOT_ObjectRef ref) {
    return Serve("ReleaseObject", [&](Host& host) -> A_Err {
        DrawingBoard& board = BoardOf(host);
        DrawObject& object = board.objects().Get(ref, "ReleaseObject");
        if (!object.retains.empty()) {
            host.ledger().Release(object.retains.back(), "ReleaseObject");
            object.retains.pop_back();
            return A_Err_NONE;
        }
        board.objects().Dispose(host.ledger(), ref, "ReleaseObject");
        return A_Err_NONE;
    });
}

// ---- "DRAWBOT Surface Suite" v2 -----------------------------------------------------------------

// Records one surface call into the surface's context.
template <class Fill>
SPErr Record(const char* function, DRAWBOT_SurfaceRef surface, DrawOpKind kind, Fill&& fill) {
    return Serve(function, [&](Host& host) -> A_Err {
        DrawingBoard& board = BoardOf(host);
        DrawingContext& ctx = board.ContextOfSurface(surface);
        DrawOp op;
        op.kind = kind;
        fill(board, op);
        ctx.list.ops.push_back(std::move(op));
        return A_Err_NONE;
    });
}

SPErr PushStateStack(DRAWBOT_SurfaceRef surface) {
    return Record("PushStateStack", surface, DrawOpKind::PushState, [](DrawingBoard&, DrawOp&) {});
}

SPErr PopStateStack(DRAWBOT_SurfaceRef surface) {
    return Record("PopStateStack", surface, DrawOpKind::PopState, [](DrawingBoard&, DrawOp&) {});
}

SPErr PaintRect(DRAWBOT_SurfaceRef surface, const DRAWBOT_ColorRGBA* color,
                const DRAWBOT_RectF32* rect) {
    return Record("PaintRect", surface, DrawOpKind::PaintRect, [&](DrawingBoard&, DrawOp& op) {
        op.color = ColorOf(color);
        op.rect = RectOf(rect);
    });
}

SPErr FillPath(DRAWBOT_SurfaceRef surface, DRAWBOT_BrushRef brush, DRAWBOT_PathRef path,
               DRAWBOT_FillType fill_type) {
    return Record("FillPath", surface, DrawOpKind::FillPath, [&](DrawingBoard& board, DrawOp& op) {
        op.color = ObjectOf(board, brush, DrawObject::Kind::Brush, "FillPath").color;
        op.path = ObjectOf(board, path, DrawObject::Kind::Path, "FillPath").path;
        op.fill_type = fill_type;
    });
}

SPErr StrokePath(DRAWBOT_SurfaceRef surface, DRAWBOT_PenRef pen, DRAWBOT_PathRef path) {
    return Record(
        "StrokePath", surface, DrawOpKind::StrokePath, [&](DrawingBoard& board, DrawOp& op) {
            const DrawObject& p = ObjectOf(board, pen, DrawObject::Kind::Pen, "StrokePath");
            op.color = p.color;
            op.pen_width = p.size;
            op.path = ObjectOf(board, path, DrawObject::Kind::Path, "StrokePath").path;
        });
}

SPErr Clip(DRAWBOT_SurfaceRef surface, DRAWBOT_SupplierRef supplier, const DRAWBOT_Rect32* rect) {
    return Record("Clip", surface, DrawOpKind::Clip, [&](DrawingBoard& board, DrawOp& op) {
        board.ContextOfSupplier(supplier);
        Require(rect, "rectangle");
        op.rect = DrawRect{static_cast<float>(rect->left), static_cast<float>(rect->top),
                           static_cast<float>(rect->width), static_cast<float>(rect->height)};
    });
}

SPErr Transform(DRAWBOT_SurfaceRef surface, const DRAWBOT_MatrixF32* matrix) {
    return Record("Transform", surface, DrawOpKind::Transform, [&](DrawingBoard&, DrawOp& op) {
        Require(matrix, "matrix");
        op.matrix = *matrix;
    });
}

SPErr DrawString(DRAWBOT_SurfaceRef surface, DRAWBOT_BrushRef brush, DRAWBOT_FontRef font,
                 const DRAWBOT_UTF16Char* text, const DRAWBOT_PointF32* origin,
                 DRAWBOT_TextAlignment alignment, DRAWBOT_TextTruncation truncation,
                 float truncation_width) {
    return Record(
        "DrawString", surface, DrawOpKind::DrawString, [&](DrawingBoard& board, DrawOp& op) {
            op.color = ObjectOf(board, brush, DrawObject::Kind::Brush, "DrawString").color;
            op.font_size = ObjectOf(board, font, DrawObject::Kind::Font, "DrawString").size;
            Require(text, "text");
            std::size_t n = 0;
            while (n < kMaxTextUnits && text[n] != 0) ++n;
            if (n == kMaxTextUnits) Breach(A_Err_PARAMETER, "text without an end");
            op.text.assign(reinterpret_cast<const char16_t*>(text), n);
            op.origin = PointOf(origin);
            op.alignment = alignment;
            op.truncation = truncation;
            op.truncation_width = truncation_width;
        });
}

SPErr DrawImage(DRAWBOT_SurfaceRef surface, DRAWBOT_ImageRef image, const DRAWBOT_PointF32* origin,
                float alpha) {
    return Record("DrawImage", surface, DrawOpKind::DrawImage,
                  [&](DrawingBoard& board, DrawOp& op) {
                      op.image = ObjectOf(board, image, DrawObject::Kind::Image, "DrawImage").image;
                      op.origin = PointOf(origin);
                      op.alpha = alpha;
                  });
}

SPErr SetInterpolationPolicy(DRAWBOT_SurfaceRef surface, DRAWBOT_InterpolationPolicy policy) {
    return Record("SetInterpolationPolicy", surface, DrawOpKind::SetInterpolationPolicy,
                  [&](DrawingBoard&, DrawOp& op) { op.policy = policy; });
}

SPErr SetAntiAliasPolicy(DRAWBOT_SurfaceRef surface, DRAWBOT_AntiAliasPolicy policy) {
    return Record("SetAntiAliasPolicy", surface, DrawOpKind::SetAntiAliasPolicy,
                  [&](DrawingBoard&, DrawOp& op) { op.policy = policy; });
}

SPErr Flush(DRAWBOT_SurfaceRef surface) {
    return Record("Flush", surface, DrawOpKind::Flush, [](DrawingBoard&, DrawOp&) {});
}

SPErr GetTransformToScreenScale(DRAWBOT_SurfaceRef surface, float* out) {
    return Serve("GetTransformToScreenScale", [&](Host& host) -> A_Err {
        Require(out, "scale place");
        DrawingBoard& board = BoardOf(host);
        board.ContextOfSurface(surface);
        *out = board.screen_scale;
        return A_Err_NONE;
    });
}

// ---- "DRAWBOT Path Suite" v1 --------------------------------------------------------------------

template <class Fill>
SPErr AddToPath(const char* function, DRAWBOT_PathRef path, PathElement::Kind kind, Fill&& fill) {
    return Serve(function, [&](Host& host) -> A_Err {
        DrawObject& object = ObjectOf(BoardOf(host), path, DrawObject::Kind::Path, function);
        PathElement element;
        element.kind = kind;
        fill(element);
        object.path.push_back(element);
        return A_Err_NONE;
    });
}

SPErr MoveTo(DRAWBOT_PathRef path, float x, float y) {
    return AddToPath("MoveTo", path, PathElement::Kind::MoveTo, [&](PathElement& e) {
        e.points[0] = DrawPoint{x, y};
    });
}

SPErr LineTo(DRAWBOT_PathRef path, float x, float y) {
    return AddToPath("LineTo", path, PathElement::Kind::LineTo, [&](PathElement& e) {
        e.points[0] = DrawPoint{x, y};
    });
}

SPErr BezierTo(DRAWBOT_PathRef path, const DRAWBOT_PointF32* c1, const DRAWBOT_PointF32* c2,
               const DRAWBOT_PointF32* end) {
    return AddToPath("BezierTo", path, PathElement::Kind::BezierTo, [&](PathElement& e) {
        e.points[0] = PointOf(c1);
        e.points[1] = PointOf(c2);
        e.points[2] = PointOf(end);
    });
}

SPErr AddRect(DRAWBOT_PathRef path, const DRAWBOT_RectF32* rect) {
    return AddToPath("AddRect", path, PathElement::Kind::Rect,
                     [&](PathElement& e) { e.rect = RectOf(rect); });
}

SPErr AddArc(DRAWBOT_PathRef path, const DRAWBOT_PointF32* centre, float radius, float start,
             float sweep) {
    return AddToPath("AddArc", path, PathElement::Kind::Arc, [&](PathElement& e) {
        e.points[0] = PointOf(centre);
        e.radius = radius;
        e.start_angle = start;
        e.sweep = sweep;
    });
}

SPErr ClosePath(DRAWBOT_PathRef path) {
    return AddToPath("Close", path, PathElement::Kind::Close, [](PathElement&) {});
}

// ---- "PF Effect Custom UI Suite" v1 -------------------------------------------------------------

PF_Err GetDrawingReference(PF_ContextH handle, DRAWBOT_DrawRef* out) {
    return Serve("PF_GetDrawingReference", [&](Host& host) -> A_Err {
        Require(out, "drawing reference place");
        DrawingContext& ctx = BoardOf(host).ContextOf(handle);
        *out = ctx.has_drawing_ref ? reinterpret_cast<DRAWBOT_DrawRef>(&ctx.draw) : nullptr;
        return A_Err_NONE;
    });
}

// ---- "PF AE App Suite" v6 -----------------------------------------------------------------------

PF_Err AppGetBgColor(PF_App_Color* out) {
    return Serve("PF_AppGetBgColor", [&](Host& host) -> A_Err {
        Require(out, "colour place");
        const DrawingBoard* board = DrawingBoard::Of(host);
        *out = board ? board->background : DrawingBoard::kDefaultBackground;
        return A_Err_NONE;
    });
}

PF_Err InvalidateRect(PF_ContextH handle, const PF_Rect* rect) {
    return Serve("PF_InvalidateRect", [&](Host& host) -> A_Err {
        DrawingContext& ctx = BoardOf(host).ContextOf(handle);
        Invalidation invalidation;
        invalidation.whole_pane = rect == nullptr;
        if (rect) invalidation.rect = *rect;
        ctx.list.invalidated.push_back(invalidation);
        return A_Err_NONE;
    });
}

}  // namespace

const DRAWBOT_DrawbotSuite1* DrawbotDrawSuite1Table() {
    static const DRAWBOT_DrawbotSuite1 table = [] {
        DRAWBOT_DrawbotSuite1 s{};
        s.GetSupplier = GetSupplier;
        s.GetSurface = GetSurface;
        return s;
    }();
    return &table;
}

const DRAWBOT_SupplierSuite1* DrawbotSupplierSuite1Table() {
    static const DRAWBOT_SupplierSuite1 table = [] {
        DRAWBOT_SupplierSuite1 s{};
        s.NewPen = NewPen;
        s.NewBrush = NewBrush;
        s.SupportsText = SupportsText;
        s.GetDefaultFontSize = GetDefaultFontSize;
        s.NewDefaultFont = NewDefaultFont;
        s.NewImageFromBuffer = NewImageFromBuffer;
        s.NewPath = NewPath;
        s.SupportsPixelLayoutBGRA = SupportsPixelLayoutBGRA;
        s.PrefersPixelLayoutBGRA = PrefersPixelLayoutBGRA;
        s.SupportsPixelLayoutARGB = SupportsPixelLayoutARGB;
        s.PrefersPixelLayoutARGB = PrefersPixelLayoutARGB;
        s.RetainObject = RetainObject;
        s.ReleaseObject = ReleaseObject;
        return s;
    }();
    return &table;
}

const DRAWBOT_SurfaceSuite2* DrawbotSurfaceSuite2Table() {
    static const DRAWBOT_SurfaceSuite2 table = [] {
        DRAWBOT_SurfaceSuite2 s{};
        s.PushStateStack = PushStateStack;
        s.PopStateStack = PopStateStack;
        s.PaintRect = PaintRect;
        s.FillPath = FillPath;
        s.StrokePath = StrokePath;
        s.Clip = Clip;
        TL_DECLINE(s, GetClipBounds);
        TL_DECLINE(s, IsWithinClipBounds);
        s.Transform = Transform;
        s.DrawString = DrawString;
        s.DrawImage = DrawImage;
        s.SetInterpolationPolicy = SetInterpolationPolicy;
        TL_DECLINE(s, GetInterpolationPolicy);
        s.SetAntiAliasPolicy = SetAntiAliasPolicy;
        TL_DECLINE(s, GetAntiAliasPolicy);
        s.Flush = Flush;
        s.GetTransformToScreenScale = GetTransformToScreenScale;
        return s;
    }();
    return &table;
}

const DRAWBOT_PathSuite1* DrawbotPathSuite1Table() {
    static const DRAWBOT_PathSuite1 table = [] {
        DRAWBOT_PathSuite1 s{};
        s.MoveTo = MoveTo;
        s.LineTo = LineTo;
        s.BezierTo = BezierTo;
        s.AddRect = AddRect;
        s.AddArc = AddArc;
        s.Close = ClosePath;
        return s;
    }();
    return &table;
}

const PF_EffectCustomUISuite1* EffectCustomUISuite1Table() {
    static const PF_EffectCustomUISuite1 table = [] {
        PF_EffectCustomUISuite1 s{};
        s.PF_GetDrawingReference = GetDrawingReference;
        return s;
    }();
    return &table;
}

const PFAppSuite4* AppSuite4Table() {
    static const PFAppSuite4 table = [] {
        PFAppSuite4 s{};
        s.PF_AppGetBgColor = AppGetBgColor;
        TL_DECLINE(s, PF_AppGetColor);
        TL_DECLINE(s, PF_GetPersonalInfo);
        TL_DECLINE(s, PF_GetFontStyleSheet);
        TL_DECLINE(s, PF_SetCursor);
        TL_DECLINE(s, PF_IsRenderEngine);
        TL_DECLINE(s, PF_AppColorPickerDialog);
        TL_DECLINE(s, PF_GetMouse);
        s.PF_InvalidateRect = InvalidateRect;
        TL_DECLINE(s, PF_ConvertLocalToGlobal);
        TL_DECLINE(s, PF_GetColorAtGlobalPoint);
        return s;
    }();
    return &table;
}

}  // namespace tlhost
