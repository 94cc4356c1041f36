// Drawing cost as compositions grow: a generated composition of 100 and 1,000 connection layers
// (each with a path, a stroke and a gradient stroke, a gradient fill, arrowheads and a trim, as
// Tetherline leaves them), drawn at half size with values read before expressions. Reported
// per connection layer.
#include <benchmark/benchmark.h>

#include <string>

#include "ConnectionsProject.h"
#include "io/ProjectFile.h"
#include "render/CompositionRenderer.h"

namespace {

void BM_DrawConnections(benchmark::State& state) {
    const int lines = static_cast<int>(state.range(0));
    tlhost::Project project;
    tlhost::LoadError error;
    if (!tlhost::LoadProject(tlgen::ConnectionsProject(lines), project, &error)) {
        state.SkipWithError(error.message().c_str());
        return;
    }
    const tlhost::Composition* comp = nullptr;
    for (const auto& item : project.items()) {
        if (item->kind() == tlhost::ItemKind::Composition)
            comp = static_cast<const tlhost::Composition*>(item.get());
    }
    tlhost::CompositionPicture picture;
    picture.scale = 0.5;
    const tlhost::ValueReader read = [](const tlhost::StreamNode& node, double time) {
        return node.ValueAt(time);
    };
    for (auto _ : state) {
        tlhost::RenderedImage image;
        tlhost::RenderNotes notes;
        std::string why;
        if (!tlhost::RenderComposition(*comp, picture, read, &image, &notes, &why)) {
            state.SkipWithError(why.c_str());
            return;
        }
        benchmark::DoNotOptimize(image.rgba.data());
    }
    // Seconds per connection layer drawn.
    state.counters["per_layer"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * lines,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_DrawConnections)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
