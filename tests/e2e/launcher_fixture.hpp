// The real zarvell.exe in a temporary game folder, started and driven from the test.
#pragma once

#include <windows.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <memory>

#include "remote_window.hpp"
#include "test_support.hpp"

namespace zarvell {

inline constexpr char kHead[] = "bf2.exe + menu 1 +wx 0 +wy 0";
inline constexpr char kTrue[] = "\xD5\xE6";   // 真
inline constexpr char kFalse[] = "\xBC\xD9";  // 假

inline std::string savedIni(const char* w, const char* h, const char* win, const char* movie) {
    return std::string("[mod]\r\nszx=") + w + "\r\nszy=" + h + "\r\nwin=" + win +
           "\r\nmovie=" + movie + "\r\n";
}

inline int runningCopiesOf(const char* exeName) {
    int count = 0;
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 e{};
    e.dwSize = sizeof(e);
    for (BOOL ok = Process32First(snap, &e); ok; ok = Process32Next(snap, &e)) {
        if (lstrcmpiA(e.szExeFile, exeName) == 0)
            ++count;
    }
    CloseHandle(snap);
    return count;
}

class Launcher : public ::testing::Test {
  protected:
    test::GameFolder game;
    std::unique_ptr<test::Process> process;
    test::RemoteLauncher ui;

    void SetUp() override {
        const std::string exe = test::moduleFolder() + "\\zarvell.exe";
        ASSERT_TRUE(CopyFileA(exe.c_str(), (game / "zarvell.exe").c_str(), FALSE));
    }
    void TearDown() override {
        if (process && process->wait(0) == STILL_ACTIVE)
            TerminateProcess(process->handle(), 9);
    }
    void makeMods(std::initializer_list<const char*> names) {
        test::makeFolder(game / "mods");
        for (const char* n : names)
            test::makeFolder(game / "mods" + "\\" + n);
    }
    // Starts the launcher from `directory` (its own folder by default).
    void start(const std::string& directory = {}) {
        const std::string dir = directory.empty() ? game.path() : directory;
        process =
            std::make_unique<test::Process>("\"" + (game / "zarvell.exe") + "\"", dir.c_str());
        ASSERT_TRUE(process->started());
        ASSERT_TRUE(ui.attach(process->id()));
    }
    DWORD close() {
        PostMessageW(ui.window(), WM_CLOSE, 0, 0);
        return process->wait();
    }
    std::string launch() {
        const size_t before = game.starts().size();
        ui.click(launchButton);
        const auto starts = game.starts();
        return starts.size() == before + 1 ? starts.back().commandLine : "<no start>";
    }
    void chooseMod(WORD key, int expectedIndex) {
        ui.postKey(modList, key);
        // The list box notifies its parent before it answers anything else, so once the new
        // selection shows, the launcher's handler has run.
        EXPECT_TRUE(test::waitFor([&] { return ui.listSelection() == expectedIndex; }));
    }
    std::string ini() const { return test::readFile(game / "mod.ini"); }
    // Waits until the launcher has handled every message posted to it before this call, and
    // the messages it posted itself while handling them: a character typed into the width box
    // comes after each round. The width box's text grows by two characters.
    bool settle() {
        for (int round = 0; round < 2; ++round) {
            const size_t before = ui.text(widthEdit).size();
            PostMessageW(ui.control(widthEdit), WM_CHAR, '0', 1);
            if (!test::waitFor([&] { return ui.text(widthEdit).size() > before; }))
                return false;
        }
        return true;
    }
};

}  // namespace zarvell
