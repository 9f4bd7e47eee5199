// Endurance: many launches and host lookups from one launcher process, watched from
// outside. Usage: endurance [LAUNCHES [LOOKUPS]] (200 and 500 by default). Prints the
// launcher's kernel handles, threads, GDI and USER objects, windows and memory before and after,
// and fails when any of them grew beyond a small allowance. Under Wine, GetProcessHandleCount,
// GetGuiResources and the private bytes answer 0: the handles are counted from the system's
// handle list, the windows stand in for USER objects, and the working set for memory.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "remote_window.hpp"
#include "test_support.hpp"

using namespace zarvell;

namespace {
struct Usage {
    unsigned long handles = 0;
    unsigned long threads = 0;
    unsigned long gdi = 0;
    unsigned long user = 0;
    unsigned long windows = 0;
    SIZE_T privateBytes = 0;
    SIZE_T workingSet = 0;
};

Usage usageOf(HANDLE process, DWORD pid) {
    Usage u;
    u.handles = test::handleCountOf(pid);
    u.threads = test::threadCountOf(pid);
    u.windows = test::windowCountOf(pid);
    u.gdi = GetGuiResources(process, GR_GDIOBJECTS);
    u.user = GetGuiResources(process, GR_USEROBJECTS);
    PROCESS_MEMORY_COUNTERS_EX pmc{};
    pmc.cb = sizeof(pmc);
    if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc),
                             sizeof(pmc))) {
        u.privateBytes = pmc.PrivateUsage;
        u.workingSet = pmc.WorkingSetSize;
    }
    return u;
}
}  // namespace

int main(int argc, char** argv) {
    const int launches = argc > 1 ? std::atoi(argv[1]) : 200;
    const int lookups = argc > 2 ? std::atoi(argv[2]) : 500;

    test::GameFolder game;
    // What the platform's WaitForInputIdle leaves per call is not the launcher's to close.
    const long platformLeak = test::idleWaitLeakPerCall(game.path());
    DeleteFileA((game / "bf2_log.txt").c_str());
    const std::string exe = test::moduleFolder() + "\\zarvell.exe";
    CopyFileA(exe.c_str(), (game / "zarvell.exe").c_str(), FALSE);
    test::writeFile(game / "mod.ini", "[mod]\r\nname=localhost,127.0.0.1\r\n");
    test::makeFolder(game / "mods");
    test::makeFolder(game / "mods\\one");
    SetEnvironmentVariableA("STANDIN_STAY_MS", "0");  // games end at once
    test::Process launcher("\"" + (game / "zarvell.exe") + "\"", game.path().c_str());
    test::RemoteLauncher ui;
    if (!launcher.started() || !ui.attach(launcher.id())) {
        std::fprintf(stderr, "endurance: the launcher did not start\n");
        return 1;
    }
    ui.click(ipHelperCheck);
    ui.postKey(modList, VK_DOWN);

    int lookupCount = 0;
    auto lookup = [&] {
        ui.setText(addressEdit, "");
        ui.postKey(hostCombo, lookupCount % 2 ? VK_UP : VK_DOWN);
        ++lookupCount;
        return test::waitFor([&] { return ui.text(addressEdit) == "127.0.0.1"; }, 5000);
    };
    // A launch that does not return shows a message (the game or the save failed): say what
    // it says and stop, rather than wait on it for ever.
    auto launch = [&] {
        if (ui.clickWithin(launchButton, 20000))
            return true;
        const HWND box = test::waitForMessageBox(launcher.id(), 1000);
        std::fprintf(stderr, "endurance: a launch did not return: %s\n",
                     box ? test::toGbk(test::messageBoxText(box)).c_str() : "no message shown");
        TerminateProcess(launcher.handle(), 1);
        return false;
    };
    // Warm up first: the first launch and lookup load libraries and caches for good.
    for (int i = 0; i < 5; ++i) {
        if (!launch())
            return 1;
        lookup();
    }
    Sleep(500);
    const Usage before = usageOf(launcher.handle(), launcher.id());
    int failedLookups = 0;
    for (int i = 0; i < launches; ++i) {
        if (!launch())
            return 1;
    }
    for (int i = 0; i < lookups; ++i)
        failedLookups += lookup() ? 0 : 1;
    Sleep(500);
    const Usage after = usageOf(launcher.handle(), launcher.id());
    const size_t started = game.starts().size();

    PostMessageW(ui.window(), WM_CLOSE, 0, 0);
    const DWORD exitCode = launcher.wait();

    auto row = [](const char* what, unsigned long a, unsigned long b) {
        std::printf("%-26s %12lu %12lu\n", what, a, b);
    };
    std::printf("%-26s %12s %12s\n", "launcher", "before", "after");
    row("kernel handles", before.handles, after.handles);
    row("threads", before.threads, after.threads);
    row("windows", before.windows, after.windows);
    row("GDI objects (0: no data)", before.gdi, after.gdi);
    row("USER objects (0: no data)", before.user, after.user);
    row("private KB (0: no data)", static_cast<unsigned long>(before.privateBytes / 1024),
        static_cast<unsigned long>(after.privateBytes / 1024));
    row("working set KB", static_cast<unsigned long>(before.workingSet / 1024),
        static_cast<unsigned long>(after.workingSet / 1024));
    std::printf("launches %d (games started %u), lookups %d (failed %d), exit code %lu\n", launches,
                static_cast<unsigned>(started) - 5, lookups, failedLookups, exitCode);

    const SIZE_T kMemoryAllowance = 2 * 1024 * 1024;
    bool ok = exitCode == 0 && failedLookups == 0 && started == static_cast<size_t>(launches) + 5;
    const long handleGrowth = static_cast<long>(after.handles) - static_cast<long>(before.handles);
    std::printf("handle growth %ld; the platform's input-idle wait leaves %ld per launch\n",
                handleGrowth, platformLeak);
    ok = ok && before.handles > 0 && handleGrowth <= platformLeak * launches + 4;
    // Every lookup runs on a thread of its own that ends with it.
    ok = ok && after.threads <= before.threads;
    ok = ok && after.windows <= before.windows && after.gdi <= before.gdi + 4 &&
         after.user <= before.user + 4;
    ok = ok && after.privateBytes <= before.privateBytes + kMemoryAllowance &&
         after.workingSet <= before.workingSet + kMemoryAllowance;
    std::printf("%s\n", ok ? "endurance: flat" : "endurance: FAILED");
    return ok ? 0 : 1;
}
