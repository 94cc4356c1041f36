// The placeholder graphic: four closed paths of the host's mask-outline vertices, in layer
// pixels, tangents relative to their vertex. Path 4 is the arrow, a rounded tip at about the
// layer origin pointing toward negative x that flares back to a bar; path 3 is a bar behind
// it; paths 1 and 2 are two tabs with rounded outer ends above and below the centre line.
// Placed at 49, 50 in a 100 x 100 composition, the tip sits about one pixel left of the
// centre.
#pragma once

#include <cstddef>

struct OutlineVertex {
    int path;    // 1 to 4, the order the paths are added in
    int vertex;  // the vertex's index in its path
    double x, y;
    double in_x, in_y;
    double out_x, out_y;
};

// clang-format off
inline constexpr OutlineVertex kArrowheadOutline[] = {
    // path vertex  position              in-tangent         out-tangent
    {1, 0,  46.064,  -7.033,     1.424,  0,        0,      0},
    {1, 1,  37.549,  -7.033,     0,      0,        0,      0},
    {1, 2,  37.549, -13.165,     0,      0,        0,      0},
    {1, 3,  46.064, -13.165,     0,      0,        1.424,  0},
    {1, 4,  48.68,  -10.114,     0,     -1.424,    0,      1.424},
    {2, 0,  48.68,   10.492,     0,     -1.424,    0,      1.424},
    {2, 1,  46.064,  13.543,     1.424,  0,        0,      0},
    {2, 2,  37.549,  13.543,     0,      0,        0,      0},
    {2, 3,  37.549,   7.411,     0,      0,        0,      0},
    {2, 4,  46.064,   7.411,     0,      0,        1.424,  0},
    {3, 0,  34.003, -18.455,     0,      0,        0,      0},
    {3, 1,  34.003,  18.513,     0,      0,        0,      0},
    {3, 2,  30.109,  18.513,     0,      0,        0,      0},
    {3, 3,  30.109, -18.455,     0,      0,        0,      0},
    {4, 0,  22.407, -16.798,    -7.963,  0,        0,      0},
    {4, 1,  25.226, -16.798,     0,      0,        0,      0},
    {4, 2,  25.226,  16.74,      0,      0,        0,      0},
    {4, 3,  22.407,  16.74,      0,      0,       -7.963,  0},
    {4, 4,   6.074,   3.749,     1.715,  7.44,     0,      0},
    {4, 5,   3.691,   3.749,     0,      0,       -2.063,  0},
    {4, 6,  -0.058,  -0.029,     0,      2.063,    0,     -2.063},
    {4, 7,   3.691,  -3.778,    -2.063,  0,        0,      0},
    {4, 8,   6.074,  -3.778,     0,      0,        1.715, -7.44},
};
// clang-format on

inline constexpr int kArrowheadOutlinePaths = 4;
inline constexpr std::size_t kArrowheadOutlineVertices =
    sizeof kArrowheadOutline / sizeof kArrowheadOutline[0];

namespace outline_detail {
constexpr bool RowsAreInPathAndVertexOrder() {
    int path = 1;
    int next_vertex = 0;
    for (const OutlineVertex& v : kArrowheadOutline) {
        if (v.path == path + 1 && v.vertex == 0) {
            path = v.path;
            next_vertex = 0;
        }
        if (v.path != path || v.vertex != next_vertex) return false;
        ++next_vertex;
    }
    return path == kArrowheadOutlinePaths;
}
}  // namespace outline_detail

static_assert(outline_detail::RowsAreInPathAndVertexOrder(),
              "the outline lists paths 1 to 4, each from vertex 0 up");
