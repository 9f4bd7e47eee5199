// The fatal path: memory that cannot be had ends the process with exit code -1 after a message
// in Chinese, owned by the disabled window, and from then on nothing of the program runs: not
// a click queued before it, not the exit routine.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "launch/state.hpp"
#include "test_support.hpp"
#include "window/main_window.hpp"

namespace zarvell {
namespace {

TEST(FatalPath, FailedAllocationShowsAMessageRunsNothingMoreAndExitsWithMinusOne) {
    // The program's own start-up runs in a copy of this test program in a game folder.
    test::GameFolder game;
    const std::string ini = "[mod]\r\nname=a,b\r\n";
    test::writeFile(game / "mod.ini", ini);
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    ASSERT_TRUE(CopyFileA(self, (game / "window_tests.exe").c_str(), FALSE));
    test::TempFolder out;
    const std::string marker = out / "end.txt";
    SetEnvironmentVariableA("ZARVELL_FATAL_MARKER", marker.c_str());
    SetEnvironmentVariableA("ZARVELL_EXIT_WATCH",
                            (test::moduleFolder() + "\\exit_watch.dll").c_str());
    test::Process child("\"" + (game / "window_tests.exe") + "\" --gtest_filter=FatalPathChild.*",
                        out.path().c_str());
    SetEnvironmentVariableA("ZARVELL_FATAL_MARKER", nullptr);
    SetEnvironmentVariableA("ZARVELL_EXIT_WATCH", nullptr);
    ASSERT_TRUE(child.started());

    HWND box = nullptr;
    EXPECT_TRUE(
        test::waitFor([&] { return (box = test::findTopLevelWindow(child.id(), L"#32770")); }));
    if (box) {
        HWND window = test::findTopLevelWindow(child.id(), kMainWindowClass);
        EXPECT_NE(window, nullptr);
        EXPECT_EQ(GetWindow(box, GW_OWNER), window);
        EXPECT_FALSE(IsWindowEnabled(window));
        wchar_t text[128] = {};
        HWND label = FindWindowExW(box, nullptr, L"Static", nullptr);
        while (label && GetWindowTextLengthW(label) == 0)
            label = FindWindowExW(box, label, L"Static", nullptr);
        SendMessageW(label, WM_GETTEXT, 128, reinterpret_cast<LPARAM>(text));
        // 内存不足或无法创建窗口，程序无法继续运行。
        EXPECT_STREQ(text,
                     L"\x5185\x5B58\x4E0D\x8DB3\x6216\x65E0\x6CD5\x521B\x5EFA\x7A97\x53E3"
                     L"\xFF0C\x7A0B\x5E8F\x65E0\x6CD5\x7EE7\x7EED\x8FD0\x884C\x3002");
        Sleep(500);  // time for the queued click, had it been let through
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
    EXPECT_EQ(child.wait(), static_cast<DWORD>(-1));
    // The exit routine never ran: the host names were still held when the process ended.
    EXPECT_EQ(test::readFile(marker), "host names held: 2");
    EXPECT_TRUE(game.starts().empty());
    EXPECT_EQ(test::readFile(game / "mod.ini"), ini);
}

std::string markerPath;

void reportAtEnd() {
    test::writeFile(markerPath, "host names held: " + std::to_string(hostNames.size()));
}

void CALLBACK runOutOfMemory(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    // A click on 启动 waits in the queue when memory runs out.
    PostMessageW(controlHandle(launchButton), BM_CLICK, 0, 0);
    // Half the address space can never be had, by a 32-bit or a 64-bit process alike, so the
    // new-handler is reached at once (a loop of big blocks would first eat the swap).
    volatile std::size_t impossible = PTRDIFF_MAX;
    volatile char* block = new char[impossible];
    block[0] = 1;
}

TEST(FatalPathChild, RunsOutOfMemoryInTheProgramsOwnRun) {
    char marker[MAX_PATH], watch[MAX_PATH];
    if (GetEnvironmentVariableA("ZARVELL_FATAL_MARKER", marker, MAX_PATH) == 0 ||
        GetEnvironmentVariableA("ZARVELL_EXIT_WATCH", watch, MAX_PATH) == 0) {
        GTEST_SKIP();
    }
    markerPath = marker;
    HMODULE watcher = LoadLibraryA(watch);
    ASSERT_NE(watcher, nullptr);
    using Watch = void (*)(void (*)());
    reinterpret_cast<Watch>(reinterpret_cast<void*>(GetProcAddress(watcher, "watchProcessEnd")))(
        reportAtEnd);
    // Once the loop runs, the window is built and the host names are read.
    SetTimer(nullptr, 0, 100, runOutOfMemory);
    startProgram();
    ADD_FAILURE() << "the message loop ended";
}

}  // namespace
}  // namespace zarvell
