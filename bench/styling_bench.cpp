// Styling cost per connection layer as the number of connection layers grows:
// a "Line Join" change (values on every stroke, then the miter-limit expressions)
// and a gradient-type change, over compositions of 100, 1,000 and 10,000
// connection layers whose trees have the depth of real connection layers.
// Reported per connection layer: time, and host calls made by the plug-in.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "support/TestSupport.h"
#include "model/LayerControl.h"

namespace {

using tlhost::Grouping;
using tlhost::StreamNode;
using tlhost::StreamValue;
using tlhost::ValueKind;

// One property group of a shape and its leaves, as the host shows them.
struct GroupRow {
    const char* match_name;
    const char* name;
    std::initializer_list<const char*> leaves;
};

// A shape group's contents: path, strokes, fills, trim and the module operators,
// some 85 leaf streams in all.
const GroupRow kShapeContents[] = {
    {"ADBE Vector Shape - Group", "Path 1", {"ADBE Vector Shape Direction", "ADBE Vector Shape"}},
    {"ADBE Vector Graphic - Stroke",
     "Stroke 1",
     {"ADBE Vector Blend Mode", "ADBE Vector Composite Order", "ADBE Vector Stroke Color",
      "ADBE Vector Stroke Opacity", "ADBE Vector Stroke Width", "ADBE Vector Stroke Line Cap",
      "ADBE Vector Stroke Line Join", "ADBE Vector Stroke Miter Limit"}},
    {"ADBE Vector Graphic - G-Stroke",
     "Gradient Stroke 1",
     {"ADBE Vector Blend Mode", "ADBE Vector Composite Order", "ADBE Vector Grad Type",
      "ADBE Vector Grad Start Pt", "ADBE Vector Grad End Pt", "ADBE Vector Grad HiLite Length",
      "ADBE Vector Grad HiLite Angle", "ADBE Vector Grad Colors", "ADBE Vector Stroke Opacity",
      "ADBE Vector Stroke Width", "ADBE Vector Stroke Line Cap", "ADBE Vector Stroke Line Join",
      "ADBE Vector Stroke Miter Limit"}},
    {"ADBE Vector Graphic - G-Fill",
     "Gradient Fill 1",
     {"ADBE Vector Blend Mode", "ADBE Vector Composite Order", "ADBE Vector Fill Rule",
      "ADBE Vector Grad Type", "ADBE Vector Grad Start Pt", "ADBE Vector Grad End Pt",
      "ADBE Vector Grad HiLite Length", "ADBE Vector Grad HiLite Angle", "ADBE Vector Grad Colors",
      "ADBE Vector Fill Opacity"}},
    {"ADBE Vector Filter - Trim",
     "Trim Paths",
     {"ADBE Vector Trim Start", "ADBE Vector Trim End", "ADBE Vector Trim Offset",
      "ADBE Vector Trim Type"}},
    {"ADBE Vector Filter - Offset",
     "Offset Paths",
     {"ADBE Vector Offset Amount", "ADBE Vector Offset Line Join", "ADBE Vector Offset Miter Limit",
      "ADBE Vector Offset Copies", "ADBE Vector Offset Copy Offset"}},
    {"ADBE Vector Filter - Repeater",
     "Repeater",
     {"ADBE Vector Repeater Copies", "ADBE Vector Repeater Offset", "ADBE Vector Repeater Order",
      "ADBE Vector Repeater Anchor", "ADBE Vector Repeater Position", "ADBE Vector Repeater Scale",
      "ADBE Vector Repeater Rotation", "ADBE Vector Repeater Opacity 1",
      "ADBE Vector Repeater Opacity 2"}},
    {"ADBE Vector Filter - RC", "Round Corners", {"ADBE Vector RoundCorner Radius"}},
    {"ADBE Vector Filter - Twist",
     "Twist",
     {"ADBE Vector Twist Angle", "ADBE Vector Twist Center"}},
    {"ADBE Vector Filter - Roughen",
     "Wiggle Paths",
     {"ADBE Vector Roughen Size", "ADBE Vector Roughen Detail", "ADBE Vector Roughen Points",
      "ADBE Vector Temporal Freq", "ADBE Vector Correlation", "ADBE Vector Temporal Phase",
      "ADBE Vector Spatial Phase", "ADBE Vector Random Seed"}},
    {"ADBE Vector Filter - Zigzag",
     "Zig Zag",
     {"ADBE Vector Zigzag Size", "ADBE Vector Zigzag Detail", "ADBE Vector Zigzag Points"}},
    {"ADBE Vector Transform Group",
     "Transform: Line",
     {"ADBE Vector Anchor", "ADBE Vector Position", "ADBE Vector Scale", "ADBE Vector Skew",
      "ADBE Vector Skew Axis", "ADBE Vector Rotation", "ADBE Vector Group Opacity"}},
};

void AddLeaf(StreamNode& parent, const char* match_name) {
    StreamNode& leaf = parent.AddChild(
        std::make_unique<StreamNode>(match_name, match_name, Grouping::Leaf, ValueKind::OneD));
    leaf.set_value(StreamValue::OneD(1));
}

// A shape group named `name` with the full contents above.
void AddShapeGroup(StreamNode& contents, const std::string& name) {
    StreamNode& group =
        contents.AddChild(std::make_unique<StreamNode>("ADBE Vector Group", name, Grouping::Named));
    AddLeaf(group, "ADBE Vector Blend Mode");
    StreamNode& inner = group.AddChild(
        std::make_unique<StreamNode>("ADBE Vectors Group", "Contents", Grouping::Indexed));
    for (const GroupRow& row : kShapeContents) {
        StreamNode& g =
            inner.AddChild(std::make_unique<StreamNode>(row.match_name, row.name, Grouping::Named));
        for (const char* leaf : row.leaves) AddLeaf(g, leaf);
    }
}

struct Scene {
    std::unique_ptr<tlhost::Session> session;
    tlhost::EffectInstance* effect = nullptr;
};

// A controller null with the effect and `lines` connection layers of three shape
// groups each (a few hundred streams a layer), each pointing at the controller.
Scene MakeScene(int lines) {
    Scene scene;
    tltest::Applied applied = tltest::StartWithEffect(true);
    scene.session = std::move(applied.session);
    scene.effect = applied.effect;
    tlhost::Project& project = scene.session->host().project();
    tlhost::Layer& controller = scene.effect->layer();
    tlhost::Composition& comp = controller.comp();
    for (int i = 0; i < lines; ++i) {
        tlhost::Layer& line = project.AddLayer(comp, "Line " + std::to_string(i + 1),
                                               tlhost::LayerKind::Shape, 0, SIZE_MAX - 1);
        tlhost::AddLayerControl(line, controller.id());
        StreamNode& contents = *line.root().FindChild("ADBE Root Vectors Group");
        for (const char* name : {"Line", "Start Cap", "End Cap"}) AddShapeGroup(contents, name);
    }
    return scene;
}

// Runs one parameter change per iteration, alternating between two values so that
// each iteration writes.
void RunChange(benchmark::State& state, int index, double first, double second) {
    const int lines = static_cast<int>(state.range(0));
    Scene scene = MakeScene(lines);
    tlhost::Ledger& ledger = scene.session->host().ledger();
    const std::uint64_t calls_before = ledger.TotalCalls();
    bool flip = false;
    for (auto _ : state) {
        scene.effect->params()[static_cast<std::size_t>(index)].def().u.pd.value =
            static_cast<A_long>(flip ? second : first);
        flip = !flip;
        tlhost::CommandReport report = scene.session->UserChangedParam(*scene.effect, index);
        if (report.result != PF_Err_NONE || !report.clean()) {
            state.SkipWithError("the change failed or left references behind");
            break;
        }
    }
    const double per_change_calls = static_cast<double>(ledger.TotalCalls() - calls_before) /
                                    static_cast<double>(state.iterations());
    state.counters["layers"] = lines;
    state.counters["host_calls_per_layer"] = per_change_calls / lines;
    state.counters["time_per_layer"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * lines,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_LineJoinChange(benchmark::State& state) {
    RunChange(state, 10, 1, 2);
}
void BM_GradientTypeChange(benchmark::State& state) {
    RunChange(state, 13, 2, 1);
}

BENCHMARK(BM_LineJoinChange)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(4);
BENCHMARK(BM_GradientTypeChange)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(4);

}  // namespace

BENCHMARK_MAIN();
