// Start-up in the program's own folder, whatever its name or length, and what happens when
// that folder cannot be entered.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "launch/game.hpp"
#include "launch/mods.hpp"
#include "launch/settings.hpp"
#include "launch/state.hpp"
#include "launch/system_library.hpp"
#include "test_support.hpp"

namespace zarvell {
namespace {

// The folder names in UTF-16: some cannot be spelt in the system's code page, some are longer
// than 260 bytes in it.
std::wstring repeat(const wchar_t* piece, int times) {
    std::wstring s;
    for (int i = 0; i < times; ++i)
        s += piece;
    return s;
}

// Runs a copy of this test program that lives in `folder`, started from `startFolder`; the
// copy enters its folder and reports what it found. `beforeResume` runs while the copy is
// still suspended.
std::string runChildIn(const std::wstring& folder, const std::wstring& startFolder,
                       const std::function<void()>& beforeResume = {}) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::wstring copy = folder + L"\\launch_tests.exe";
    EXPECT_TRUE(CopyFileW(self, copy.c_str(), FALSE));
    test::TempFolder out;
    const std::string report = out / "report.txt";
    SetEnvironmentVariableA("ZARVELL_FOLDER_REPORT", report.c_str());
    test::Process child(L"\"" + copy + L"\" --gtest_filter=ProgramFolderChild.*",
                        startFolder.c_str(), CREATE_SUSPENDED);
    SetEnvironmentVariableA("ZARVELL_FOLDER_REPORT", nullptr);
    EXPECT_TRUE(child.started());
    if (beforeResume)
        beforeResume();
    ResumeThread(child.thread());
    EXPECT_EQ(child.wait(60000), 0u);
    return test::readFile(report);
}

TEST(EnterProgramFolder, MovesIntoTheExecutablesFolderWhateverItsName) {
    struct Case {
        const char* what;
        std::wstring name;
    };
    const Case cases[] = {
        {"GBK trail byte 0x5C", L"\x8AA0"},  // 誠, D5 5C
        // 140 characters: 280 bytes in code page 936, more than an ANSI path may hold.
        {"Chinese name longer than 260 bytes", repeat(L"\x4E2D", 140)},
        // Arabic is not in code page 936: an ANSI path would spell it "?".
        {"outside the code page", L"\x0627\x0644\x0639\x0628\x0629 \x20AC"},
    };
    for (const Case& c : cases) {
        test::TempFolder tmp;
        const std::wstring folder = test::widen(tmp.path()) + L"\\" + c.name;
        ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr)) << c.what;
        // Started from another folder: the program must not stay there.
        const std::string report = runChildIn(folder, test::widen(tmp.path()));
        EXPECT_NE(report.find("entered=1\n"), std::string::npos) << c.what << report;
        EXPECT_NE(report.find("cwd=" + test::toUtf8(folder) + "\n"), std::string::npos)
            << c.what << report;
    }
}

// Where the program's folder cannot be made the current directory, staying in the folder it
// was started from would read and write that folder's files. Windows will not rename the
// folder of a running program; Wine will, which leaves the program a path that no longer
// exists (as a path too long for SetCurrentDirectory would on Windows: Wine takes those).
TEST(EnterProgramFolder, AFolderThatCannotBeEnteredLeavesEveryFileAlone) {
    test::TempFolder tmp;
    const std::wstring folder = test::widen(tmp / "game");
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    // The folder the program is started from holds a game, settings and a mod of its own.
    test::GameFolder start;
    const std::string ini = "[mod]\r\nszx=777\r\n";
    test::writeFile(start / "mod.ini", ini);
    test::makeFolder(start / "mods");
    test::makeFolder(start / "mods\\m1");

    const std::string report = runChildIn(folder, test::widen(start.path()), [&] {
        EXPECT_TRUE(MoveFileW(folder.c_str(), (folder + L"-moved").c_str()));
    });
    EXPECT_NE(report.find("entered=0\n"), std::string::npos) << report;
    EXPECT_EQ(report.find("error=0\n"), std::string::npos) << report;
    EXPECT_NE(report.find("folder=" + test::toUtf8(folder) + "\n"), std::string::npos) << report;
    EXPECT_NE(report.find("width=1024\n"), std::string::npos) << report;  // the default
    EXPECT_NE(report.find("mods=0\n"), std::string::npos) << report;
    EXPECT_NE(report.find("started=0\n"), std::string::npos) << report;
    EXPECT_NE(report.find("saved=0\n"), std::string::npos) << report;
    EXPECT_EQ(test::readFile(start / "mod.ini"), ini);
    EXPECT_TRUE(start.starts().empty());
}

