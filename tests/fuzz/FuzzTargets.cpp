#include "fuzz/FuzzTargets.h"

#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <vector>

#include "expressions/Expressions.h"
#include "io/ProjectFile.h"
#include "session/Session.h"

extern "C" {
PF_Err EffectMain(PF_Cmd, PF_InData*, PF_OutData*, PF_ParamDef*[], PF_LayerDef*, void*);
PF_Err PluginDataEntryFunction(PF_PluginDataPtr, PF_PluginDataCB, SPBasicSuite*, const char*,
                               const char*);
}

namespace tlfuzz {

namespace {

using tlhost::CommandReport;
using tlhost::Session;

constexpr std::uint64_t kRefcon = 0xDEADBEEFDEADBEEFull;
constexpr std::size_t kRecordSize = 10;

// A controller with the effect and one connection line carrying a stroke with hidden dashes, a
// gradient stroke and some module groups (one switched off).
constexpr char kProject[] = R"({"items": [{"name": "Rig", "type": "composition", "id": 1,
 "frame_rate": 25, "duration": 2, "work_area": {"start": 0.4, "duration": 0.08},
 "layers": [
  {"id": 1, "name": "Controller", "type": "null", "properties": {"match_name": "ADBE AV Layer",
   "name": "Controller", "group": "named", "children": [
    {"match_name": "ADBE Effect Parade", "name": "Effects", "group": "indexed", "children": [
     {"match_name": "LK TetherlineStyles", "name": "Tetherline - Styles", "group": "named",
      "children": []}]}]}},
  {"id": 2, "name": "Line", "type": "shape", "properties": {"match_name": "ADBE Vector Layer",
   "name": "Line", "group": "named", "children": [
    {"match_name": "ADBE Root Vectors Group", "name": "Contents", "group": "indexed", "children": [
     {"match_name": "ADBE Vector Group", "name": "Line", "group": "named", "children": [
      {"match_name": "ADBE Vectors Group", "name": "Contents", "group": "indexed", "children": [
       {"match_name": "ADBE Vector Shape - Group", "name": "Path 1", "group": "named",
        "children": [{"match_name": "ADBE Vector Shape", "name": "Path", "kind": "path",
         "value": {"closed": false, "vertices": [[0, 0, 0, 0, 0, 0], [100, 0, 0, 0, 0, 0]]}}]},
       {"match_name": "ADBE Vector Graphic - Stroke", "name": "Stroke 1", "group": "named",
        "children": [
         {"match_name": "ADBE Vector Stroke Color", "name": "Color", "kind": "color",
          "value": [1, 1, 1, 1]},
         {"match_name": "ADBE Vector Stroke Width", "name": "Stroke Width", "kind": "one_d",
          "value": 4, "expression": "4 + time"},
         {"match_name": "ADBE Vector Stroke Line Join", "name": "Line Join", "kind": "one_d",
          "value": 1},
         {"match_name": "ADBE Vector Stroke Dashes", "name": "Dashes", "group": "indexed",
          "children": [
           {"match_name": "ADBE Vector Stroke Dash 1", "name": "Dash", "kind": "one_d",
            "value": 0, "hidden": true},
           {"match_name": "ADBE Vector Stroke Gap 1", "name": "Gap", "kind": "one_d",
            "value": 0, "hidden": true},
           {"match_name": "ADBE Vector Stroke Offset", "name": "Offset", "kind": "one_d",
            "value": 0, "hidden": true}]}]},
       {"match_name": "ADBE Vector Graphic - G-Stroke", "name": "Gradient Stroke 1",
        "group": "named", "children": [
         {"match_name": "ADBE Vector Grad Type", "name": "Type", "kind": "one_d", "value": 1},
         {"match_name": "ADBE Vector Grad Colors", "name": "Colors", "kind": "no_data",
          "value": null}]},
       {"match_name": "ADBE Vector Group", "name": "Arrowheads", "group": "named", "children": [
        {"match_name": "ADBE Vectors Group", "name": "Contents", "group": "indexed",
         "children": []}]},
       {"match_name": "ADBE Vector Group", "name": "Wiggle Paths", "group": "named",
        "eyeball": false, "children": [
        {"match_name": "ADBE Vectors Group", "name": "Contents", "group": "indexed",
         "children": []}]}]}]}]},
    {"match_name": "ADBE Effect Parade", "name": "Effects", "group": "indexed", "children": [
     {"match_name": "ADBE Layer Control", "name": "Layer Control", "group": "named", "children": [
      {"match_name": "ADBE Layer Control-0001", "name": "Layer", "kind": "layer",
       "value": {"layer": 1}}]}]},
    {"match_name": "ADBE Transform Group", "name": "Transform", "group": "named", "children": [
     {"match_name": "ADBE Position", "name": "Position", "kind": "three_d",
      "value": [10, 20, 0]},
     {"match_name": "ADBE Opacity", "name": "Opacity", "kind": "one_d", "value": 100}]}]}}]}],
 "undo_groups": []})";

