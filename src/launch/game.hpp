// Starting the game process.
#pragma once

#include <string>

namespace zarvell {

// Starts the game with the given command line ("bf2.exe ..."), found by Windows' search for
// a bare program name, which starts in this executable's folder. Waits at most one second
// for it to become idle and keeps no handle. True when the process was created.
bool launchGame(const std::string& commandLine);

}  // namespace zarvell
