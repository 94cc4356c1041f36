// tl-platform-scenario: loads the plug-in module as the host does and drives one fixed scenario
// through the stand-in host's core, printing a transcript in which nothing depends on the
// platform. The same program is built for the build machine and for Windows (run under Wine),
// and the two transcripts must be identical: the Windows module then registers, loads, declares
// its parameters, styles the connection layers and handles its module-state data exactly as
// the module the tests check on the build machine.
//
//   tl-platform-scenario MODULE RESOURCE
//
// MODULE is the plug-in module (TetherlineStyles.aex on Windows, TetherlineStyles.so elsewhere)
// and RESOURCE the registration resource the build wrote. On Windows the load check reads the
// resource the module itself carries (type "PIPL", 16000, US English), as the host does, and
// the program fails when it differs from RESOURCE; elsewhere it reads RESOURCE.
//
// Exit status: 0 when every step ran, 1 when the module was refused, 2 on bad arguments,
// 3 when the module's resource differs from RESOURCE, 4 when a reveal's key presses did not reach
// the stand-in host's keyboard (on Windows they go to SendInput, which nothing here observes).
// Notes that name the platform go to standard error, the transcript to standard output.

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "model/LayerControl.h"
#include "AE_Effect.h"
#include "model/Project.h"
#include "model/Stream.h"
#include "session/Module.h"
#include "session/RegistrationResource.h"
#include "session/Session.h"

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

