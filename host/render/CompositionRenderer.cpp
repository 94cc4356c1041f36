#include "render/CompositionRenderer.h"

#include <algorithm>
#include <cmath>

#include "drawing/CairoImage.h"

namespace tlhost {

namespace {

constexpr double kPi = 3.14159265358979323846;

// Effects that only hold values for expressions and draw nothing.
constexpr const char* kControlEffects[] = {
    "ADBE Layer Control", "ADBE Slider Control",   "ADBE Point Control", "ADBE Point3D Control",
    "ADBE Angle Control", "ADBE Checkbox Control", "ADBE Color Control", "ADBE Dropdown Control",
};

bool Finite(const Outline& outline) {
    for (const Point& p : outline.points) {
        if (!std::isfinite(p.x) || !std::isfinite(p.y)) return false;
    }
    return true;
}

cairo_matrix_t CairoMatrix(const Affine& m) {
    cairo_matrix_t out;
    cairo_matrix_init(&out, m.xx, m.yx, m.xy, m.yy, m.x0, m.y0);
    return out;
}

cairo_line_cap_t LineCap(int cap) {
    switch (cap) {
        case 2:
            return CAIRO_LINE_CAP_ROUND;
        case 3:
            return CAIRO_LINE_CAP_SQUARE;
        default:
            return CAIRO_LINE_CAP_BUTT;
    }
}

cairo_line_join_t LineJoin(int join) {
    switch (join) {
        case 2:
            return CAIRO_LINE_JOIN_ROUND;
        case 3:
            return CAIRO_LINE_JOIN_BEVEL;
        default:
            return CAIRO_LINE_JOIN_MITER;
    }
}

// The gradient of a paint, in the paint's space, its stops' alphas times the paint's opacity.
//   - Linear: from the start point (the first stop) to the end point (the last), the end
//     colours carried on beyond them.
//   - Radial: centred on the start point, reaching the last stop at the distance of the end
//     point. The highlight moves the gradient's focus (where the first stop sits) away from
//     the centre by the highlight length, in percent of the radius (kept within 99 % either
//     way, where the focus still lies inside the circle), in the direction of the end point
//     turned by the highlight angle (degrees, clockwise on the screen).
//   - Start and end points that coincide give the last stop's colour everywhere.
CairoPatternPtr GradientPattern(const ShapePaint& p) {
    const double dx = p.end.x - p.start.x, dy = p.end.y - p.start.y;
    const double radius = std::hypot(dx, dy);
    CairoPatternPtr pattern;
    if (!(radius > 0) || !std::isfinite(radius) || p.stops.empty()) {
        const GradientStop last = p.stops.empty() ? GradientStop{} : p.stops.back();
        pattern.reset(
            cairo_pattern_create_rgba(last.red, last.green, last.blue, last.alpha * p.opacity));
        return pattern;
    }
    if (p.gradient_type == 2) {
        const double h = std::min(0.99, std::max(-0.99, p.highlight_length / 100));
        const double angle = std::atan2(dy, dx) + p.highlight_angle * kPi / 180;
        const double fx = p.start.x + radius * h * std::cos(angle);
        const double fy = p.start.y + radius * h * std::sin(angle);
        pattern.reset(cairo_pattern_create_radial(fx, fy, 0, p.start.x, p.start.y, radius));
    } else {
        pattern.reset(cairo_pattern_create_linear(p.start.x, p.start.y, p.end.x, p.end.y));
    }
    for (const GradientStop& s : p.stops) {
        cairo_pattern_add_color_stop_rgba(pattern.get(), s.at, s.red, s.green, s.blue,
                                          s.alpha * p.opacity);
    }
    cairo_pattern_set_extend(pattern.get(), CAIRO_EXTEND_PAD);
    return pattern;
}

// Where a layer's plane lands in its composition's picture, as the composition shows it.
struct Placement {
    Affine to_comp;       // from the layer's space into the composition's, in the picture plane
    double depth = 0;     // distance from the camera's plane (3D layers), for drawing order
    bool visible = true;  // false for a 3D layer behind the camera
    bool tilted = false;  // a 3D layer turned out of the picture plane
};

class Painter {
  public:
    Painter(const CompositionPicture& picture, const ValueReader& read, RenderNotes* notes)
        : picture_(picture), notes_(notes) {
        // Values as the caller reads them; a failing expression is said once.
        read_ = [&read, notes](const StreamNode& node, double time) {
            StreamValue value = read(node, time);
            if (node.expression_enabled && !node.expression.empty() &&
                !node.expression_error.empty()) {
                const std::string where = PropertyPath(node);
                notes->Add("expression " + where, "the expression of " + where + " fails (" +
                                                      node.expression_error +
                                                      "): drawn with its value before expressions");
            }
            return value;
        };
    }

