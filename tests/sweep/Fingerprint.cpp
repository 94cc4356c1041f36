#include "sweep/Fingerprint.h"

#include <cstdio>
#include <sstream>

namespace sweep {

namespace {

void Put(std::ostringstream& out, double v) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17g", v);
    out << buf;
}

void DescribeParams(std::ostringstream& out, tlhost::Host& host,
                    const tlhost::EffectInstance& effect) {
    const auto& params = effect.params();
    for (std::size_t i = 1; i < params.size(); ++i) {
        const tlhost::HostParam& p = params[i];
        const PF_ParamDef& d = p.def();
        out << "param " << i << " \"" << p.name() << "\" type " << d.param_type << " flags "
            << d.flags << " ui " << d.ui_flags << (p.hidden ? " hidden" : "") << " value ";
        switch (d.param_type) {
            case PF_Param_FLOAT_SLIDER:
                Put(out, d.u.fs_d.value);
                out << " range ";
                Put(out, d.u.fs_d.slider_min);
                out << "..";
                Put(out, d.u.fs_d.slider_max);
                break;
            case PF_Param_POPUP:
                out << d.u.pd.value;
                break;
            case PF_Param_CHECKBOX:
            case PF_Param_BUTTON:
                out << d.u.bd.value;
                break;
            case PF_Param_COLOR:
                out << int(d.u.cd.value.red) << "," << int(d.u.cd.value.green) << ","
                    << int(d.u.cd.value.blue) << "," << int(d.u.cd.value.alpha);
                break;
            case PF_Param_ARBITRARY_DATA:
                out << DescribeHandle(host, d.u.arb_d.value);
                break;
            default:
                out << "-";
                break;
        }
        out << "\n";
    }
}

void Put(std::ostringstream& out, const A_Time& t) {
    out << t.value << "/" << t.scale;
}

void DescribeValue(std::ostringstream& out, const tlhost::StreamValue& v) {
    out << tlhost::ValueKindName(v.kind);
    for (std::size_t i = 0; i < v.Dimensions(); ++i) {
        out << " ";
        Put(out, v.v[i]);
    }
    if (v.kind == tlhost::ValueKind::LayerId) out << " layer " << v.layer_id;
    if (v.kind == tlhost::ValueKind::Path) {
        out << (v.path.closed ? " closed" : " open");
        for (const tlhost::PathVertex& p : v.path.vertices) {
            for (double c : {p.x, p.y, p.in_x, p.in_y, p.out_x, p.out_y}) {
                out << " ";
                Put(out, c);
            }
        }
    }
    for (std::uint8_t b : v.bytes) out << " " << static_cast<unsigned>(b);
}

// Every fact of a property tree the host keeps, a node a line, indented by depth.
void DescribeNode(std::ostringstream& out, const tlhost::StreamNode& node, int depth) {
    out << std::string(static_cast<std::size_t>(depth), ' ') << node.match_name() << " \""
        << node.name() << "\"" << (node.eyeball ? "" : " off") << (node.hidden() ? " hidden" : "");
    if (!node.is_group()) {
        out << " = ";
        DescribeValue(out, node.value());
        if (!node.can_vary_over_time) out << " constant";
        if (!node.expression.empty()) {
            out << " expression " << (node.expression_enabled ? "on" : "off") << " \""
                << node.expression << "\"";
        }
        for (const tlhost::Keyframe& key : node.keyframes) {
            out << " key ";
            Put(out, key.time);
            out << " ";
            DescribeValue(out, key.value);
        }
    }
    out << "\n";
    for (const auto& child : node.children()) DescribeNode(out, *child, depth + 1);
}

void DescribeProject(std::ostringstream& out, tlhost::Project& project, const LeaveOut& leave) {
    for (const auto& item : project.items()) {
        if (leave.item && leave.item(*item)) continue;
        out << "item " << item->id() << " \"" << item->name() << "\" kind "
            << static_cast<int>(item->kind()) << "\n";
        if (item->kind() != tlhost::ItemKind::Composition) continue;
        const auto& comp = static_cast<tlhost::Composition&>(*item);
        out << "comp " << comp.width << "x" << comp.height << " rate ";
        Put(out, comp.frame_rate);
        out << " frame ";
        Put(out, comp.frame_duration);
        out << " duration ";
        Put(out, comp.duration);
        out << " work ";
        Put(out, comp.work_area_start);
        out << " ";
        Put(out, comp.work_area_duration);
        out << "\nselection";
        for (const tlhost::SelectedStream& s : comp.selection) {
            out << " " << s.layer_id << ":";
            for (std::size_t i : s.path) out << i << ".";
        }
        out << "\n";
        for (const tlhost::Layer* layer : comp.layers()) {
            if (leave.layer && leave.layer(*layer)) continue;
            out << "layer " << layer->id() << " \"" << layer->name() << "\" kind "
                << static_cast<int>(layer->kind()) << " flags " << layer->flags() << " in ";
            Put(out, layer->in_point);
            out << " for ";
            Put(out, layer->duration);
            out << "\n";
            DescribeNode(out, layer->root(), 0);
        }
    }
    for (const tlhost::UndoGroupRecord& group : project.undo_groups()) {
        out << "undo group \"" << group.name << "\" " << (group.closed ? "closed" : "left open");
        if (!leave.undo_changes) {
            for (const std::string& change : group.changes) out << " | " << change;
        }
        out << "\n";
    }
}

}  // namespace

