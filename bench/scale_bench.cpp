// The stand-in host at scale.
// - BM_HostCall_*: one host call with the host's accounting on (call counting,
//   fault hooks, reference records): a query on a live stream reference, and a
//   stream reference made and disposed (two calls).
// - BM_Evaluate: one evaluation of a connection layer's stroke-width expression.
// - BM_Run/N: what `tetherline-host run PROJECT --set 10=1 --set 11=6 --out OUT`
//   does, over generated projects of N connection layers: load (parse, build the
//   project, give the effect its parameters), the two commands, the save with every
//   expression evaluated as the tool writes it. `evaluate_s` is one pass evaluating
//   every enabled expression (part of what the save does). Peak memory is the
//   process's resident peak after the run. Each size is run several times on a fresh
//   session and the fastest run is reported (the phases are that run's), with the
//   mean beside it: on a shared machine a short run is easily slowed by its
//   neighbours, and the per-layer figures of different sizes are compared with each
//   other.
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <chrono>
#include <ostream>
#include <streambuf>
#include <memory>
#include <string>

#include "AE_GeneralPlug.h"
#include "ConnectionsProject.h"
#include "expressions/Expressions.h"
#include "io/ProjectFile.h"
#include "support/FakePlugin.h"
#include "support/TestSupport.h"

