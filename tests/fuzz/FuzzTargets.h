// What each fuzz target does with one input. The libFuzzer programs (tests/fuzz/targets/) call
// these, and so does the corpus replay test of the ordinary test build, so that every seed and
// every input that once crashed keeps running in CI.
//
// Each returns what went wrong, empty when nothing did: a crash or a sanitizer report ends the
// process on its own; a broken rule of the host interface, a leftover reference or a broken
// round trip is returned as text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tlfuzz {

// A project file's text, read by the stand-in host with this plug-in's effects set up (their
// stored module states go through the plug-in's unflatten callback); a file it reads must write
// back into a text that reads again into the same project.
std::string LoadProjectFile(const std::uint8_t* data, std::size_t size);

// The bytes as the flat form of the module-state record, through the unflatten callback; a
// record made of them must flatten back into the same bytes and dispose cleanly.
std::string UnflattenModuleState(const std::uint8_t* data, std::size_t size);

// A draw or a click in the module panel, its frame, point, parameter index and the module-state
// record before the event taken from the bytes.
std::string PanelEvent(const std::uint8_t* data, std::size_t size);

// The bytes as the expression of one of a connection layer's properties (the first byte picks
// which), evaluated within the evaluator's bounds.
std::string EvaluateExpression(const std::uint8_t* data, std::size_t size);

}  // namespace tlfuzz
