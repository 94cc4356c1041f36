#include "render/ShapeContents.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

namespace tlhost {

Affine PlaneAffine(const Matrix4& m) {
    return {m.m[0][0], m.m[1][0], m.m[0][1], m.m[1][1], m.m[0][3], m.m[1][3]};
}

std::vector<GradientStop> DefaultGradientStops() {
    return {{0, 1, 1, 1, 1}, {1, 0, 0, 0, 1}};
}

namespace {

// Control-point distance that makes a cubic follow a quarter circle of radius 1.
constexpr double kKappa = 0.5522847498307936;

// One entry of a group's contents, with its values read at the drawing's time.
struct Entry {
    enum class Kind { Group, Path, Paint, Trim };
    Kind kind = Kind::Path;
    const StreamNode* node = nullptr;
    // A group: its map into the group around it, its opacity (0 to 1) and its contents.
    Affine to_parent;
    double opacity = 1;
    std::vector<Entry> items;
    // A path: its outline, or after trimming what is left of it, in its group's space.
    std::vector<Outline> outlines;
    // A fill or stroke, without outlines yet.
    ShapePaint paint;
    // Trim Paths: fractions of the length and the offset in turns.
    double start = 0, end = 1, offset = 0;
    bool each_alone = true;
};

// A path and the map from its group's space into the space of the group looking at it.
struct PathInView {
    Entry* item;
    Affine to_view;
};

bool StartsWith(const std::string& text, const char* prefix) {
    return text.compare(0, std::strlen(prefix), prefix) == 0;
}

double Clamp(double v, double lo, double hi) {
    return std::min(hi, std::max(lo, v));
}

class ContentsReader {
  public:
    ContentsReader(double time, const ValueReader& read, RenderNotes* notes)
        : time_(time), read_(read), notes_(notes) {}

    std::vector<Entry> Contents(const StreamNode& contents) {
        std::vector<Entry> items;
        for (const auto& child : contents.children()) {
            // A switched-off item is left out whole, as the host leaves it out.
            if (!child->eyeball) continue;
            Entry item;
            if (Read(*child, &item)) items.push_back(std::move(item));
        }
        return items;
    }

  private:
    const StreamNode* Leaf(const StreamNode& group, const char* match_name) const {
        const StreamNode* node = group.FindChild(match_name);
        return node && !node->is_group() ? node : nullptr;
    }

    StreamValue Value(const StreamNode& node) const { return read_(node, time_); }

    double Number(const StreamNode& group, const char* match_name, double fallback) const {
        const StreamNode* node = Leaf(group, match_name);
        if (!node) return fallback;
        const StreamValue v = Value(*node);
        return v.Dimensions() >= 1 && std::isfinite(v.v[0]) ? v.v[0] : fallback;
    }

    Point Pair(const StreamNode& group, const char* match_name, Point fallback) const {
        const StreamNode* node = Leaf(group, match_name);
        if (!node) return fallback;
        const StreamValue v = Value(*node);
        if (v.Dimensions() < 2 || !std::isfinite(v.v[0]) || !std::isfinite(v.v[1])) return fallback;
        return {v.v[0], v.v[1]};
    }

    void Note(const StreamNode& node, const std::string& what) {
        notes_->Add("item " + node.match_name(), "shape item \"" + node.name() + "\" (" +
                                                     node.match_name() + ") " + what +
                                                     " (first met in " + PropertyPath(node) + ")");
    }

