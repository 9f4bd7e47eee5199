#include "launch/game.hpp"

#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include <vector>

#include "launch/state.hpp"
#include "launch/switches.hpp"
#include "launch/system_library.hpp"
#include "launch/text_rules.hpp"

namespace zarvell {

namespace {

// Windows leaves nothing in GetLastError now and then; a failure must still read as one.
unsigned long lastErrorOr(unsigned long fallback) {
    const DWORD error = GetLastError();
    return error != 0 ? error : fallback;
}

// Text of the system's code page as UTF-16, converted as CreateProcessA converts its line.
std::wstring fromSystemCodePage(std::string_view text) {
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), n);
    return wide;
}

// COM for the length of one shell call, as ShellExecuteEx asks of its callers.
class ComForShell {
  public:
    ComForShell() {
        static SystemLibrary ole32(L"ole32.dll");
        using Initialize = HRESULT(WINAPI*)(void*, DWORD);
        auto initialize = reinterpret_cast<Initialize>(
            reinterpret_cast<void*>(GetProcAddress(ole32.get(), "CoInitializeEx")));
        uninitialize_ = reinterpret_cast<Uninitialize>(
            reinterpret_cast<void*>(GetProcAddress(ole32.get(), "CoUninitialize")));
        started_ =
            initialize && uninitialize_ &&
            SUCCEEDED(initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
    }
    ~ComForShell() {
        if (started_)
            uninitialize_();
    }
    ComForShell(const ComForShell&) = delete;
    ComForShell& operator=(const ComForShell&) = delete;

  private:
    using Uninitialize = void(WINAPI*)();
    Uninitialize uninitialize_ = nullptr;
    bool started_ = false;
};

}  // namespace

LaunchResult startGameDirectly(const std::string& commandLine) {
    if (const unsigned long error = programFolderError())
        return {false, error};
    STARTUPINFOA si{};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION pi{};
    // CreateProcessA may write into the command line, so hand it a private copy.
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    // A relative application name is completed with the current directory and never
    // searched for: without it, a missing game would be looked for in the system folders
    // and on PATH, and another program of that name started.
    if (!CreateProcessA(kGameFile, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi)) {
        return {false, lastErrorOr(ERROR_FILE_NOT_FOUND)};
    }
    WaitForInputIdle(pi.hProcess, 1000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return {true, 0};
}

LaunchResult startGameElevated(const std::string& commandLine) {
    if (const unsigned long error = programFolderError())
        return {false, error};
    static SystemLibrary shell32(L"shell32.dll");
    using Execute = BOOL(WINAPI*)(SHELLEXECUTEINFOW*);
    auto execute = reinterpret_cast<Execute>(
        reinterpret_cast<void*>(GetProcAddress(shell32.get(), "ShellExecuteExW")));
    if (!execute)
        return {false, lastErrorOr(ERROR_PROC_NOT_FOUND)};

    // The full path: the shell would look for a bare name in other places too.
    const auto file = wholePath([](wchar_t* buffer, unsigned long size) {
        const DWORD n = GetFullPathNameW(L".\\bf2.exe", size, buffer, nullptr);
        return static_cast<unsigned long>(n < size ? n : size);
    });
    const std::wstring directory = programFolderText();
    if (!file || directory.empty())
        return {false, lastErrorOr(ERROR_PATH_NOT_FOUND)};
    const std::wstring parameters = fromSystemCodePage(parametersOf(commandLine));

    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    // The launcher tells the player itself what went wrong; the shell only asks for consent.
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = L"runas";
    info.lpFile = file->c_str();
    info.lpParameters = parameters.c_str();
    info.lpDirectory = directory.c_str();
    info.nShow = SW_SHOWNORMAL;
    BOOL ok;
    DWORD error;
    {
        ComForShell com;
        ok = execute(&info);
        error = ok ? 0 : lastErrorOr(kElevationRequired);
    }
    if (!ok)
        return {false, error};
    if (info.hProcess) {
        // An elevated game's handle may not allow the wait; its outcome is not looked at.
        WaitForInputIdle(info.hProcess, 1000);
        CloseHandle(info.hProcess);
    }
    return {true, 0};
}

LaunchResult launchGame(const std::string& commandLine, const GameStarters& starters) {
    const LaunchResult direct = starters.direct(commandLine);
    if (direct.started || direct.error != kElevationRequired)
        return direct;
    return starters.elevated(commandLine);
}

}  // namespace zarvell
