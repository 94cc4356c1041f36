// What `run` tells of the compositions' selections and of the key events a command synthesised.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "core/Host.h"
#include "model/Project.h"

namespace tltool {

// The selected properties of every composition, by composition name, each named by its path of
// names from the layer ("Connection 1 > Contents > ... > Colors"), in selection order.
using Selections = std::map<std::string, std::vector<std::string>>;
Selections SelectionSnapshot(const tlhost::Project& project);

// Each key event as "S down" or "S up" (other keys by their virtual key, "0x0D down").
std::vector<std::string> KeyEventNames(const std::vector<tlhost::KeyEvent>& events);

// The summary's lines for every composition whose selection differs between the two snapshots:
// "Main > selection: none  ->  2 properties" and then one indented line per property.
std::vector<std::string> SelectionChangeLines(const Selections& before, const Selections& after);

}  // namespace tltool