std::vector<std::uint8_t> Resource() {
    static const std::vector<std::uint8_t> bytes = [] {
        std::ifstream in(TL_RESOURCE_PATH, std::ios::binary);
        return std::vector<std::uint8_t>((std::istreambuf_iterator<char>(in)),
                                         std::istreambuf_iterator<char>());
    }();
    return bytes;
}

// A session of the plug-in linked in, with parameter setup done.
std::unique_ptr<Session> Start() {
    auto session = Session::Start({PluginDataEntryFunction, EffectMain}, Resource(), nullptr);
    if (session && session->ParamsSetup().result != PF_Err_NONE) session.reset();
    return session;
}

// Loads `text` into the session's project, this plug-in's effects set up by it.
bool Load(Session& session, const std::string& text, tlhost::LoadError* error) {
    const std::string& match_name = session.registration().match_name;
    return tlhost::LoadProject(text, session.host().project(), error,
                               [&](tlhost::Layer&, tlhost::EffectInstance& effect) {
                                   if (effect.match_name() != match_name) return false;
                                   session.Instantiate(effect);
                                   return true;
                               });
}

// What the host's ledger holds against the plug-in: breaches and references still live.
std::string LedgerProblems(tlhost::Host& host) {
    std::string out;
    for (const std::string& v : host.ledger().Violations()) out += "breach: " + v + "\n";
    for (const auto& ref : host.ledger().Live()) out += "left: " + tlhost::Describe(ref) + "\n";
    return out;
}

std::string ReportProblems(const CommandReport& report) {
    std::string out;
    for (const std::string& v : report.violations) out += "breach: " + v + "\n";
    for (const auto& ref : report.leftovers) out += "left: " + tlhost::Describe(ref) + "\n";
    return out;
}

// Reads little-endian integers from the input, zero once it runs out.
class Bytes {
  public:
    Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::uint8_t U8() { return at_ < size_ ? data_[at_++] : 0; }
    std::int32_t I32() {
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(U8()) << (8 * i);
        return static_cast<std::int32_t>(v);
    }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

}  // namespace

std::string LoadProjectFile(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::unique_ptr<Session> session = Start();
    if (!session) return "the session did not start";
    tlhost::LoadError error;
    if (!Load(*session, text, &error)) {
        if (error.where.empty() && error.what.empty()) return "refused without saying why";
        return LedgerProblems(session->host());
    }
    std::string problems = LedgerProblems(session->host());
    // What the host writes reads back into a project that writes the same text.
    const std::string written = tlhost::SaveProject(session->host().project());
    std::unique_ptr<Session> again = Start();
    if (!again) return "the session did not start";
    tlhost::LoadError reread;
    if (!Load(*again, written, &reread)) {
        return problems + "the written project does not read back: " + reread.message();
    }
    if (tlhost::SaveProject(again->host().project()) != written) {
        problems += "the written project reads back into another project\n";
    }
    return problems + LedgerProblems(again->host());
}

std::string UnflattenModuleState(const std::uint8_t* data, std::size_t size) {
    static std::unique_ptr<Session> session = Start();
    if (!session) return "the session did not start";
    tlhost::Host& host = session->host();
    PF_ArbitraryH made = nullptr;
    PF_ArbParamsExtra extra{};
    extra.id = 41;
    extra.which_function = PF_Arbitrary_UNFLATTEN_FUNC;
    extra.u.unflatten_func_params.refconPV =
        reinterpret_cast<void*>(static_cast<std::uintptr_t>(kRefcon));
    extra.u.unflatten_func_params.buf_sizeLu = static_cast<A_u_long>(size);
    // The host never hands over a null buffer with bytes in it; an empty one may be null.
    std::vector<std::uint8_t> buffer(data, data + size);
    extra.u.unflatten_func_params.flat_dataPV = size ? buffer.data() : nullptr;
    extra.u.unflatten_func_params.arbPH = &made;
    CommandReport report = session->Arbitrary(nullptr, extra);
    std::string problems = ReportProblems(report);
    if (report.result != PF_Err_NONE) {
        problems += "unflatten answered " + std::to_string(report.result) + "\n";
    }
    if (size != kRecordSize) {
        if (made) problems += "a record was made of " + std::to_string(size) + " bytes\n";
        return problems;
    }
    if (!made || !host.handles().IsLive(made)) return problems + "no record made of 10 bytes\n";
    if (host.handles().Bytes(made) != buffer) problems += "the record is not the bytes given\n";

    std::vector<std::uint8_t> flat(kRecordSize, 0xEE);
    PF_ArbParamsExtra flatten{};
    flatten.id = 41;
    flatten.which_function = PF_Arbitrary_FLATTEN_FUNC;
    flatten.u.flatten_func_params.refconPV = extra.u.unflatten_func_params.refconPV;
    flatten.u.flatten_func_params.arbH = made;
    flatten.u.flatten_func_params.buf_sizeLu = kRecordSize;
    flatten.u.flatten_func_params.flat_dataPV = flat.data();
    report = session->Arbitrary(nullptr, flatten);
    problems += ReportProblems(report);
    if (report.result != PF_Err_NONE || flat != buffer) {
        problems += "the record does not flatten back into its bytes\n";
    }

    PF_ArbParamsExtra dispose{};
    dispose.id = 41;
    dispose.which_function = PF_Arbitrary_DISPOSE_FUNC;
    dispose.u.dispose_func_params.refconPV = extra.u.unflatten_func_params.refconPV;
    dispose.u.dispose_func_params.arbH = made;
    report = session->Arbitrary(nullptr, dispose);
    problems += ReportProblems(report);
    if (report.result != PF_Err_NONE || host.handles().IsLive(made)) {
        problems += "the record was not disposed\n";
    }
    return problems;
}

