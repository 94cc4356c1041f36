// What a shape layer's contents paint at a time: the fills and strokes (plain and gradient), in
// drawing order, each with the outlines it paints in its own group's space. No drawing here:
// the composition renderer hands the result to cairo.
//
// The host's shape semantics, as the stand-in follows them:
//   - A group's contents are listed top first, and what is higher in the list is drawn on top:
//     the items are drawn from the bottom of the list up, a nested group's paints where the
//     group stands.
//   - A fill or stroke paints every path above it in its own group, those inside groups above
//     it included (carried into its group's space by their groups' transforms). Paths below it
//     are not its own.
//   - A path operator (Trim Paths) changes every path above it in its group, those of groups
//     above it included, before anything is painted: a stroke placed between a path and a trim
//     below it still paints the trimmed path. Operators inside a group act first, then those
//     further down the groups around it. A trim works in the space of the group that holds it.
//   - Stroke widths, dash lengths and gradient points are in the space of the paint's own
//     group, so the transforms of the groups around the paint scale them, those of groups
//     inside it (which carry only their paths) do not.
//   - A group's opacity multiplies the opacity of every paint inside it; the layer's opacity
//     is applied to the drawn layer as a whole (by the composition renderer).
//   - Anything switched off (its eyeball) is left out with everything inside it: a switched-
//     off group gives no paths to the paints around it either.
//   - Several paths under one paint are painted as one shape: overlaps are filled and stroked
//     once. An open path is filled as if closed by a straight line.
//   - Dash and gap lengths count only where shown: the host keeps a stroke's dash properties
//     hidden until dashes are added, so hidden ones are as absent. The lengths run in list
//     order (dash, gap, dash, ...; an odd count repeats, as in the host's first dash with no
//     gap), negative lengths count as 0, and a pattern of total length 0 strokes solid.
//   - Values come from the caller's reader at the time given (after expressions, keyframes
//     interpolated). A property the tree lacks takes the host's default for a new item.
// Items that are not drawn (stars, operators other than Trim Paths, the composite order
// "below previous", blend modes other than Normal, group skew, gradient colour stops the
// project does not hold) are said once each in the notes.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "model/Project.h"
#include "model/Transform.h"
#include "render/Geometry.h"
#include "render/Notes.h"

namespace tlhost {

// A property's value at a time (seconds), as the caller reads it.
using ValueReader = PropertyReader;

// The plane part of a transform: what it does to points of the plane z = 0, dropping z.
Affine PlaneAffine(const Matrix4& m);

struct GradientStop {
    double at = 0;  // 0 to 1 along the gradient
    double red = 0, green = 0, blue = 0, alpha = 1;
};

// The host's gradient for a new gradient fill or stroke: white to black.
std::vector<GradientStop> DefaultGradientStops();

struct ShapePaint {
    enum class Kind { Fill, Stroke };
    Kind kind = Kind::Fill;
    bool gradient = false;
    // Where in the layer the paint stands (its layer's name and groups), for notes.
    const StreamNode* node = nullptr;

    std::vector<Outline> outlines;  // in the paint's space
    Affine to_layer;                // from the paint's space into the layer's

    double red = 1, green = 1, blue = 1;  // a plain paint's colour, 0 to 1
    double opacity = 1;                   // 0 to 1: the paint's own times its groups'
    bool even_odd = false;                // fill rule: non-zero winding unless set

    // Strokes.
    double width = 2;
    int line_cap = 1;   // 1 butt, 2 round, 3 projecting
    int line_join = 1;  // 1 miter, 2 round, 3 bevel
    double miter_limit = 4;
    std::vector<double> dashes;  // dash, gap, dash, ...; empty for a solid stroke
    double dash_offset = 0;

    // Gradients.
    int gradient_type = 1;  // 1 linear, 2 radial
    Point start{0, 0}, end{100, 0};
    double highlight_length = 0;  // percent of the radius, -100 to 100
    double highlight_angle = 0;   // degrees, from the start-to-end direction
    std::vector<GradientStop> stops;
};

// The paints of a shape layer at `time`, back to front.
std::vector<ShapePaint> ShapeLayerPaints(const Layer& layer, double time, const ValueReader& read,
                                         RenderNotes* notes);

}  // namespace tlhost