    bool Read(const StreamNode& node, Entry* item) {
        item->node = &node;
        const std::string& m = node.match_name();
        if (m == "ADBE Vector Group") return ReadGroup(node, item);
        if (m == "ADBE Vector Shape - Group") {
            item->kind = Entry::Kind::Path;
            const StreamNode* shape = Leaf(node, "ADBE Vector Shape");
            if (shape) {
                const StreamValue v = Value(*shape);
                if (v.kind == ValueKind::Path) item->outlines.push_back(OutlineOf(v.path));
            }
            return true;
        }
        if (m == "ADBE Vector Shape - Rect") return ReadRect(node, item);
        if (m == "ADBE Vector Shape - Ellipse") return ReadEllipse(node, item);
        if (m == "ADBE Vector Graphic - Fill" || m == "ADBE Vector Graphic - Stroke" ||
            m == "ADBE Vector Graphic - G-Fill" || m == "ADBE Vector Graphic - G-Stroke") {
            return ReadPaint(node, item);
        }
        if (m == "ADBE Vector Filter - Trim") {
            item->kind = Entry::Kind::Trim;
            item->start = Number(node, "ADBE Vector Trim Start", 0) / 100;
            item->end = Number(node, "ADBE Vector Trim End", 100) / 100;
            item->offset = Number(node, "ADBE Vector Trim Offset", 0) / 360;
            item->each_alone = Number(node, "ADBE Vector Trim Type", 1) != 2;
            return true;
        }
        if (m == "ADBE Vector Shape - Star") {
            Note(node, "is not drawn: polystars are not drawn");
        } else if (StartsWith(m, "ADBE Vector Filter - ")) {
            Note(node, "is not applied: the paths above it are drawn as they are");
        } else {
            Note(node, "is not drawn: not a shape item the renderer knows");
        }
        return false;
    }

    bool ReadGroup(const StreamNode& node, Entry* item) {
        item->kind = Entry::Kind::Group;
        if (const StreamNode* t = node.FindChild("ADBE Vector Transform Group")) {
            item->to_parent = PlaneAffine(ShapeGroupToParent(*t, time_, read_));
            item->opacity = Clamp(Number(*t, "ADBE Vector Group Opacity", 100), 0, 100) / 100;
            if (Number(*t, "ADBE Vector Skew", 0) != 0) {
                notes_->Add("skew", "shape group skew is not applied (first met in " +
                                        PropertyPath(node) + ")");
            }
        }
        if (const StreamNode* contents = node.FindChild("ADBE Vectors Group")) {
            item->items = Contents(*contents);
        }
        return true;
    }

    bool ReadRect(const StreamNode& node, Entry* item) {
        item->kind = Entry::Kind::Path;
        const Point size = Pair(node, "ADBE Vector Rect Size", {100, 100});
        const Point c = Pair(node, "ADBE Vector Rect Position", {0, 0});
        const double w = std::abs(size.x) / 2, h = std::abs(size.y) / 2;
        const double r = Clamp(Number(node, "ADBE Vector Rect Roundness", 0), 0, std::min(w, h));
        const double k = kKappa * r;
        // From the top of the right side, clockwise on the screen, as the host starts it.
        ShapePath p;
        p.closed = true;
        auto v = [&](double x, double y, double ix, double iy, double ox, double oy) {
            p.vertices.push_back({x, y, ix, iy, ox, oy});
        };
        if (r <= 0) {
            v(c.x + w, c.y - h, 0, 0, 0, 0);
            v(c.x + w, c.y + h, 0, 0, 0, 0);
            v(c.x - w, c.y + h, 0, 0, 0, 0);
            v(c.x - w, c.y - h, 0, 0, 0, 0);
        } else {
            v(c.x + w, c.y - h + r, 0, -k, 0, 0);
            v(c.x + w, c.y + h - r, 0, 0, 0, k);
            v(c.x + w - r, c.y + h, k, 0, 0, 0);
            v(c.x - w + r, c.y + h, 0, 0, -k, 0);
            v(c.x - w, c.y + h - r, 0, k, 0, 0);
            v(c.x - w, c.y - h + r, 0, 0, 0, -k);
            v(c.x - w + r, c.y - h, -k, 0, 0, 0);
            v(c.x + w - r, c.y - h, 0, 0, k, 0);
        }
        item->outlines.push_back(OutlineOf(p));
        return true;
    }