namespace {

using tlhost::StreamNode;

constexpr AEGP_PluginID kPlugin = 1;
constexpr long kCallsPerCommand = 200000;

struct Suites {
    AEGP_PFInterfaceSuite1* pfi;
    AEGP_StreamSuite4* streams;
    AEGP_DynamicStreamSuite4* dyn;
};

Suites AcquireSuites(PF_InData* in_data) {
    return {tltest::AcquireSuite<AEGP_PFInterfaceSuite1>(in_data, kAEGPPFInterfaceSuite, 1),
            tltest::AcquireSuite<AEGP_StreamSuite4>(in_data, kAEGPStreamSuite, 9),
            tltest::AcquireSuite<AEGP_DynamicStreamSuite4>(in_data, kAEGPDynamicStreamSuite, 5)};
}

void ReleaseSuites(PF_InData* in_data) {
    in_data->pica_basicP->ReleaseSuite(kAEGPPFInterfaceSuite, 1);
    in_data->pica_basicP->ReleaseSuite(kAEGPStreamSuite, 9);
    in_data->pica_basicP->ReleaseSuite(kAEGPDynamicStreamSuite, 5);
}

struct CallScene {
    tltest::FakePlugin fake;
    tlhost::EffectInstance* effect = nullptr;
    CallScene() {
        fake.host().RegisterPlugin("Bench");
        tlhost::Project& project = fake.host().project();
        tlhost::Composition& comp = project.AddComposition("Comp");
        tlhost::Layer& layer = project.AddLayer(comp, "Line", tlhost::LayerKind::Shape);
        effect = &layer.AddEffect("Bench Effect", "Bench");
        effect->params().emplace_back();
        effect->AttachParamStreams();
    }
};

// kCallsPerCommand calls of AEGP_GetNumStreamsInGroup on the layer's root stream.
PF_Err QueryCalls(PF_InData* in_data, PF_OutData*) {
    Suites s = AcquireSuites(in_data);
    AEGP_LayerH layer = nullptr;
    AEGP_StreamRefH root = nullptr;
    A_Err err = s.pfi->AEGP_GetEffectLayer(in_data->effect_ref, &layer);
    if (!err) err = s.dyn->AEGP_GetNewStreamRefForLayer(kPlugin, layer, &root);
    A_long n = 0;
    for (long i = 0; !err && i < kCallsPerCommand; ++i)
        err = s.dyn->AEGP_GetNumStreamsInGroup(root, &n);
    if (root) s.streams->AEGP_DisposeStream(root);
    ReleaseSuites(in_data);
    return err;
}

// kCallsPerCommand / 2 stream references made and disposed.
PF_Err MakeDisposeCalls(PF_InData* in_data, PF_OutData*) {
    Suites s = AcquireSuites(in_data);
    AEGP_LayerH layer = nullptr;
    AEGP_StreamRefH root = nullptr;
    A_Err err = s.pfi->AEGP_GetEffectLayer(in_data->effect_ref, &layer);
    if (!err) err = s.dyn->AEGP_GetNewStreamRefForLayer(kPlugin, layer, &root);
    for (long i = 0; !err && i < kCallsPerCommand / 2; ++i) {
        AEGP_StreamRefH transform = nullptr;
        err = s.dyn->AEGP_GetNewStreamRefByMatchname(kPlugin, root, "ADBE Transform Group",
                                                     &transform);
        if (!err) err = s.streams->AEGP_DisposeStream(transform);
    }
    if (root) s.streams->AEGP_DisposeStream(root);
    ReleaseSuites(in_data);
    return err;
}

void RunCalls(benchmark::State& state, tltest::Body body) {
    CallScene scene;
    for (auto _ : state) {
        tlhost::CommandReport report = scene.fake.RunOn(*scene.effect, body);
        if (report.result != PF_Err_NONE || !report.clean()) {
            state.SkipWithError("the calls failed or left references behind");
            break;
        }
    }
    state.counters["time_per_call"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kCallsPerCommand,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_HostCall_Query(benchmark::State& state) {
    RunCalls(state, QueryCalls);
}
void BM_HostCall_MakeDispose(benchmark::State& state) {
    RunCalls(state, MakeDisposeCalls);
}
BENCHMARK(BM_HostCall_Query)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HostCall_MakeDispose)->Unit(benchmark::kMillisecond);

// ---- A session on a generated project, as the tool opens it ------------------

struct Opened {
    std::unique_ptr<tlhost::Session> session;
    tlhost::EffectInstance* effect = nullptr;
};

Opened Open(const std::string& text) {
    Opened out;
    out.session = tltest::StartInProcess();
    tlhost::InstallExpressionEngine(out.session->host());
    if (out.session->ParamsSetup().result != PF_Err_NONE) return {};
    tlhost::Session& s = *out.session;
    const std::string match_name = s.registration().match_name;
    tlhost::LoadError error;
    auto resolver = [&](tlhost::Layer&, tlhost::EffectInstance& effect) {
        if (effect.match_name() != match_name) return false;
        s.Instantiate(effect);
        return true;
    };
    if (!tlhost::LoadProject(text, s.host().project(), &error, resolver)) return {};
    out.effect = s.FindEffect();
    return out;
}

bool Set(Opened& opened, int index, const char* value) {
    std::string why;
    if (!opened.effect->params()[static_cast<std::size_t>(index)].SetFromText(value, &why))
        return false;
    tlhost::CommandReport report = opened.session->UserChangedParam(*opened.effect, index);
    return report.result == PF_Err_NONE && report.clean();
}

// Every leaf with an enabled expression, evaluated once.
std::size_t EvaluateAll(tlhost::Host& host, StreamNode& node) {
    if (node.is_group()) {
        std::size_t n = 0;
        for (const auto& child : node.children()) n += EvaluateAll(host, *child);
        return n;
    }
    if (!node.expression_enabled || node.expression.empty()) return 0;
    benchmark::DoNotOptimize(host.ValueAfterExpressions(node, 0.0));
    return 1;
}

std::size_t EvaluateAll(tlhost::Host& host) {
    std::size_t n = 0;
    for (const auto& item : host.project().items()) {
        if (item->kind() != tlhost::ItemKind::Composition) continue;
        for (tlhost::Layer* layer : static_cast<tlhost::Composition&>(*item).layers())
            n += EvaluateAll(host, layer->root());
    }
    return n;
}

// A stream that only counts what is written to it (the file the tool writes,
// without the disk).
struct CountingStream {
    struct Buffer : std::streambuf {
        std::size_t bytes = 0;
        int_type overflow(int_type c) override {
            if (c != traits_type::eof()) ++bytes;
            return c;
        }
        std::streamsize xsputn(const char*, std::streamsize n) override {
            bytes += static_cast<std::size_t>(n);
            return n;
        }
    } buffer;
    std::ostream stream{&buffer};
};

double Seconds(std::chrono::steady_clock::time_point from) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
}

double PeakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_Run(benchmark::State& state) {
    const int lines = static_cast<int>(state.range(0));
    const std::string text = tlgen::ConnectionsProject(lines);
    struct Phases {
        double load = 0, commands = 0, evaluate = 0, save = 0;
        double run() const { return load + commands + save; }
    };
    Phases best;
    double total = 0, evaluations = 0;
    std::size_t bytes = 0;
    bool first = true;
    for (auto _ : state) {
        Phases now;
        auto t = std::chrono::steady_clock::now();
        Opened opened = Open(text);
        if (!opened.effect) {
            state.SkipWithError("the project did not open");
            return;
        }
        now.load = Seconds(t);
        t = std::chrono::steady_clock::now();
        if (!Set(opened, 10, "1") || !Set(opened, 11, "6")) {
            state.SkipWithError("a command failed");
            return;
        }
        now.commands = Seconds(t);
        tlhost::Host& host = opened.session->host();
        t = std::chrono::steady_clock::now();
        evaluations = static_cast<double>(EvaluateAll(host));
        now.evaluate = Seconds(t);
        t = std::chrono::steady_clock::now();
        if (opened.session->FlattenValues().result != PF_Err_NONE) {
            state.SkipWithError("flattening failed");
            return;
        }
        tlhost::ValueEvaluator evaluator = [&](StreamNode& leaf) {
            return host.ValueAfterExpressions(leaf, 0.0);
        };
        CountingStream out;
        tlhost::WriteProject(host.project(), out.stream, evaluator);
        bytes = out.buffer.bytes;
        now.save = Seconds(t);
        total += now.run();
        if (first || now.run() < best.run()) best = now;
        first = false;
    }
    const double per_layer = 1e6 / lines;
    state.counters["layers"] = lines;
    state.counters["load_s"] = best.load;
    state.counters["commands_s"] = best.commands;
    state.counters["evaluate_s"] = best.evaluate;
    state.counters["save_s"] = best.save;
    state.counters["run_s"] = best.run();
    state.counters["load_per_layer_us"] = best.load * per_layer;
    state.counters["commands_per_layer_us"] = best.commands * per_layer;
    state.counters["save_per_layer_us"] = best.save * per_layer;
    state.counters["run_per_layer_us"] = best.run() * per_layer;
    state.counters["run_per_layer_mean_us"] =
        total / static_cast<double>(state.iterations()) * per_layer;
    state.counters["evaluations_per_layer"] = evaluations / lines;
    state.counters["file_MB"] = static_cast<double>(bytes) / 1e6;
    state.counters["peak_rss_MB"] = PeakMegabytes();
}
BENCHMARK(BM_Run)->Arg(100)->Iterations(10)->Unit(benchmark::kSecond);
BENCHMARK(BM_Run)->Arg(1000)->Iterations(5)->Unit(benchmark::kSecond);
BENCHMARK(BM_Run)->Arg(10000)->Iterations(3)->Unit(benchmark::kSecond);

// ---- One evaluation --------------------------------------------------------------

StreamNode* FindExpression(StreamNode& node) {
    if (!node.is_group()) return node.expression.empty() ? nullptr : &node;
    for (const auto& child : node.children()) {
        if (StreamNode* found = FindExpression(*child)) return found;
    }
    return nullptr;
}

void BM_Evaluate(benchmark::State& state) {
    Opened opened = Open(tlgen::ConnectionsProject(1));
    if (!opened.effect) {
        state.SkipWithError("the project did not open");
        return;
    }
    tlhost::Host& host = opened.session->host();
    tlhost::Composition& comp = opened.effect->layer().comp();
    StreamNode* node = FindExpression(comp.layers().back()->root());
    if (!node) {
        state.SkipWithError("no expression");
        return;
    }
    for (auto _ : state) {
        tlhost::StreamValue v = host.ValueAfterExpressions(*node, 0.0);
        if (!node->expression_error.empty() || v.v[0] != 5) {
            state.SkipWithError(("the expression failed: " + node->expression_error).c_str());
            break;
        }
    }
}
BENCHMARK(BM_Evaluate)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
