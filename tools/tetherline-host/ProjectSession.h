// Opening a session on a project file, as the tool's commands do: load the module,
// send parameter setup, read the project (giving this plug-in's effects their
// parameters), and find the effect the actions go to.
#pragma once

#include <memory>
#include <string>

#include "session/Session.h"

namespace tltool {

struct ProjectSession {
    std::unique_ptr<tlhost::Session> session;
    tlhost::EffectInstance* effect = nullptr;
    tlhost::CommandReport params_setup;
};

// Null session, with the reason printed to standard error, when any step fails. The
// expression engine is installed where the build has one. Without `require_effect`, a project
// in which no layer carries the effect opens too (with a null effect).
ProjectSession OpenProjectSession(const std::string& module, const std::string& resource,
                                  const std::string& project_path, const std::string& effect_layer,
                                  bool require_effect = true);

}  // namespace tltool
