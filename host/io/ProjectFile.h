// Project files: the host's in-memory project as JSON, one format for reading and
// writing. A project holds its items (compositions, folders, footage), each
// composition its layers in stacking order and its selection, each layer its
// property tree; effects are the groups under a layer's "ADBE Effect Parade".
// The format is described in examples/README.md.
#pragma once

#include <functional>
#include <istream>
#include <ostream>
#include <string>

#include "model/Project.h"

namespace tlhost {

// Gives an effect read from a file its parameters (and binds their streams with
// EffectInstance::AttachParamStreams, so that values in the file win over the
// declared defaults). False when the effect is not one the caller knows; the
// instance must then be left untouched, and the effect's group stays plain
// property nodes without an effect instance.
using EffectResolver = std::function<bool(Layer& layer, EffectInstance& effect)>;
// A leaf's value at time 0 after expressions.
using ValueEvaluator = std::function<StreamValue(StreamNode& leaf)>;

struct LoadError {
    std::string where;  // JSON pointer to the faulty place, e.g. "/items/0/layers/3/name"
    std::string what;   // the fault
    std::string message() const;
};

// Reads a project file's JSON text into `project`, which must be empty. Layer
// Control effects ("ADBE Layer Control") get their layer parameter here; every
// other effect is handed to `resolver`. On a malformed file returns false with
// the place and the fault in `error`, and leaves `project` as it was.
bool LoadProject(const std::string& json_text, Project& project, LoadError* error,
                 const EffectResolver& resolver = {});
// The same, reading the file's text from a stream (a large file is then never held
// as text).
bool LoadProject(std::istream& json, Project& project, LoadError* error,
                 const EffectResolver& resolver = {});

// Writes the project. Each leaf also gets "evaluated": its value at time 0 after
// expressions from `evaluate` when given, else its value before expressions.
// The same project always gives the same text, and the text loads back into an
// equal project.
std::string SaveProject(Project& project, const ValueEvaluator& evaluate = {});
// The same text written to `out` a layer at a time: memory stays that of one layer.
// The caller checks the stream for write errors.
void WriteProject(Project& project, std::ostream& out, const ValueEvaluator& evaluate = {});

}  // namespace tlhost
