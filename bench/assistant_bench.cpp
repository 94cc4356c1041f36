// The style bake's cost per baked key as the number of connection layers grows: a
// "Style Expressions" press over compositions of 100 and 1,000 connection layers, each with
// two style expressions among the properties of a connection's shape, baked over a work
// area of 250 frames. Reported per key: time, and host calls made by the plug-in (the walk
// over each layer's properties included). Values are read without an expression engine, so
// that the figures are the plug-in's and the host's, not the engine's.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "support/TestSupport.h"
#include "model/LayerControl.h"

namespace {

using tlhost::Grouping;
using tlhost::StreamNode;
using tlhost::StreamValue;
using tlhost::ValueKind;

constexpr int kBakeStyles = 148;
constexpr A_long kFrames = 250;

struct GroupRow {
    const char* match_name;
    const char* name;
    std::initializer_list<const char*> leaves;
};

// A connection's shape group: its path, stroke, trim and transform.
const GroupRow kShapeContents[] = {
    {"ADBE Vector Shape - Group", "Path 1", {"ADBE Vector Shape Direction"}},
    {"ADBE Vector Graphic - Stroke",
     "Stroke 1",
     {"ADBE Vector Blend Mode", "ADBE Vector Composite Order", "ADBE Vector Stroke Opacity",
      "ADBE Vector Stroke Width", "ADBE Vector Stroke Line Cap", "ADBE Vector Stroke Line Join",
      "ADBE Vector Stroke Miter Limit"}},
    {"ADBE Vector Filter - Trim",
     "Trim Paths",
     {"ADBE Vector Trim Start", "ADBE Vector Trim End", "ADBE Vector Trim Offset",
      "ADBE Vector Trim Type"}},
    {"ADBE Vector Transform Group",
     "Transform: Line",
     {"ADBE Vector Anchor", "ADBE Vector Position", "ADBE Vector Scale", "ADBE Vector Skew",
      "ADBE Vector Skew Axis", "ADBE Vector Rotation", "ADBE Vector Group Opacity"}},
};
// The properties that carry a style expression.
const char* const kAnimated[] = {"ADBE Vector Stroke Width", "ADBE Vector Trim End"};

struct Scene {
    std::unique_ptr<tlhost::Session> session;
    tlhost::EffectInstance* effect = nullptr;
    std::vector<StreamNode*> animated;
};

Scene MakeScene(int lines) {
    Scene scene;
    tltest::Applied applied = tltest::StartWithEffect(true);
    scene.session = std::move(applied.session);
    scene.effect = applied.effect;
    tlhost::Project& project = scene.session->host().project();
    tlhost::Layer& controller = scene.effect->layer();
    tlhost::Composition& comp = controller.comp();
    comp.frame_rate = 25;
    comp.frame_duration = A_Time{1, 25};
    comp.duration = A_Time{kFrames, 25};
    comp.work_area_start = A_Time{0, 1};
    comp.work_area_duration = A_Time{kFrames, 25};
    for (int i = 0; i < lines; ++i) {
        tlhost::Layer& line = project.AddLayer(comp, "Line " + std::to_string(i + 1),
                                               tlhost::LayerKind::Shape, 0, SIZE_MAX - 1);
        line.duration = comp.duration;
        tlhost::AddLayerControl(line, controller.id());
        StreamNode& contents = *line.root().FindChild("ADBE Root Vectors Group");
        StreamNode& group = contents.AddChild(
            std::make_unique<StreamNode>("ADBE Vector Group", "Line", Grouping::Named));
        StreamNode& inner = group.AddChild(
            std::make_unique<StreamNode>("ADBE Vectors Group", "Contents", Grouping::Indexed));
        for (const GroupRow& row : kShapeContents) {
            StreamNode& g = inner.AddChild(
                std::make_unique<StreamNode>(row.match_name, row.name, Grouping::Named));
            for (const char* match_name : row.leaves) {
                StreamNode& leaf = g.AddChild(std::make_unique<StreamNode>(
                    match_name, match_name, Grouping::Leaf, ValueKind::OneD));
                leaf.set_value(StreamValue::OneD(1));
                for (const char* animated : kAnimated) {
                    if (std::string(animated) != match_name) continue;
                    leaf.expression = "time * 10";
                    scene.animated.push_back(&leaf);
                }
            }
        }
    }
    return scene;
}

void BM_StyleBake(benchmark::State& state) {
    const int lines = static_cast<int>(state.range(0));
    Scene scene = MakeScene(lines);
    tlhost::Ledger& ledger = scene.session->host().ledger();
    std::uint64_t calls = 0;
    std::uint64_t keys = 0;
    for (auto _ : state) {
        state.PauseTiming();
        // Every style expression on and no keys, as before a first bake.
        for (StreamNode* node : scene.animated) {
            node->keyframes.clear();
            node->expression_enabled = true;
        }
        const std::uint64_t before = ledger.TotalCalls();
        state.ResumeTiming();
        tlhost::CommandReport report = scene.session->UserChangedParam(*scene.effect, kBakeStyles);
        state.PauseTiming();
        calls += ledger.TotalCalls() - before;
        for (StreamNode* node : scene.animated) keys += node->keyframes.size();
        state.ResumeTiming();
        if (report.result != PF_Err_NONE || !report.clean()) {
            state.SkipWithError("the bake failed or left references behind");
            break;
        }
    }
    state.counters["layers"] = lines;
    state.counters["keys_per_bake"] =
        static_cast<double>(keys) / static_cast<double>(state.iterations());
    state.counters["host_calls_per_key"] = static_cast<double>(calls) / static_cast<double>(keys);
    state.counters["time_per_key"] = benchmark::Counter(
        static_cast<double>(keys), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

BENCHMARK(BM_StyleBake)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

BENCHMARK_MAIN();
