// Paints a recorded display list, as the host would show it in its pane, into an image or a PNG
// file. Coordinates are the pane's window coordinates; the image covers `area` (which need not
// start at 0) at `scale` image pixels per window pixel, and starts filled with `surround`, the
// host's own colour around the control.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "suites/Drawbot.h"

namespace tlhost {

struct RenderOptions {
    PF_Rect area{0, 0, 0, 0};  // left, top, right, bottom (exclusive)
    int scale = 1;             // 1 or 2
    PF_App_Color surround = DrawingBoard::kDefaultBackground;
    // The text face the host draws strings in (a fontconfig family name).
    std::string font_family = "DejaVu Sans";
};

// An image in 8-bit red, green, blue and alpha (not premultiplied), top row first.
struct RenderedImage {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgba;
    // The pixel at image coordinates, as 0xRRGGBBAA.
    std::uint32_t At(int x, int y) const;
};

// False, with the reason, when the options do not describe an image (an empty area, a scale
// other than 1 or 2) or painting fails.
bool RenderDisplayList(const DisplayList& list, const RenderOptions& options, RenderedImage* out,
                       std::string* error);
bool WritePng(const DisplayList& list, const RenderOptions& options, const std::string& path,
              std::string* error);

// An image from or to a PNG file; false, with the reason, when the file cannot be read or
// written.
bool ReadPng(const std::string& path, RenderedImage* out, std::string* error);
bool WritePng(const RenderedImage& image, const std::string& path, std::string* error);

}  // namespace tlhost
