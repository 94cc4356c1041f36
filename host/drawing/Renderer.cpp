#include "drawing/Renderer.h"

#include "drawing/CairoImage.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <cstdlib>
#include <memory>

namespace tlhost {

namespace {

constexpr double kPi = 3.14159265358979323846;

struct SurfaceFree {
    void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
struct ContextFree {
    void operator()(cairo_t* cr) const { cairo_destroy(cr); }
};
using SurfacePtr = std::unique_ptr<cairo_surface_t, SurfaceFree>;
using ContextPtr = std::unique_ptr<cairo_t, ContextFree>;

void SetColor(cairo_t* cr, const DrawColor& c) {
    cairo_set_source_rgba(cr, c.red, c.green, c.blue, c.alpha);
}

void AppendPath(cairo_t* cr, const std::vector<PathElement>& path) {
    cairo_new_path(cr);
    for (const PathElement& e : path) {
        switch (e.kind) {
            case PathElement::Kind::MoveTo:
                cairo_move_to(cr, e.points[0].x, e.points[0].y);
                break;
            case PathElement::Kind::LineTo:
                cairo_line_to(cr, e.points[0].x, e.points[0].y);
                break;
            case PathElement::Kind::BezierTo:
                cairo_curve_to(cr, e.points[0].x, e.points[0].y, e.points[1].x, e.points[1].y,
                               e.points[2].x, e.points[2].y);
                break;
            case PathElement::Kind::Rect:
                cairo_rectangle(cr, e.rect.left, e.rect.top, e.rect.width, e.rect.height);
                break;
            case PathElement::Kind::Arc: {
                // Degrees from three o'clock, clockwise on the screen: with y pointing down
                // that is cairo's direction of increasing angles.
                const double a0 = e.start_angle * kPi / 180;
                const double a1 = (e.start_angle + e.sweep) * kPi / 180;
                if (e.sweep >= 0) {
                    cairo_arc(cr, e.points[0].x, e.points[0].y, e.radius, a0, a1);
                } else {
                    cairo_arc_negative(cr, e.points[0].x, e.points[0].y, e.radius, a0, a1);
                }
                break;
            }
            case PathElement::Kind::Close:
                cairo_close_path(cr);
                break;
        }
    }
}

// One pixel of a recorded image as straight red, green, blue, alpha.
void ReadPixel(const DrawImageData& image, const std::uint8_t* p, std::uint8_t rgba[4]) {
    auto unpremultiply = [&](std::uint8_t a) {
        for (int k = 0; k < 3; ++k) {
            rgba[k] = a == 0 ? 0 : static_cast<std::uint8_t>(std::min(255, rgba[k] * 255 / a));
        }
    };
    switch (image.layout) {
        case kDRAWBOT_PixelLayout_24RGB:
            rgba[0] = p[0], rgba[1] = p[1], rgba[2] = p[2], rgba[3] = 255;
            break;
        case kDRAWBOT_PixelLayout_24BGR:
            rgba[0] = p[2], rgba[1] = p[1], rgba[2] = p[0], rgba[3] = 255;
            break;
        case kDRAWBOT_PixelLayout_32RGB:
            rgba[0] = p[1], rgba[1] = p[2], rgba[2] = p[3], rgba[3] = 255;
            break;
        case kDRAWBOT_PixelLayout_32BGR:
            rgba[0] = p[2], rgba[1] = p[1], rgba[2] = p[0], rgba[3] = 255;
            break;
        case kDRAWBOT_PixelLayout_32ARGB_Straight:
        case kDRAWBOT_PixelLayout_32ARGB_Premul:
            rgba[0] = p[1], rgba[1] = p[2], rgba[2] = p[3], rgba[3] = p[0];
            if (image.layout == kDRAWBOT_PixelLayout_32ARGB_Premul) unpremultiply(p[0]);
            break;
        case kDRAWBOT_PixelLayout_32BGRA_Straight:
        case kDRAWBOT_PixelLayout_32BGRA_Premul:
            rgba[0] = p[2], rgba[1] = p[1], rgba[2] = p[0], rgba[3] = p[3];
            if (image.layout == kDRAWBOT_PixelLayout_32BGRA_Premul) unpremultiply(p[3]);
            break;
    }
}

int PixelBytes(DRAWBOT_PixelLayout layout) {
    return layout == kDRAWBOT_PixelLayout_24RGB || layout == kDRAWBOT_PixelLayout_24BGR ? 3 : 4;
}

// A cairo image (premultiplied, native-endian ARGB) holding a recorded image's pixels.
SurfacePtr ImageSurface(const DrawImageData& image) {
    SurfacePtr surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, image.width, image.height));
    cairo_surface_flush(surface.get());
    unsigned char* data = cairo_image_surface_get_data(surface.get());
    const int stride = cairo_image_surface_get_stride(surface.get());
    const int bytes = PixelBytes(image.layout);
    for (int y = 0; y < image.height; ++y) {
        auto* row =
            reinterpret_cast<std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
        for (int x = 0; x < image.width; ++x) {
            std::uint8_t rgba[4] = {0, 0, 0, 0};  // transparent for a layout not read
            ReadPixel(image,
                      &image.bytes[static_cast<std::size_t>(y) * image.row_bytes +
                                   static_cast<std::size_t>(x) * bytes],
                      rgba);
            const std::uint32_t a = rgba[3];
            auto pre = [&](std::uint8_t c) { return (c * a + 127) / 255; };
            row[x] = a << 24 | pre(rgba[0]) << 16 | pre(rgba[1]) << 8 | pre(rgba[2]);
        }
    }
    cairo_surface_mark_dirty(surface.get());
    return surface;
}

// UTF-16 to UTF-8; unpaired surrogates become U+FFFD.
std::string Utf8(const std::u16string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::uint32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | cp >> 6);
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | cp >> 12);
            out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | cp >> 18);
            out += static_cast<char>(0x80 | (cp >> 12 & 0x3F));
            out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

