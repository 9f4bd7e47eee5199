// The real launcher as Windows sets it up from its manifest: the common controls of version
// 6 and the tooltip of the launch button with its one tool. (Wine reports every window as
// per-monitor aware, with the manifest's setting or without, so that part is not seen here.)
#include <windows.h>
#include <commctrl.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "launcher_fixture.hpp"

namespace zarvell {
namespace {

// Where each module `name` loaded in process `pid` comes from, in lower case.
std::vector<std::string> loadedModulePaths(DWORD pid, const char* name) {
    std::vector<std::string> paths;
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, pid);
    if (snap == INVALID_HANDLE_VALUE)
        return paths;
    MODULEENTRY32 m{};
    m.dwSize = sizeof(m);
    for (BOOL ok = Module32First(snap, &m); ok; ok = Module32Next(snap, &m)) {
        if (lstrcmpiA(m.szModule, name) != 0)
            continue;
        std::string path = m.szExePath;
        for (char& c : path)
            c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
        paths.push_back(path);
    }
    CloseHandle(snap);
    return paths;
}

struct TipSearch {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK findTip(HWND hwnd, LPARAM param) {
    auto* s = reinterpret_cast<TipSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    if (pid == s->pid && lstrcmpiW(name, TOOLTIPS_CLASSW) == 0) {
        s->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

TEST_F(Launcher, RunsWithCommonControlsSixAndATipOfOneTool) {
    start();
    // The tip is made once the window shows, and loads the common controls if nothing has.
    TipSearch tip{process->id(), nullptr};
    EXPECT_TRUE(test::waitFor([&] {
        EnumWindows(findTip, reinterpret_cast<LPARAM>(&tip));
        return tip.found != nullptr;
    }));
    ASSERT_NE(tip.found, nullptr);
    EXPECT_EQ(SendMessageW(tip.found, TTM_GETTOOLCOUNT, 0, 0), 1);
    // Version 6 lives in the side-by-side store, one folder per version; version 5.82, what a
    // program without the manifest dependency (or one that loads it by its full path) gets,
    // in the system folder. Wine's copy of version 6 carries the file version of 5.82, so the
    // folder is what tells them apart. Only version 6 may be loaded.
    const auto comctl = loadedModulePaths(process->id(), "comctl32.dll");
    EXPECT_EQ(comctl.size(), 1u);
    for (const std::string& path : comctl) {
        EXPECT_NE(path.find("\\winsxs\\"), std::string::npos) << path;
        EXPECT_NE(path.find("_microsoft.windows.common-controls_6595b64144ccf1df_6."),
                  std::string::npos)
            << path;
    }
    EXPECT_EQ(close(), 0u);
}

}  // namespace
}  // namespace zarvell
