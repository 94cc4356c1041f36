// The libFuzzer entry of one target: a problem the target reports ends the run like a crash,
// with its text, so that libFuzzer keeps the input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace tlfuzz {

inline int Report(const std::string& problem) {
    if (!problem.empty()) {
        std::fprintf(stderr, "%s\n", problem.c_str());
        std::abort();
    }
    return 0;
}

}  // namespace tlfuzz

#define TL_FUZZ_TARGET(body)                                                            \
    extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) { \
        return tlfuzz::Report(tlfuzz::body(data, size));                                \
    }
