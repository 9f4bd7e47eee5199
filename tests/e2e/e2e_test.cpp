// The real zarvell.exe in a temporary game folder, driven from this process the way a
// player would drive it; then the stand-in game's log, mod.ini and the exit code are read.
#include <windows.h>

#include <gtest/gtest.h>

#include "launcher_fixture.hpp"
#include "window/main_window.hpp"

namespace zarvell {
namespace {

TEST(CodePage, IsTheOneThisRunAskedFor) {
    char lang[64] = {};
    GetEnvironmentVariableA("ZARVELL_LANG", lang, sizeof(lang));
    EXPECT_EQ(GetACP(), std::string(lang) == "en_US.UTF-8" ? 1252u : 936u) << lang;
}

// Runs under code page 936 and, in a second CTest entry, under 1252: the captions are turned
// into UTF-16 from their GBK bytes whatever the system's code page is.
TEST_F(Launcher, CaptionsReadInChineseWhateverTheCodePage) {
    start();
    for (const ControlSpec& entry : kForm) {
        if (entry.kind == ControlKind::EditBox || entry.kind == ControlKind::ComboBox)
            continue;
        EXPECT_EQ(ui.wideText(entry.id), formText(entry.text)) << entry.id;
    }
    EXPECT_EQ(ui.wideText(launchButton), L"\x542F\x52A8");                     // 启动
    EXPECT_EQ(ui.wideText(windowedCheck), L"\x7A97\x53E3\x5316\x542F\x52A8");  // 窗口化启动
    wchar_t caption[16] = {};
    GetWindowTextW(ui.window(), caption, 16);
    EXPECT_STREQ(caption, L"Zarvell");
    EXPECT_EQ(close(), 0u);
}

TEST_F(Launcher, DefaultLaunchFromAnotherFolder) {
    test::TempFolder elsewhere;
    test::writeFile(elsewhere / "mod.ini", "[mod]\r\nwin=\xD5\xE6\r\n");  // must not be read
    start(elsewhere.path());
    EXPECT_FALSE(ui.checked(windowedCheck));
    EXPECT_EQ(launch(), std::string(kHead) + " +fullscreen 1");
    EXPECT_EQ(game.starts().at(0).directory, game.path());
    EXPECT_EQ(ini(), savedIni("1024", "680", kFalse, kFalse));
    EXPECT_FALSE(test::fileExists(elsewhere / "bf2_log.txt"));
    EXPECT_EQ(close(), 0u);
}

TEST_F(Launcher, EveryChoiceReachesTheCommandLineAndTheSettings) {
    makeMods({"alpha", "beta"});
    start();
    ui.click(windowedCheck);
    ui.click(skipMoviesCheck);
    ui.setText(widthEdit, "800");
    ui.setText(heightEdit, "600");
    chooseMod(VK_DOWN, 0);
    const std::string first = ui.listItem(modList, 0);
    EXPECT_EQ(launch(), std::string(kHead) +
                            " +fullscreen 0 +szx 800 +szy 600 +restart  +modPath mods/" + first);
    EXPECT_EQ(ini(), savedIni("800", "600", kTrue, kTrue));

    // Clearing the windowed box: no sizes on the line, but both texts are still saved.
    ui.click(windowedCheck);
    EXPECT_FALSE(IsWindowVisible(ui.control(sizeGroup)));
    EXPECT_EQ(launch(), std::string(kHead) + " +fullscreen 1 +restart  +modPath mods/" + first);
    EXPECT_EQ(ini(), savedIni("800", "600", kFalse, kTrue));
    EXPECT_EQ(close(), 0u);
}

TEST_F(Launcher, ArrowKeysInTheModListChangeTheNextLaunch) {
    makeMods({"m1", "m2", "m3"});
    start();
    chooseMod(VK_DOWN, 0);
    chooseMod(VK_DOWN, 1);
    EXPECT_EQ(launch(),
              std::string(kHead) + " +fullscreen 1  +modPath mods/" + ui.listItem(modList, 1));
    chooseMod(VK_UP, 0);
    EXPECT_EQ(launch(),
              std::string(kHead) + " +fullscreen 1  +modPath mods/" + ui.listItem(modList, 0));
    EXPECT_EQ(close(), 0u);
}

TEST_F(Launcher, SettingsAreShownAtTheNextStart) {
    test::writeFile(game / "mod.ini",
                    "[mod]\r\nszx=1280\r\nszy=\r\nwin=\xD5\xE6\r\nmovie=x\r\n"
                    "name=localhost\r\n[keep]\r\nk=v\r\n");
    start();
    EXPECT_TRUE(ui.checked(windowedCheck));
    EXPECT_FALSE(ui.checked(skipMoviesCheck));
    EXPECT_TRUE(IsWindowVisible(ui.control(widthEdit)));
    EXPECT_EQ(ui.text(widthEdit), "1280");
    EXPECT_EQ(ui.text(heightEdit), "");
    EXPECT_EQ(launch(), std::string(kHead) + " +fullscreen 0 +szx 1280 +szy ");
    EXPECT_EQ(close(), 0u);
    // Outside the four keys nothing changed.
    char value[32] = {};
    GetPrivateProfileStringA("mod", "name", "", value, sizeof(value), (game / "mod.ini").c_str());
    EXPECT_STREQ(value, "localhost");
    GetPrivateProfileStringA("keep", "k", "", value, sizeof(value), (game / "mod.ini").c_str());
    EXPECT_STREQ(value, "v");
}

TEST_F(Launcher, ClosingWithoutALaunchWritesNothing) {
    start();
    ui.click(windowedCheck);
    EXPECT_EQ(close(), 0u);
    EXPECT_FALSE(test::fileExists(game / "mod.ini"));

    const std::string handWritten = "[mod]\nszx=1\n\n; note\n";
    test::writeFile(game / "mod.ini", handWritten);
    start();
    ui.setText(widthEdit, "999");
    EXPECT_EQ(close(), 0u);
    EXPECT_EQ(ini(), handWritten);
}

TEST_F(Launcher, HostPanelAndAddressLookup) {
    test::writeFile(game / "mod.ini", "[mod]\r\nname=localhost,no-such-host.invalid\r\n");
    start();
    EXPECT_EQ(ui.height(), 240);
    ui.click(ipHelperCheck);
    EXPECT_EQ(ui.height(), 340);
    ASSERT_EQ(ui.listCount(hostCombo), 2);

    ui.postKey(hostCombo, VK_DOWN);  // chooses "localhost"
    EXPECT_TRUE(test::waitFor([&] { return ui.text(addressEdit) == "127.0.0.1"; }));
    ui.postKey(hostCombo, VK_DOWN);  // an unresolvable name empties the box
    EXPECT_TRUE(test::waitFor([&] { return ui.text(hostCombo) == "no-such-host.invalid"; }));
    EXPECT_TRUE(test::waitFor([&] { return ui.text(addressEdit).empty(); }));

    ui.click(ipHelperCheck);
    EXPECT_EQ(ui.height(), 240);
    EXPECT_EQ(close(), 0u);
}

TEST_F(Launcher, AMousePickFromTheDropDown) {
    test::writeFile(game / "mod.ini", "[mod]\r\nname=no-such-host.invalid,localhost\r\n");
    start();
    ui.click(ipHelperCheck);
    SetForegroundWindow(ui.window());
    HWND combo = ui.control(hostCombo);
    RECT field;
    GetWindowRect(combo, &field);
    const int itemHeight = static_cast<int>(SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0));
    auto clickAt = [](int x, int y) {
        const int sx = GetSystemMetrics(SM_CXSCREEN) - 1, sy = GetSystemMetrics(SM_CYSCREEN) - 1;
        INPUT in[3] = {};
        for (auto& i : in) {
            i.type = INPUT_MOUSE;
            i.mi.dx = x * 65535 / sx;
            i.mi.dy = y * 65535 / sy;
        }
        in[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        in[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
        in[2].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
        SendInput(3, in, sizeof(INPUT));
    };
    clickAt((field.left + field.right) / 2, (field.top + field.bottom) / 2);  // open the list
    EXPECT_TRUE(test::waitFor([&] { return SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0) != 0; }));
    // The second item of the list below the field.
    clickAt(field.left + 20, field.bottom + itemHeight + itemHeight / 2);
    EXPECT_TRUE(test::waitFor([&] { return ui.text(addressEdit) == "127.0.0.1"; }))
        << ui.text(hostCombo);
    EXPECT_EQ(close(), 0u);
}

TEST_F(Launcher, HoveringTheLaunchButtonShowsTheCommandLine) {
    makeMods({"Desert Combat"});
    start();
    ui.click(windowedCheck);
    ui.setText(widthEdit, "1280");
    chooseMod(VK_DOWN, 0);
    ui.hover(launchButton);
    HWND tip = nullptr;
    EXPECT_TRUE(test::waitFor(
        [&] { return (tip = test::findTopLevelWindow(process->id(), L"tooltips_class32")); }));
    ASSERT_NE(tip, nullptr);
    wchar_t text[512] = {};
    SendMessageW(tip, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
    const std::string expected =
        std::string(kHead) + " +fullscreen 0 +szx 1280 +szy 680  +modPath mods/Desert Combat";
    EXPECT_EQ(test::toGbk(text), expected);
    // Showing it launched nothing and saved nothing; the launch gives the same line.
    EXPECT_FALSE(test::fileExists(game / "mod.ini"));
    EXPECT_EQ(launch(), expected);
    EXPECT_EQ(close(), 0u);
}

TEST_F(Launcher, TabWalksTheCycleThroughTheMessageLoop) {
    start();
    EXPECT_TRUE(test::waitFor([&] { return ui.focus() == ui.control(modList); }));
    // The size boxes are hidden; the host panel is cut off but still reached.
    const ControlId cycle[] = {launchButton, windowedCheck, skipMoviesCheck, hostCombo,
                               addressEdit,  ipHelperCheck, modList};
    for (ControlId next : cycle) {
        PostMessageW(ui.focus(), WM_KEYDOWN, VK_TAB, 1);  // to whichever control has the focus
        EXPECT_TRUE(test::waitFor([&] { return ui.focus() == ui.control(next); })) << next;
    }
    EXPECT_EQ(close(), 0u);
}

TEST_F(Launcher, EscapeClosesTheWindowWithExitCodeZero) {
    start();
    ui.postKey(widthEdit, VK_ESCAPE);
    EXPECT_EQ(process->wait(), 0u);
}

TEST_F(Launcher, AGameStartedEarlierOutlivesTheLauncher) {
    SetEnvironmentVariableA("STANDIN_STAY_MS", "4000");  // inherited by launcher and game
    start();
    SetEnvironmentVariableA("STANDIN_STAY_MS", nullptr);
    const int before = runningCopiesOf("bf2.exe");
    EXPECT_EQ(launch(), std::string(kHead) + " +fullscreen 1");
    EXPECT_EQ(close(), 0u);
    EXPECT_EQ(runningCopiesOf("bf2.exe"), before + 1);
}

}  // namespace
}  // namespace zarvell
