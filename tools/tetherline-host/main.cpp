// tetherline-host: drives the plug-in module through the stand-in host.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "session/Session.h"
#include "tetherline-host/Panel.h"
#include "tetherline-host/ParamsJson.h"
#include "tetherline-host/Picture.h"
#include "tetherline-host/Run.h"

namespace {

struct ModuleOptions {
    std::string module = TL_DEFAULT_MODULE;
    std::string resource = TL_DEFAULT_RESOURCE;
};

void AddModuleOptions(CLI::App* command, ModuleOptions& options) {
    command->add_option("--module", options.module, "plug-in module to load")
        ->capture_default_str();
    command->add_option("--resource", options.resource, "its registration resource")
        ->capture_default_str();
}

std::unique_ptr<tlhost::Session> LoadOrExplain(const ModuleOptions& options) {
    std::vector<std::string> log;
    auto session = tlhost::Session::Load(options.module, options.resource, &log);
    if (!session) {
        for (const auto& line : log) std::cerr << line << "\n";
    }
    return session;
}

void AddPictureOptions(CLI::App* command, tltool::PictureOptions& picture) {
    command->add_option("--comp", picture.comp,
                        "the composition to draw (default: the one holding the effect's layer, "
                        "else the project's first)");
    command->add_option("--time", picture.time, "composition time to draw, in seconds")
        ->capture_default_str();
    command->add_option("--scale", picture.scale, "picture pixels per composition pixel")
        ->capture_default_str();
}

int About(const ModuleOptions& options) {
    auto session = LoadOrExplain(options);
    if (!session) return 1;
    tlhost::CommandReport report = session->About();
    std::string text = report.return_msg;
    for (char& c : text) {
        if (c == '\r') c = '\n';
    }
    std::cout << text << "\n";
    return report.result == PF_Err_NONE && report.clean() ? 0 : 1;
}

int Pipl(const ModuleOptions& options) {
    std::ifstream in(options.resource, std::ios::binary);
    if (!in) {
        std::cerr << "cannot read " << options.resource << "\n";
        return 1;
    }
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)),
                                     std::istreambuf_iterator<char>());
    for (unsigned char b : bytes) std::printf("%02x", b);
    std::printf("\n");
    return 0;
}

// Loads the module, sends parameter setup and puts the effect on a layer of a
// fresh composition.
struct Applied {
    std::unique_ptr<tlhost::Session> session;
    tlhost::EffectInstance* effect = nullptr;
};

Applied LoadWithEffect(const ModuleOptions& options) {
    Applied out;
    out.session = LoadOrExplain(options);
    if (!out.session) return out;
    tlhost::CommandReport setup = out.session->ParamsSetup();
    if (setup.result != PF_Err_NONE) {
        std::cerr << "parameter setup failed with error " << setup.result << "\n";
        out.session.reset();
        return out;
    }
    tlhost::Project& project = out.session->host().project();
    tlhost::Composition& comp = project.AddComposition("Comp 1");
    out.effect = &out.session->Apply(project.AddLayer(comp, "Controller", tlhost::LayerKind::Null));
    return out;
}

int Params(const ModuleOptions& options) {
    auto session = LoadOrExplain(options);
    if (!session) return 1;
    tlhost::CommandReport report = session->ParamsSetup();
    nlohmann::json out = nlohmann::json::array();
    int index = 1;
    for (const auto& param : session->declared_params())
        out.push_back(tltool::DescribeParam(index++, param));
    std::cout << out.dump(2) << "\n";
    return report.result == PF_Err_NONE ? 0 : 1;
}

