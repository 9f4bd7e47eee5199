#include "launch/game.hpp"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "launch/switches.hpp"
#include "test_support.hpp"

namespace zarvell {
namespace {

unsigned long openHandleCount() {
    return test::handleCountOf(GetCurrentProcessId());
}

TEST(LaunchGame, StartsBf2WithTheExactLineInTheCurrentDirectory) {
    test::GameFolder game;
    test::CurrentDirectory cd(game.path());
    LaunchState state;
    state.displaySwitch = displaySwitchFor(true);
    state.resolutionSwitch = resolutionSwitchFor(true, "", "680");
    state.movieSwitch = movieSwitchFor(true);
    state.modSwitch = modSwitchFor("My \xD6\xD0 \"Mod\"");  // blank, GBK 中 and quotes as they are
    const std::string line = composeLaunchCommand(state);

    // Both handles are closed: nothing is left but what the platform's own input-idle wait
    // keeps (one event handle per call under Wine).
    const long platformLeak = test::idleWaitLeakPerCall(game.path());
    const unsigned long handlesBefore = openHandleCount();
    ASSERT_GT(handlesBefore, 0u);
    EXPECT_TRUE(launchGame(line));
    EXPECT_EQ(static_cast<long>(openHandleCount() - handlesBefore), platformLeak);

    // launchGame waits for input-idle, by which time the stand-in has logged its start.
    auto starts = game.starts();
    starts.erase(
        std::remove_if(starts.begin(), starts.end(),
                       [](const auto& s) { return s.commandLine.ends_with("calibration"); }),
        starts.end());
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].commandLine, line);
    EXPECT_EQ(starts[0].directory, game.path());
}

TEST(LaunchGame, EveryCallStartsOneMoreGame) {
    test::GameFolder game;
    test::CurrentDirectory cd(game.path());
    EXPECT_TRUE(launchGame("bf2.exe + menu 1 +wx 0 +wy 0 +fullscreen 1"));
    EXPECT_TRUE(launchGame("bf2.exe + menu 1 +wx 0 +wy 0 +fullscreen 0"));
    const auto starts = game.starts();
    ASSERT_EQ(starts.size(), 2u);
    EXPECT_EQ(starts[1].commandLine, "bf2.exe + menu 1 +wx 0 +wy 0 +fullscreen 0");
}

TEST(LaunchGame, NoGameYieldsFalseAndLeavesNothingOpen) {
    test::TempFolder empty;
    test::CurrentDirectory cd(empty.path());
    const unsigned long handlesBefore = openHandleCount();
    ASSERT_GT(handlesBefore, 0u);
    EXPECT_FALSE(launchGame("bf2.exe + menu 1 +wx 0 +wy 0 +fullscreen 1"));
    EXPECT_EQ(openHandleCount(), handlesBefore);
}

TEST(LaunchGame, AFileThatIsNoProgramYieldsFalse) {
    test::TempFolder folder;
    test::CurrentDirectory cd(folder.path());
    test::writeFile(folder / "bf2.exe", "not a program\r\n");
    EXPECT_FALSE(launchGame("bf2.exe + menu 1 +wx 0 +wy 0 +fullscreen 1"));
}

}  // namespace
}  // namespace zarvell