cairo_filter_t FilterFor(int interpolation) {
    switch (interpolation) {
        case kDRAWBOT_InterpolationPolicy_Med:
            return CAIRO_FILTER_BILINEAR;
        case kDRAWBOT_InterpolationPolicy_High:
            return CAIRO_FILTER_BEST;
        default:
            return CAIRO_FILTER_NEAREST;
    }
}

// Paints the list into a new surface; null with the reason on failure.
SurfacePtr Paint(const DisplayList& list, const RenderOptions& options, std::string* error) {
    const int w = options.area.right - options.area.left;
    const int h = options.area.bottom - options.area.top;
    if (w <= 0 || h <= 0) {
        if (error) *error = "the area to paint is empty";
        return nullptr;
    }
    if (options.scale != 1 && options.scale != 2) {
        if (error) *error = "the scale must be 1 or 2";
        return nullptr;
    }
    ReleaseCairoCachesAtExit();
    SurfacePtr surface(
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w * options.scale, h * options.scale));
    ContextPtr context(cairo_create(surface.get()));
    cairo_t* cr = context.get();
    cairo_scale(cr, options.scale, options.scale);
    cairo_translate(cr, -options.area.left, -options.area.top);
    cairo_set_source_rgb(cr, options.surround.red / 65535.0, options.surround.green / 65535.0,
                         options.surround.blue / 65535.0);
    cairo_paint(cr);

    int interpolation = kDRAWBOT_InterpolationPolicy_Default;
    int saved = 0;
    for (const DrawOp& op : list.ops) {
        switch (op.kind) {
            case DrawOpKind::PaintRect:
                SetColor(cr, op.color);
                cairo_rectangle(cr, op.rect.left, op.rect.top, op.rect.width, op.rect.height);
                cairo_fill(cr);
                break;
            case DrawOpKind::FillPath:
                AppendPath(cr, op.path);
                cairo_set_fill_rule(cr, op.fill_type == kDRAWBOT_FillType_EvenOdd
                                            ? CAIRO_FILL_RULE_EVEN_ODD
                                            : CAIRO_FILL_RULE_WINDING);
                SetColor(cr, op.color);
                cairo_fill(cr);
                break;
            case DrawOpKind::StrokePath:
                AppendPath(cr, op.path);
                cairo_set_line_width(cr, op.pen_width);
                SetColor(cr, op.color);
                cairo_stroke(cr);
                break;
            case DrawOpKind::DrawString: {
                const std::string text = Utf8(op.text);
                cairo_select_font_face(cr, options.font_family.c_str(), CAIRO_FONT_SLANT_NORMAL,
                                       CAIRO_FONT_WEIGHT_NORMAL);
                cairo_set_font_size(cr, op.font_size);
                cairo_text_extents_t extents;
                cairo_text_extents(cr, text.c_str(), &extents);
                double x = op.origin.x;
                if (op.alignment == kDRAWBOT_TextAlignment_Center) x -= extents.x_advance / 2;
                if (op.alignment == kDRAWBOT_TextAlignment_Right) x -= extents.x_advance;
                // The origin is the text's baseline.
                cairo_move_to(cr, x, op.origin.y);
                SetColor(cr, op.color);
                cairo_show_text(cr, text.c_str());
                cairo_new_path(cr);
                break;
            }
            case DrawOpKind::DrawImage: {
                if (!op.image) break;
                SurfacePtr image = ImageSurface(*op.image);
                cairo_set_source_surface(cr, image.get(), op.origin.x, op.origin.y);
                cairo_pattern_set_filter(cairo_get_source(cr), FilterFor(interpolation));
                cairo_paint_with_alpha(cr, op.alpha);
                break;
            }
            case DrawOpKind::PushState:
                cairo_save(cr);
                ++saved;
                break;
            case DrawOpKind::PopState:
                if (saved > 0) {
                    cairo_restore(cr);
                    --saved;
                }
                break;
            case DrawOpKind::Clip:
                cairo_rectangle(cr, op.rect.left, op.rect.top, op.rect.width, op.rect.height);
                cairo_clip(cr);
                break;
            case DrawOpKind::Transform: {
                // Row vectors: [x y 1] times the matrix.
                cairo_matrix_t m;
                cairo_matrix_init(&m, op.matrix.mat[0][0], op.matrix.mat[0][1], op.matrix.mat[1][0],
                                  op.matrix.mat[1][1], op.matrix.mat[2][0], op.matrix.mat[2][1]);
                cairo_transform(cr, &m);
                break;
            }
            case DrawOpKind::SetInterpolationPolicy:
                interpolation = op.policy;
                break;
            case DrawOpKind::SetAntiAliasPolicy:
                cairo_set_antialias(cr, op.policy == kDRAWBOT_AntiAliasPolicy_None
                                            ? CAIRO_ANTIALIAS_NONE
                                            : CAIRO_ANTIALIAS_DEFAULT);
                break;
            case DrawOpKind::Flush:
                break;
        }
    }
    while (saved-- > 0) cairo_restore(cr);
    context.reset();
    cairo_surface_flush(surface.get());
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) {
        if (error) *error = cairo_status_to_string(cairo_surface_status(surface.get()));
        return nullptr;
    }
    return surface;
}

}  // namespace

std::uint32_t RenderedImage::At(int x, int y) const {
    const std::size_t i = (static_cast<std::size_t>(y) * width + x) * 4;
    return static_cast<std::uint32_t>(rgba[i]) << 24 |
           static_cast<std::uint32_t>(rgba[i + 1]) << 16 |
           static_cast<std::uint32_t>(rgba[i + 2]) << 8 | rgba[i + 3];
}

bool RenderDisplayList(const DisplayList& list, const RenderOptions& options, RenderedImage* out,
                       std::string* error) {
    SurfacePtr surface = Paint(list, options, error);
    if (!surface) return false;
    ImageFromSurface(surface.get(), out);
    return true;
}

bool WritePng(const DisplayList& list, const RenderOptions& options, const std::string& path,
              std::string* error) {
    SurfacePtr surface = Paint(list, options, error);
    if (!surface) return false;
    const cairo_status_t status = cairo_surface_write_to_png(surface.get(), path.c_str());
    if (status != CAIRO_STATUS_SUCCESS) {
        if (error)
            *error = std::string("cannot write ") + path + ": " + cairo_status_to_string(status);
        return false;
    }
    return true;
}

}  // namespace tlhost
