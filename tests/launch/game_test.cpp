#include "launch/game.hpp"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

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
    EXPECT_TRUE(launchGame(line).started);
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
    EXPECT_TRUE(launchGame("bf2.exe + menu 1 +wx 0 +wy 0 +fullscreen 1").started);
    EXPECT_TRUE(launchGame("bf2.exe + menu 1 +wx 0 +wy 0 +fullscreen 0").started);
    const auto starts = game.starts();
    ASSERT_EQ(starts.size(), 2u);
    EXPECT_EQ(starts[1].commandLine, "bf2.exe + menu 1 +wx 0 +wy 0 +fullscreen 0");
}

TEST(LaunchGame, NoGameFailsWithTheReasonAndLeavesNothingOpen) {
    test::TempFolder empty;
    test::CurrentDirectory cd(empty.path());
    const unsigned long handlesBefore = openHandleCount();
    ASSERT_GT(handlesBefore, 0u);
    const LaunchResult result = launchGame("bf2.exe + menu 1 +wx 0 +wy 0 +fullscreen 1");
    EXPECT_FALSE(result.started);
    EXPECT_EQ(result.error, static_cast<unsigned long>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(openHandleCount(), handlesBefore);
}

TEST(LaunchGame, AFileThatIsNoProgramFails) {
    test::TempFolder folder;
    test::CurrentDirectory cd(folder.path());
    test::writeFile(folder / "bf2.exe", "not a program\r\n");
    const LaunchResult result = launchGame("bf2.exe + menu 1 +wx 0 +wy 0 +fullscreen 1");
    EXPECT_FALSE(result.started);
    EXPECT_NE(result.error, 0u);
}

// Without an application name, CreateProcess would look for a missing game in the system
// folders and on PATH and start whatever "bf2.exe" it finds there.
TEST(LaunchGame, AGameOnPathIsNotStartedInsteadOfAMissingOne) {
    test::GameFolder elsewhere;  // a bf2.exe that must not start
    test::TempFolder empty;
    test::CurrentDirectory cd(empty.path());
    char path[32767];
    const DWORD n = GetEnvironmentVariableA("PATH", path, sizeof(path));
    const std::string oldPath(path, n);
    SetEnvironmentVariableA("PATH", (elsewhere.path() + ";" + oldPath).c_str());
    const LaunchResult result = launchGame("bf2.exe + menu 1 +wx 0 +wy 0 +fullscreen 1");
    SetEnvironmentVariableA("PATH", oldPath.c_str());
    EXPECT_FALSE(result.started);
    EXPECT_EQ(result.error, static_cast<unsigned long>(ERROR_FILE_NOT_FOUND));
    Sleep(300);  // a wrongly started stand-in logs at once
    EXPECT_TRUE(elsewhere.starts().empty());
    EXPECT_FALSE(test::fileExists(empty / "bf2_log.txt"));
}

// The one place where a start that needs administrator rights goes to the shell: stand-ins
// for the two ways record what they were asked.
struct StarterCalls {
    static inline std::vector<std::string> direct, elevated;
    static inline LaunchResult directResult, elevatedResult;
    static LaunchResult startDirect(const std::string& line) {
        direct.push_back(line);
        return directResult;
    }
    static LaunchResult startElevated(const std::string& line) {
        elevated.push_back(line);
        return elevatedResult;
    }
};

TEST(LaunchGame, OnlyAGameThatNeedsElevationGoesThroughTheShell) {
    struct Case {
        const char* what;
        LaunchResult direct, elevated;
        bool shellAsked;
        LaunchResult expected;
    };
    const Case cases[] = {
        {"started", {true, 0}, {}, false, {true, 0}},
        {"not found", {false, ERROR_FILE_NOT_FOUND}, {}, false, {false, ERROR_FILE_NOT_FOUND}},
        {"access denied", {false, ERROR_ACCESS_DENIED}, {}, false, {false, ERROR_ACCESS_DENIED}},
        {"needs elevation, player agrees", {false, kElevationRequired}, {true, 0}, true, {true, 0}},
        {"needs elevation, player declines",
         {false, kElevationRequired},
         {false, ERROR_CANCELLED},
         true,
         {false, ERROR_CANCELLED}},
    };
    const std::string line = "bf2.exe + menu 1 +wx 0 +wy 0 +fullscreen 1  +modPath mods/M";
    for (const Case& c : cases) {
        StarterCalls::direct.clear();
        StarterCalls::elevated.clear();
        StarterCalls::directResult = c.direct;
        StarterCalls::elevatedResult = c.elevated;
        const LaunchResult result =
            launchGame(line, {StarterCalls::startDirect, StarterCalls::startElevated});
        EXPECT_EQ(result.started, c.expected.started) << c.what;
        EXPECT_EQ(result.error, c.expected.error) << c.what;
        EXPECT_EQ(StarterCalls::direct, std::vector<std::string>{line}) << c.what;
        EXPECT_EQ(StarterCalls::elevated,
                  c.shellAsked ? std::vector<std::string>{line} : std::vector<std::string>{})
            << c.what;
    }
}

// Wine starts a game that asks for administrator rights directly (it has no consent prompt),
// so the shell's way is run here on the stand-in: the same game, folder and parameters.
TEST(LaunchGame, TheShellStartsTheGameOfTheCurrentDirectoryWithTheSameParameters) {
    test::GameFolder game;
    test::CurrentDirectory cd(game.path());
    const std::string parameters =
        "+ menu 1 +wx 0 +wy 0 +fullscreen 0 +szx  +szy 680  +modPath mods/A \xD6\xD0";
    EXPECT_TRUE(startGameElevated("bf2.exe " + parameters).started);
    EXPECT_TRUE(test::waitFor([&] { return game.starts().size() == 1; }));
    const auto starts = game.starts();
    ASSERT_EQ(starts.size(), 1u);
    // The shell puts the game's full path in front, quoted.
    EXPECT_EQ(starts[0].commandLine, "\"" + (game / "bf2.exe") + "\" " + parameters);
    EXPECT_EQ(starts[0].directory, game.path());
}

}  // namespace
}  // namespace zarvell