    // Draws the layers of `comp` at `time` (its own time) through `to_device`, bottom first.
    // 3D layers next to each other in the stack are drawn farthest first (those at the same
    // distance in stacking order), as the host sorts them by depth; 2D layers keep their place.
    void DrawComposition(cairo_t* cr, const Composition& comp, double time,
                         const Affine& to_device) {
        if (std::find(open_.begin(), open_.end(), &comp) != open_.end()) {
            notes_->Add("cycle " + comp.name(), "composition \"" + comp.name() +
                                                    "\" shows itself: not drawn inside itself");
            return;
        }
        open_.push_back(&comp);
        bool any_solo = false;
        for (const Layer* layer : comp.layers()) {
            if ((layer->flags() & AEGP_LayerFlag_VIDEO_ACTIVE) &&
                (layer->flags() & AEGP_LayerFlag_SOLO))
                any_solo = true;
        }
        struct Drawn {
            const Layer* layer;
            Placement placement;
        };
        std::vector<Drawn> drawn;  // bottom first
        const auto& layers = comp.layers();
        for (auto it = layers.rbegin(); it != layers.rend(); ++it) {
            const Layer& layer = **it;
            if (!(layer.flags() & AEGP_LayerFlag_VIDEO_ACTIVE)) continue;
            if (any_solo && !(layer.flags() & AEGP_LayerFlag_SOLO)) continue;
            if (!Spans(layer, time) || !Drawable(layer)) continue;
            drawn.push_back({&layer, Place(layer, comp, time)});
        }
        for (std::size_t i = 0; i < drawn.size();) {
            std::size_t j = i + 1;
            if (drawn[i].layer->is_3d()) {
                while (j < drawn.size() && drawn[j].layer->is_3d()) ++j;
                std::stable_sort(drawn.begin() + static_cast<std::ptrdiff_t>(i),
                                 drawn.begin() + static_cast<std::ptrdiff_t>(j),
                                 [](const Drawn& a, const Drawn& b) {
                                     return a.placement.depth > b.placement.depth;
                                 });
            }
            i = j;
        }
        for (const Drawn& d : drawn) DrawLayer(cr, *d.layer, time, d.placement, to_device);
        open_.pop_back();
    }

  private:
    static bool Spans(const Layer& layer, double time) {
        const double in = SecondsOf(layer.in_point);
        return time >= in && time < in + SecondsOf(layer.duration);
    }

    std::string Where(const Layer& layer) const {
        return "\"" + layer.name() + "\" in \"" + layer.comp().name() + "\"";
    }

    void NoteLayer(const Layer& layer, const std::string& what) {
        notes_->Add("layer " + std::to_string(layer.id()) + " " + what,
                    "layer " + Where(layer) + " " + what);
    }

