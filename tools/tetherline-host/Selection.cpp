#include "tetherline-host/Selection.h"

#include <cstdio>

namespace tltool {

namespace {

// The property a selection entry names, by the names from its layer down; a path that no longer
// leads anywhere is shown with the indices left over.
std::string PropertyName(const tlhost::Project& project, const tlhost::SelectedStream& selected) {
    const tlhost::Layer* layer = project.FindLayer(selected.layer_id);
    if (!layer) return "layer " + std::to_string(selected.layer_id) + " (gone)";
    std::string name = layer->name();
    const tlhost::StreamNode* node = &layer->root();
    for (std::size_t index : selected.path) {
        if (!node || index >= node->children().size()) {
            name += " > #" + std::to_string(index);
            node = nullptr;
            continue;
        }
        node = node->children()[index].get();
        name += " > " + node->name();
    }
    return name;
}

std::string Count(std::size_t n) {
    if (n == 0) return "none";
    return std::to_string(n) + (n == 1 ? " property" : " properties");
}

}  // namespace

Selections SelectionSnapshot(const tlhost::Project& project) {
    Selections out;
    for (const auto& item : project.items()) {
        if (item->kind() != tlhost::ItemKind::Composition) continue;
        const auto& comp = static_cast<const tlhost::Composition&>(*item);
        std::vector<std::string>& names = out[comp.name()];
        for (const tlhost::SelectedStream& selected : comp.selection) {
            names.push_back(PropertyName(project, selected));
        }
    }
    return out;
}

std::vector<std::string> KeyEventNames(const std::vector<tlhost::KeyEvent>& events) {
    std::vector<std::string> names;
    for (const tlhost::KeyEvent& e : events) {
        std::string key;
        if (e.virtual_key >= 'A' && e.virtual_key <= 'Z') {
            key = std::string(1, static_cast<char>(e.virtual_key));
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "0x%02X", static_cast<unsigned>(e.virtual_key));
            key = hex;
        }
        names.push_back(key + (e.down ? " down" : " up"));
    }
    return names;
}

std::vector<std::string> SelectionChangeLines(const Selections& before, const Selections& after) {
    static const std::vector<std::string> kNone;
    std::vector<std::string> lines;
    for (const auto& [comp, now] : after) {
        auto it = before.find(comp);
        const std::vector<std::string>& was = it == before.end() ? kNone : it->second;
        if (was == now) continue;
        lines.push_back(comp + " > selection: " + Count(was.size()) + "  ->  " + Count(now.size()));
        for (const std::string& name : now) lines.push_back("  " + name);
    }
    return lines;
}

}  // namespace tltool
