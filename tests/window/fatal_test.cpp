// The fatal path: memory that cannot be had ends the process with exit code -1 after a
// message, and the normal exit routine does not run.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <new>

#include "launch/state.hpp"
#include "test_support.hpp"

namespace zarvell {
namespace {

TEST(FatalPath, FailedAllocationShowsAMessageAndExitsWithMinusOne) {
    test::TempFolder folder;
    const std::string marker = folder / "released.txt";
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    SetEnvironmentVariableA("ZARVELL_FATAL_MARKER", marker.c_str());
    test::Process child(std::string("\"") + self + "\" --gtest_filter=FatalPathChild.*", nullptr);
    SetEnvironmentVariableA("ZARVELL_FATAL_MARKER", nullptr);
    ASSERT_TRUE(child.started());

    HWND dialog = nullptr;
    EXPECT_TRUE(
        test::waitFor([&] { return (dialog = test::findTopLevelWindow(child.id(), L"#32770")); }));
    if (dialog)
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(child.wait(), static_cast<DWORD>(-1));
    EXPECT_FALSE(test::fileExists(marker));  // the exit routine never ran
}

TEST(FatalPathChild, RunsOutOfMemory) {
    char marker[MAX_PATH];
    if (GetEnvironmentVariableA("ZARVELL_FATAL_MARKER", marker, MAX_PATH) == 0)
        GTEST_SKIP();
    static std::string markerPath = marker;
    // Stands for the program's exit routine: it would leave a file behind if it ran.
    struct Guard {
        ~Guard() { test::writeFile(markerPath, "released"); }
    } guard;
    std::set_new_handler(fatalError);
    // Half the address space can never be had, by a 32-bit or a 64-bit process alike, so
    // the new-handler is reached at once (a loop of big blocks would first eat the swap).
    volatile std::size_t impossible = PTRDIFF_MAX;
    volatile char* block = new char[impossible];
    block[0] = 1;
}

}  // namespace
}  // namespace zarvell
