// Pictures of a composition, as `tetherline-host render` and `run --png-before/--png-after`
// make them: the composition drawn at a time and scale to PNG, with whatever the drawing left
// out said on standard error, once each.
#pragma once

#include <string>

#include "session/Session.h"

namespace tltool {

struct PictureOptions {
    std::string comp;  // the composition's name; empty for the default (below)
    double time = 0;   // seconds
    double scale = 1;  // picture pixels per composition pixel
};

struct RenderCommandOptions {
    std::string module;
    std::string resource;
    std::string project;
    PictureOptions picture;
    std::string png;
};

// Checks the options against the project: 0 when they fit, else 2 with the reason on standard
// error. The default composition is the one holding the layer that carries the effect, else
// the first composition of the project.
int CheckPicture(tlhost::Session& session, const tlhost::EffectInstance* effect,
                 PictureOptions* picture);

// Draws the checked picture into `png`; false, with the reason on standard error, when it
// cannot be written.
bool WritePicture(tlhost::Session& session, const PictureOptions& picture, const std::string& png);

int RenderCommand(const RenderCommandOptions& options);

}  // namespace tltool
