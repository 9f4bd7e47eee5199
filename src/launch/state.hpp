// What the launcher keeps for its whole run, and the routines that begin and end that run.
#pragma once

#include <string>
#include <vector>

#include "launch/switches.hpp"

namespace zarvell {

// Program-wide state, owned from startProgram until releaseState.
extern LaunchState launchState;
extern std::vector<std::string> hostNames;  // pieces of the "name" setting, in order
extern std::string searchResult;            // entry name the mod search returned last

// Gives the program-wide state back, in a fixed order; runs once, after the message loop.
void releaseState();

// Makes the folder that holds this executable the current directory, through the wide
// functions so that any folder name serves, whatever the system's code page. From then on the
// program names its files relative to it (".\mod.ini"). False when that failed: then
// programFolderError() tells why, and no file of the program is looked for anywhere.
bool enterProgramFolder();

// 0 while the program's files are found through the current directory; otherwise the system's
// error code of the failed attempt to make the program's folder the current directory.
unsigned long programFolderError();

// The folder of the program's files, for telling the player: the program's folder as start-up
// found it, or else the current directory.
std::wstring programFolderText();

// Memory or the window could not be had: tells the user and ends the process at once with
// exit code -1, without releaseState. Also the handler for failed allocations.
[[noreturn]] void fatalError();

// Runs the whole program: folder, state, window, message loop. Yields 0 when the loop ends.
int startProgram();

}  // namespace zarvell