    // Whether the layer has anything to draw here; says why not where the host would draw.
    bool Drawable(const Layer& layer) {
        const AEGP_LayerFlags flags = layer.flags();
        if (flags & AEGP_LayerFlag_GUIDE_LAYER) {
            NoteLayer(layer, "is a guide layer: left out, as the host leaves it out of renders");
            return false;
        }
        switch (layer.kind()) {
            case LayerKind::Shape:
                break;
            case LayerKind::Precomp:
                if (!layer.source() || layer.source()->kind() != ItemKind::Composition) {
                    NoteLayer(layer, "is not drawn: it shows no composition");
                    return false;
                }
                break;
            case LayerKind::Null:
                return false;  // nothing to draw
            case LayerKind::Solid:
                NoteLayer(layer, "is not drawn: solid layers hold no colour or size here");
                return false;
            case LayerKind::Footage:
                NoteLayer(layer, "is not drawn: footage holds no pixels here");
                return false;
            case LayerKind::Text:
                NoteLayer(layer, "is not drawn: text layers hold no text here");
                return false;
            case LayerKind::Camera:
                NoteLayer(layer,
                          "is not used: 3D layers are seen through the composition's default "
                          "camera");
                return false;
            case LayerKind::Light:
                NoteLayer(layer, "is not applied: layers are drawn unlit");
                return false;
        }
        if (flags & AEGP_LayerFlag_ADJUSTMENT_LAYER) {
            NoteLayer(layer, "is an adjustment layer: not drawn, and its effects not applied");
            return false;
        }
        return true;
    }

    // Says what about a drawn layer is left out: its masks and its effects.
    void NoteLeftOut(const Layer& layer) {
        const StreamNode* masks = layer.root().FindChild("ADBE Mask Parade");
        if (masks && !masks->children().empty()) NoteLayer(layer, "has masks: not applied");
        for (const auto& effect : layer.effects()) {
            if (!effect->group().eyeball) continue;
            const std::string& m = effect->match_name();
            if (std::find(std::begin(kControlEffects), std::end(kControlEffects), m) !=
                std::end(kControlEffects))
                continue;
            const auto& pass = picture_.pass_through_effects;
            if (std::find(pass.begin(), pass.end(), m) != pass.end()) continue;
            notes_->Add("effect " + m, "effect \"" + effect->name() + "\" (" + m +
                                           ") is not applied (first met on layer " + Where(layer) +
                                           ")");
        }
    }

    const StreamNode* TransformLeaf(const Layer& layer, const char* match_name) const {
        const StreamNode* t = layer.root().FindChild("ADBE Transform Group");
        const StreamNode* node = t ? t->FindChild(match_name) : nullptr;
        return node && !node->is_group() ? node : nullptr;
    }

    double LayerOpacity(const Layer& layer, double time) {
        const StreamNode* node = TransformLeaf(layer, "ADBE Opacity");
        if (!node) return 1;
        const StreamValue v = read_(*node, time);
        if (v.Dimensions() < 1 || !std::isfinite(v.v[0])) return 1;
        return std::min(100.0, std::max(0.0, v.v[0])) / 100;
    }

    // The layer's place in the picture plane. A 2D layer: its transform, z dropped. A 3D
    // layer is seen through the composition's default camera: at (width / 2, height / 2,
    // -zoom), looking along z at the composition's centre, with the zoom of the host's
    // default 50 mm camera (width x 50 / 36), so that a point at depth z appears scaled by
    // zoom / (zoom + z) about the centre. A layer parallel to the picture plane is drawn
    // exactly so; one turned out of it is drawn with the projection taken at its anchor
    // point (true in the middle, without the foreshortening across the layer), and said.
    Placement Place(const Layer& layer, const Composition& comp, double time) {
        Placement out;
        const Matrix4 m = LayerToComp(layer, time, read_);
        if (!layer.is_3d()) {
            out.to_comp = PlaneAffine(m);
            return out;
        }
        double ax = 0, ay = 0;
        if (const StreamNode* anchor = TransformLeaf(layer, "ADBE Anchor Point")) {
            const StreamValue v = read_(*anchor, time);
            if (v.Dimensions() >= 2 && std::isfinite(v.v[0]) && std::isfinite(v.v[1])) {
                ax = v.v[0];
                ay = v.v[1];
            }
        }
        const Vec3 p = m.Apply({ax, ay, 0});
        const double zoom = comp.width * 50.0 / 36.0;
        const double cx = comp.width / 2.0, cy = comp.height / 2.0;
        const double d = p[2] + zoom;
        out.depth = d;
        if (!(d > 1e-6) || !std::isfinite(d)) {
            out.visible = false;
            return out;
        }
        const double k = zoom / d;
        const double jx = -(p[0] - cx) * zoom / (d * d);
        const double jy = -(p[1] - cy) * zoom / (d * d);
        Affine linear;
        linear.xx = k * m.m[0][0] + jx * m.m[2][0];
        linear.xy = k * m.m[0][1] + jx * m.m[2][1];
        linear.yx = k * m.m[1][0] + jy * m.m[2][0];
        linear.yy = k * m.m[1][1] + jy * m.m[2][1];
        const double sx = cx + (p[0] - cx) * k, sy = cy + (p[1] - cy) * k;
        out.to_comp = Affine::Translation(sx, sy) * linear * Affine::Translation(-ax, -ay);
        out.tilted = std::abs(m.m[2][0]) > 1e-9 || std::abs(m.m[2][1]) > 1e-9;
        return out;
    }

