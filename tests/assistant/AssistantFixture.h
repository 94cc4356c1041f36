// A composition for the Assistant's tests: the styling fixture's controller with the effect,
// the expression engine installed where the build has one, the composition's time set as a
// test needs it, and connection layers carrying animated paths and style expressions.
#pragma once

#include <string>
#include <vector>

#include "style/StyleFixture.h"

namespace assistanttest {

using styletest::CommandReport;
using styletest::Layer;
using styletest::LayerKind;
using styletest::StreamNode;

inline constexpr int kBakePaths = 147;
inline constexpr int kBakeStyles = 148;
inline constexpr int kRelink = 149;

// The animated properties of one line.
struct Line {
    Layer* layer = nullptr;
    StreamNode* path = nullptr;         // "ADBE Vector Shape", createPath(...) over time
    StreamNode* width = nullptr;        // "ADBE Vector Stroke Width", "time * 100"
    StreamNode* position = nullptr;     // the layer's "ADBE Position", "[10 * time, 5, 0]"
    StreamNode* orientation = nullptr;  // the layer's "ADBE Orientation", "[0, 0, 90 * time]"
};

class AssistantTest : public styletest::StyleTest {
  protected:
    void SetUp() override;

    // The composition's frame duration and work area (the rate follows the duration).
    void SetTime(A_Time frame_duration, A_Time work_area_start, A_Time work_area_duration);

    // A shape layer whose Layer Control points at `target` (the controller by default), with
    // a shape group holding an animated path and a stroke whose width has an expression, and
    // a position and an orientation with expressions. Added at the bottom of the stack.
    Line AddAnimatedLine(const std::string& name, AEGP_LayerIDVal target = 0);
    // The same properties on a layer that exists already (without a Layer Control).
    static Line Animate(Layer& layer);

    // Presses a button of the effect (of another instance with `on`).
    CommandReport Press(int index, tlhost::EffectInstance* on = nullptr);

    // The times of a property's keys.
    static std::vector<A_Time> KeyTimes(const StreamNode& node);
    // Puts a property back as it was before a bake: no keys, its expression on.
    static void Unbake(StreamNode& node);

    // The last undo group of the host's log, which the test expects to exist.
    const tlhost::UndoGroupRecord& LastUndoGroup();
};

// True when two host times are written the same way.
inline bool SameTime(const A_Time& a, const A_Time& b) {
    return a.value == b.value && a.scale == b.scale;
}

}  // namespace assistanttest
