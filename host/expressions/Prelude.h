// The script that builds the expression object model in a fresh engine heap,
// on top of the host's native functions.
#pragma once

namespace tlhost {

// JavaScript source of one function, to be compiled as function code:
//   function (N, G, info) { ...; return finish; }
// N holds the native functions, G is the global object and info describes the
// property being evaluated: { time, self, layer, comp, kind, value } (handles are
// integers, -1 for none; kind is the property's value kind name). It defines the
// globals an expression sees and returns `finish(result)`, which checks the
// expression's result against the property's kind and gives it in plain form: a
// number (one-d), an array of exactly the property's dimension, a layer handle
// (-1 for none), or { points, inTangents, outTangents, closed } for a path.
extern const char kPreludeSource[];

}  // namespace tlhost
