#include "sweep/Scenarios.h"

#include <cstring>
#include <sstream>

#include <gtest/gtest.h>

#include "support/TestSupport.h"
#include "sweep/Fingerprint.h"

namespace sweep {

namespace {

using tlhost::CommandReport;

constexpr std::uint64_t kRefcon = 0xDEADBEEFDEADBEEFull;
void* Refcon() {
    return reinterpret_cast<void*>(static_cast<std::uintptr_t>(kRefcon));
}
constexpr std::uint8_t kRecord[10] = {1, 0, 1, 0, 0, 1, 0, 0, 0, 1};

// The module panel's control as the host lays it out, and the middle of button i.
constexpr PF_Rect kPanelFrame{10, 100, 10 + 267, 100 + 39};
PF_Point ButtonCentre(int module) {
    return PF_Point{kPanelFrame.left + 27 * module + 12, kPanelFrame.top + 12};
}

void Expect(const CommandReport& report, const char* what) {
    EXPECT_EQ(report.result, PF_Err_NONE) << what;
    EXPECT_TRUE(report.clean()) << what << "\n" << tltest::Leftovers(report);
}

Outcome Report(CommandReport report, std::string produced = {}) {
    return Outcome{std::move(report), std::move(produced)};
}

std::string EventText(const tlhost::UIEventReport& event) {
    return "event out flags " + std::to_string(event.out_flags) + "\n" +
           DescribeDisplayList(event.display);
}

// ---- scenario-specific checks -----------------------------------------------------------------

// The selection of every composition.
std::string Selections(Stage& stage) {
    std::ostringstream out;
    for (const auto& item : stage.project().items()) {
        if (item->kind() != tlhost::ItemKind::Composition) continue;
        out << item->name() << ":";
        for (const tlhost::SelectedStream& s : static_cast<tlhost::Composition&>(*item).selection) {
            out << " " << s.layer_id << "/";
            for (std::size_t i : s.path) out << i << ".";
        }
        out << "\n";
    }
    return out.str();
}

bool AllOf(const std::vector<const char*>& failed, bool (*which)(const char*)) {
    for (const char* f : failed) {
        if (!which(f)) return false;
    }
    return true;
}

// A reveal that reports a failure sends no key presses and leaves every selection as it was.
// Only give-backs follow the selection, so a failure among them alone may leave it made; and
// only the handler's own effect disposal and suite releases follow the presses.
std::string RevealCheck(Stage& stage, const RunView& run) {
    if (run.outcome.report.result == PF_Err_NONE) return {};
    const bool after_presses = AllOf(run.failed, [](const char* f) {
        return std::strcmp(f, "AEGP_DisposeEffect") == 0 || std::strcmp(f, "ReleaseSuite") == 0;
    });
    const bool after_selection =
        AllOf(run.failed, [](const char* f) { return tlhost::GiveBackKind(f).has_value(); });
    if (!after_presses && !run.outcome.report.key_events.empty()) {
        return "a failed reveal sent key presses";
    }
    if (!after_selection && Selections(stage) != run.before) {
        return "a failed reveal changed a selection";
    }
    return {};
}

// Every leaf of every layer: its key count and whether its expression is on.
void KeysInto(const tlhost::StreamNode& node, const std::string& path, std::ostringstream& out) {
    const std::string here = path + "/" + node.name();
    if (!node.is_group()) {
        out << here << " " << node.keyframes.size() << " " << node.expression_enabled << "\n";
    }
    for (const auto& child : node.children()) KeysInto(*child, here, out);
}

std::string Keys(Stage& stage) {
    std::ostringstream out;
    for (const auto& item : stage.project().items()) {
        if (item->kind() != tlhost::ItemKind::Composition) continue;
        for (tlhost::Layer* layer : static_cast<tlhost::Composition&>(*item).layers()) {
            KeysInto(layer->root(), item->name(), out);
        }
    }
    return out.str();
}

// A bake keys every property whole or not at all: its keys are either those it had or those the
// fault-free bake gave it, and a property that got no keys keeps its expression as it was.
std::string BakeCheck(Stage& stage, const RunView& run) {
    std::istringstream b(run.before), c(run.clean), r(Keys(stage));
    std::string lb, lc, lr;
    while (std::getline(b, lb) && std::getline(c, lc) && std::getline(r, lr)) {
        auto split = [](const std::string& line, std::string* path, std::string* keys,
                        std::string* on) {
            const auto s2 = line.rfind(' ');
            const auto s1 = line.rfind(' ', s2 - 1);
            *path = line.substr(0, s1);
            *keys = line.substr(s1 + 1, s2 - s1 - 1);
            *on = line.substr(s2 + 1);
        };
        std::string path, kb, ob, kc, oc, kr, orun;
        split(lb, &path, &kb, &ob);
        split(lc, &path, &kc, &oc);
        split(lr, &path, &kr, &orun);
        if (kr != kb && kr != kc) {
            return path + " has " + kr + " keys: neither its own " + kb + " nor the bake's " + kc;
        }
        if (kb != kc && kr == kb && orun != ob) {
            return path + " got no keys but its expression was switched";
        }
    }
    return {};
}

// ---- the commands ------------------------------------------------------------------------------

Scenario Change(std::string name, int index, double value,
                std::vector<std::pair<int, double>> first = {},
                const char* effect_layer = "Controller") {
    Scenario s;
    s.name = std::move(name);
    s.prepare = [=](Stage& stage) {
        BuildSweepProject(stage, effect_layer);
        for (const auto& [i, v] : first) SetParam(stage, i, v);
        SetParam(stage, index, value);
    };
    s.command = [index](Stage& stage) {
        return Report(stage.session->UserChangedParam(*stage.effect, index));
    };
    return s;
}

Scenario Reveal(std::string name, int index) {
    Scenario s = Change(std::move(name), index, 0);
    s.snapshot = Selections;
    s.check = RevealCheck;
    return s;
}

Scenario Bake(std::string name, int index, const char* effect_layer = "Controller") {
    Scenario s = Change(std::move(name), index, 0, {}, effect_layer);
    s.snapshot = Keys;
    s.check = BakeCheck;
    return s;
}

// ---- the arrowhead export -------------------------------------------------------------------

constexpr int kArrowheadsModule = 0;

bool IsPlaceholderComp(const tlhost::Item& item) {
    return item.kind() == tlhost::ItemKind::Composition && item.name() == "TL_Arrowhead";
}
bool IsPlaceholder(const tlhost::Layer& layer) {
    return layer.source() != nullptr && IsPlaceholderComp(*layer.source());
}

// How many layers show the placeholder composition.
std::string PlaceholderCount(Stage& stage) {
    std::size_t count = 0;
    for (const auto& item : stage.project().items()) {
        if (item->kind() != tlhost::ItemKind::Composition) continue;
        for (tlhost::Layer* layer : static_cast<tlhost::Composition&>(*item).layers()) {
            count += IsPlaceholder(*layer);
        }
    }
    return std::to_string(count);
}

// A failure may cost placeholders, never add one.
std::string ExportCheck(Stage& stage, const RunView& run) {
    if (std::stol(PlaceholderCount(stage)) > std::stol(run.clean)) {
        return "more placeholders than without a failure";
    }
    return {};
}

// "Create Placeholders" with the Arrowheads module on or off before it.
Scenario Export(std::string name, const char* effect_layer, bool module_on) {
    Scenario s = Change(std::move(name), 68, 0, {}, effect_layer);
    if (module_on) {
        s.prepare = [prepare = s.prepare](Stage& stage) {
            prepare(stage);
            Expect(stage.session
                       ->ClickEvent(*stage.effect, kPanelFrame, ButtonCentre(kArrowheadsModule))
                       .report,
                   "switching the Arrowheads module on");
        };
    }
    s.snapshot = PlaceholderCount;
    s.check = ExportCheck;
    s.tolerated.push_back(Tolerated{
        "one shape item's arrowheads",
        "a failure while the export looks into one item of a connection's contents (a group "
        "and what it holds, or an arrowhead path becoming its placeholder layer) ends that "
        "item's export without failing the command, and a placeholder composition built part "
        "way stays: the other items are still exported and the Arrowheads module is still "
        "switched off, so everything but the placeholder layers, their composition and the "
        "undo group's log is as without the failure",
        {},
        [](Stage& stage, const Outcome& outcome) {
            LeaveOut leave;
            leave.item = IsPlaceholderComp;
            leave.layer = IsPlaceholder;
            leave.undo_changes = true;
            return Fingerprint(stage, outcome, leave);
        }});
    return s;
}

Scenario Click(int module, bool twice = false) {
    Scenario s;
    s.name = "click module " + std::to_string(module) + (twice ? " again (off)" : "");
    s.prepare = [=](Stage& stage) {
        BuildSweepProject(stage);
        if (twice) {
            Expect(
                stage.session->ClickEvent(*stage.effect, kPanelFrame, ButtonCentre(module)).report,
                "the first click");
        }
    };
    s.command = [module](Stage& stage) {
        tlhost::UIEventReport event =
            stage.session->ClickEvent(*stage.effect, kPanelFrame, ButtonCentre(module));
        return Report(event.report, EventText(event));
    };
    return s;
}

PF_ArbParamsExtra Arb(PF_FunctionSelector which) {
    PF_ArbParamsExtra extra{};
    extra.id = 41;
    extra.which_function = which;
    return extra;
}

Scenario ArbScenario(std::string name, std::function<void(Stage&)> prepare,
                     std::function<Outcome(Stage&)> command) {
    Scenario s;
    s.name = "data callback: " + name;
    s.prepare = [prepare](Stage& stage) {
        BuildSweepProject(stage);
        stage.arb = stage.host().handles().NewHostOwned(
            std::vector<std::uint8_t>(std::begin(kRecord), std::end(kRecord)));
        stage.flat.assign(10, 0);
        if (prepare) prepare(stage);
    };
    s.command = std::move(command);
    return s;
}

std::vector<Scenario> ArbScenarios() {
    std::vector<Scenario> out;
    out.push_back(ArbScenario(
        "new", [](Stage& stage) { stage.arb = nullptr; },
        [](Stage& stage) {
            PF_ArbParamsExtra extra = Arb(PF_Arbitrary_NEW_FUNC);
            extra.u.new_func_params.refconPV = Refcon();
            extra.u.new_func_params.arbPH = &stage.arb;
            CommandReport report = stage.session->Arbitrary(stage.effect, extra);
            return Report(report, "made " + DescribeHandle(stage.host(), stage.arb) + "\n");
        }));
    out.push_back(ArbScenario("dispose", nullptr, [](Stage& stage) {
        PF_ArbParamsExtra extra = Arb(PF_Arbitrary_DISPOSE_FUNC);
        extra.u.dispose_func_params.refconPV = Refcon();
        extra.u.dispose_func_params.arbH = stage.arb;
        CommandReport report = stage.session->Arbitrary(stage.effect, extra);
        return Report(report, "record " + DescribeHandle(stage.host(), stage.arb) + "\n");
    }));
    out.push_back(ArbScenario("copy", nullptr, [](Stage& stage) {
        PF_ArbitraryH copy = nullptr;
        PF_ArbParamsExtra extra = Arb(PF_Arbitrary_COPY_FUNC);
        extra.u.copy_func_params.refconPV = Refcon();
        extra.u.copy_func_params.src_arbH = stage.arb;
        extra.u.copy_func_params.dst_arbPH = &copy;
        CommandReport report = stage.session->Arbitrary(stage.effect, extra);
        return Report(report, "copy " + DescribeHandle(stage.host(), copy) + "\n");
    }));
    out.push_back(ArbScenario("flat size", nullptr, [](Stage& stage) {
        A_u_long size = 0;
        PF_ArbParamsExtra extra = Arb(PF_Arbitrary_FLAT_SIZE_FUNC);
        extra.u.flat_size_func_params.refconPV = Refcon();
        extra.u.flat_size_func_params.arbH = stage.arb;
        extra.u.flat_size_func_params.flat_data_sizePLu = &size;
        CommandReport report = stage.session->Arbitrary(stage.effect, extra);
        return Report(report, "size " + std::to_string(size) + "\n");
    }));
    out.push_back(ArbScenario("flatten", nullptr, [](Stage& stage) {
        PF_ArbParamsExtra extra = Arb(PF_Arbitrary_FLATTEN_FUNC);
        extra.u.flatten_func_params.refconPV = Refcon();
        extra.u.flatten_func_params.arbH = stage.arb;
        extra.u.flatten_func_params.buf_sizeLu = 10;
        extra.u.flatten_func_params.flat_dataPV = stage.flat.data();
        CommandReport report = stage.session->Arbitrary(stage.effect, extra);
        std::string bytes = "flat";
        for (std::uint8_t b : stage.flat) bytes += " " + std::to_string(b);
        return Report(report, bytes + "\n");
    }));
    out.push_back(ArbScenario(
        "unflatten",
        [](Stage& stage) {
            stage.flat.assign(std::begin(kRecord), std::end(kRecord));
            stage.arb = nullptr;
        },
        [](Stage& stage) {
            PF_ArbParamsExtra extra = Arb(PF_Arbitrary_UNFLATTEN_FUNC);
            extra.u.unflatten_func_params.refconPV = Refcon();
            extra.u.unflatten_func_params.buf_sizeLu = 10;
            extra.u.unflatten_func_params.flat_dataPV = stage.flat.data();
            extra.u.unflatten_func_params.arbPH = &stage.arb;
            CommandReport report = stage.session->Arbitrary(stage.effect, extra);
            return Report(report, "made " + DescribeHandle(stage.host(), stage.arb) + "\n");
        }));
    return out;
}

PF_RenderRequest Request() {
    PF_RenderRequest request{};
    request.rect = PF_LRect{0, 0, 32, 32};
    request.channel_mask = PF_ChannelMask_ARGB;
    return request;
}

void PrepareWorlds(Stage& stage) {
    BuildSweepProject(stage);
    stage.input = std::make_unique<tlhost::World>(32, 32);
    stage.output = std::make_unique<tlhost::World>(32, 32);
    for (A_long y = 0; y < 32; ++y) {
        for (A_long x = 0; x < 32; ++x) {
            stage.input->Set(x, y,
                             PF_Pixel{255, static_cast<A_u_char>(x * 8),
                                      static_cast<A_u_char>(y * 8), static_cast<A_u_char>(x ^ y)});
        }
    }
    stage.prerender.result_rect = PF_LRect{0, 0, 0, 0};
    stage.prerender.max_result_rect = PF_LRect{4, 4, 8, 8};
}

std::vector<Scenario> RenderScenarios() {
    std::vector<Scenario> out;
    Scenario render;
    render.name = "render";
    render.prepare = PrepareWorlds;
    render.command = [](Stage& stage) {
        CommandReport report = stage.session->Render(*stage.effect, *stage.input, *stage.output);
        return Report(report, DescribeWorld(*stage.output) + "\n");
    };
    out.push_back(render);

    Scenario pre;
    pre.name = "smart pre-render";
    pre.prepare = PrepareWorlds;
    pre.command = [](Stage& stage) {
        CommandReport report =
            stage.session->SmartPreRender(*stage.effect, Request(), {}, &stage.prerender);
        return Report(report, "result " + DescribeRect(stage.prerender.result_rect) + " max " +
                                  DescribeRect(stage.prerender.max_result_rect) + "\n");
    };
    out.push_back(pre);

    Scenario smart;
    smart.name = "smart render";
    smart.prepare = [](Stage& stage) {
        PrepareWorlds(stage);
        Expect(stage.session->SmartPreRender(*stage.effect, Request(), {}, &stage.prerender),
               "smart pre-render");
    };
    smart.command = [](Stage& stage) {
        CommandReport report =
            stage.session->SmartRender(*stage.effect, *stage.input, *stage.output);
        return Report(report, DescribeWorld(*stage.output) + "\n");
    };
    out.push_back(smart);
    return out;
}

std::vector<Scenario> ShellScenarios() {
    std::vector<Scenario> out;
    Scenario global;
    global.name = "global setup";
    global.prepare = [](Stage& stage) {
        stage.session = std::make_unique<tlhost::Session>(tltest::InProcessEntryPoints(),
                                                          tltest::BuiltResource());
        ASSERT_TRUE(stage.session->Register());
    };
    global.command = [](Stage& stage) {
        CommandReport report = stage.session->GlobalSetup();
        const std::string produced = "version " + std::to_string(report.my_version) + " flags " +
                                     std::to_string(report.out_flags) + " " +
                                     std::to_string(report.out_flags2) + "\n";
        return Report(report, produced);
    };
    out.push_back(global);

    Scenario setup;
    setup.name = "parameter setup";
    setup.prepare = [](Stage& stage) { StartSession(stage, false); };
    setup.command = [](Stage& stage) {
        CommandReport report = stage.session->ParamsSetup();
        std::ostringstream produced;
        produced << "declared " << stage.session->declared_num_params() << "\n";
        for (const tlhost::HostParam& p : stage.session->declared_params()) {
            const PF_ParamDef& d = p.def();
            produced << "\"" << p.name() << "\" \"" << p.text() << "\" type " << d.param_type
                     << " flags " << d.flags << " ui " << d.ui_flags << " " << d.ui_width << "x"
                     << d.ui_height << "\n";
        }
        if (const auto& ui = stage.session->custom_ui()) {
            produced << "custom interface events " << ui->events << "\n";
        }
        return Report(report, produced.str());
    };
    out.push_back(setup);

    Scenario about;
    about.name = "about";
    about.prepare = [](Stage& stage) { StartSession(stage); };
    about.command = [](Stage& stage) {
        CommandReport report = stage.session->About();
        return Report(report, "about \"" + report.return_msg + "\"\n");
    };
    out.push_back(about);
    return out;
}

std::vector<Scenario> ParameterScenarios() {
    std::vector<Scenario> out;
    out.push_back(Change("change 9 Line Cap", 9, 2));
    out.push_back(Change("change 10 Line Join: Miter", 10, 1));
    out.push_back(Change("change 10 Line Join: Round", 10, 2));
    out.push_back(Change("change 10 Line Join: Bevel", 10, 3));
    out.push_back(Change("change 10 Miter on a shape layer", 10, 1, {}, "Styled Shape"));
    out.push_back(Change("change 13 stroke gradient: Linear", 13, 1, {{12, 1}}));
    out.push_back(Change("change 13 stroke gradient: Radial", 13, 2, {{12, 1}}));
    out.push_back(Reveal("change 16 reveal stroke colours", 16));
    out.push_back(Change("change 21 Enable Fill (gradient on)", 21, 1, {{34, 1}}));
    out.push_back(Change("change 21 Enable Fill off", 21, 0));
    out.push_back(Change("change 22 Fill Palette", 22, 2, {{21, 1}}));
    out.push_back(Change("change 34 fill gradient on (fill on)", 34, 1, {{21, 1}}));
    out.push_back(Change("change 35 fill gradient: Linear", 35, 1, {{34, 1}}));
    out.push_back(Change("change 35 fill gradient: Radial", 35, 2, {{34, 1}}));
    out.push_back(Reveal("change 38 reveal fill colours", 38));
    out.push_back(Export("change 68 Create Placeholders, Arrowheads on", "Controller", true));
    out.push_back(Export("change 68 Create Placeholders on a shape layer", "Styled Shape", false));
    out.push_back(Change("change 74 dynamics preset", 74, 5));
    out.push_back(Change("change 75 Verlet preset", 75, 2));
    out.push_back(Change("change 124 Trim Multiple Shapes", 124, 2));
    out.push_back(Bake("change 147 bake path expressions", 147));
    out.push_back(Bake("change 148 bake style expressions", 148));
    out.push_back(Bake("change 147 bake paths on a shape layer", 147, "Styled Shape"));
    out.push_back(Change("change 149 relink expressions", 149, 0));
    out.push_back(Change("change 149 relink on a shape layer", 149, 0, {}, "Styled Shape"));

    Scenario update;
    update.name = "update parameter interface";
    update.prepare = [](Stage& stage) {
        BuildSweepProject(stage);
        SetParam(stage, 21, 1);
        SetParam(stage, 22, 2);
        SetParam(stage, 10, 1);
    };
    update.command = [](Stage& stage) {
        return Report(stage.session->UpdateParamsUI(*stage.effect));
    };
    out.push_back(update);
    return out;
}

std::vector<Scenario> PanelScenarios() {
    std::vector<Scenario> out;
    Scenario draw;
    draw.name = "draw the module panel";
    draw.prepare = [](Stage& stage) {
        BuildSweepProject(stage);
        // Some modules on, so that both button states are drawn.
        for (int module : {0, 2, 5}) {
            Expect(
                stage.session->ClickEvent(*stage.effect, kPanelFrame, ButtonCentre(module)).report,
                "a click");
        }
    };
    draw.command = [](Stage& stage) {
        tlhost::UIEventReport event = stage.session->DrawEvent(*stage.effect, kPanelFrame);
        return Report(event.report, EventText(event));
    };
    out.push_back(draw);
    for (int module = 0; module < 10; ++module) out.push_back(Click(module));
    out.push_back(Click(2, true));
    return out;
}

std::vector<Scenario> Build() {
    std::vector<Scenario> all;
    for (auto part : {ShellScenarios(), ParameterScenarios(), PanelScenarios(), ArbScenarios(),
                      RenderScenarios()}) {
        for (auto& s : part) all.push_back(std::move(s));
    }
    return all;
}

}  // namespace

void StartSession(Stage& stage, bool params_setup) {
    std::vector<std::string> log;
    stage.session =
        tlhost::Session::Start(tltest::InProcessEntryPoints(), tltest::BuiltResource(), &log);
    ASSERT_TRUE(stage.session);
    if (params_setup) Expect(stage.session->ParamsSetup(), "parameter setup");
}

void SetParam(Stage& stage, int index, double value) {
    PF_ParamDef& def = stage.effect->params()[static_cast<std::size_t>(index)].def();
    tltest::SetParamValue(def, value);
}

const std::vector<Scenario>& AllScenarios() {
    static const std::vector<Scenario> all = Build();
    return all;
}

}  // namespace sweep
