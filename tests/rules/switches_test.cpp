#include "launch/switches.hpp"

#include <gtest/gtest.h>

namespace zarvell {
namespace {

struct CommandCase {
    const char* what;
    bool windowed;
    const char* width;
    const char* height;
    bool skipMovies;
    const char* mod;  // nullptr: no mod chosen yet
    const char* expected;
};

const CommandCase kCommandCases[] = {
    {"start-up defaults", false, "1024", "680", false, nullptr,
     "bf2.exe + menu 1 +wx 0 +wy 0 +fullscreen 1"},
    {"windowed, sizes, movies skipped, mod M", true, "1024", "680", true, "M",
     "bf2.exe + menu 1 +wx 0 +wy 0 +fullscreen 0 +szx 1024 +szy 680 +restart  +modPath mods/M"},
    {"windowed with both sizes empty", true, "", "", false, nullptr,
     "bf2.exe + menu 1 +wx 0 +wy 0 +fullscreen 0 +szx  +szy "},
    {"not windowed while sizes are set", false, "800", "600", false, "M",
     "bf2.exe + menu 1 +wx 0 +wy 0 +fullscreen 1  +modPath mods/M"},
    {"mod name with a blank, unquoted", false, "", "", false, "Desert Combat",
     "bf2.exe + menu 1 +wx 0 +wy 0 +fullscreen 1  +modPath mods/Desert Combat"},
    // 中文模组 in GBK
    {"mod name with GBK characters", false, "", "", true, "\xD6\xD0\xCE\xC4\xC4\xA3\xD7\xE9",
     "bf2.exe + menu 1 +wx 0 +wy 0 +fullscreen 1 +restart  +modPath mods/"
     "\xD6\xD0\xCE\xC4\xC4\xA3\xD7\xE9"},
    {"empty mod name", false, "", "", false, "",
     "bf2.exe + menu 1 +wx 0 +wy 0 +fullscreen 1  +modPath mods/"},
    {"sizes taken as they are", true, " 12 ab", "\"x\"", false, nullptr,
     "bf2.exe + menu 1 +wx 0 +wy 0 +fullscreen 0 +szx  12 ab +szy \"x\""},
};

TEST(ComposeLaunchCommand, BuildsTheLineFromTheSwitchRules) {
    for (const auto& c : kCommandCases) {
        LaunchState state;
        state.displaySwitch = displaySwitchFor(c.windowed);
        state.resolutionSwitch = resolutionSwitchFor(c.windowed, c.width, c.height);
        state.movieSwitch = movieSwitchFor(c.skipMovies);
        if (c.mod)
            state.modSwitch = modSwitchFor(c.mod);
        EXPECT_EQ(composeLaunchCommand(state), c.expected) << c.what;
    }
}

TEST(ComposeLaunchCommand, EmptyStateGivesTheHeadAlone) {
    EXPECT_EQ(composeLaunchCommand(LaunchState{}), "bf2.exe + menu 1 +wx 0 +wy 0");
    EXPECT_EQ(kCommandHead.size(), 28u);
}

TEST(SwitchRules, ExactTexts) {
    EXPECT_EQ(displaySwitchFor(true), " +fullscreen 0");
    EXPECT_EQ(displaySwitchFor(false), " +fullscreen 1");
    EXPECT_EQ(movieSwitchFor(true), " +restart");
    EXPECT_EQ(movieSwitchFor(false), "");
    EXPECT_EQ(resolutionSwitchFor(false, "1024", "680"), "");
    EXPECT_EQ(resolutionSwitchFor(true, "1024", "680"), " +szx 1024 +szy 680");
    EXPECT_EQ(modSwitchFor("M"), "  +modPath mods/M");
}

TEST(ParametersOf, WhatFollowsTheProgramsNameByteForByte) {
    const std::pair<std::string, std::string> cases[] = {
        {"bf2.exe + menu 1 +wx 0 +wy 0", "+ menu 1 +wx 0 +wy 0"},
        // Two blanks before +modPath, a blank and GBK bytes in the mod name: all kept.
        {"bf2.exe + menu 1 +restart  +modPath mods/A \xD6\xD0",
         "+ menu 1 +restart  +modPath mods/A \xD6\xD0"},
        {"bf2.exe +szx  +szy ", "+szx  +szy "},
        {"bf2.exe", ""},
        {"bf2.exe ", ""},
    };
    for (const auto& [line, parameters] : cases)
        EXPECT_EQ(parametersOf(line), parameters) << line;
}

}  // namespace
}  // namespace zarvell
