// Generated projects of connection layers at any scale: one composition with a
// controller null carrying the effect and `lines` shape layers whose Layer Control
// points at it. Each connection layer has the tree of a real one, as Tetherline
// leaves it: a path, a stroke with dashes, a gradient stroke and fill, arrowheads,
// trim and the module groups, some 70 streams, and a stroke-width expression that
// reads the effect. Used by the benchmarks, and by tl-gen-project to measure the
// tool on large projects.
#pragma once

#include <string>

namespace tlgen {

// The project file's text, in the format the stand-in host reads.
std::string ConnectionsProject(int lines,
                               const std::string& effect_match_name = "LK TetherlineStyles");

}  // namespace tlgen
