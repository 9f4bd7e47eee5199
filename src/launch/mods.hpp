// Mod discovery: every folder inside "mods" is one mod.
#pragma once

#include <string>
#include <vector>

namespace zarvell {

// Names of the folders in ".\mods", in the directory search's order, "." and ".." left out.
// An empty list when the search cannot start or the program's folder could not be entered.
std::vector<std::string> discoverMods();

}  // namespace zarvell