std::string PanelEvent(const std::uint8_t* data, std::size_t size) {
    std::unique_ptr<Session> session = Start();
    if (!session) return "the session did not start";
    tlhost::LoadError error;
    if (!Load(*session, kProject, &error)) return "the panel's project: " + error.message();
    tlhost::EffectInstance* effect = session->FindEffect();
    if (!effect) return "no effect";

    Bytes in(data, size);
    const bool click = (in.U8() & 1) != 0;
    // Mostly the modules' own control, sometimes another parameter's.
    const std::uint8_t index_byte = in.U8();
    const PF_ParamIndex index =
        index_byte < 200 ? 41 : static_cast<PF_ParamIndex>(index_byte - 200);
    PF_Rect frame{};
    frame.left = in.I32();
    frame.top = in.I32();
    frame.right = in.I32();
    frame.bottom = in.I32();
    const PF_Point point{in.I32(), in.I32()};
    // The module-state record the event meets.
    PF_Handle record = effect->params()[41].def().u.arb_d.value;
    tlhost::HandleTable& handles = session->host().handles();
    if (record && handles.IsLive(record)) {
        auto* bytes = static_cast<std::uint8_t*>(handles.Lock(record));
        for (std::size_t i = 0; i < kRecordSize; ++i) bytes[i] = in.U8();
        handles.Unlock(record);
    }

    const tlhost::UIEventReport event = click ? session->ClickEvent(*effect, frame, point, index)
                                              : session->DrawEvent(*effect, frame, index);
    std::string problems = ReportProblems(event.report);
    for (const std::string& d : event.report.declined) problems += "declined: " + d + "\n";
    return problems;
}

std::string EvaluateExpression(const std::uint8_t* data, std::size_t size) {
    struct Fixture {
        std::unique_ptr<Session> session = Start();
        std::unique_ptr<tlhost::ExpressionEngine> engine;
        std::vector<tlhost::StreamNode*> leaves;
        std::string problem;
    };
    static Fixture fixture = [] {
        Fixture f;
        if (!f.session) {
            f.problem = "the session did not start";
            return f;
        }
        tlhost::LoadError error;
        if (!Load(*f.session, kProject, &error)) {
            f.problem = "the expression's project: " + error.message();
            return f;
        }
        // The evaluator's own bounds for each evaluation; no bound on the fuzzing session.
        tlhost::ExpressionLimits limits;
        limits.session_seconds = 1e12;
        f.engine = std::make_unique<tlhost::ExpressionEngine>(limits);
        // Every leaf of every layer, the effect's parameters included, in tree order.
        std::function<void(tlhost::StreamNode&)> collect = [&](tlhost::StreamNode& node) {
            if (!node.is_group()) f.leaves.push_back(&node);
            for (const auto& child : node.children()) collect(*child);
        };
        for (const auto& item : f.session->host().project().items()) {
            if (item->kind() != tlhost::ItemKind::Composition) continue;
            for (tlhost::Layer* layer : static_cast<tlhost::Composition&>(*item).layers()) {
                collect(layer->root());
            }
        }
        return f;
    }();
    if (!fixture.problem.empty()) return fixture.problem;
    if (size == 0) return {};

    tlhost::StreamNode& node = *fixture.leaves[data[0] % fixture.leaves.size()];
    const std::string saved = node.expression;
    const bool saved_on = node.expression_enabled;
    node.expression.assign(reinterpret_cast<const char*>(data) + 1, size - 1);
    node.expression_enabled = true;
    const tlhost::EvalResult result =
        fixture.engine->Evaluate(fixture.session->host().project(), node, 0.5);
    node.expression = saved;
    node.expression_enabled = saved_on;

    if (!result.ok && result.error.empty()) return "an evaluation failed without saying why";
    if (result.value.kind != node.kind()) {
        return std::string("a ") + tlhost::ValueKindName(node.kind()) + " property evaluated to " +
               tlhost::ValueKindName(result.value.kind);
    }
    return {};
}

}  // namespace tlfuzz
