#include "launch/switches.hpp"

namespace zarvell {

std::string displaySwitchFor(bool windowed) {
    return windowed ? " +fullscreen 0" : " +fullscreen 1";
}

std::string resolutionSwitchFor(bool windowed, std::string_view width, std::string_view height) {
    if (!windowed)
        return {};
    std::string s = " +szx ";
    s += width;
    s += " +szy ";
    s += height;
    return s;
}

std::string movieSwitchFor(bool skipMovies) {
    return skipMovies ? " +restart" : "";
}

std::string modSwitchFor(std::string_view modName) {
    // The game expects two blanks before this switch.
    std::string s = "  +modPath mods/";
    s += modName;
    return s;
}

std::string composeLaunchCommand(const LaunchState& state) {
    std::string line(kCommandHead);
    line += state.displaySwitch;
    line += state.resolutionSwitch;
    line += state.movieSwitch;
    line += state.modSwitch;
    return line;
}

std::string_view parametersOf(std::string_view commandLine) {
    const size_t blank = commandLine.find(' ');
    if (blank == std::string_view::npos)
        return {};
    return commandLine.substr(blank + 1);
}

}  // namespace zarvell
