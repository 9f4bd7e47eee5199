// Stand-in for the game in tests: appends its exact command line and current directory (in
// UTF-8) to bf2_log.txt in its current directory, becomes input-idle, stays a moment, and exits.
// STANDIN_STAY_MS (inherited from the launcher) sets how long it stays; 200 ms by default.
// STANDIN_TIMES_FILE, when set, gets the performance counter at its start (benchmarks).
#include <windows.h>

#include <cstdlib>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // For the benchmark: when it started, on the machine's performance counter.
    char timesFile[MAX_PATH] = {};
    if (GetEnvironmentVariableA("STANDIN_TIMES_FILE", timesFile, MAX_PATH) > 0) {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        const std::string line = std::to_string(now.QuadPart) + "\n";
        HANDLE f = CreateFileA(timesFile, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (f != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            WriteFile(f, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
            CloseHandle(f);
        }
    }
    // The directory in UTF-8, whatever the system's code page: game folders in the tests may
    // have names the code page cannot spell.
    wchar_t dir[4096] = {};
    const DWORD length = GetCurrentDirectoryW(4096, dir);
    char dirUtf8[4096 * 3] = {};
    WideCharToMultiByte(CP_UTF8, 0, dir, static_cast<int>(length < 4096 ? length : 0), dirUtf8,
                        sizeof(dirUtf8) - 1, nullptr, nullptr);
    // One record per start: "<command line>\n<current directory>\n", written in one go so
    // that games started close together do not interleave. The command line is the bytes the
    // game gets from GetCommandLineA.
    std::string record = GetCommandLineA();
    record += '\n';
    record += dirUtf8;
    record += '\n';
    HANDLE log = CreateFileA("bf2_log.txt", FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(log, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
        CloseHandle(log);
    }

    UINT stayMs = 200;
    char stay[32] = {};
    if (GetEnvironmentVariableA("STANDIN_STAY_MS", stay, sizeof(stay)) > 0) {
        stayMs = static_cast<UINT>(std::strtoul(stay, nullptr, 10));
    }
    SetTimer(nullptr, 0, stayMs, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER)
            break;
        DispatchMessageA(&msg);
    }
    return 0;
}
