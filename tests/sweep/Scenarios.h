// Every command the plug-in answers, as fault-sweep scenarios over one project (built in
// SweepProject.cpp): a controller styling two connection layers that carry every kind of
// property the plug-in writes, a line of another controller, and a composition where the effect
// sits on a shape layer itself.
#pragma once

#include <vector>

#include "sweep/FaultSweep.h"

namespace sweep {

// The scenarios in the order the sweep runs and prints them. Adding a command is adding a row to
// the tables in Scenarios.cpp.
const std::vector<Scenario>& AllScenarios();

// Building blocks, for tests that drive one scenario's stage directly.
void StartSession(Stage& stage, bool params_setup = true);
// Builds the sweep project in a session with parameter setup done; the command goes to the
// effect on `effect_layer`.
void BuildSweepProject(Stage& stage, const char* effect_layer = "Controller");
void SetParam(Stage& stage, int index, double value);

}  // namespace sweep