int Visibility(const ModuleOptions& options, const std::vector<std::string>& settings) {
    Applied applied = LoadWithEffect(options);
    if (!applied.session) return 1;
    auto& params = applied.effect->params();
    for (const auto& setting : settings) {
        const auto eq = setting.find('=');
        int index = eq == std::string::npos ? 0 : std::atoi(setting.substr(0, eq).c_str());
        if (index < 1 || static_cast<std::size_t>(index) >= params.size()) {
            std::cerr << "not INDEX=VALUE with a parameter index: " << setting << "\n";
            return 2;
        }
        std::string error;
        if (!params[static_cast<std::size_t>(index)].SetFromText(setting.substr(eq + 1), &error)) {
            std::cerr << "parameter " << index << ": " << error << "\n";
            return 2;
        }
    }
    tlhost::CommandReport report = applied.session->UpdateParamsUI(*applied.effect);
    nlohmann::json hidden = nlohmann::json::array();
    for (std::size_t i = 1; i < params.size(); ++i) {
        if (params[i].hidden) hidden.push_back(i);
    }
    nlohmann::json titles;
    if (params.size() > 23) titles["23"] = params[23].name();
    nlohmann::json out{{"hidden", hidden}, {"titles", titles}, {"result", report.result}};
    std::cout << out.dump() << "\n";
    return report.clean() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"Drives the Tetherline Styles plug-in through the stand-in host."};
    app.require_subcommand(1);
    ModuleOptions options;

    CLI::App* about = app.add_subcommand("about", "print the plug-in's about text");
    AddModuleOptions(about, options);
    CLI::App* pipl = app.add_subcommand("pipl", "print the registration resource as hex");
    pipl->add_option("--resource", options.resource, "registration resource written by the build")
        ->capture_default_str();

    CLI::App* params = app.add_subcommand("params", "print the declared parameters as JSON");
    AddModuleOptions(params, options);
    CLI::App* visibility = app.add_subcommand(
        "visibility", "set parameter values, update the interface, print what is hidden");
    AddModuleOptions(visibility, options);
    std::vector<std::string> settings;
    visibility->add_option("settings", settings, "INDEX=VALUE pairs");

    CLI::App* run = app.add_subcommand(
        "run", "run a session on a project file, applying the actions in the order given");
    AddModuleOptions(run, options);
    tltool::RunOptions run_options;
    run->add_option("project", run_options.project, "project file (JSON)")->required();
    std::vector<std::string> sets, presses, clicks;
    CLI::Option* set_opt =
        run->add_option("--set", sets, "INDEX=VALUE: change a parameter, then report the change");
    CLI::Option* press_opt = run->add_option("--press", presses, "INDEX: press a button");
    CLI::Option* click_opt =
        run->add_option("--click-module", clicks, "I: click module button I (0 to 9)");
    CLI::Option* ui_opt = run->add_flag("--update-ui", "send a parameter-interface update");
    run->add_option("--out", run_options.out, "write the resulting project here");
    run->add_option("--effect-layer", run_options.effect_layer,
                    "the layer carrying the effect (default: the first found)");
    run->add_flag("--summary", run_options.summary, "print the properties that changed");
    run->add_option("--png-before", run_options.png_before,
                    "draw the composition to this PNG before the actions");
    run->add_option("--png-after", run_options.png_after,
                    "draw the composition to this PNG after the actions");
    AddPictureOptions(run, run_options.picture);
    for (CLI::Option* opt : {set_opt, press_opt, click_opt}) {
        opt->allow_extra_args(false)->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    }

    CLI::App* panel = app.add_subcommand(
        "panel", "paint the module panel to PNG as the host shows it, after the clicks given");
    AddModuleOptions(panel, options);
    tltool::PanelOptions panel_options;
    panel->add_option("project", panel_options.project, "project file (JSON)")->required();
    panel
        ->add_option("--click-module", panel_options.clicks,
                     "I: click module button I (0 to 9) before drawing; repeatable")
        ->allow_extra_args(false)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    panel->add_option("--scale", panel_options.scale, "image pixels per window pixel: 1 or 2")
        ->capture_default_str();
    panel->add_option("--png", panel_options.png, "where to write the picture")->required();
    panel->add_option("--effect-layer", panel_options.effect_layer,
                      "the layer carrying the effect (default: the first found)");

    CLI::App* render = app.add_subcommand(
        "render", "draw a composition of a project file at a time to PNG, as the host renders it");
    AddModuleOptions(render, options);
    tltool::RenderCommandOptions render_options;
    render->add_option("project", render_options.project, "project file (JSON)")->required();
    AddPictureOptions(render, render_options.picture);
    render->add_option("--png", render_options.png, "where to write the picture")->required();

    CLI11_PARSE(app, argc, argv);
    if (*render) {
        render_options.module = options.module;
        render_options.resource = options.resource;
        return tltool::RenderCommand(render_options);
    }
    if (*panel) {
        panel_options.module = options.module;
        panel_options.resource = options.resource;
        return tltool::Panel(panel_options);
    }
    if (*run) {
        // Actions run in the order they were given on the command line.
        std::size_t next_set = 0, next_press = 0, next_click = 0;
        using Kind = tltool::RunAction::Kind;
        for (CLI::Option* opt : run->parse_order()) {
            if (opt == set_opt) run_options.actions.push_back({Kind::Set, sets[next_set++]});
            if (opt == press_opt)
                run_options.actions.push_back({Kind::Press, presses[next_press++]});
            if (opt == click_opt)
                run_options.actions.push_back({Kind::ClickModule, clicks[next_click++]});
            if (opt == ui_opt) run_options.actions.push_back({Kind::UpdateUI, {}});
        }
        run_options.module = options.module;
        run_options.resource = options.resource;
        return tltool::Run(run_options);
    }
    if (*about) return About(options);
    if (*pipl) return Pipl(options);
    if (*params) return Params(options);
    if (*visibility) return Visibility(options, settings);
    return 1;
}
