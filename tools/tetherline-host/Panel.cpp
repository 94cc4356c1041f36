#include "tetherline-host/Panel.h"

#include "tetherline-host/ProjectSession.h"

#include <fstream>
#include <iostream>
#include <sstream>

#include <nlohmann/json.hpp>

#include "io/ProjectFile.h"
#include "session/Session.h"
#ifdef TL_HAVE_DRAWING
#include "drawing/Renderer.h"
#endif

namespace tltool {

namespace {

using tlhost::CommandReport;
using tlhost::UIEventReport;

// Where the control sits in the pane, and the host's own margin around it in the picture.
constexpr A_long kMargin = 6;

nlohmann::json Line(const char* event, const UIEventReport& ui) {
    const CommandReport& report = ui.report;
    nlohmann::json leftovers = nlohmann::json::array();
    for (const auto& ref : report.leftovers) leftovers.push_back(tlhost::Describe(ref));
    nlohmann::json line{{"command", report.command},
                        {"event", event},
                        {"result", report.result},
                        {"out_flags", ui.out_flags},
                        {"leftovers", leftovers}};
    if (!report.violations.empty()) line["violations"] = report.violations;
    if (!report.declined.empty()) line["declined"] = report.declined;
    if (!report.return_msg.empty()) line["message"] = report.return_msg;
    return line;
}

// The first parameter with a control of its own in the effect controls: the panel.
std::size_t CustomControlIndex(tlhost::EffectInstance& effect) {
    for (std::size_t i = 1; i < effect.params().size(); ++i) {
        if (effect.params()[i].def().ui_flags & PF_PUI_CONTROL) return i;
    }
    return 0;
}

}  // namespace

int Panel(const PanelOptions& options) {
#ifndef TL_HAVE_DRAWING
    (void)options;
    std::cerr << "this build paints no pictures (configured with TETHERLINE_HOST_DRAWING=OFF)\n";
    return 1;
#else
    if (options.scale != 1 && options.scale != 2) {
        std::cerr << "--scale takes 1 or 2\n";
        return 2;
    }
    for (int module : options.clicks) {
        if (module < 0 || module > 9) {
            std::cerr << "--click-module takes a module number from 0 to 9\n";
            return 2;
        }
    }
    ProjectSession opened =
        OpenProjectSession(options.module, options.resource, options.project, options.effect_layer);
    if (!opened.session) return 1;
    tlhost::Session* session = opened.session.get();
    tlhost::EffectInstance* effect = opened.effect;
    const std::size_t index = CustomControlIndex(*effect);
    if (index == 0) {
        std::cerr << "the effect has no custom control\n";
        return 1;
    }
    const PF_ParamDef& def = effect->params()[index].def();
    const PF_Rect frame{kMargin, kMargin, kMargin + def.ui_width, kMargin + def.ui_height};
    const auto param = static_cast<PF_ParamIndex>(index);

    bool ok = true;
    for (int module : options.clicks) {
        // At the middle of the button, as a user clicks it.
        const PF_Point point{frame.left + 27 * module + 12, frame.top + 12};
        UIEventReport click = session->ClickEvent(*effect, frame, point, param);
        nlohmann::json line = Line("click", click);
        line["module"] = module;
        std::cout << line.dump() << "\n";
        ok = ok && click.report.result == PF_Err_NONE && click.report.clean();
    }

    UIEventReport draw = session->DrawEvent(*effect, frame, param);
    nlohmann::json line = Line("draw", draw);
    line["operations"] = draw.display.ops.size();
    std::cout << line.dump() << "\n";
    ok = ok && draw.report.result == PF_Err_NONE && draw.report.clean();

    // The control and the host's margin around it; the panel paints one row more than its
    // frame's height.
    tlhost::RenderOptions render;
    render.area = PF_Rect{0, 0, frame.right + kMargin, frame.bottom + 1 + kMargin};
    render.scale = options.scale;
    render.surround = session->drawing().background;
    std::string why;
    if (!tlhost::WritePng(draw.display, render, options.png, &why)) {
        std::cerr << why << "\n";
        return 1;
    }
    return ok ? 0 : 1;
#endif
}

}  // namespace tltool
