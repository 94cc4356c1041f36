// Draws a composition of the project as the host renders a frame of it: its layers from the
// bottom of the stack up over the composition's background, each with its transform and
// opacity, shape layers through their contents (ShapeContents.h), into an image or a PNG file.
//
// What is drawn:
//   - layers that are switched on (video active), inside their time span at the time drawn (in
//     point included, end excluded), only the soloed ones when any layer is soloed;
//   - each layer placed by the model's transform (model/Transform.h, the same matrices the
//     expressions' toComp uses): anchor, position, scale, rotation; a 3D layer seen through
//     the composition's default camera, adjacent 3D layers drawn farthest first;
//   - shape layers;
//   - compositions shown as layers: the composition's own layers, clipped to its frame, at
//     the layer's time (a composition that shows itself is not drawn inside itself, and said);
//   - values as the caller's reader gives them at the time drawn (after expressions, keyframes
//     interpolated), and a property whose expression fails is said once (drawn with its value
//     before expressions, as the host does).
// What is not drawn, each said once in the notes: solid, footage and text layers (the stand-in
// host keeps no pixels, colours or text for them), adjustment layers, guide layers (left out of
// renders by the host too), masks, effects other than expression controls and the effects the
// caller names as leaving the picture as it is, cameras and lights.
//
// The picture: the composition's width and height times the scale, in straight RGBA, over an
// opaque background of the composition's colour (the host's default, black, as the project
// holds none). Anti-aliased as cairo draws.
#pragma once

#include <string>
#include <vector>

#include "drawing/Renderer.h"
#include "model/Project.h"
#include "render/Notes.h"
#include "render/ShapeContents.h"

namespace tlhost {

struct CompositionPicture {
    double time = 0;   // seconds, composition time
    double scale = 1;  // image pixels per composition pixel
    // The composition's background colour, 0 to 1.
    double background[3] = {0, 0, 0};
    // Match names of effects whose rendering leaves the layer as it is (the plug-in's own
    // effect renders a copy of its input).
    std::vector<std::string> pass_through_effects;
};

// The largest picture side, in pixels.
constexpr int kMaxPictureSide = 16384;

// False, with the reason, when the picture cannot be made: a scale that is not a positive
// finite number, a picture larger than kMaxPictureSide on a side, a time that is not finite.
bool RenderComposition(const Composition& comp, const CompositionPicture& picture,
                       const ValueReader& read, RenderedImage* out, RenderNotes* notes,
                       std::string* error);
bool WriteCompositionPng(const Composition& comp, const CompositionPicture& picture,
                         const ValueReader& read, const std::string& path, RenderNotes* notes,
                         std::string* error);

}  // namespace tlhost