    bool ReadEllipse(const StreamNode& node, Entry* item) {
        item->kind = Entry::Kind::Path;
        const Point size = Pair(node, "ADBE Vector Ellipse Size", {100, 100});
        const Point c = Pair(node, "ADBE Vector Ellipse Position", {0, 0});
        const double rx = std::abs(size.x) / 2, ry = std::abs(size.y) / 2;
        const double kx = kKappa * rx, ky = kKappa * ry;
        // From the top, clockwise on the screen.
        ShapePath p;
        p.closed = true;
        p.vertices = {{c.x, c.y - ry, -kx, 0, kx, 0},
                      {c.x + rx, c.y, 0, -ky, 0, ky},
                      {c.x, c.y + ry, kx, 0, -kx, 0},
                      {c.x - rx, c.y, 0, ky, 0, -ky}};
        item->outlines.push_back(OutlineOf(p));
        return true;
    }

    bool ReadPaint(const StreamNode& node, Entry* item) {
        item->kind = Entry::Kind::Paint;
        const std::string& m = node.match_name();
        ShapePaint& p = item->paint;
        p.node = &node;
        p.kind = m == "ADBE Vector Graphic - Stroke" || m == "ADBE Vector Graphic - G-Stroke"
                     ? ShapePaint::Kind::Stroke
                     : ShapePaint::Kind::Fill;
        p.gradient = m == "ADBE Vector Graphic - G-Fill" || m == "ADBE Vector Graphic - G-Stroke";
        const bool stroke = p.kind == ShapePaint::Kind::Stroke;
        if (Number(node, "ADBE Vector Blend Mode", 1) != 1) {
            notes_->Add("blend mode",
                        "shape blend modes are not applied: drawn as Normal (first met in " +
                            PropertyPath(node) + ")");
        }
        if (Number(node, "ADBE Vector Composite Order", 1) == 2) {
            notes_->Add("composite order",
                        "the composite order \"Below Previous in Same Group\" is not applied: "
                        "drawn above (first met in " +
                            PropertyPath(node) + ")");
        }
        if (const StreamNode* color =
                Leaf(node, stroke ? "ADBE Vector Stroke Color" : "ADBE Vector Fill Color")) {
            const StreamValue v = Value(*color);
            if (v.Dimensions() >= 3) {
                // The colour's alpha is not used: the host paints shape colours opaque and
                // takes transparency from the opacity.
                p.red = Clamp(v.v[0], 0, 1);
                p.green = Clamp(v.v[1], 0, 1);
                p.blue = Clamp(v.v[2], 0, 1);
            }
        }
        p.opacity =
            Clamp(Number(node, stroke ? "ADBE Vector Stroke Opacity" : "ADBE Vector Fill Opacity",
                         100),
                  0, 100) /
            100;
        p.even_odd = Number(node, "ADBE Vector Fill Rule", 1) == 2;
        if (stroke) {
            p.width = std::max(0.0, Number(node, "ADBE Vector Stroke Width", 2));
            p.line_cap = static_cast<int>(Number(node, "ADBE Vector Stroke Line Cap", 1));
            p.line_join = static_cast<int>(Number(node, "ADBE Vector Stroke Line Join", 1));
            p.miter_limit = std::max(1.0, Number(node, "ADBE Vector Stroke Miter Limit", 4));
            if (const StreamNode* dashes = node.FindChild("ADBE Vector Stroke Dashes")) {
                ReadDashes(*dashes, &p);
            }
        }
        if (p.gradient) {
            p.gradient_type = Number(node, "ADBE Vector Grad Type", 1) == 2 ? 2 : 1;
            p.start = Pair(node, "ADBE Vector Grad Start Pt", {0, 0});
            p.end = Pair(node, "ADBE Vector Grad End Pt", {100, 0});
            p.highlight_length =
                Clamp(Number(node, "ADBE Vector Grad HiLite Length", 0), -100, 100);
            p.highlight_angle = Number(node, "ADBE Vector Grad HiLite Angle", 0);
            p.stops = DefaultGradientStops();
        }
        return true;
    }

