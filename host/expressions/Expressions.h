// The stand-in host's expression engine: property expressions are JavaScript,
// run by Duktape over the project's layers, effects and property trees.
//
// One engine (one Duktape heap, the prelude loaded once) serves every evaluation
// of a session. Each evaluation runs with a global object of its own, made afresh
// from the standard globals and the library, so what one expression declares or
// assigns globally is never seen by another; the objects all evaluations share
// (the built-in constructors and prototypes, Math, JSON, the library's functions
// and the object model's prototypes) are frozen. So an assignment such as
// `Array.prototype.x = 1` or `o.toString = f` on a plain object has no effect (in
// the host application it would, for that expression only).
//
// A property read from inside an expression gives its value after its own
// expression (evaluated in the same engine, nested); reading a property whose
// expression is already being evaluated further up is a cycle and fails the
// evaluation, except that a property reading itself gets its value before
// expressions. Each top-level evaluation has one budget that its nested reads
// share: ExpressionLimits::steps loop turns and function calls (see Instrument.h),
// `nesting` nested evaluations, `memory` bytes of engine memory and `seconds` of
// time. All evaluations of one engine together get `session_seconds`; once that is
// used up, every later evaluation fails at once, so no project makes a session
// evaluate for longer.
//
// Time is checked at the step hook and whenever the engine allocates memory, so a
// built-in that keeps allocating (joining a huge array, building a long string)
// is stopped as soon as the time is up. One step cannot be interrupted: a single
// regular-expression match, which runs to the engine's own limit of 1e9 matching
// steps, some 20 seconds on a current machine. An evaluation therefore ends within
// `seconds` plus one such match, and an engine's evaluations within
// `session_seconds` plus one. Array built-ins refuse lengths above a million (a
// walk over such a length stays well under a second) and sorting runs in counted
// steps (see Prelude.cpp).
//
// The globals an expression sees are described in Prelude.cpp. As in the host
// application, `name`, `index` and the other layer attributes are globals of the
// evaluated property's layer (the property's own name is thisProperty.name). Where
// the stand-in differs: a layer parameter's value is the 1-based index of the layer
// it points at (0 for none), and layer-space conversions (toWorld and the like) go
// through the layer's own transform only (no parents or cameras: the world is the
// composition).
//
// Text: names and expression texts are 8-bit. Text that is valid UTF-8 is taken as
// UTF-8, anything else as Latin-1, both in expressions and in names; characters
// beyond the Basic Multilingual Plane (emoji) are two UTF-16 units in the script,
// as in JavaScript, and UTF-8 again wherever they come back.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "model/Project.h"
#include "model/Stream.h"

namespace tlhost {

class Host;

constexpr long kExpressionStepLimit = 1'000'000;
constexpr std::size_t kExpressionNestingLimit = 32;
constexpr std::size_t kExpressionHeapLimit = std::size_t{64} << 20;
constexpr double kExpressionTimeLimit = 2.0;
constexpr double kExpressionSessionTimeLimit = 120.0;

struct ExpressionLimits {
    long steps = kExpressionStepLimit;
    std::size_t nesting = kExpressionNestingLimit;
    std::size_t memory = kExpressionHeapLimit;  // bytes of engine memory
    double seconds = kExpressionTimeLimit;
    double session_seconds = kExpressionSessionTimeLimit;
};

struct EvalResult {
    bool ok = true;
    StreamValue value;
    std::string error;
};

class ExpressionEngine {
  public:
    explicit ExpressionEngine(ExpressionLimits limits = {});
    ~ExpressionEngine();
    ExpressionEngine(const ExpressionEngine&) = delete;
    ExpressionEngine& operator=(const ExpressionEngine&) = delete;

    // Evaluates `node`'s expression at `time` (seconds), whether or not it is
    // enabled. `value` inside the expression is the node's value before expressions
    // at that time (node.ValueAt(time)). The expression gives a number for a one-d
    // property, an array for multi-dimensional ones; the result has the node's
    // kind. A node without expression text gives its value before expressions.
    // Errors (syntax, thrown by the expression, a missing layer, effect or
    // property, a result of the wrong kind, a cycle, a limit) give ok = false, the
    // message (prefixed with the error type, as in "ReferenceError: identifier 'x'
    // undefined") and, as value, the value before expressions.
    EvalResult Evaluate(const Project& project, const StreamNode& node, double time);

    // The value after expressions: the expression's result when the node has an
    // enabled expression that evaluates; otherwise (no expression, disabled, or an
    // error) the value before expressions. Sets node.expression_error to the error
    // text or clears it.
    StreamValue ValueAfterExpressions(const Project& project, StreamNode& node, double time);

    const ExpressionLimits& limits() const;
    // Seconds spent evaluating so far, counted against session_seconds.
    double seconds_used() const;

    struct Impl;

  private:
    std::unique_ptr<Impl> impl_;
};

// The same through an engine of this thread's own (made on first use).
EvalResult EvaluateExpression(const Project& project, const StreamNode& node, double time);
StreamValue ValueAfterExpressions(const Project& project, StreamNode& node, double time);

// Makes `host` compute values after expressions with an engine of its own (its
// evaluator), which lives as long as the host keeps the evaluator.
void InstallExpressionEngine(Host& host, ExpressionLimits limits = {});

}  // namespace tlhost
