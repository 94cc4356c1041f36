// The script that builds the expression object model in the engine, on top of
// the host's native functions.
#pragma once

namespace tlhost {

// JavaScript source of one function, to be compiled as function code and run once
// per engine:
//   function (N, G, step) { ...; return { enter, leave, finish }; }
// N holds the native functions, G is the engine's global object and step the step
// hook. It sets up the object model and the
// library, freezes every object that evaluations share, and gives:
// - enter(info): starts an evaluation described by info ({ time, self, layer,
//   comp, kind, value }: handles are integers, -1 for none; kind is the property's
//   value kind name) and gives the global object the expression runs with (the
//   host adds the step hook to it);
// - finish(result): checks the expression's result against the property's kind and
//   gives it in plain form: a number (one-d), an array of exactly the property's
//   dimension, a layer handle (-1 for none), or { points, inTangents, outTangents,
//   closed } for a path;
// - leave(): ends the evaluation (nested evaluations enter and leave in turn).
extern const char kPreludeSource[];

}  // namespace tlhost
