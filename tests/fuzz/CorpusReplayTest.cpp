// Every seed of the fuzz targets' corpora, and every input that once made a target fail, run
// through the target in the ordinary test build: what the fuzzers found stays fixed.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "fuzz/FuzzTargets.h"

namespace {

using Target = std::string (*)(const std::uint8_t*, std::size_t);

struct Corpus {
    const char* name;
    Target target;
};

// CTest lists the case by its corpus.
void PrintTo(const Corpus& corpus, std::ostream* out) {
    *out << corpus.name;
}

class CorpusReplay : public ::testing::TestWithParam<Corpus> {};

TEST_P(CorpusReplay, EveryInputPasses) {
    const std::filesystem::path dir = std::filesystem::path(TL_FUZZ_CORPUS_DIR) / GetParam().name;
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (entry.is_regular_file()) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    ASSERT_FALSE(files.empty()) << dir;
    for (const auto& file : files) {
        std::ifstream in(file, std::ios::binary);
        const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                              std::istreambuf_iterator<char>());
        EXPECT_EQ(GetParam().target(bytes.data(), bytes.size()), "") << file;
    }
}

INSTANTIATE_TEST_SUITE_P(Targets, CorpusReplay,
                         ::testing::Values(Corpus{"project_file", tlfuzz::LoadProjectFile},
                                           Corpus{"unflatten", tlfuzz::UnflattenModuleState},
                                           Corpus{"panel_event", tlfuzz::PanelEvent},
                                           Corpus{"expression", tlfuzz::EvaluateExpression}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
