// The launch button's preview of the command line, against what a launch really starts.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>

#include "window_fixture.hpp"

namespace zarvell {
namespace {

class Preview : public test::BuiltWindow {
  protected:
    void SetUp() override {
        test::makeFolder(game / "mods");
        test::makeFolder(game / "mods\\Desert Combat");
        build();
    }
    static void click(ControlId box) {
        writeCheck(box, !readCheck(box));
        dispatchControlEvent(box, BN_CLICKED);
    }
    std::string launchAndRead() {
        onLaunchClicked();
        const auto starts = game.starts();
        return starts.empty() ? "<no start>" : starts.back().commandLine;
    }
};

TEST_F(Preview, ShowsExactlyWhatTheNextLaunchStarts) {
    struct Step {
        const char* what;
        std::function<void()> act;
    };
    const Step steps[] = {
        {"nothing chosen", [] {}},
        {"windowed with typed sizes, not launched yet",
         [] {
             click(windowedCheck);
             writeText(widthEdit, "1280");
             writeText(heightEdit, "720");
         }},
        {"a mod chosen",
         [] {
             SendMessageW(controlHandle(modList), LB_SETCURSEL, 0, 0);
             dispatchControlEvent(modList, LBN_SELCHANGE);
             click(skipMoviesCheck);
         }},
        {"windowed box cleared after a windowed launch", [] { click(windowedCheck); }},
    };
    for (const Step& step : steps) {
        step.act();
        const std::string preview = previewLaunchCommand();
        EXPECT_EQ(preview, launchAndRead()) << step.what;
    }
    EXPECT_EQ(previewLaunchCommand(),
              "bf2.exe + menu 1 +wx 0 +wy 0 +fullscreen 1 +restart  +modPath mods/Desert Combat");
}

TEST_F(Preview, ChangesNothing) {
    click(windowedCheck);
    writeText(widthEdit, "640");
    const LaunchState before = launchState;
    EXPECT_EQ(previewLaunchCommand(),
              "bf2.exe + menu 1 +wx 0 +wy 0 +fullscreen 0 +szx 640 +szy 680");
    EXPECT_EQ(launchState.resolutionSwitch, before.resolutionSwitch);
    EXPECT_EQ(launchState.displaySwitch, before.displaySwitch);
    EXPECT_EQ(launchState.modSwitch, before.modSwitch);
    EXPECT_FALSE(test::fileExists(game / "mod.ini"));
    EXPECT_TRUE(game.starts().empty());
}

}  // namespace
}  // namespace zarvell
