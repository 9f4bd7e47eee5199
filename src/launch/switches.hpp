// The game's command line: the rule for each switch text and how they are joined.
// Pure code: no Windows headers, so it also builds natively for sanitizers and fuzzing.
#pragma once

#include <string>
#include <string_view>

namespace zarvell {

// The variable parts of the game's command line. Each carries its own leading blank(s),
// so they are joined with nothing between them.
struct LaunchState {
    std::string displaySwitch;
    std::string resolutionSwitch;
    std::string movieSwitch;
    std::string modSwitch;
};

// Fixed start of every command line; "bf2.exe" is the program Windows runs.
inline constexpr std::string_view kCommandHead = "bf2.exe + menu 1 +wx 0 +wy 0";

std::string displaySwitchFor(bool windowed);
std::string resolutionSwitchFor(bool windowed, std::string_view width, std::string_view height);
std::string movieSwitchFor(bool skipMovies);
std::string modSwitchFor(std::string_view modName);
std::string composeLaunchCommand(const LaunchState& state);

// What follows the program's name on a command line: the bytes after its first blank-delimited
// token and the one blank after it ("+ menu 1 ..." of "bf2.exe + menu 1 ..."), as they are.
// For a start through the shell, which puts the program's own path in front of them.
std::string_view parametersOf(std::string_view commandLine);

}  // namespace zarvell
