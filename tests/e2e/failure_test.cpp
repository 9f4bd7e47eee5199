// A launch that fails is told: a message box owned by the window, in Chinese, after the
// settings were saved; a save that fails is told once in a run. The window stays usable.
#include <algorithm>
#include <iostream>
#include <vector>

#include "launcher_fixture.hpp"

namespace zarvell {
namespace {

bool contains(const std::wstring& text, const std::wstring& part) {
    return text.find(part) != std::wstring::npos;
}

const std::wstring kLaunchFailed = L"\x6E38\x620F\x672A\x80FD\x542F\x52A8";  // 游戏未能启动
const std::wstring kSaveFailed = L"\x8BBE\x7F6E\x672A\x80FD\x4FDD\x5B58";    // 设置未能保存

// A click on 启动 whose handler shows a message: the box, owned by the disabled window.
HWND clickIntoMessage(const test::RemoteLauncher& ui, DWORD pid) {
    ui.postClick(launchButton);
    HWND box = test::waitForMessageBox(pid);
    EXPECT_NE(box, nullptr);
    if (box) {
        EXPECT_EQ(GetWindow(box, GW_OWNER), ui.window());
        EXPECT_FALSE(IsWindowEnabled(ui.window()));
    }
    return box;
}

// Without an application name, CreateProcess looked for a missing game on PATH too.
TEST_F(Launcher, NoGameInTheFolderIsToldAndOneOnPathIsNotStarted) {
    DeleteFileA((game / "bf2.exe").c_str());
    test::GameFolder onPath;
    char path[32767];
    const DWORD n = GetEnvironmentVariableA("PATH", path, sizeof(path));
    const std::string oldPath(path, n);
    SetEnvironmentVariableA("PATH", (onPath.path() + ";" + oldPath).c_str());
    start();
    SetEnvironmentVariableA("PATH", oldPath.c_str());

    ui.click(skipMoviesCheck);
    for (int attempt = 0; attempt < 2; ++attempt) {  // told at every launch that fails
        HWND box = clickIntoMessage(ui, process->id());
        ASSERT_NE(box, nullptr);
        // The settings were saved before the message.
        EXPECT_EQ(ini(), savedIni("1024", "680", kFalse, kTrue));
        const std::wstring text = test::messageBoxText(box);
        EXPECT_TRUE(contains(text, kLaunchFailed)) << test::toUtf8(text);
        EXPECT_TRUE(contains(text, L"bf2.exe")) << test::toUtf8(text);
        EXPECT_TRUE(contains(text, test::widen(game.path()))) << test::toUtf8(text);
        EXPECT_FALSE(contains(text, kSaveFailed)) << test::toUtf8(text);
        EXPECT_TRUE(test::dismissMessageBox(box));
        EXPECT_TRUE(test::waitFor([&] { return IsWindowEnabled(ui.window()) != 0; }));
    }
    EXPECT_TRUE(onPath.starts().empty());
    EXPECT_TRUE(game.starts().empty());
    EXPECT_EQ(close(), 0u);
}

// Whether this platform refuses to write a read-only file (Wine run by root does not).
bool readOnlyFilesAreRefused(const std::string& folder) {
    const std::string probe = folder + "\\probe.ini";
    test::writeFile(probe, "[mod]\r\n");
    SetFileAttributesA(probe.c_str(), FILE_ATTRIBUTE_READONLY);
    const bool refused = !WritePrivateProfileStringA("mod", "k", "v", probe.c_str());
    SetFileAttributesA(probe.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(probe.c_str());
    return refused;
}

// Files of a folder, by name.
std::vector<std::string> filesIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA e;
    HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &e);
    if (h == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (std::string(e.cFileName) != "." && std::string(e.cFileName) != "..")
            names.push_back(e.cFileName);
    } while (FindNextFileA(h, &e));
    FindClose(h);
    std::sort(names.begin(), names.end());
    return names;
}

TEST_F(Launcher, SettingsThatCannotBeSavedAreToldOnceInARun) {
    struct Case {
        const char* what;
        bool readOnlyFile;  // else a folder named mod.ini
    };
    for (const Case c :
         {Case{"a folder named mod.ini", false}, Case{"a read-only mod.ini", true}}) {
        SCOPED_TRACE(c.what);
        if (c.readOnlyFile && !readOnlyFilesAreRefused(game.path())) {
            std::cout << "[ NOTE ] this platform writes read-only files (Wine as root): " << c.what
                      << " not tried\n";
            continue;
        }
        RemoveDirectoryA((game / "mod.ini").c_str());
        if (c.readOnlyFile) {
            test::writeFile(game / "mod.ini", "[mod]\r\nszx=1\r\n");
            SetFileAttributesA((game / "mod.ini").c_str(), FILE_ATTRIBUTE_READONLY);
        } else {
            test::makeFolder(game / "mod.ini");
        }
        DeleteFileA((game / "bf2_log.txt").c_str());
        const auto filesBefore = filesIn(game.path());
        start();

        HWND box = clickIntoMessage(ui, process->id());
        ASSERT_NE(box, nullptr);
        const std::wstring text = test::messageBoxText(box);
        EXPECT_TRUE(contains(text, kSaveFailed)) << test::toUtf8(text);
        EXPECT_TRUE(contains(text, L"mod.ini")) << test::toUtf8(text);
        EXPECT_TRUE(contains(text, test::widen(game.path()))) << test::toUtf8(text);
        EXPECT_FALSE(contains(text, kLaunchFailed)) << test::toUtf8(text);
        EXPECT_TRUE(test::dismissMessageBox(box));
        // Later launches of the run: the game starts, nothing more is said.
        EXPECT_TRUE(ui.clickWithin(launchButton, 10000));
        EXPECT_TRUE(ui.clickWithin(launchButton, 10000));
        EXPECT_EQ(test::findTopLevelWindow(process->id(), L"#32770"), nullptr);
        EXPECT_EQ(close(), 0u);

        const auto starts = game.starts();
        EXPECT_EQ(starts.size(), 3u);
        for (const auto& s : starts)
            EXPECT_EQ(s.commandLine, std::string(kHead) + " +fullscreen 1");
        auto filesAfter = filesBefore;
        filesAfter.push_back("bf2_log.txt");
        std::sort(filesAfter.begin(), filesAfter.end());
        EXPECT_EQ(filesIn(game.path()), filesAfter);  // nothing else written
        SetFileAttributesA((game / "mod.ini").c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA((game / "mod.ini").c_str());
    }
}

// Both at once: one message; the save's part only the first time.
TEST_F(Launcher, NoGameAndNoSavingAreToldTogether) {
    DeleteFileA((game / "bf2.exe").c_str());
    test::makeFolder(game / "mod.ini");
    start();
    for (int attempt = 0; attempt < 2; ++attempt) {
        HWND box = clickIntoMessage(ui, process->id());
        ASSERT_NE(box, nullptr);
        const std::wstring text = test::messageBoxText(box);
        EXPECT_TRUE(contains(text, kLaunchFailed)) << test::toUtf8(text);
        EXPECT_EQ(contains(text, kSaveFailed), attempt == 0) << test::toUtf8(text);
        EXPECT_TRUE(test::dismissMessageBox(box));
    }
    EXPECT_EQ(close(), 0u);
}

}  // namespace
}  // namespace zarvell
