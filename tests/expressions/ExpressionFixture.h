// A small project for expression tests: a composition with the styles effect on a
// controller layer (parameters at their real indices and match names) and a
// connection shape layer with a stroke, gradient stroke, dashes and a path.
#pragma once

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "expressions/Expressions.h"
#include "model/Project.h"

namespace tltest {

inline constexpr char kStylesMatchName[] = "LK TetherlineStyles";

// One parameter of the styles effect as the tests declare it.
struct ParamRow {
    int index;
    const char* name;
    PF_ParamType type;
    double value;
};

// The parameters the expressions read, with names repeated as the effect repeats them.
inline constexpr ParamRow kStyleParams[] = {
    {11, "Miter Limit", PF_Param_FLOAT_SLIDER, 4},
    {12, "Enable Gradient", PF_Param_CHECKBOX, 1},
    {13, "Gradient Type", PF_Param_POPUP, 2},
    {14, "Highlight Length", PF_Param_FLOAT_SLIDER, 35},
    {15, "Highlight Angle", PF_Param_FLOAT_SLIDER, 120},
    {45, "Dashes", PF_Param_CHECKBOX, 1},
    {46, "Offset", PF_Param_CHECKBOX, 0},
    {49, "Trim", PF_Param_CHECKBOX, 0},
    {91, "Dashes", PF_Param_GROUP_START, 0},
    {92, "Dash", PF_Param_FLOAT_SLIDER, 12},
    {93, "Gap", PF_Param_FLOAT_SLIDER, 6},
    {94, "Offset", PF_Param_FLOAT_SLIDER, 3},
    {119, "Trim", PF_Param_GROUP_START, 0},
    {120, "Start", PF_Param_FLOAT_SLIDER, 0},
    {121, "End", PF_Param_FLOAT_SLIDER, 100},
    {122, "Both Ends", PF_Param_FLOAT_SLIDER, 0},
    {123, "Offset", PF_Param_FLOAT_SLIDER, 0},
    {124, "Layer", PF_Param_LAYER, 0},
};

inline std::string ParamMatchName(int index) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%s-%04d", kStylesMatchName, index);
    return buf;
}

inline tlhost::HostParam MakeParam(const char* name, PF_ParamType type, double value) {
    PF_ParamDef def{};
    def.param_type = type;
    std::strncpy(def.name, name, sizeof def.name - 1);
    switch (type) {
        case PF_Param_FLOAT_SLIDER:
            def.u.fs_d.value = value;
            break;
        case PF_Param_CHECKBOX:
            def.u.bd.value = static_cast<PF_ParamValue>(value);
            break;
        case PF_Param_POPUP:
            def.u.pd.value = static_cast<PF_ParamValue>(value);
            break;
        default:
            break;
    }
    return tlhost::HostParam(def);
}

inline tlhost::StreamNode& AddNode(tlhost::StreamNode& parent, const std::string& match_name,
                                   const std::string& name,
                                   tlhost::Grouping grouping = tlhost::Grouping::Named) {
    return parent.AddChild(std::make_unique<tlhost::StreamNode>(match_name, name, grouping));
}

inline tlhost::StreamNode& AddLeaf(tlhost::StreamNode& parent, const std::string& match_name,
                                   const std::string& name, const tlhost::StreamValue& value) {
    auto& leaf = parent.AddChild(
        std::make_unique<tlhost::StreamNode>(match_name, name, tlhost::Grouping::Leaf, value.kind));
    leaf.set_value(value);
    return leaf;
}

// A shape group ("ADBE Vector Group") and the contents group inside it.
inline tlhost::StreamNode& AddShapeGroup(tlhost::StreamNode& contents, const std::string& name) {
    auto& group = AddNode(contents, "ADBE Vector Group", name);
    return AddNode(group, "ADBE Vectors Group", "Contents", tlhost::Grouping::Indexed);
}

class ExpressionTest : public ::testing::Test {
  protected:
    ExpressionTest() {
        // Added bottom-up: the controller ends on top (index 1).
        connection = &project.AddLayer(comp, "Connection", tlhost::LayerKind::Shape);
        controller = &project.AddLayer(comp, "Controller", tlhost::LayerKind::Shape);
        styles = &AddStylesEffect(*controller);
        BuildConnectionShapes();
    }

    tlhost::EffectInstance& AddStylesEffect(tlhost::Layer& layer) {
        tlhost::EffectInstance& effect = layer.AddEffect(kStylesMatchName, "Tetherline - Styles");
        auto& params = effect.params();
        params.emplace_back();  // the input layer
        for (int index = 1; index <= 124; ++index) {
            const ParamRow* row = nullptr;
            for (const auto& r : kStyleParams) {
                if (r.index == index) row = &r;
            }
            const std::string filler = "Unused " + std::to_string(index);
            params.push_back(row ? MakeParam(row->name, row->type, row->value)
                                 : MakeParam(filler.c_str(), PF_Param_FLOAT_SLIDER, 0));
            params.back().match_name = ParamMatchName(index);
        }
        effect.AttachParamStreams();
        return effect;
    }

