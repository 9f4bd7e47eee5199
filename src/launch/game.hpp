// Starting the game process.
#pragma once

#include <string>

namespace zarvell {

// The game's program, in the current directory.
inline constexpr char kGameFile[] = "bf2.exe";

// ERROR_ELEVATION_REQUIRED, which the MinGW headers lack: the program asks for administrator
// rights and CreateProcess will not ask the player for them.
inline constexpr unsigned long kElevationRequired = 740;

// What became of a game start: started, or the system's error code of the failure.
// ERROR_CANCELLED means the player declined to let the game run as administrator.
struct LaunchResult {
    bool started = false;
    unsigned long error = 0;
};

// The two ways of starting the game with a command line ("bf2.exe + menu 1 ...").
struct GameStarters {
    LaunchResult (*direct)(const std::string& commandLine);
    LaunchResult (*elevated)(const std::string& commandLine);
};

// CreateProcessA of "bf2.exe" in the current directory and nowhere else, with the command line
// unchanged; waits at most one second for the game to become idle and keeps no handle.
LaunchResult startGameDirectly(const std::string& commandLine);

// The same game through the shell ("runas"), which asks the player's consent to run it as
// administrator: the game by its full path, the command line after "bf2.exe" as parameters,
// the current directory as its directory, shown normally. Waits for input idle where the
// handle allows.
LaunchResult startGameElevated(const std::string& commandLine);

// Starts the game directly; when Windows answers that it needs elevation (its manifest or its
// compatibility settings ask for administrator rights), through the shell instead.
LaunchResult launchGame(const std::string& commandLine,
                        const GameStarters& starters = {startGameDirectly, startGameElevated});

}  // namespace zarvell