namespace {

using tlhost::CommandReport;
using tlhost::Grouping;
using tlhost::Layer;
using tlhost::LayerKind;
using tlhost::StreamNode;
using tlhost::StreamValue;
using tlhost::ValueKind;

constexpr PF_ParamIndex kLineJoin = 10;
constexpr PF_ParamIndex kMiterLimit = 11;
constexpr PF_ParamIndex kModules = 41;
constexpr PF_ParamIndex kStrokeColors = 16;
constexpr A_long kMiterJoin = 1;
constexpr char kLineJoinMatch[] = "ADBE Vector Stroke Line Join";
constexpr char kMiterLimitMatch[] = "ADBE Vector Stroke Miter Limit";

// ---- printing -----------------------------------------------------------------------------------

std::string Quoted(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else if (u < 0x20 || u >= 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", u);
            out += hex;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string Hex32(std::uint32_t v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%08X", static_cast<unsigned>(v));
    return buf;
}

std::string HexBytes(const std::vector<std::uint8_t>& bytes) {
    std::string out;
    char buf[4];
    for (const std::uint8_t b : bytes) {
        std::snprintf(buf, sizeof buf, "%02x", b);
        out += buf;
    }
    return out;
}

std::string Number(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", v);
    return buf;
}

void Line(const std::string& text) {
    std::fputs(text.c_str(), stdout);
    std::fputc('\n', stdout);
}

// The part every command's line starts with: what came back and what the plug-in left behind.
std::string Outcome(const std::string& step, const CommandReport& report) {
    return step + ": result " + std::to_string(report.result) + ", leftovers " +
           std::to_string(report.leftovers.size()) + ", violations " +
           std::to_string(report.violations.size());
}

std::uint32_t Fnv1a(const std::vector<std::uint8_t>& bytes) {
    std::uint32_t h = 0x811C9DC5u;
    for (const std::uint8_t b : bytes) {
        h ^= b;
        h *= 0x01000193u;
    }
    return h;
}

// ---- the registration resource ------------------------------------------------------------------

bool ReadFile(const std::string& path, std::vector<std::uint8_t>& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

#if defined(_WIN32)
// The resource as the host finds it in the module: type "PIPL", 16000, US English.
bool ReadModuleResource(const std::string& path, std::vector<std::uint8_t>& out,
                        std::string& error) {
    const int n = MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n > 0 ? n : 1), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, &wide[0], n);
    HMODULE image = LoadLibraryExW(wide.c_str(), nullptr,
                                   LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!image) {
        error = "cannot open " + path + " for its resources (error " +
                std::to_string(GetLastError()) + ")";
        return false;
    }
    bool ok = false;
    HRSRC found = FindResourceExW(image, L"PIPL", MAKEINTRESOURCEW(16000),
                                  MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    if (!found) {
        error = path + " carries no resource PIPL 16000 in US English";
    } else {
        HGLOBAL loaded = LoadResource(image, found);
        const void* data = loaded ? LockResource(loaded) : nullptr;
        const DWORD size = SizeofResource(image, found);
        if (!data || size == 0) {
            error = "cannot load the resource PIPL 16000 of " + path;
        } else {
            const auto* bytes = static_cast<const std::uint8_t*>(data);
            out.assign(bytes, bytes + size);
            ok = true;
        }
    }
    FreeLibrary(image);
    return ok;
}
#endif

// ---- the project --------------------------------------------------------------------------------

StreamNode& Group(StreamNode& parent, const std::string& match_name, const std::string& name,
                  Grouping grouping) {
    return parent.AddChild(std::make_unique<StreamNode>(match_name, name, grouping));
}

void Leaf(StreamNode& parent, const std::string& match_name, double value) {
    StreamNode& leaf = parent.AddChild(
        std::make_unique<StreamNode>(match_name, match_name, Grouping::Leaf, ValueKind::OneD));
    leaf.set_value(StreamValue::OneD(value));
}

// A shape group with one stroke: a round join and the host's default miter limit.
void AddStroke(Layer& layer, const std::string& name) {
    StreamNode& contents = *layer.root().FindChild("ADBE Root Vectors Group");
    StreamNode& shape = Group(contents, "ADBE Vector Group", name, Grouping::Named);
    StreamNode& vectors = Group(shape, "ADBE Vectors Group", "Contents", Grouping::Indexed);
    StreamNode& stroke =
        Group(vectors, "ADBE Vector Graphic - Stroke", "Stroke 1", Grouping::Named);
    Leaf(stroke, kLineJoinMatch, 2);
    Leaf(stroke, kMiterLimitMatch, 4);
}

// A shape group with a gradient stroke and a gradient fill, each with its colours.
void AddGradients(Layer& layer) {
    struct PaintRow {
        const char* match_name;
        const char* name;
    };
    constexpr PaintRow kPaints[] = {{"ADBE Vector Graphic - G-Stroke", "Gradient Stroke 1"},
                                    {"ADBE Vector Graphic - G-Fill", "Gradient Fill 1"}};
    StreamNode& contents = *layer.root().FindChild("ADBE Root Vectors Group");
    StreamNode& shape = Group(contents, "ADBE Vector Group", "Gradients", Grouping::Named);
    StreamNode& vectors = Group(shape, "ADBE Vectors Group", "Contents", Grouping::Indexed);
    for (const PaintRow& row : kPaints) {
        StreamNode& paint = Group(vectors, row.match_name, row.name, Grouping::Named);
        Leaf(paint, "ADBE Vector Grad Type", 1);
        paint.AddChild(std::make_unique<StreamNode>("ADBE Vector Grad Colors", "Colors",
                                                    Grouping::Leaf, ValueKind::NoData));
    }
}

// A selected property: its layer's name, then the names down to it.
std::string SelectedName(tlhost::Project& project, const tlhost::SelectedStream& selected) {
    const Layer* layer = project.FindLayer(selected.layer_id);
    if (!layer) return "layer " + std::to_string(selected.layer_id);
    std::string out = Quoted(layer->name());
    const StreamNode* node = &layer->root();
    for (const std::size_t index : selected.path) {
        if (index >= node->children().size()) return out + " > #" + std::to_string(index);
        node = node->children()[index].get();
        out += " > " + Quoted(node->name());
    }
    return out;
}

// Every stroke property of a layer that the change concerns, in tree order.
void DescribeStrokes(const StreamNode& node, std::string& out) {
    if (node.match_name() == kLineJoinMatch) {
        out += " join " + Number(node.value().v[0]) + ";";
    } else if (node.match_name() == kMiterLimitMatch) {
        out += " miter limit " + Number(node.value().v[0]);
        if (!node.expression.empty()) {
            out += std::string(" expression ") + (node.expression_enabled ? "on " : "off ") +
                   Quoted(node.expression);
        }
        out += ";";
    }
    for (const auto& child : node.children()) DescribeStrokes(*child, out);
}

// ---- the module-state data callbacks ------------------------------------------------------------

struct ArbScenario {
    tlhost::Session& session;
    tlhost::EffectInstance& effect;
    void* refcon;

    PF_ArbParamsExtra Extra(PF_FunctionSelector which) const {
        PF_ArbParamsExtra extra{};
        extra.which_function = which;
        extra.id = kModules;
        return extra;
    }
    std::string Bytes(PF_ArbitraryH h) const {
        if (!h) return "none";
        if (!session.host().handles().IsLive(h)) return "not live";
        const std::vector<std::uint8_t> bytes = session.host().handles().Bytes(h);
        return std::to_string(bytes.size()) + " bytes " + HexBytes(bytes);
    }

    void Run() {
        const std::string step = "PF_Cmd_ARBITRARY_CALLBACK ";

        PF_ArbitraryH made = nullptr;
        PF_ArbParamsExtra extra = Extra(PF_Arbitrary_NEW_FUNC);
        extra.u.new_func_params.refconPV = refcon;
        extra.u.new_func_params.arbPH = &made;
        CommandReport report = session.Arbitrary(&effect, extra);
        Line(Outcome(step + "new", report) + ", value " + Bytes(made));

        PF_ArbitraryH refused = nullptr;
        extra = Extra(PF_Arbitrary_NEW_FUNC);
        extra.u.new_func_params.refconPV = nullptr;
        extra.u.new_func_params.arbPH = &refused;
        report = session.Arbitrary(&effect, extra);
        Line(Outcome(step + "new with a foreign constant", report) + ", value " + Bytes(refused));

        const std::vector<std::uint8_t> state = {1, 0, 0, 1, 0, 1, 1, 0, 0, 1};
        PF_ArbitraryH source = session.host().handles().NewHostOwned(state);
        PF_ArbitraryH copy = nullptr;
        extra = Extra(PF_Arbitrary_COPY_FUNC);
        extra.u.copy_func_params.refconPV = refcon;
        extra.u.copy_func_params.src_arbH = source;
        extra.u.copy_func_params.dst_arbPH = &copy;
        report = session.Arbitrary(&effect, extra);
        Line(Outcome(step + "copy", report) + ", value " + Bytes(copy));

        A_u_long flat_size = 0;
        extra = Extra(PF_Arbitrary_FLAT_SIZE_FUNC);
        extra.u.flat_size_func_params.refconPV = refcon;
        extra.u.flat_size_func_params.arbH = source;
        extra.u.flat_size_func_params.flat_data_sizePLu = &flat_size;
        report = session.Arbitrary(&effect, extra);
        Line(Outcome(step + "flat size", report) + ", size " + std::to_string(flat_size));

        for (const A_u_long size : {A_u_long{10}, A_u_long{9}}) {
            std::vector<std::uint8_t> flat(12, 0xEE);
            extra = Extra(PF_Arbitrary_FLATTEN_FUNC);
            extra.u.flatten_func_params.refconPV = refcon;
            extra.u.flatten_func_params.arbH = source;
            extra.u.flatten_func_params.buf_sizeLu = size;
            extra.u.flatten_func_params.flat_dataPV = flat.data();
            report = session.Arbitrary(&effect, extra);
            Line(Outcome(step + "flatten into " + std::to_string(size) + " bytes", report) +
                 ", buffer " + HexBytes(flat));
        }

        const std::vector<std::uint8_t> flat = {0, 0, 1, 1, 1, 0, 0, 0, 1, 1};
        PF_ArbitraryH unflattened = nullptr;
        extra = Extra(PF_Arbitrary_UNFLATTEN_FUNC);
        extra.u.unflatten_func_params.refconPV = refcon;
        extra.u.unflatten_func_params.buf_sizeLu = static_cast<A_u_long>(flat.size());
        extra.u.unflatten_func_params.flat_dataPV = flat.data();
        extra.u.unflatten_func_params.arbPH = &unflattened;
        report = session.Arbitrary(&effect, extra);
        Line(Outcome(step + "unflatten", report) + ", value " + Bytes(unflattened));

        for (PF_ArbitraryH h : {made, copy, unflattened}) {
            if (!h) continue;
            extra = Extra(PF_Arbitrary_DISPOSE_FUNC);
            extra.u.dispose_func_params.refconPV = refcon;
            extra.u.dispose_func_params.arbH = h;
            report = session.Arbitrary(&effect, extra);
            Line(Outcome(step + "dispose", report) + ", value " + Bytes(h));
        }
    }
};

}  // namespace

int main(int argc, char** argv) {
#if defined(_WIN32)
    // The transcript is compared byte for byte: no carriage returns added.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    if (argc != 3) {
        std::fprintf(stderr, "usage: tl-platform-scenario MODULE RESOURCE\n");
        return 2;
    }
    const std::string module_path = argv[1];
    const std::string resource_path = argv[2];

    // The registration resource.
    std::vector<std::uint8_t> resource;
    if (!ReadFile(resource_path, resource)) {
        std::fprintf(stderr, "tl-platform-scenario: cannot read %s\n", resource_path.c_str());
        return 2;
    }
#if defined(_WIN32)
    {
        std::vector<std::uint8_t> carried;
        std::string error;
        if (!ReadModuleResource(module_path, carried, error)) {
            std::fprintf(stderr, "tl-platform-scenario: %s\n", error.c_str());
            return 1;
        }
        if (carried != resource) {
            const std::string why = "the resource in " + module_path + " (" +
                                    std::to_string(carried.size()) + " bytes) differs from " +
                                    resource_path + " (" + std::to_string(resource.size()) +
                                    " bytes)";
            std::fprintf(stderr, "tl-platform-scenario: %s\n", why.c_str());
            return 3;
        }
        std::fprintf(stderr, "tl-platform-scenario: resource read from the module\n");
        resource = std::move(carried);
    }
#endif
    tlhost::ResourceInfo info;
    std::string error;
    if (!tlhost::ReadRegistrationResource(resource, &info, &error)) {
        Line("resource: unreadable: " + error);
        return 1;
    }
    std::string keys;
    for (const std::string& key : info.keys) keys += " " + key;
    Line("resource: " + std::to_string(resource.size()) + " bytes, fnv-1a " +
         Hex32(Fnv1a(resource)) + ", keys" + keys);

    // Opening the module and resolving the entry point the resource names.
    std::unique_ptr<tlhost::Module> module =
        tlhost::Module::Open(module_path, info.entry_point, &error);
    if (!module) {
        std::fprintf(stderr, "tl-platform-scenario: %s\n", error.c_str());
        Line("module: refused");
        return 1;
    }
    Line("module: PluginDataEntryFunction and " + info.entry_point + " resolved");

    // Registration, global setup and the load check.
    tlhost::Session session(module->entry_points(), resource);
    const bool registered = session.Register();
    const tlhost::Registration& reg = session.registration();
    Line("register: result " + std::to_string(reg.result) + ", calls " + std::to_string(reg.calls) +
         ", name " + Quoted(reg.name) + ", match name " + Quoted(reg.match_name) + ", category " +
         Quoted(reg.category) + ", entry point " + Quoted(reg.entry_point) + ", kind " +
         tlhost::FourCC(static_cast<std::uint32_t>(reg.kind)) + ", version " +
         std::to_string(reg.spec_major) + "." + std::to_string(reg.spec_minor) + ", reserved " +
         std::to_string(reg.reserved_info));
    if (!registered) {
        for (const auto& line : session.load_log()) Line(line);
        return 1;
    }
    const CommandReport setup = session.GlobalSetup();
    Line(Outcome("PF_Cmd_GLOBAL_SETUP", setup) + ", my_version " + Hex32(setup.my_version) +
         ", out_flags " + Hex32(static_cast<std::uint32_t>(setup.out_flags)) + ", out_flags2 " +
         Hex32(static_cast<std::uint32_t>(setup.out_flags2)) + ", global data " +
         (session.global_data() ? "kept" : "none"));
    const bool accepted = session.CheckAgainstResource(setup);
    for (const auto& line : session.load_log()) Line(line);
    if (!accepted) return 1;

    const CommandReport about = session.About();
    Line(Outcome("PF_Cmd_ABOUT", about) + ", message " + Quoted(about.return_msg));

    const CommandReport params = session.ParamsSetup();
    Line(Outcome("PF_Cmd_PARAMS_SETUP", params) + ", parameters " +
         std::to_string(session.declared_num_params()) + ", declared " +
         std::to_string(session.declared_params().size()) + ", custom interface " +
         (session.custom_ui() ? "registered" : "none"));

    // The project: the effect on a controller null, two connection lines linked to it by
    // their Layer Control effects, and a line linked to nothing.
    tlhost::Project& project = session.host().project();
    tlhost::Composition& comp = project.AddComposition("Comp 1");
    Layer& controller = project.AddLayer(comp, "Controller", LayerKind::Null);
    tlhost::EffectInstance& effect = session.Apply(controller);
    struct LineRow {
        const char* name;
        bool linked;
    };
    constexpr LineRow kLines[] = {{"Line 1", true}, {"Line 2", true}, {"Loose Line", false}};
    std::vector<Layer*> lines;
    for (const LineRow& row : kLines) {
        Layer& layer = project.AddLayer(comp, row.name, LayerKind::Shape, 0, comp.layers().size());
        if (row.linked) tlhost::AddLayerControl(layer, controller.id());
        AddStroke(layer, "Shape 1");
        lines.push_back(&layer);
    }
    Line("project: " + std::to_string(comp.layers().size()) + " layers, effect with " +
         std::to_string(effect.params().size()) + " parameters on " + Quoted(controller.name()));

    // The user chooses "Miter Join" for "Line Join".
    effect.params()[kLineJoin].def().u.pd.value = kMiterJoin;
    const CommandReport change = session.UserChangedParam(effect, kLineJoin);
    Line(Outcome("PF_Cmd_USER_CHANGED_PARAM " + std::to_string(kLineJoin), change) + ", declined " +
         std::to_string(change.declined.size()) + ", \"Miter Limit\" " +
         (effect.params()[kMiterLimit].hidden ? "hidden" : "shown"));
    for (Layer* layer : lines) {
        std::string strokes;
        DescribeStrokes(layer->root(), strokes);
        Line("  " + Quoted(layer->name()) + ":" + strokes);
    }

    // The user presses the stroke's "Reveal in Timeline": the gradient colours of the connection
    // lines become the composition's selection, then two presses of S follow.
    for (Layer* layer : lines) AddGradients(*layer);
    const CommandReport reveal = session.UserChangedParam(effect, kStrokeColors);
    Line(Outcome("PF_Cmd_USER_CHANGED_PARAM " + std::to_string(kStrokeColors), reveal) +
         ", declined " + std::to_string(reveal.declined.size()) + ", selection " +
         std::to_string(comp.selection.size()));
    for (const tlhost::SelectedStream& selected : comp.selection) {
        Line("  " + SelectedName(project, selected));
    }
#if defined(_WIN32)
    std::fprintf(stderr, "tl-platform-scenario: reveal: the presses went to SendInput\n");
#else
    std::fprintf(stderr, "tl-platform-scenario: reveal: %zu key events reached the keyboard\n",
                 reveal.key_events.size());
    if (reveal.result == PF_Err_NONE && reveal.key_events.size() != 4) return 4;
#endif

    // The module-state data, with the constant the parameter declared.
    void* refcon = effect.params()[kModules].def().u.arb_d.refconPV;
    ArbScenario{session, effect, refcon}.Run();
    return 0;
}