    // Contents: "Stroke Group" holding "Stroke 1" (miter limit, dashes) and
    // "Gradient Stroke 1" (highlight), and "Connection" holding Paths > Path 1 > Path.
    void BuildConnectionShapes() {
        using tlhost::StreamValue;
        tlhost::StreamNode& contents = *connection->root().FindChild("ADBE Root Vectors Group");
        tlhost::StreamNode& inner = AddShapeGroup(contents, "Stroke Group");
        tlhost::StreamNode& stroke = AddNode(inner, "ADBE Vector Graphic - Stroke", "Stroke 1");
        miter =
            &AddLeaf(stroke, "ADBE Vector Stroke Miter Limit", "Miter Limit", StreamValue::OneD(1));
        tlhost::StreamNode& dashes =
            AddNode(stroke, "ADBE Vector Stroke Dashes", "Dashes", tlhost::Grouping::Indexed);
        dash = &AddLeaf(dashes, "ADBE Vector Stroke Dash 1", "Dash", StreamValue::OneD(-1));
        gap = &AddLeaf(dashes, "ADBE Vector Stroke Gap 1", "Gap", StreamValue::OneD(-1));
        offset = &AddLeaf(dashes, "ADBE Vector Stroke Offset", "Offset", StreamValue::OneD(-1));
        tlhost::StreamNode& gradient =
            AddNode(inner, "ADBE Vector Graphic - G-Stroke", "Gradient Stroke 1");
        hilite_length = &AddLeaf(gradient, "ADBE Vector Grad HiLite Length", "Highlight Length",
                                 StreamValue::OneD(-1));
        hilite_angle = &AddLeaf(gradient, "ADBE Vector Grad HiLite Angle", "Highlight Angle",
                                StreamValue::OneD(-1));

        tlhost::StreamNode& group = AddShapeGroup(contents, "Connection");
        tlhost::StreamNode& paths = AddShapeGroup(group, "Paths");
        tlhost::StreamNode& path1 = AddShapeGroup(paths, "Path 1");
        tlhost::StreamNode& shape = AddNode(path1, "ADBE Vector Shape - Group", "Path");
        StreamValue l_path;
        l_path.kind = tlhost::ValueKind::Path;
        // An L: right 100, then down 100 (y grows downwards), straight segments.
        l_path.path.vertices = {{0, 0}, {100, 0}, {100, 100}};
        path = &AddLeaf(shape, "ADBE Vector Shape", "Path", l_path);
    }

    tlhost::StreamNode& Transform(tlhost::Layer& layer, const char* match_name) {
        return *layer.root().FindChild("ADBE Transform Group")->FindChild(match_name);
    }

    tlhost::StreamNode& Param(int index) { return *styles->ParamStream(index); }

    // Evaluates `text` as the expression of `node` (an opacity by default) at `time`.
    tlhost::EvalResult Eval(const std::string& text, tlhost::StreamNode* node = nullptr,
                            double time = 0) {
        tlhost::StreamNode& target = node ? *node : Transform(*connection, "ADBE Opacity");
        target.expression = text;
        target.expression_enabled = true;
        return tlhost::EvaluateExpression(project, target, time);
    }

    // The one-d result of `text`, failing the test on an error.
    double Number(const std::string& text, tlhost::StreamNode* node = nullptr, double time = 0) {
        const tlhost::EvalResult r = Eval(text, node, time);
        EXPECT_TRUE(r.ok) << text << "\n  -> " << r.error;
        return r.value.v[0];
    }

    // The error of `text`, failing the test when it evaluates.
    std::string Error(const std::string& text, tlhost::StreamNode* node = nullptr) {
        const tlhost::EvalResult r = Eval(text, node);
        EXPECT_FALSE(r.ok) << text << "\n  -> evaluated";
        return r.error;
    }

    tlhost::Project project;
    tlhost::Composition& comp = project.AddComposition("Comp 1");
    tlhost::Layer* connection = nullptr;
    tlhost::Layer* controller = nullptr;
    tlhost::EffectInstance* styles = nullptr;
    tlhost::StreamNode* miter = nullptr;
    tlhost::StreamNode* dash = nullptr;
    tlhost::StreamNode* gap = nullptr;
    tlhost::StreamNode* offset = nullptr;
    tlhost::StreamNode* hilite_length = nullptr;
    tlhost::StreamNode* hilite_angle = nullptr;
    tlhost::StreamNode* path = nullptr;
};

}  // namespace tltest
