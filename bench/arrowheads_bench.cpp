// "Create Placeholders" as the number of connection layers grows: a press over compositions of
// 100 and 1,000 connection layers, each with a start and an end arrowhead, in a project that
// has no placeholder composition yet (so every press also builds it). Reported per
// placeholder: time, and host calls made by the plug-in (the walk over each layer's contents
// and the module switch-off included). No expression engine: the figures are the plug-in's
// and the host's.
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

constexpr int kCreatePlaceholders = 68;

StreamNode& Contents(StreamNode& parent, const std::string& match_name, const std::string& name) {
    StreamNode& group =
        parent.AddChild(std::make_unique<StreamNode>(match_name, name, Grouping::Named));
    return group.AddChild(
        std::make_unique<StreamNode>("ADBE Vectors Group", "Contents", Grouping::Indexed));
}

void PathOperator(StreamNode& parent, const std::string& name) {
    StreamNode& op = parent.AddChild(
        std::make_unique<StreamNode>("ADBE Vector Shape - Group", name, Grouping::Named));
    StreamNode& leaf = op.AddChild(
        std::make_unique<StreamNode>("ADBE Vector Shape", "Path", Grouping::Leaf, ValueKind::Path));
    StreamValue path;
    path.kind = ValueKind::Path;
    path.path.vertices = {tlhost::PathVertex{0, 0, 0, 0, 0, 0},
                          tlhost::PathVertex{100, 0, 0, 0, 0, 0}};
    leaf.set_value(path);
}

struct Scene {
    std::unique_ptr<tlhost::Session> session;
    tlhost::EffectInstance* effect = nullptr;
};

Scene MakeScene(int lines) {
    Scene scene;
    tltest::Applied applied = tltest::StartWithEffect(true);
    scene.session = std::move(applied.session);
    scene.effect = applied.effect;
    tlhost::Project& project = scene.session->host().project();
    tlhost::Layer& controller = scene.effect->layer();
    tlhost::Composition& comp = controller.comp();
    for (int i = 0; i < lines; ++i) {
        const std::string name = "Line " + std::to_string(i + 1);
        tlhost::Layer& line =
            project.AddLayer(comp, name, tlhost::LayerKind::Shape, 0, SIZE_MAX - 1);
        project.SetLayer3D(line, true);
        tlhost::AddLayerControl(line, controller.id());
        StreamNode& inner =
            Contents(*line.root().FindChild("ADBE Root Vectors Group"), "ADBE Vector Group", name);
        PathOperator(
            Contents(Contents(inner, "ADBE Vector Group", "Paths"), "ADBE Vector Group", "Path 1"),
            "Path");
        StreamNode& set = Contents(Contents(inner, "ADBE Vector Group", "Arrowheads"),
                                   "ADBE Vector Group", "Arrowheads 1");
        PathOperator(set, "Start Arrowhead");
        PathOperator(set, "End Arrowhead");
    }
    return scene;
}

void BM_CreatePlaceholders(benchmark::State& state) {
    const int lines = static_cast<int>(state.range(0));
    std::uint64_t calls = 0;
    std::uint64_t placeholders = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Scene scene = MakeScene(lines);
        tlhost::Ledger& ledger = scene.session->host().ledger();
        const std::size_t layers_before = scene.effect->layer().comp().layers().size();
        const std::uint64_t before = ledger.TotalCalls();
        state.ResumeTiming();
        tlhost::CommandReport report =
            scene.session->UserChangedParam(*scene.effect, kCreatePlaceholders);
        state.PauseTiming();
        calls += ledger.TotalCalls() - before;
        placeholders += scene.effect->layer().comp().layers().size() - layers_before;
        const bool ok = report.result == PF_Err_NONE && report.clean();
        scene = Scene{};
        state.ResumeTiming();
        if (!ok) {
            state.SkipWithError("the export failed or left references behind");
            break;
        }
    }
    state.counters["layers"] = lines;
    state.counters["placeholders_per_press"] =
        static_cast<double>(placeholders) / static_cast<double>(state.iterations());
    state.counters["host_calls_per_placeholder"] =
        static_cast<double>(calls) / static_cast<double>(placeholders);
    state.counters["time_per_placeholder"] =
        benchmark::Counter(static_cast<double>(placeholders),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

BENCHMARK(BM_CreatePlaceholders)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

BENCHMARK_MAIN();
