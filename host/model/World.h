// Pixel worlds the host owns: the input layer, the output buffer, and what
// smart render checks out. 8-bit worlds hold ARGB pixels, deep worlds 16-bit ARGB.
#pragma once

#include <cstdint>
#include <vector>

#include "AE_Effect.h"

namespace tlhost {

class World {
  public:
    World(A_long width, A_long height, bool deep = false);
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    PF_EffectWorld* get() { return &world_; }
    const PF_EffectWorld* get() const { return &world_; }
    void Fill(const PF_Pixel& pixel);
    PF_Pixel At(A_long x, A_long y) const;  // 8-bit worlds only
    void Set(A_long x, A_long y, const PF_Pixel& pixel);
    bool operator==(const World& other) const { return pixels_ == other.pixels_; }

  private:
    std::vector<std::uint8_t> pixels_;
    PF_EffectWorld world_{};
};

// Copies the source rectangle of one world into the destination rectangle of
// another (null rectangles mean the whole world). Both rectangles are clipped to
// their worlds; the copy covers the overlap of the two sizes. Mixed depths fail.
A_Err CopyWorldPixels(const PF_EffectWorld* src, const PF_Rect* src_rect, PF_EffectWorld* dst,
                      const PF_Rect* dst_rect);

}  // namespace tlhost
