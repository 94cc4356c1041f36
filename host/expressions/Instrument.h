// Bounding expression run time. The Duktape build we link has no execution
// timeout hook, so the source is rewritten before it is compiled: every loop test
// and every function entry calls a step hook, which counts steps and throws once
// an evaluation has used up its allowance. Loops cannot spin and tail calls cannot
// recurse without passing through the hook.
//
// What the rewrite does not see: time spent inside one built-in call. The engine
// also looks at the clock whenever it allocates memory, so a built-in that keeps
// allocating stops once the evaluation's time is up; array built-ins refuse
// lengths above a million and sorting runs in counted steps (see Prelude.cpp).
// The one step that cannot be interrupted is a single regular-expression match:
// one that backtracks runs until the engine's own limit of 1e9 matching steps,
// some 20 seconds on a current machine (see Expressions.h for the bounds).
#pragma once

#include <string>

namespace tlhost {

// The global function the rewritten source calls; it returns true or throws.
extern const char kStepHookName[];

// Rewrites `source` so that `while` and `for` tests read `__hook() && (test)` and
// every function body starts with `__hook();`. Line breaks are kept, so line numbers
// in error messages still match the text. Fails (false, with the reason) for source
// that could escape the hook: a `with` statement, an escaped identifier, the hook's
// own name, or a '/' right after '}' (regular expression or division cannot be told
// apart there without a full parse).
bool InstrumentSource(const std::string& source, std::string* out, std::string* error);

}  // namespace tlhost
