// `tetherline-host panel`: the module panel as the host shows it in the effect controls, after
// clicks on its buttons, painted to PNG. One JSON line per command sent.
#pragma once

#include <string>
#include <vector>

namespace tltool {

struct PanelOptions {
    std::string module;
    std::string resource;
    std::string project;       // project file (JSON) holding the effect
    std::string effect_layer;  // the layer carrying the effect; empty for the first one found
    std::vector<int> clicks;   // module buttons clicked, in order, before the panel is drawn
    int scale = 1;             // image pixels per window pixel: 1 or 2
    std::string png;           // where the picture goes
};

int Panel(const PanelOptions& options);

}  // namespace tltool
