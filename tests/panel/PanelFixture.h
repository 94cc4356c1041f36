// The module panel under test: the plug-in (linked in) applied to a null layer "Controller" in a
// composition, with connection layers built in code, and draw and click events sent as the host
// sends them for a control whose frame starts at (10, 100).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "session/Session.h"

namespace paneltest {

using tlhost::CommandReport;
using tlhost::DrawOp;
using tlhost::DrawOpKind;
using tlhost::Layer;
using tlhost::StreamNode;
using tlhost::UIEventReport;

inline constexpr A_long kH = 10;
inline constexpr A_long kV = 100;
inline constexpr PF_Rect kFrame{kH, kV, kH + 267, kV + 39};

inline constexpr char kDashMatchNames[3][32] = {
    "ADBE Vector Stroke Dash 1", "ADBE Vector Stroke Gap 1", "ADBE Vector Stroke Offset"};

class PanelTest : public ::testing::Test {
  protected:
    void SetUp() override;

    tlhost::Session& S() { return *session_; }
    tlhost::Host& H() { return session_->host(); }
    tlhost::Project& P() { return session_->host().project(); }
    tlhost::EffectInstance& Effect() { return *effect_; }
    Layer& Controller() { return *controller_; }

    // The module-state record as the host holds it, and a way to set it.
    std::vector<std::uint8_t> Record();
    void SetRecord(const std::vector<std::uint8_t>& bytes);
    // Module i's enable checkbox: the parameter value and its stream's value.
    A_long Checkbox(int module);
    double CheckboxStream(int module);

    UIEventReport Draw() { return S().DrawEvent(Effect(), kFrame); }
    UIEventReport Click(A_long x, A_long y) { return S().ClickEvent(Effect(), kFrame, {x, y}); }
    // A click in the middle of button i.
    UIEventReport ClickModule(int module) { return Click(kH + 27 * module + 12, kV + 12); }

    // A shape layer whose Layer Control points at `target` (the controller when not given),
    // carrying every module's named group (switched off), nested at varying depths, and a
    // stroke whose dash properties are hidden. Added at the bottom of the stack.
    Layer& AddConnection(const std::string& name, std::optional<AEGP_LayerIDVal> target = {});
    // The groups of `layer` named `name`, at any depth.
    static std::vector<StreamNode*> GroupsNamed(Layer& layer, const std::string& name);
    // The dash, gap and offset properties of `layer`, in tree order.
    static std::vector<StreamNode*> DashProperties(Layer& layer);
    // Every node's state (eyeball, hidden flag, expression), for before-and-after comparisons.
    static std::string Describe(const StreamNode& node);
    std::string DescribeProject();

    // Fails the n-th call of a host function counted from now.
    void FailNext(const std::string& function, std::uint64_t nth, A_Err error);

  private:
    std::unique_ptr<tlhost::Session> session_;
    tlhost::Composition* comp_ = nullptr;
    Layer* controller_ = nullptr;
    tlhost::EffectInstance* effect_ = nullptr;
};

}  // namespace paneltest