TEST(ProgramFolderChild, ReportsWhatItFinds) {
    char out[MAX_PATH];
    if (GetEnvironmentVariableA("ZARVELL_FOLDER_REPORT", out, MAX_PATH) == 0)
        GTEST_SKIP();
    const bool entered = enterProgramFolder();
    wchar_t cwd[4096];
    const DWORD n = GetCurrentDirectoryW(4096, cwd);
    std::string report = "entered=" + std::to_string(entered) + "\n";
    report += "error=" + std::to_string(programFolderError()) + "\n";
    report += "cwd=" + test::toUtf8(std::wstring(cwd, n)) + "\n";
    report += "folder=" + test::toUtf8(programFolderText()) + "\n";
    if (!entered) {
        // Every file operation, where the start folder would offer something to find.
        report += "width=" + loadSettings().widthText + "\n";
        report += "mods=" + std::to_string(discoverMods().size()) + "\n";
        report += "started=" + std::to_string(launchGame("bf2.exe + menu 1").started) + "\n";
        report += "saved=" + std::to_string(saveSettings("1", "2", true, true).saved) + "\n";
    }
    test::writeFile(out, report);
}

// A current directory longer than 260 bytes in the system's code page, though shorter than
// 260 characters: an absolute ANSI path would not fit (and came out as "\mod.ini", the root
// of the drive); relative ones do.
TEST(RelativePaths, WorkInACurrentDirectoryLongerThan260Bytes) {
    const std::wstring root = L"\\mod.ini";
    ASSERT_FALSE(test::fileExists(root)) << "a mod.ini at the root of the drive already";
    test::TempFolder tmp;
    const std::wstring folder = test::widen(tmp.path()) + L"\\" + repeat(L"\x6E38\x620F", 70);
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));  // 游戏 x 70: 280 bytes
    wchar_t before[4096];
    const DWORD beforeLength = GetCurrentDirectoryW(4096, before);
    ASSERT_TRUE(SetCurrentDirectoryW(folder.c_str()));
    char ansi[MAX_PATH];
    const DWORD ansiLength = GetCurrentDirectoryA(MAX_PATH, ansi);
    EXPECT_TRUE(ansiLength == 0 || ansiLength >= MAX_PATH) << "fits 260 bytes";
    CreateDirectoryW(L".\\mods", nullptr);
    CreateDirectoryW(L".\\mods\\m1", nullptr);
    EXPECT_TRUE(saveSettings("800", "600", true, false).saved);
    const LaunchSettings s = loadSettings();
    EXPECT_EQ(s.widthText, "800");
    EXPECT_TRUE(s.windowed);
    EXPECT_EQ(discoverMods(), std::vector<std::string>{"m1"});
    EXPECT_TRUE(test::fileExists(folder + L"\\mod.ini"));
    SetCurrentDirectoryW(std::wstring(before, beforeLength).c_str());
    EXPECT_FALSE(test::fileExists(root));
    EXPECT_FALSE(test::fileExists(std::wstring(L"\\mods")));
}

TEST(SystemLibrary, ComesFromTheSystemFolderEitherWay) {
    wchar_t system[MAX_PATH];
    const UINT n = GetSystemDirectoryW(system, MAX_PATH);
    const std::wstring expected = std::wstring(system, n) + L"\\ws2_32.dll";
    for (auto load : {loadSystemLibrary, loadSystemLibraryWithoutSearchFlags}) {
        HMODULE dll = load(L"ws2_32.dll");
        ASSERT_NE(dll, nullptr);
        wchar_t path[MAX_PATH];
        GetModuleFileNameW(dll, path, MAX_PATH);
        EXPECT_EQ(lstrcmpiW(path, expected.c_str()), 0) << test::toUtf8(path);
        FreeLibrary(dll);
    }
}

struct FlakyLoader {
    static inline int calls = 0;
    static HMODULE load(const wchar_t*) {
        ++calls;
        return calls < 3 ? nullptr : GetModuleHandleW(nullptr);
    }
};

TEST(SystemLibrary, ALoadThatFailedIsTriedAgainAtTheNextUse) {
    SystemLibrary library(L"any.dll", FlakyLoader::load);
    EXPECT_EQ(library.get(), nullptr);
    EXPECT_EQ(library.get(), nullptr);
    EXPECT_EQ(library.get(), GetModuleHandleW(nullptr));
    EXPECT_EQ(library.get(), GetModuleHandleW(nullptr));
    EXPECT_EQ(FlakyLoader::calls, 3);  // kept once loaded
}

}  // namespace
}  // namespace zarvell
