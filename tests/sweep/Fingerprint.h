// The outcome of a command as text, one fact a line, so that two runs compare line by line: the
// project as the host would save it, every instance of this plug-in's effect with its parameters
// as the host keeps them, what the command handed the host (key events, changed parameters,
// the Info panel, global data), and what the scenario's command produced besides.
#pragma once

#include <string>

#include "sweep/FaultSweep.h"
#include "suites/Drawbot.h"

namespace sweep {

std::string Fingerprint(Stage& stage, const Outcome& outcome);

// Texts of what some commands produce.
std::string DescribeDisplayList(const tlhost::DisplayList& list);
std::string DescribeWorld(const tlhost::World& world);
std::string DescribeHandle(tlhost::Host& host, PF_Handle handle);
std::string DescribeRect(const PF_LRect& rect);

}  // namespace sweep
