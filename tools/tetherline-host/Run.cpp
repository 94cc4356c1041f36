#include "tetherline-host/Run.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "io/ProjectFile.h"
#include "tetherline-host/ProjectSession.h"
#include "tetherline-host/Selection.h"
#include "session/Session.h"

namespace tltool {

namespace {

using tlhost::CommandReport;

nlohmann::json ReportLine(const CommandReport& report) {
    nlohmann::json leftovers = nlohmann::json::array();
    for (const auto& ref : report.leftovers) leftovers.push_back(tlhost::Describe(ref));
    nlohmann::json line{
        {"command", report.command}, {"result", report.result}, {"leftovers", leftovers}};
    if (report.param >= 0) line["param"] = report.param;
    if (!report.violations.empty()) line["violations"] = report.violations;
    if (!report.declined.empty()) line["declined"] = report.declined;
    if (!report.return_msg.empty()) line["message"] = report.return_msg;
    if (!report.key_events.empty()) line["key_events"] = KeyEventNames(report.key_events);
    return line;
}

std::string KeyframeCount(std::size_t n) {
    return std::to_string(n) + (n == 1 ? " keyframe" : " keyframes");
}

std::string PathText(const tlhost::ShapePath& path) {
    return std::string(path.closed ? "closed" : "open") + " path of " +
           std::to_string(path.vertices.size()) + " vertices";
}

// What the Assistant changes on a property: its keyframes and whether its expression is on.
struct Animation {
    std::size_t keys = 0;
    bool has_expression = false;
    bool expression_on = false;
};
using Animations = std::map<std::string, Animation>;

void AnimationSnapshot(const tlhost::StreamNode& node, const std::string& path, Animations* out) {
    const std::string here = !node.parent() ? path : path + " > " + node.name();
    for (const auto& child : node.children()) AnimationSnapshot(*child, here, out);
    if (node.is_group()) return;
    (*out)[here] = Animation{node.keyframes.size(), !node.expression.empty(),
                             node.expression_enabled && !node.expression.empty()};
}

// The layers in `only` (all layers when null).
Animations AnimationSnapshot(tlhost::Project& project,
                             const std::set<AEGP_LayerIDVal>* only = nullptr) {
    Animations out;
    for (const auto& item : project.items()) {
        if (item->kind() != tlhost::ItemKind::Composition) continue;
        for (tlhost::Layer* layer : static_cast<tlhost::Composition&>(*item).layers()) {
            if (only && !only->count(layer->id())) continue;
            AnimationSnapshot(layer->root(), item->name() + " > " + layer->name(), &out);
        }
    }
    return out;
}

// One line per property whose keyframes or expression switch changed, then the Info
// panel's last texts and the undo groups the run opened, with what changed in each.
std::vector<std::string> AnimationChangeLines(const Animations& before, const Animations& after,
                                              tlhost::Host& host, std::size_t undo_groups_before,
                                              std::uint64_t info_updates_before) {
    std::vector<std::string> lines;
    for (const auto& [path, now] : after) {
        auto it = before.find(path);
        const Animation was = it == before.end() ? Animation{} : it->second;
        std::vector<std::string> parts;
        if (was.keys != now.keys) {
            parts.push_back("keyframes " + std::to_string(was.keys) + " -> " +
                            std::to_string(now.keys));
        }
        if (now.has_expression && was.expression_on != now.expression_on) {
            parts.push_back(now.expression_on ? "expression switched on"
                                              : "expression switched off");
        }
        if (parts.empty()) continue;
        std::string line = path + ": " + parts[0];
        for (std::size_t i = 1; i < parts.size(); ++i) line += ", " + parts[i];
        lines.push_back(line);
    }
    const tlhost::InfoPanel& panel = host.info_panel();
    if (panel.updates != info_updates_before) {
        const auto& t = panel.texts;
        lines.push_back("info panel: " + std::to_string(panel.updates - info_updates_before) +
                        " updates, the last: \"" + t[0] + "\" / \"" + t[1] + "\" \"" + t[2] +
                        "\" / \"" + t[3] + "\" \"" + t[4] + "\"");
    }
    const auto& groups = host.project().undo_groups();
    for (std::size_t i = undo_groups_before; i < groups.size(); ++i) {
        lines.push_back("undo group \"" + groups[i].name + "\" (" +
                        (groups[i].closed ? "closed" : "left open") +
                        "): " + std::to_string(groups[i].changes.size()) +
                        (groups[i].changes.size() == 1 ? " change" : " changes"));
    }
    return lines;
}

// A readable snapshot of every leaf, keyed by its path of names, for the summary.
void Snapshot(tlhost::Host& host, tlhost::StreamNode& node, const std::string& path,
              std::map<std::string, std::string>* out) {
    // The root stands for the layer, whose name is already in the path.
    const std::string here = !node.parent() ? path : path + " > " + node.name();
    if (node.is_group()) {
        (*out)[here] = node.eyeball ? "switched on" : "switched off";
        for (const auto& child : node.children()) Snapshot(host, *child, here, out);
        return;
    }
    std::ostringstream text;
    const tlhost::StreamValue v = node.value();
    const std::size_t dims = v.Dimensions();
    if (v.kind == tlhost::ValueKind::LayerId) text << "layer " << v.layer_id;
    if (v.kind == tlhost::ValueKind::Path) text << PathText(v.path);
    for (std::size_t d = 0; d < dims; ++d) text << (d ? ", " : "") << v.v[d];
    if (!node.keyframes.empty()) text << " (" << KeyframeCount(node.keyframes.size()) << ")";
    // The effect's own parameters are shown and hidden by every interface pass;
    // only their values are of interest here.
    if (node.hidden() && !node.effect()) text << " (hidden)";
    if (!node.expression.empty()) {
        text << (node.expression_enabled ? " with expression " : " with switched-off expression ")
             << node.expression;
        if (node.expression_enabled && host.has_evaluator()) {
            const tlhost::StreamValue after = host.ValueAfterExpressions(node, 0.0);
            text << " -> evaluates to";
            if (after.kind == tlhost::ValueKind::Path) text << " " << PathText(after.path);
            for (std::size_t d = 0; d < after.Dimensions(); ++d)
                text << (d ? ", " : " ") << after.v[d];
            if (!node.expression_error.empty()) text << " (error: " << node.expression_error << ")";
        }
    }
    (*out)[here] = text.str();
}

// Every leaf of the layers in `only` (all layers when null).
std::map<std::string, std::string> Snapshot(tlhost::Host& host,
                                            const std::set<AEGP_LayerIDVal>* only = nullptr) {
    std::map<std::string, std::string> out;
    for (const auto& item : host.project().items()) {
        if (item->kind() != tlhost::ItemKind::Composition) continue;
        for (tlhost::Layer* layer : static_cast<tlhost::Composition&>(*item).layers()) {
            if (only && !only->count(layer->id())) continue;
            Snapshot(host, layer->root(), item->name() + " > " + layer->name(), &out);
        }
    }
    return out;
}

// The layers and items of the project, to tell what a run added.
struct Contents {
    std::set<AEGP_LayerIDVal> layers;
    std::set<A_long> items;
};

Contents ContentsOf(const tlhost::Project& project) {
    Contents out;
    for (const auto& item : project.items()) {
        out.items.insert(item->id());
        if (item->kind() != tlhost::ItemKind::Composition) continue;
        for (const tlhost::Layer* layer : static_cast<tlhost::Composition&>(*item).layers()) {
            out.layers.insert(layer->id());
        }
    }
    return out;
}

// A transform property of a layer after its expression, at time 0, as "x, y, z" (and the
// expression's error, if it has one); "none" when the layer has no such property.
std::string TransformText(tlhost::Host& host, tlhost::Layer& layer, const char* match_name) {
    tlhost::StreamNode* transform = layer.root().FindChild("ADBE Transform Group");
    tlhost::StreamNode* node = transform ? transform->FindChild(match_name) : nullptr;
    if (!node) return "none";
    const tlhost::StreamValue value = host.ValueAfterExpressions(*node, 0.0);
    std::ostringstream text;
    for (std::size_t d = 0; d < value.Dimensions(); ++d) text << (d ? ", " : "") << value.v[d];
    if (node->expression_enabled && !node->expression_error.empty()) {
        text << " (error: " << node->expression_error << ")";
    }
    return text.str();
}

// One line per composition and per layer the run added, with the layer's kind, its source,
// whether it is 3D, and where it stands at time 0: position, rotation and opacity after their
// expressions.
std::vector<std::string> AddedLines(tlhost::Host& host, const Contents& before) {
    std::vector<std::string> lines;
    for (const auto& item : host.project().items()) {
        if (item->kind() != tlhost::ItemKind::Composition) continue;
        auto& comp = static_cast<tlhost::Composition&>(*item);
        if (!before.items.count(comp.id())) {
            std::ostringstream text;
            text << "new composition \"" << comp.name() << "\": " << comp.width << " x "
                 << comp.height << ", " << comp.frame_rate << " fps, " << comp.layers().size()
                 << (comp.layers().size() == 1 ? " layer" : " layers");
            lines.push_back(text.str());
        }
        for (tlhost::Layer* layer : comp.layers()) {
            if (before.layers.count(layer->id())) continue;
            std::string line = "new layer " + comp.name() + " > " + layer->name() + " (";
            line += layer->source() ? "showing \"" + layer->source()->name() + "\"" : "shape";
            line += layer->is_3d() ? ", 3D)" : ")";
            line += ": position " + TransformText(host, *layer, "ADBE Position");
            line += "; rotation " + TransformText(host, *layer, "ADBE Rotate Z");
            line += "; opacity " + TransformText(host, *layer, "ADBE Opacity");
            lines.push_back(line);
        }
    }
    return lines;
}

// What was wrong with a command, for scripts that rely on the exit status: its error, the
// references it left acquired, the breaches of the host interface. Empty when nothing was.
std::string Problems(const CommandReport& report) {
    std::ostringstream out;
    const std::string command =
        report.command +
        (report.param >= 0 ? " (parameter " + std::to_string(report.param) + ")" : std::string());
    if (report.result != PF_Err_NONE) {
        out << command << " returned error " << report.result;
        if (!report.return_msg.empty()) out << ": " << report.return_msg;
        out << "\n";
    }
    if (!report.leftovers.empty()) {
        out << command << " left " << report.leftovers.size() << " reference"
            << (report.leftovers.size() == 1 ? "" : "s") << " acquired:";
        for (const auto& ref : report.leftovers) out << "\n  " << tlhost::Describe(ref);
        out << "\n";
    }
    for (const auto& violation : report.violations) {
        out << command << " broke the host interface: " << violation << "\n";
    }
    return out.str();
}

// The click the host sends for a module button: at the button's centre, inside the
// control's frame.
CommandReport ClickModule(tlhost::Session& session, tlhost::EffectInstance& effect, int module) {
    const PF_Rect frame{10, 100, 10 + 267, 100 + 39};
    const PF_Point centre{frame.left + 27 * module + 12, frame.top + 12};
    return session.ClickEvent(effect, frame, centre).report;
}

}  // namespace

int Run(const RunOptions& options) {
    ProjectSession opened =
        OpenProjectSession(options.module, options.resource, options.project, options.effect_layer);
    std::cout << ReportLine(opened.params_setup).dump() << "\n";
    if (!opened.session) return 1;
    // Every command is reported on; the exit status is 1 when any of them had a problem.
    bool clean = true;
    auto check = [&](const CommandReport& report) {
        const std::string problems = Problems(report);
        if (problems.empty()) return;
        std::cerr << "tetherline-host: " << problems;
        clean = false;
    };
    check(opened.params_setup);
    tlhost::Session* session = opened.session.get();
    tlhost::EffectInstance* effect = opened.effect;
    PictureOptions picture = options.picture;
    if (!options.png_before.empty() || !options.png_after.empty()) {
        if (const int status = CheckPicture(*session, effect, &picture)) return status;
    }
    if (!options.png_before.empty() && !WritePicture(*session, picture, options.png_before))
        return 1;
    // The summary compares against the project as loaded. Its snapshots evaluate every
    // expression and name every property of every layer, so they are taken only when
    // the summary is asked for.
    std::map<std::string, std::string> before;
    Contents contents_before;
    Animations animations_before;
    if (options.summary) {
        before = Snapshot(session->host());
        contents_before = ContentsOf(session->host().project());
        animations_before = AnimationSnapshot(session->host().project());
    }
    const Selections selections_at_start = SelectionSnapshot(session->host().project());
    const std::size_t undo_groups_before = session->host().project().undo_groups().size();
    const std::uint64_t info_updates_before = session->host().info_panel().updates;

    for (const RunAction& action : options.actions) {
        const Selections selections_before = SelectionSnapshot(session->host().project());
        CommandReport report;
        auto& params = effect->params();
        auto index_of = [&](const std::string& t) { return std::atoi(t.c_str()); };
        switch (action.kind) {
            case RunAction::Kind::Set: {
                const auto eq = action.argument.find('=');
                const int index =
                    eq == std::string::npos ? 0 : index_of(action.argument.substr(0, eq));
                if (index < 1 || static_cast<std::size_t>(index) >= params.size()) {
                    std::cerr << "--set takes INDEX=VALUE: " << action.argument << "\n";
                    return 2;
                }
                std::string why;
                if (!params[static_cast<std::size_t>(index)].SetFromText(
                        action.argument.substr(eq + 1), &why)) {
                    std::cerr << "parameter " << index << ": " << why << "\n";
                    return 2;
                }
                report = session->UserChangedParam(*effect, index);
                break;
            }
            case RunAction::Kind::Press: {
                const int index = index_of(action.argument);
                if (index < 1 || static_cast<std::size_t>(index) >= params.size() ||
                    params[static_cast<std::size_t>(index)].def().param_type != PF_Param_BUTTON) {
                    std::cerr << "--press takes the index of a button: " << action.argument << "\n";
                    return 2;
                }
                report = session->UserChangedParam(*effect, index);
                break;
            }
            case RunAction::Kind::ClickModule: {
                const int module = index_of(action.argument);
                if (module < 0 || module > 9) {
                    std::cerr << "--click-module takes a module number from 0 to 9\n";
                    return 2;
                }
                report = ClickModule(*session, *effect, module);
                break;
            }
            case RunAction::Kind::UpdateUI:
                report = session->UpdateParamsUI(*effect);
                break;
        }
        nlohmann::json line = ReportLine(report);
        // The compositions whose selection the command changed, with what is selected now.
        for (const auto& [comp, selected] : SelectionSnapshot(session->host().project())) {
            // A composition the command made counts as having had no selection.
            auto it = selections_before.find(comp);
            const bool changed =
                it == selections_before.end() ? !selected.empty() : it->second != selected;
            if (changed) line["selection"][comp] = selected;
        }
        std::cout << line.dump() << "\n";
        check(report);
    }

    if (!options.png_after.empty() && !WritePicture(*session, picture, options.png_after)) return 1;

    tlhost::ValueEvaluator evaluate = [&](tlhost::StreamNode& leaf) {
        return session->host().ValueAfterExpressions(leaf, 0.0);
    };
    if (!options.out.empty()) {
        // As the host does before it saves: the effects' arbitrary data in flat form.
        CommandReport flatten = session->FlattenValues();
        if (flatten.result != PF_Err_NONE) {
            std::cerr << "flattening the effect's data failed with error " << flatten.result
                      << "\n";
            return 1;
        }
        std::ofstream out(options.out, std::ios::binary);
        tlhost::WriteProject(session->host().project(), out, evaluate);
        if (!out) {
            std::cerr << "cannot write " << options.out << "\n";
            return 1;
        }
    }
    if (options.summary) {
        // Layers the run added are listed whole, one line each, after the changes.
        const auto after = Snapshot(session->host(), &contents_before.layers);
        std::size_t changes = 0;
        for (const auto& [path, value] : after) {
            auto it = before.find(path);
            if (it != before.end() && it->second == value) continue;
            std::cout << path << ": " << (it == before.end() ? std::string("(new)") : it->second)
                      << "  ->  " << value << "\n";
            ++changes;
        }
        for (const auto& [path, value] : before) {
            if (!after.count(path)) std::cout << path << ": " << value << "  ->  (gone)\n";
        }
        for (const std::string& line : AddedLines(session->host(), contents_before)) {
            std::cout << line << "\n";
        }
        for (const std::string& line : SelectionChangeLines(
                 selections_at_start, SelectionSnapshot(session->host().project()))) {
            std::cout << line << "\n";
        }
        for (const std::string& line : AnimationChangeLines(
                 animations_before,
                 AnimationSnapshot(session->host().project(), &contents_before.layers),
                 session->host(), undo_groups_before, info_updates_before)) {
            std::cout << line << "\n";
        }
        std::cout << changes << " properties changed\n";
    }
    return clean ? 0 : 1;
}

}  // namespace tltool
