// `tetherline-host run`: a session on a project file, with the user's actions
// applied in order; one JSON line per command sent, and the resulting project.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "tetherline-host/Picture.h"

namespace tltool {

struct RunAction {
    enum class Kind { Set, Press, ClickModule, UpdateUI } kind;
    std::string argument;  // "INDEX=VALUE", an index, a module number, or empty
};

struct RunOptions {
    std::string module;
    std::string resource;
    std::string project;
    std::string out;
    std::string effect_layer;  // the layer carrying the effect; empty for the first one found
    bool summary = false;      // print what changed in the project, in readable lines
    std::vector<RunAction> actions;
    // Pictures of a composition before the actions and after them; empty paths for none.
    std::string png_before;
    std::string png_after;
    PictureOptions picture;
};

int Run(const RunOptions& options);

}  // namespace tltool
