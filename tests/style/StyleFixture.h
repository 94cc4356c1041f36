// A composition for the styling tests: the plug-in (linked in) applied to a null layer named
// "Controller", connection layers built in code with the host's Layer Control effect and shape
// trees, and a way to run plug-in functions directly inside a command for the effect.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "session/Session.h"

namespace styletest {

using tlhost::CommandReport;
using tlhost::Grouping;
using tlhost::Layer;
using tlhost::LayerKind;
using tlhost::StreamNode;

inline constexpr char kStroke[] = "ADBE Vector Graphic - Stroke";
inline constexpr char kGradientStroke[] = "ADBE Vector Graphic - G-Stroke";
inline constexpr char kGradientFill[] = "ADBE Vector Graphic - G-Fill";

class StyleTest : public ::testing::Test {
  protected:
    void SetUp() override;

    tlhost::Session& S() { return *session_; }
    tlhost::Project& P() { return session_->host().project(); }
    tlhost::Composition& Comp() { return *comp_; }
    Layer& Controller() { return *controller_; }
    tlhost::EffectInstance& Effect() { return *effect_; }

    // The effect's parameters, as the host keeps them.
    void SetValue(int index, double value);
    double Value(int index);
    // Sets a parameter and sends the change as the user would.
    CommandReport Change(int index, double value);

    // A layer whose Layer Control points at `target` (none when `target` is empty: a Layer
    // Control without its layer parameter). Added at the bottom of the stack.
    Layer& AddLine(const std::string& name, std::optional<AEGP_LayerIDVal> target,
                   LayerKind kind = LayerKind::Shape);
    static tlhost::EffectInstance& AddLayerControl(Layer& layer,
                                                   std::optional<AEGP_LayerIDVal> target);

  public:
    // Shape trees.
    static StreamNode& Contents(Layer& layer);
    static StreamNode& Group(StreamNode& parent, const std::string& match_name,
                             const std::string& name = "Group",
                             Grouping grouping = Grouping::Named);
    static StreamNode& Leaf(StreamNode& parent, const std::string& match_name, double value = 1);
    // A shape group holding a stroke of the given kind (plain, gradient stroke or gradient fill)
    // with the properties that kind has. Returns the stroke or fill group.
    static StreamNode& AddPaint(StreamNode& parent, const char* kind, const std::string& name = "");
    static StreamNode& Child(StreamNode& group, const std::string& match_name);

  protected:
    // Runs `body` inside a command for the effect (or for another instance `on`), with the
    // plug-in's identifier in the global data as in every real command.
    CommandReport Run(std::function<PF_Err(PF_InData*)> body, tlhost::EffectInstance* on = nullptr);

    // Fails the n-th call of a host function counted from now.
    void FailNext(const std::string& function, std::uint64_t nth, A_Err error);
    // Runs `command` once as it is, then arms a fault for its next run: every host call from the
    // one after the first call of `function` on fails, except those that give something back.
    void FailAfterFirst(const std::function<CommandReport()>& command, const char* function,
                        A_Err error);

    // The property's value after expressions at time 0 (the value itself without an engine).
    double Evaluated(StreamNode& node);

  private:
    std::unique_ptr<tlhost::Session> session_;
    tlhost::Composition* comp_ = nullptr;
    Layer* controller_ = nullptr;
    tlhost::EffectInstance* effect_ = nullptr;
};

// True when the host can evaluate expressions in this build.
bool HaveExpressions();

}  // namespace styletest
