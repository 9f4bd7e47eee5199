// Benchmark driver (runs under the platform, started by bench/run). Modes:
//   start PAIRS FOLDER_A EXE_A FOLDER_B EXE_B ...  alternating starts (A B … per round),
//       prints per program the milliseconds from process creation to a visible window
//   launch RUNS FOLDER   the launcher in FOLDER (with the stand-in game): milliseconds from the
//       click to the game's first instruction, and to the click's handler returning
//   memory FOLDER EXE    working set and peak working set (KB) at idle after start
//   lookup RUNS FOLDER   the launcher in FOLDER, whose mod.ini names two hosts that never
//       resolve while bench/run keeps the name server silent: per run, a host is chosen and
//       for one second the window is sent WM_NULL again and again; prints each run's longest
//       wait for the answer (ms), and the same first for runs with no choice, as a floor
// Every line of output is "key value value …" for the script to read.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "remote_window.hpp"
#include "test_support.hpp"

using namespace zarvell;

namespace {
double nowMs() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

BOOL CALLBACK closeWindows(HWND hwnd, LPARAM pid) {
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (owner == static_cast<DWORD>(pid))
        PostMessageW(hwnd, WM_CLOSE, 0, 0);
    return TRUE;
}

// One start: milliseconds until a visible top-level window; then closed again.
double timeStart(const std::string& folder, const std::string& exe) {
    const double t0 = nowMs();
    test::Process p("\"" + exe + "\"", folder.c_str());
    while (!test::findTopLevelWindow(p.id(), nullptr)) {
        Sleep(0);
        if (nowMs() - t0 > 60000)
            return -1;
    }
    const double t1 = nowMs();
    EnumWindows(closeWindows, static_cast<LPARAM>(p.id()));
    if (p.wait(20000) == STILL_ACTIVE)
        TerminateProcess(p.handle(), 1);
    return t1 - t0;
}

int startMode(int argc, char** argv) {
    const int rounds = std::atoi(argv[2]);
    std::vector<std::pair<std::string, std::string>> programs;
    for (int i = 3; i + 1 < argc; i += 2)
        programs.emplace_back(argv[i], argv[i + 1]);
    std::vector<std::vector<double>> times(programs.size());
    for (auto& [folder, exe] : programs)
        timeStart(folder, exe);  // warm the caches once
    for (int r = 0; r < rounds; ++r) {
        for (size_t i = 0; i < programs.size(); ++i) {
            times[i].push_back(timeStart(programs[i].first, programs[i].second));
        }
    }
    for (size_t i = 0; i < programs.size(); ++i) {
        std::printf("start%zu", i);
        for (double t : times[i])
            std::printf(" %.3f", t);
        std::printf("\n");
    }
    return 0;
}

int launchMode(char** argv) {
    const int runs = std::atoi(argv[2]);
    const std::string folder = argv[3];
    const std::string times = folder + "\\standin_times.txt";
    SetEnvironmentVariableA("STANDIN_TIMES_FILE", times.c_str());
    SetEnvironmentVariableA("STANDIN_STAY_MS", "0");
    test::Process launcher("\"" + folder + "\\zarvell.exe\"", folder.c_str());
    test::RemoteLauncher ui;
    if (!ui.attach(launcher.id()))
        return 1;
    ui.click(launchButton);  // warm up
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> toGame, toReturn;
    for (int i = 0; i < runs; ++i) {
        DeleteFileA(times.c_str());
        const double t0 = nowMs();
        ui.click(launchButton);
        const double t1 = nowMs();
        const double started = static_cast<double>(std::atoll(test::readFile(times).c_str())) *
                               1000.0 / static_cast<double>(frequency.QuadPart);
        toGame.push_back(started - t0);
        toReturn.push_back(t1 - t0);
    }
    PostMessageW(ui.window(), WM_CLOSE, 0, 0);
    launcher.wait();
    std::printf("launch_to_game");
    for (double t : toGame)
        std::printf(" %.3f", t);
    std::printf("\nlaunch_to_return");
    for (double t : toReturn)
        std::printf(" %.3f", t);
    std::printf("\n");
    return 0;
}

int memoryMode(char** argv) {
    test::Process p("\"" + std::string(argv[3]) + "\"", argv[2]);
    while (!test::findTopLevelWindow(p.id(), nullptr))
        Sleep(10);
    Sleep(1000);  // idle
    PROCESS_MEMORY_COUNTERS_EX pmc{};
    pmc.cb = sizeof(pmc);
    GetProcessMemoryInfo(p.handle(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof(pmc));
    std::printf("memory %lu %lu %lu\n", static_cast<unsigned long>(pmc.WorkingSetSize / 1024),
                static_cast<unsigned long>(pmc.PeakWorkingSetSize / 1024),
                static_cast<unsigned long>(pmc.PrivateUsage / 1024));
    EnumWindows(closeWindows, static_cast<LPARAM>(p.id()));
    p.wait(20000);
    return 0;
}
// The longest wait for the window's answer to WM_NULL, sent again and again for a second.
double longestAnswer(HWND window) {
    double worst = 0;
    for (const double t0 = nowMs(); nowMs() - t0 < 1000;) {
        const double s = nowMs();
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &result))
            return 20000;
        worst = std::max(worst, nowMs() - s);
        Sleep(5);
    }
    return worst;
}

int lookupMode(char** argv) {
    const int runs = std::atoi(argv[2]);
    const std::string folder = argv[3];
    test::Process launcher("\"" + folder + "\\zarvell.exe\"", folder.c_str());
    test::RemoteLauncher ui;
    if (!ui.attach(launcher.id()))
        return 1;
    ui.click(ipHelperCheck);
    // The same measure with nothing to do first, as the machine's own floor.
    std::vector<double> idle, looking;
    for (int i = 0; i < runs; ++i)
        idle.push_back(longestAnswer(ui.window()));
    for (int i = 0; i < runs; ++i) {
        // Down to the first host, up again from the second: a new choice every run, and a
        // lookup waiting on the name server throughout.
        ui.postKey(hostCombo, i % 2 ? VK_UP : VK_DOWN);
        looking.push_back(longestAnswer(ui.window()));
    }
    PostMessageW(ui.window(), WM_CLOSE, 0, 0);
    launcher.wait();
    for (auto [name, times] : {std::pair{"lookup_idle", &idle}, {"lookup_answer", &looking}}) {
        std::printf("%s", name);
        for (double t : *times)
            std::printf(" %.3f", t);
        std::printf("\n");
    }
    return 0;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc >= 5 && std::strcmp(argv[1], "start") == 0)
        return startMode(argc, argv);
    if (argc >= 4 && std::strcmp(argv[1], "launch") == 0)
        return launchMode(argv);
    if (argc >= 4 && std::strcmp(argv[1], "memory") == 0)
        return memoryMode(argv);
    if (argc >= 4 && std::strcmp(argv[1], "lookup") == 0)
        return lookupMode(argv);
    std::fprintf(stderr, "usage: see the top of bench_driver.cpp\n");
    return 2;
}
