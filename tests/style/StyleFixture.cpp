#include "style/StyleFixture.h"

#include <cstring>
#include <stdexcept>

#include "model/LayerControl.h"
#include "support/TestSupport.h"

#ifdef TL_HAVE_EXPRESSIONS
#include "expressions/Expressions.h"
#endif

extern "C" {
PF_Err EffectMain(PF_Cmd, PF_InData*, PF_OutData*, PF_ParamDef*[], PF_LayerDef*, void*);
PF_Err PluginDataEntryFunction(PF_PluginDataPtr, PF_PluginDataCB, SPBasicSuite*, const char*,
                               const char*);
}

namespace styletest {

namespace {

using tlhost::StreamValue;
using tlhost::ValueKind;

// The body a test runs inside a command. The hook answers PF_Cmd_ABOUT with it and hands every
// other command to the plug-in, so global setup, parameter setup and changes are the real ones.
std::function<PF_Err(PF_InData*)> g_body;

PF_Err HookedMain(PF_Cmd cmd, PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                  PF_LayerDef* output, void* extra) {
    if (cmd == PF_Cmd_ABOUT && g_body) return g_body(in_data);
    return EffectMain(cmd, in_data, out_data, params, output, extra);
}

struct PropertyRow {
    const char* match_name;
    double value;
};
// What each kind of paint carries, in the host's order.
constexpr PropertyRow kStrokeProperties[] = {
    {"ADBE Vector Stroke Line Cap", 1},
    {"ADBE Vector Stroke Line Join", 1},
    {"ADBE Vector Stroke Miter Limit", 4},
};
constexpr PropertyRow kGradientProperties[] = {
    {"ADBE Vector Grad Type", 1},
    {"ADBE Vector Grad HiLite Length", 0},
    {"ADBE Vector Grad HiLite Angle", 0},
    {"ADBE Vector Grad Colors", 0},
};
constexpr PropertyRow kDashProperties[] = {
    {"ADBE Vector Stroke Dash 1", 0},
    {"ADBE Vector Stroke Gap 1", 0},
    {"ADBE Vector Stroke Offset", 0},
};

double ValueOf(const PF_ParamDef& def) {
    switch (def.param_type) {
        case PF_Param_FLOAT_SLIDER:
            return def.u.fs_d.value;
        case PF_Param_POPUP:
            return def.u.pd.value;
        default:
            return def.u.bd.value;
    }
}

}  // namespace

bool HaveExpressions() {
#ifdef TL_HAVE_EXPRESSIONS
    return true;
#else
    return false;
#endif
}

void StyleTest::SetUp() {
    std::vector<std::string> log;
    session_ = tlhost::Session::Start({PluginDataEntryFunction, HookedMain},
                                      tltest::BuiltResource(), &log);
    ASSERT_TRUE(session_);
    ASSERT_EQ(session_->ParamsSetup().result, PF_Err_NONE);
    comp_ = &P().AddComposition("Comp 1");
    controller_ = &P().AddLayer(*comp_, "Controller", LayerKind::Null);
    effect_ = &session_->Apply(*controller_);
    ASSERT_EQ(effect_->params().size(), 151u);
}

void StyleTest::SetValue(int index, double value) {
    PF_ParamDef& def = effect_->params()[static_cast<std::size_t>(index)].def();
    tltest::SetParamValue(def, value);
}

double StyleTest::Value(int index) {
    return ValueOf(effect_->params()[static_cast<std::size_t>(index)].def());
}

CommandReport StyleTest::Change(int index, double value) {
    SetValue(index, value);
    return session_->UserChangedParam(*effect_, index);
}

tlhost::EffectInstance& StyleTest::AddLayerControl(Layer& layer,
                                                   std::optional<AEGP_LayerIDVal> target) {
    return tlhost::AddLayerControl(layer, target);
}

Layer& StyleTest::AddLine(const std::string& name, std::optional<AEGP_LayerIDVal> target,
                          LayerKind kind) {
    Layer& layer = P().AddLayer(*comp_, name, kind, 0, comp_->layers().size());
    AddLayerControl(layer, target);
    return layer;
}

StreamNode& StyleTest::Contents(Layer& layer) {
    return *layer.root().FindChild("ADBE Root Vectors Group");
}

StreamNode& StyleTest::Group(StreamNode& parent, const std::string& match_name,
                             const std::string& name, Grouping grouping) {
    return parent.AddChild(std::make_unique<StreamNode>(match_name, name, grouping));
}

StreamNode& StyleTest::Leaf(StreamNode& parent, const std::string& match_name, double value) {
    StreamNode& leaf = parent.AddChild(
        std::make_unique<StreamNode>(match_name, match_name, Grouping::Leaf, ValueKind::OneD));
    leaf.set_value(StreamValue::OneD(value));
    return leaf;
}

StreamNode& StyleTest::AddPaint(StreamNode& parent, const char* kind, const std::string& name) {
    StreamNode& shape = Group(parent, "ADBE Vector Group", name.empty() ? "Shape" : name);
    StreamNode& contents = Group(shape, "ADBE Vectors Group", "Contents", Grouping::Indexed);
    StreamNode& paint = Group(contents, kind, kind);
    const bool gradient = std::strcmp(kind, kStroke) != 0;
    const bool stroke = std::strcmp(kind, kGradientFill) != 0;
    if (gradient) {
        for (const PropertyRow& row : kGradientProperties) Leaf(paint, row.match_name, row.value);
    }
    if (stroke) {
        for (const PropertyRow& row : kStrokeProperties) Leaf(paint, row.match_name, row.value);
        StreamNode& dashes = Group(paint, "ADBE Vector Stroke Dashes", "Dashes", Grouping::Indexed);
        for (const PropertyRow& row : kDashProperties) {
            Leaf(dashes, row.match_name, row.value).set_hidden(true);
        }
    }
    return paint;
}

StreamNode& StyleTest::Child(StreamNode& group, const std::string& match_name) {
    StreamNode* child = group.FindChild(match_name);
    if (!child) throw std::runtime_error("no " + match_name + " in " + group.match_name());
    return *child;
}

CommandReport StyleTest::Run(std::function<PF_Err(PF_InData*)> body, tlhost::EffectInstance* on) {
    g_body = std::move(body);
    CommandReport report = session_->Send(PF_Cmd_ABOUT, on ? on : effect_, nullptr);
    g_body = nullptr;
    return report;
}

void StyleTest::FailNext(const std::string& function, std::uint64_t nth, A_Err error) {
    const std::uint64_t before = session_->host().ledger().CallCount(function);
    session_->host().faults().FailNthCallOf(function, before + nth, error);
}

void StyleTest::FailAfterFirst(const std::function<CommandReport()>& command, const char* function,
                               A_Err error) {
    std::vector<const char*> calls;
    tlhost::Ledger& ledger = session_->host().ledger();
    ledger.TraceCalls(&calls);
    command();
    ledger.TraceCalls(nullptr);
    for (std::size_t i = 0; i < calls.size(); ++i) {
        if (std::strcmp(calls[i], function) != 0) continue;
        // The same calls again, from the next command on.
        const std::uint64_t next = ledger.TotalCalls() + (i + 2);
        session_->host().faults().FailNthHostCall(next, error,
                                                  tlhost::FaultRepeat::FromThenExceptGiveBacks);
        return;
    }
    ADD_FAILURE() << "the command never called " << function;
}

double StyleTest::Evaluated(StreamNode& node) {
#ifdef TL_HAVE_EXPRESSIONS
    const StreamValue value = tlhost::ValueAfterExpressions(P(), node, 0);
    EXPECT_EQ(node.expression_error, "") << node.expression;
    return value.v[0];
#else
    return node.ValueAt(0).v[0];
#endif
}

}  // namespace styletest
