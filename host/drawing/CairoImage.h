// Images between cairo surfaces, the host's straight RGBA images and PNG files, shared by the
// panel painter and the composition renderer.
#pragma once

#include <cairo.h>

#include <memory>
#include <string>

#include "drawing/Renderer.h"

namespace tlhost {

struct CairoSurfaceFree {
    void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
struct CairoContextFree {
    void operator()(cairo_t* cr) const { cairo_destroy(cr); }
};
struct CairoPatternFree {
    void operator()(cairo_pattern_t* p) const { cairo_pattern_destroy(p); }
};
using CairoSurfacePtr = std::unique_ptr<cairo_surface_t, CairoSurfaceFree>;
using CairoContextPtr = std::unique_ptr<cairo_t, CairoContextFree>;
using CairoPatternPtr = std::unique_ptr<cairo_pattern_t, CairoPatternFree>;

// The pixels of a cairo image surface (premultiplied ARGB) as straight RGBA.
void ImageFromSurface(cairo_surface_t* surface, RenderedImage* out);
// A cairo image surface holding an image's pixels.
CairoSurfacePtr SurfaceFromImage(const RenderedImage& image);

// cairo and fontconfig keep caches for the life of the process; they are given back when the
// process ends, so that a leak checker sees only what the host itself forgot. Called before a
// program first paints.
void ReleaseCairoCachesAtExit();

}  // namespace tlhost
