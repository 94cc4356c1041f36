#include "drawing/CairoImage.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cstdlib>

namespace tlhost {

void ImageFromSurface(cairo_surface_t* surface, RenderedImage* out) {
    cairo_surface_flush(surface);
    out->width = cairo_image_surface_get_width(surface);
    out->height = cairo_image_surface_get_height(surface);
    out->rgba.assign(static_cast<std::size_t>(out->width) * out->height * 4, 0);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const cairo_format_t format = cairo_image_surface_get_format(surface);
    for (int y = 0; y < out->height; ++y) {
        const auto* row =
            reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
        for (int x = 0; x < out->width; ++x) {
            const std::uint32_t px = row[x];
            const std::uint32_t a = format == CAIRO_FORMAT_RGB24 ? 255 : px >> 24;
            auto straight = [&](std::uint32_t c) {
                return static_cast<std::uint8_t>(
                    a == 0 ? 0 : std::min<std::uint32_t>(255, (c * 255 + a / 2) / a));
            };
            std::uint8_t* o = &out->rgba[(static_cast<std::size_t>(y) * out->width + x) * 4];
            o[0] = straight(px >> 16 & 0xFF);
            o[1] = straight(px >> 8 & 0xFF);
            o[2] = straight(px & 0xFF);
            o[3] = static_cast<std::uint8_t>(a);
        }
    }
}

CairoSurfacePtr SurfaceFromImage(const RenderedImage& image) {
    CairoSurfacePtr surface(
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, image.width, image.height));
    cairo_surface_flush(surface.get());
    unsigned char* data = cairo_image_surface_get_data(surface.get());
    const int stride = cairo_image_surface_get_stride(surface.get());
    for (int y = 0; y < image.height && data; ++y) {
        auto* row =
            reinterpret_cast<std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
        for (int x = 0; x < image.width; ++x) {
            const std::uint8_t* p =
                &image.rgba[(static_cast<std::size_t>(y) * image.width + x) * 4];
            const std::uint32_t a = p[3];
            auto pre = [&](std::uint8_t c) { return (c * a + 127) / 255; };
            row[x] = a << 24 | pre(p[0]) << 16 | pre(p[1]) << 8 | pre(p[2]);
        }
    }
    cairo_surface_mark_dirty(surface.get());
    return surface;
}

bool ReadPng(const std::string& path, RenderedImage* out, std::string* error) {
    ReleaseCairoCachesAtExit();
    CairoSurfacePtr surface(cairo_image_surface_create_from_png(path.c_str()));
    const cairo_status_t status = cairo_surface_status(surface.get());
    if (status != CAIRO_STATUS_SUCCESS) {
        if (error) *error = "cannot read " + path + ": " + cairo_status_to_string(status);
        return false;
    }
    ImageFromSurface(surface.get(), out);
    return true;
}

bool WritePng(const RenderedImage& image, const std::string& path, std::string* error) {
    ReleaseCairoCachesAtExit();
    CairoSurfacePtr surface = SurfaceFromImage(image);
    const cairo_status_t status = cairo_surface_write_to_png(surface.get(), path.c_str());
    if (status != CAIRO_STATUS_SUCCESS) {
        if (error) *error = "cannot write " + path + ": " + cairo_status_to_string(status);
        return false;
    }
    return true;
}

void ReleaseCairoCachesAtExit() {
    static const bool registered = [] {
        std::atexit([] {
            cairo_debug_reset_static_data();
            FcFini();
        });
        return true;
    }();
    (void)registered;
}

}  // namespace tlhost
