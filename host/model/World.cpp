#include "model/World.h"

#include <algorithm>
#include <cstring>

namespace tlhost {

namespace {
std::size_t PixelBytes(const PF_EffectWorld& w) {
    return (w.world_flags & PF_WorldFlag_DEEP) ? 8 : 4;
}

PF_Rect Clip(const PF_EffectWorld& w, const PF_Rect* r) {
    PF_Rect whole{0, 0, w.width, w.height};
    if (!r) return whole;
    return PF_Rect{std::max(r->left, 0), std::max(r->top, 0), std::min(r->right, w.width),
                   std::min(r->bottom, w.height)};
}
}  // namespace

World::World(A_long width, A_long height, bool deep) {
    world_.width = width;
    world_.height = height;
    world_.world_flags = PF_WorldFlag_WRITEABLE | (deep ? PF_WorldFlag_DEEP : 0);
    world_.rowbytes = width * static_cast<A_long>(deep ? 8 : 4);
    pixels_.assign(static_cast<std::size_t>(world_.rowbytes) * height, 0);
    world_.data = reinterpret_cast<PF_Pixel*>(pixels_.data());
    world_.extent_hint = PF_Rect{0, 0, width, height};
    world_.pix_aspect_ratio = PF_RationalScale{1, 1};
}

void World::Fill(const PF_Pixel& pixel) {
    for (A_long y = 0; y < world_.height; ++y) {
        for (A_long x = 0; x < world_.width; ++x) Set(x, y, pixel);
    }
}

PF_Pixel World::At(A_long x, A_long y) const {
    PF_Pixel p{};
    std::memcpy(&p, pixels_.data() + static_cast<std::size_t>(y) * world_.rowbytes + x * 4, 4);
    return p;
}

void World::Set(A_long x, A_long y, const PF_Pixel& pixel) {
    std::memcpy(pixels_.data() + static_cast<std::size_t>(y) * world_.rowbytes + x * 4, &pixel, 4);
}

A_Err CopyWorldPixels(const PF_EffectWorld* src, const PF_Rect* src_rect, PF_EffectWorld* dst,
                      const PF_Rect* dst_rect) {
    if (!src || !dst || !src->data || !dst->data) return A_Err_PARAMETER;
    if (PixelBytes(*src) != PixelBytes(*dst)) return A_Err_PARAMETER;
    const PF_Rect s = Clip(*src, src_rect);
    const PF_Rect d = Clip(*dst, dst_rect);
    const A_long w = std::min(s.right - s.left, d.right - d.left);
    const A_long h = std::min(s.bottom - s.top, d.bottom - d.top);
    if (w <= 0 || h <= 0) return A_Err_NONE;
    const std::size_t px = PixelBytes(*src);
    const auto* from = reinterpret_cast<const std::uint8_t*>(src->data);
    auto* to = reinterpret_cast<std::uint8_t*>(dst->data);
    for (A_long y = 0; y < h; ++y) {
        std::memmove(to + static_cast<std::size_t>(d.top + y) * dst->rowbytes + d.left * px,
                     from + static_cast<std::size_t>(s.top + y) * src->rowbytes + s.left * px,
                     static_cast<std::size_t>(w) * px);
    }
    return A_Err_NONE;
}

}  // namespace tlhost