std::string DescribeHandle(tlhost::Host& host, PF_Handle handle) {
    if (!handle) return "no handle";
    if (!host.handles().IsLive(handle)) return "a handle no longer live";
    std::string out = "bytes";
    char buf[4];
    for (std::uint8_t b : host.handles().Bytes(handle)) {
        std::snprintf(buf, sizeof buf, " %02x", b);
        out += buf;
    }
    return out;
}

std::string DescribeRect(const PF_LRect& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" +
           std::to_string(r.right) + "," + std::to_string(r.bottom) + ")";
}

std::string DescribeWorld(const tlhost::World& world) {
    // FNV-1a over the pixels.
    const PF_EffectWorld* w = world.get();
    std::uint64_t hash = 14695981039346656037ull;
    for (A_long y = 0; y < w->height; ++y) {
        for (A_long x = 0; x < w->width; ++x) {
            const PF_Pixel p = world.At(x, y);
            for (std::uint8_t b : {p.alpha, p.red, p.green, p.blue}) {
                hash = (hash ^ b) * 1099511628211ull;
            }
        }
    }
    char buf[64];
    std::snprintf(buf, sizeof buf, "world %dx%d pixels %016llx", static_cast<int>(w->width),
                  static_cast<int>(w->height), static_cast<unsigned long long>(hash));
    return buf;
}

std::string DescribeDisplayList(const tlhost::DisplayList& list) {
    std::ostringstream out;
    for (const tlhost::DrawOp& op : list.ops) {
        out << "draw " << tlhost::DrawOpName(op.kind) << " colour ";
        for (float c : {op.color.red, op.color.green, op.color.blue, op.color.alpha}) {
            Put(out, c);
            out << " ";
        }
        out << "rect ";
        for (float c : {op.rect.left, op.rect.top, op.rect.width, op.rect.height}) {
            Put(out, c);
            out << " ";
        }
        out << "pen ";
        Put(out, op.pen_width);
        out << " fill " << op.fill_type << " path";
        for (const tlhost::PathElement& e : op.path) {
            out << " [" << static_cast<int>(e.kind);
            for (const auto& p : e.points) {
                out << " ";
                Put(out, p.x);
                out << ",";
                Put(out, p.y);
            }
            for (float v : {e.rect.left, e.rect.top, e.rect.width, e.rect.height, e.radius,
                            e.start_angle, e.sweep}) {
                out << " ";
                Put(out, v);
            }
            out << "]";
        }
        out << " text";
        for (char16_t c : op.text) out << " " << static_cast<unsigned>(c);
        out << " size ";
        Put(out, op.font_size);
        out << " at ";
        Put(out, op.origin.x);
        out << ",";
        Put(out, op.origin.y);
        out << " align " << op.alignment << " trunc " << op.truncation << " ";
        Put(out, op.truncation_width);
        if (op.image) {
            std::uint64_t hash = 14695981039346656037ull;
            for (std::uint8_t b : op.image->bytes) hash = (hash ^ b) * 1099511628211ull;
            out << " image " << op.image->width << "x" << op.image->height << " " << hash;
        }
        out << " alpha ";
        Put(out, op.alpha);
        out << " matrix";
        for (float m : {op.matrix.mat[0][0], op.matrix.mat[0][1], op.matrix.mat[1][0],
                        op.matrix.mat[1][1], op.matrix.mat[2][0], op.matrix.mat[2][1]}) {
            out << " ";
            Put(out, m);
        }
        out << " policy " << op.policy << "\n";
    }
    for (const tlhost::Invalidation& inv : list.invalidated) {
        out << "invalidate " << (inv.whole_pane ? "pane" : "rect") << " " << inv.rect.left << ","
            << inv.rect.top << "," << inv.rect.right << "," << inv.rect.bottom << "\n";
    }
    return out.str();
}

std::string Fingerprint(Stage& stage, const Outcome& outcome, const LeaveOut& leave) {
    tlhost::Host& host = stage.host();
    std::ostringstream out;
    DescribeProject(out, host.project(), leave);
    for (const auto& item : host.project().items()) {
        if (item->kind() != tlhost::ItemKind::Composition) continue;
        for (tlhost::Layer* layer : static_cast<tlhost::Composition&>(*item).layers()) {
            for (const auto& effect : layer->effects()) {
                if (effect->match_name() != stage.session->registration().match_name) continue;
                out << "effect on \"" << layer->name() << "\"\n";
                DescribeParams(out, host, *effect);
            }
        }
    }
    const tlhost::CommandReport& r = outcome.report;
    out << "key events";
    for (const tlhost::KeyEvent& e : r.key_events) {
        out << " " << e.virtual_key << (e.down ? " down" : " up");
    }
    out << "\nchanged parameters";
    for (A_long i : r.changed_params) out << " " << i;
    out << "\ninfo panel " << host.info_panel().updates << " updates";
    for (const std::string& t : host.info_panel().texts) out << " \"" << t << "\"";
    out << "\nregistered";
    for (const std::string& name : host.registered_plugins()) out << " \"" << name << "\"";
    out << "\nglobal data " << DescribeHandle(host, stage.session->global_data()) << "\n";
    out << outcome.produced;
    return out.str();
}

}  // namespace sweep
