// The stand-in host's expression engine: property expressions are JavaScript,
// run by Duktape over the project's layers, effects and property trees.
//
// One engine heap per evaluation, so nothing an expression does outlives it. A
// property read from inside an expression gives its value after its own
// expression (evaluated in a heap of its own); reading a property whose expression
// is already being evaluated further up is a cycle and fails the evaluation, except
// that a property reading itself gets its value before expressions. Limits, per
// top-level evaluation: kExpressionStepLimit loop turns and function calls (see
// Instrument.h), kExpressionNestingLimit nested evaluations, and per heap
// kExpressionHeapLimit bytes of engine memory.
//
// The globals an expression sees are described in Prelude.cpp. As in the host
// application, `name`, `index` and the other layer attributes are globals of the
// evaluated property's layer (the property's own name is thisProperty.name). Where
// the stand-in differs: a layer parameter's value is the 1-based index of the layer
// it points at (0 for none), and layer-space conversions (toWorld and the like)
// return the point unchanged, as the stand-in has no layer transforms.
//
// Text: names and expression texts are 8-bit. Text that is valid UTF-8 is taken as
// UTF-8, anything else as Latin-1, both in expressions and in names.
#pragma once

#include <cstddef>
#include <string>

#include "model/Project.h"
#include "model/Stream.h"

namespace tlhost {

class Host;

constexpr long kExpressionStepLimit = 1'000'000;
constexpr std::size_t kExpressionNestingLimit = 32;
constexpr std::size_t kExpressionHeapLimit = std::size_t{64} << 20;

struct EvalResult {
    bool ok = true;
    StreamValue value;
    std::string error;
};

// Evaluates `node`'s expression at `time` (seconds), whether or not it is enabled.
// `value` inside the expression is the node's value before expressions at that time
// (node.ValueAt(time)). The expression gives a number for a one-d property, an
// array for multi-dimensional ones; the result has the node's kind. A node without
// expression text gives its value before expressions. Errors (syntax, thrown by
// the expression, a missing layer, effect or property, a result of the wrong kind,
// a cycle, a limit) give ok = false, the message (prefixed with the error type, as
// in "ReferenceError: identifier 'x' undefined") and, as value, the value before
// expressions.
EvalResult EvaluateExpression(const Project& project, const StreamNode& node, double time);

// The value after expressions: the expression's result when the node has an
// enabled expression that evaluates; otherwise (no expression, disabled, or an
// error) the value before expressions. Sets node.expression_error to the error text
// or clears it. Fits Host::Evaluator.
StreamValue ValueAfterExpressions(const Project& project, StreamNode& node, double time);

// Makes `host` compute values after expressions with this engine (its evaluator).
void InstallExpressionEngine(Host& host);

}  // namespace tlhost