    void DrawLayer(cairo_t* cr, const Layer& layer, double time, const Placement& placement,
                   const Affine& to_device) {
        NoteLeftOut(layer);
        if (!placement.visible) {
            NoteLayer(layer, "is behind the camera: not drawn");
            return;
        }
        if (placement.tilted) {
            NoteLayer(layer,
                      "is turned out of the composition's plane: drawn without foreshortening "
                      "across it");
        }
        const double opacity = LayerOpacity(layer, time);
        if (opacity <= 0) return;
        const Affine to_layer_device = to_device * placement.to_comp;
        Affine inverse;
        // A layer squashed flat shows nothing (and cairo cannot draw in its space).
        if (!to_layer_device.Invert(&inverse)) return;
        if (opacity < 1) cairo_push_group(cr);
        if (layer.kind() == LayerKind::Precomp) {
            // The composition shown, clipped to its frame, at the layer's own time (which
            // starts at the layer's in point: the stand-in keeps no separate start offset).
            const auto& shown = static_cast<const Composition&>(*layer.source());
            cairo_save(cr);
            const cairo_matrix_t cm = CairoMatrix(to_layer_device);
            cairo_set_matrix(cr, &cm);
            cairo_rectangle(cr, 0, 0, shown.width, shown.height);
            cairo_identity_matrix(cr);
            cairo_clip(cr);
            DrawComposition(cr, shown, time - SecondsOf(layer.in_point), to_layer_device);
            cairo_restore(cr);
        } else {
            for (const ShapePaint& paint : ShapeLayerPaints(layer, time, read_, notes_)) {
                DrawPaint(cr, paint, to_layer_device);
            }
        }
        if (opacity < 1) {
            cairo_pop_group_to_source(cr);
            cairo_paint_with_alpha(cr, opacity);
        }
    }

