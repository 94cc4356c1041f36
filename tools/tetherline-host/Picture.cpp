#include "tetherline-host/Picture.h"

#include <cmath>
#include <iostream>

#include "tetherline-host/ProjectSession.h"
#ifdef TL_HAVE_DRAWING
#include "render/CompositionRenderer.h"
#endif

namespace tltool {

namespace {

const tlhost::Composition* DefaultComposition(const tlhost::Project& project,
                                              const tlhost::EffectInstance* effect) {
    if (effect) return &effect->layer().comp();
    for (const auto& item : project.items()) {
        if (item->kind() == tlhost::ItemKind::Composition)
            return static_cast<const tlhost::Composition*>(item.get());
    }
    return nullptr;
}

}  // namespace

int CheckPicture(tlhost::Session& session, const tlhost::EffectInstance* effect,
                 PictureOptions* picture) {
    const tlhost::Project& project = session.host().project();
    const tlhost::Composition* comp = picture->comp.empty()
                                          ? DefaultComposition(project, effect)
                                          : project.FindComposition(picture->comp);
    if (!comp) {
        if (picture->comp.empty()) {
            std::cerr << "the project holds no composition to draw\n";
        } else {
            std::cerr << "no composition is named \"" << picture->comp << "\"\n";
        }
        return 2;
    }
    picture->comp = comp->name();
    const double duration = tlhost::SecondsOf(comp->duration);
    if (!std::isfinite(picture->time) || picture->time < 0 || picture->time >= duration) {
        std::cerr << "--time takes seconds from 0 up to the composition's duration (" << duration
                  << " s)\n";
        return 2;
    }
#ifdef TL_HAVE_DRAWING
    const double largest = std::max(comp->width, comp->height) * picture->scale;
    if (!std::isfinite(picture->scale) || !(picture->scale > 0) ||
        std::round(std::min(comp->width, comp->height) * picture->scale) < 1 ||
        std::round(largest) > tlhost::kMaxPictureSide) {
        std::cerr << "--scale takes a positive number that gives a picture of 1 to "
                  << tlhost::kMaxPictureSide << " pixels on a side\n";
        return 2;
    }
#endif
    return 0;
}

bool WritePicture(tlhost::Session& session, const PictureOptions& picture, const std::string& png) {
#ifndef TL_HAVE_DRAWING
    (void)session, (void)picture, (void)png;
    std::cerr << "this build draws no pictures (configured with TETHERLINE_HOST_DRAWING=OFF)\n";
    return false;
#else
    tlhost::Host& host = session.host();
    const tlhost::Composition* comp = host.project().FindComposition(picture.comp);
    tlhost::CompositionPicture options;
    options.time = picture.time;
    options.scale = picture.scale;
    // The plug-in's render is a copy of its input.
    options.pass_through_effects.push_back(session.registration().match_name);
    // The evaluator records on the property whether its expression failed, for the notes.
    tlhost::ValueReader read = [&host](const tlhost::StreamNode& node, double time) {
        return host.ValueAfterExpressions(const_cast<tlhost::StreamNode&>(node), time);
    };
    tlhost::RenderNotes notes;
    std::string why;
    const bool ok = tlhost::WriteCompositionPng(*comp, options, read, png, &notes, &why);
    for (const std::string& note : notes.texts())
        std::cerr << "tetherline-host: " << png << ": " << note << "\n";
    if (!ok) std::cerr << "tetherline-host: " << why << "\n";
    return ok;
#endif
}

int RenderCommand(const RenderCommandOptions& options) {
    ProjectSession opened = OpenProjectSession(options.module, options.resource, options.project,
                                               std::string(), /*require_effect=*/false);
    if (!opened.session) return 1;
    PictureOptions picture = options.picture;
    if (const int status = CheckPicture(*opened.session, opened.effect, &picture)) return status;
    return WritePicture(*opened.session, picture, options.png) ? 0 : 1;
}

}  // namespace tltool
