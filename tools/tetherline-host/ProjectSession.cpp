#include "tetherline-host/ProjectSession.h"

#include <fstream>
#include <iostream>

#include "io/ProjectFile.h"
#ifdef TL_HAVE_EXPRESSIONS
#include "expressions/Expressions.h"
#endif

namespace tltool {

ProjectSession OpenProjectSession(const std::string& module, const std::string& resource,
                                  const std::string& project_path, const std::string& effect_layer,
                                  bool require_effect) {
    ProjectSession out;
    std::vector<std::string> log;
    auto session = tlhost::Session::Load(module, resource, &log);
    if (!session) {
        for (const auto& line : log) std::cerr << line << "\n";
        return out;
    }
#ifdef TL_HAVE_EXPRESSIONS
    tlhost::InstallExpressionEngine(session->host());
#endif
    out.params_setup = session->ParamsSetup();
    if (out.params_setup.result != PF_Err_NONE) {
        std::cerr << "parameter setup failed with error " << out.params_setup.result << "\n";
        return out;
    }
    // Read as it is parsed: a large file is never held as text.
    std::ifstream text(project_path, std::ios::binary);
    if (!text) {
        std::cerr << "cannot read " << project_path << "\n";
        return out;
    }
    tlhost::LoadError error;
    const std::string& match_name = session->registration().match_name;
    tlhost::Session& s = *session;
    auto resolver = [&](tlhost::Layer&, tlhost::EffectInstance& effect) {
        if (effect.match_name() != match_name) return false;
        s.Instantiate(effect);
        return true;
    };
    if (!tlhost::LoadProject(text, session->host().project(), &error, resolver)) {
        std::cerr << project_path << ": " << error.message() << "\n";
        return out;
    }
    out.effect = session->FindEffect(effect_layer);
    if (!out.effect && require_effect) {
        std::cerr << "no layer carries the effect \"" << match_name << "\"\n";
        return out;
    }
    out.session = std::move(session);
    return out;
}

}  // namespace tltool