    void ReadDashes(const StreamNode& dashes, ShapePaint* p) {
        double total = 0;
        std::vector<double> pattern;
        for (const auto& child : dashes.children()) {
            if (child->is_group() || child->hidden()) continue;
            const std::string& m = child->match_name();
            const StreamValue v = Value(*child);
            const double value = v.Dimensions() >= 1 && std::isfinite(v.v[0]) ? v.v[0] : 0;
            if (m == "ADBE Vector Stroke Offset") {
                p->dash_offset = value;
            } else if (StartsWith(m, "ADBE Vector Stroke Dash ") ||
                       StartsWith(m, "ADBE Vector Stroke Gap ")) {
                pattern.push_back(std::max(0.0, value));
                total += pattern.back();
            }
        }
        if (total > 0) p->dashes = std::move(pattern);
    }

    double time_;
    const ValueReader& read_;
    RenderNotes* notes_;
};

// The paths among items[0, end), those inside groups included, seen from the items' group.
void CollectPaths(std::vector<Entry>& items, std::size_t end, const Affine& to_view,
                  std::vector<PathInView>* out) {
    for (std::size_t i = 0; i < end && i < items.size(); ++i) {
        Entry& item = items[i];
        if (item.kind == Entry::Kind::Path) out->push_back({&item, to_view});
        if (item.kind == Entry::Kind::Group)
            CollectPaths(item.items, item.items.size(), to_view * item.to_parent, out);
    }
}

// Runs the path operators of a group, nested groups' first, over the paths above each.
void ApplyOperators(std::vector<Entry>& items) {
    for (std::size_t j = 0; j < items.size(); ++j) {
        if (items[j].kind == Entry::Kind::Group) ApplyOperators(items[j].items);
        if (items[j].kind != Entry::Kind::Trim) continue;
        std::vector<PathInView> paths;
        CollectPaths(items, j, Affine{}, &paths);
        std::vector<Outline> all;
        std::vector<std::size_t> owner;
        for (std::size_t k = 0; k < paths.size(); ++k) {
            for (const Outline& o : paths[k].item->outlines) {
                all.push_back(Transformed(o, paths[k].to_view));
                owner.push_back(k);
            }
            paths[k].item->outlines.clear();
        }
        const std::vector<std::vector<Outline>> kept =
            Trim(all, items[j].start, items[j].end, items[j].offset, items[j].each_alone);
        for (std::size_t n = 0; n < kept.size(); ++n) {
            Affine back;
            // A group squashed flat shows nothing of its paths.
            if (!paths[owner[n]].to_view.Invert(&back)) continue;
            for (const Outline& piece : kept[n])
                paths[owner[n]].item->outlines.push_back(Transformed(piece, back));
        }
    }
}

void EmitPaints(std::vector<Entry>& items, const Affine& to_layer, double opacity,
                RenderNotes* notes, std::vector<ShapePaint>* out) {
    for (std::size_t i = items.size(); i-- > 0;) {
        Entry& item = items[i];
        if (item.kind == Entry::Kind::Group) {
            EmitPaints(item.items, to_layer * item.to_parent, opacity * item.opacity, notes, out);
            continue;
        }
        if (item.kind != Entry::Kind::Paint) continue;
        ShapePaint paint = item.paint;
        std::vector<PathInView> paths;
        CollectPaths(items, i, Affine{}, &paths);
        for (const PathInView& path : paths) {
            for (const Outline& o : path.item->outlines) {
                if (!o.Empty()) paint.outlines.push_back(Transformed(o, path.to_view));
            }
        }
        if (paint.outlines.empty()) continue;
        paint.to_layer = to_layer;
        paint.opacity *= opacity;
        if (paint.gradient) {
            notes->Add("gradient stops",
                       "gradient colours are not held in the project: gradients are drawn from "
                       "white to black, the host's colours for a new gradient");
        }
        out->push_back(std::move(paint));
    }
}

}  // namespace

std::vector<ShapePaint> ShapeLayerPaints(const Layer& layer, double time, const ValueReader& read,
                                         RenderNotes* notes) {
    std::vector<ShapePaint> out;
    const StreamNode* contents = layer.root().FindChild("ADBE Root Vectors Group");
    if (!contents) return out;
    ContentsReader reader(time, read, notes);
    std::vector<Entry> items = reader.Contents(*contents);
    ApplyOperators(items);
    EmitPaints(items, Affine{}, 1, notes, &out);
    return out;
}

}  // namespace tlhost