    void DrawPaint(cairo_t* cr, const ShapePaint& p, const Affine& layer_to_device) {
        const Affine m = layer_to_device * p.to_layer;
        Affine inverse;
        // A space squashed flat shows nothing (and cairo cannot draw in it).
        if (!m.Invert(&inverse)) return;
        const bool stroke = p.kind == ShapePaint::Kind::Stroke;
        if (stroke && !(p.width > 0)) return;
        if (p.opacity <= 0) return;
        cairo_save(cr);
        const cairo_matrix_t cm = CairoMatrix(m);
        cairo_set_matrix(cr, &cm);
        cairo_new_path(cr);
        for (const Outline& o : p.outlines) {
            if (o.Empty()) continue;
            if (!Finite(o)) {
                const std::string where = p.node ? PropertyPath(*p.node) : std::string("a paint");
                notes_->Add("not finite " + where,
                            "a path painted by " + where +
                                " has points that are not finite numbers: left out");
                continue;
            }
            cairo_move_to(cr, o.points[0].x, o.points[0].y);
            for (std::size_t i = 1; i + 2 < o.points.size(); i += 3) {
                cairo_curve_to(cr, o.points[i].x, o.points[i].y, o.points[i + 1].x,
                               o.points[i + 1].y, o.points[i + 2].x, o.points[i + 2].y);
            }
            if (o.closed) cairo_close_path(cr);
        }
        CairoPatternPtr gradient;
        if (p.gradient) {
            gradient = GradientPattern(p);
            cairo_set_source(cr, gradient.get());
        } else {
            cairo_set_source_rgba(cr, p.red, p.green, p.blue, p.opacity);
        }
        if (stroke) {
            cairo_set_line_width(cr, p.width);
            cairo_set_line_cap(cr, LineCap(p.line_cap));
            cairo_set_line_join(cr, LineJoin(p.line_join));
            cairo_set_miter_limit(cr, p.miter_limit);
            if (!p.dashes.empty()) {
                cairo_set_dash(cr, p.dashes.data(), static_cast<int>(p.dashes.size()),
                               p.dash_offset);
            }
            cairo_stroke(cr);
        } else {
            cairo_set_fill_rule(cr,
                                p.even_odd ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING);
            cairo_fill(cr);
        }
        cairo_restore(cr);
    }

    const CompositionPicture& picture_;
    RenderNotes* notes_;
    ValueReader read_;
    std::vector<const Composition*> open_;  // compositions being drawn, outermost first
};

CairoSurfacePtr Render(const Composition& comp, const CompositionPicture& picture,
                       const ValueReader& read, RenderNotes* notes, std::string* error) {
    auto fail = [&](std::string why) {
        if (error) *error = std::move(why);
        return CairoSurfacePtr();
    };
    if (!std::isfinite(picture.scale) || !(picture.scale > 0))
        return fail("the scale must be a positive number");
    if (!std::isfinite(picture.time)) return fail("the time must be a number of seconds");
    const double w = std::round(comp.width * picture.scale);
    const double h = std::round(comp.height * picture.scale);
    if (w < 1 || h < 1) return fail("the picture would be empty at that scale");
    if (w > kMaxPictureSide || h > kMaxPictureSide) {
        return fail("the picture would be larger than " + std::to_string(kMaxPictureSide) +
                    " pixels on a side");
    }
    ReleaseCairoCachesAtExit();
    CairoSurfacePtr surface(
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(w), static_cast<int>(h)));
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS)
        return fail(cairo_status_to_string(cairo_surface_status(surface.get())));
    CairoContextPtr context(cairo_create(surface.get()));
    cairo_t* cr = context.get();
    cairo_set_source_rgb(cr, picture.background[0], picture.background[1], picture.background[2]);
    cairo_paint(cr);
    Painter painter(picture, read, notes);
    painter.DrawComposition(cr, comp, picture.time,
                            Affine::Scaling(w / comp.width, h / comp.height));
    const cairo_status_t status = cairo_status(cr);
    context.reset();
    if (status != CAIRO_STATUS_SUCCESS) return fail(cairo_status_to_string(status));
    cairo_surface_flush(surface.get());
    return surface;
}

}  // namespace

bool RenderComposition(const Composition& comp, const CompositionPicture& picture,
                       const ValueReader& read, RenderedImage* out, RenderNotes* notes,
                       std::string* error) {
    CairoSurfacePtr surface = Render(comp, picture, read, notes, error);
    if (!surface) return false;
    ImageFromSurface(surface.get(), out);
    return true;
}

bool WriteCompositionPng(const Composition& comp, const CompositionPicture& picture,
                         const ValueReader& read, const std::string& path, RenderNotes* notes,
                         std::string* error) {
    CairoSurfacePtr surface = Render(comp, picture, read, notes, error);
    if (!surface) return false;
    const cairo_status_t status = cairo_surface_write_to_png(surface.get(), path.c_str());
    if (status != CAIRO_STATUS_SUCCESS) {
        if (error) *error = "cannot write " + path + ": " + cairo_status_to_string(status);
        return false;
    }
    return true;
}

}  // namespace tlhost
