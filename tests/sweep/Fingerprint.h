// The outcome of a command as text, one fact a line, so that two runs compare line by line: the
// project as the host would save it, every instance of this plug-in's effect with its parameters
// as the host keeps them, what the command handed the host (key events, changed parameters,
// the Info panel, global data), and what the scenario's command produced besides.
#pragma once

#include <functional>
#include <string>

#include "sweep/FaultSweep.h"
#include "suites/Drawbot.h"

namespace sweep {

// What a fingerprint may leave out, for comparing only what a tolerated failure must not
// change: items and layers (by a test on each), and the changes undo groups logged.
struct LeaveOut {
    std::function<bool(const tlhost::Item&)> item;
    std::function<bool(const tlhost::Layer&)> layer;
    bool undo_changes = false;
};

std::string Fingerprint(Stage& stage, const Outcome& outcome, const LeaveOut& leave = {});

// Texts of what some commands produce.
std::string DescribeDisplayList(const tlhost::DisplayList& list);
std::string DescribeWorld(const tlhost::World& world);
std::string DescribeHandle(tlhost::Host& host, PF_Handle handle);
std::string DescribeRect(const PF_LRect& rect);

}  // namespace sweep
