#include "launch/game.hpp"

#include <windows.h>

#include <gtest/gtest.h>

#include "launch/switches.hpp"
#include "test_support.hpp"

namespace zarvell {
namespace {

DWORD openHandleCount() {
    DWORD count = 0;
    GetProcessHandleCount(GetCurrentProcess(), &count);
    return count;
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

    const DWORD handlesBefore = openHandleCount();
    EXPECT_TRUE(launchGame(line));
    EXPECT_EQ(openHandleCount(), handlesBefore);  // both handles closed

    // launchGame waits for input-idle, by which time the stand-in has logged its start.
    const auto starts = game.starts();
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
    const DWORD handlesBefore = openHandleCount();
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
