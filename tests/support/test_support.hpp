// Helpers for tests that work on real files and processes under Wine.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace zarvell::test {

// Folder that holds the running test program (and the launcher and stand-in beside it).
std::string moduleFolder();

// A fresh, empty folder under the temp folder, removed with its contents at the end.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

  private:
    std::string path_;
};

// Makes a folder the current directory for a scope.
class CurrentDirectory {
  public:
    explicit CurrentDirectory(const std::string& dir);
    ~CurrentDirectory();
    CurrentDirectory(const CurrentDirectory&) = delete;
    CurrentDirectory& operator=(const CurrentDirectory&) = delete;

  private:
    std::string previous_;
};

// A temp game folder with the stand-in game copied in as bf2.exe.
class GameFolder : public TempFolder {
  public:
    GameFolder();
    // Stand-in log records: command line (its bytes) and current directory (UTF-8) of each
    // start, in order.
    struct Start {
        std::string commandLine;
        std::string directory;
    };
    std::vector<Start> starts() const;
    // The records of a stand-in log's bytes.
    static std::vector<Start> startsIn(const std::string& log);
};

// A started process whose handles are closed at the end.
class Process {
  public:
    // Starts `commandLine` in `directory` (nullptr: this process's current directory).
    Process(const std::string& commandLine, const char* directory, DWORD flags = 0);
    // The same with UTF-16 texts, for paths outside the system's code page.
    Process(const std::wstring& commandLine, const wchar_t* directory, DWORD flags = 0);
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    bool started() const { return info_.hProcess != nullptr; }
    HANDLE handle() const { return info_.hProcess; }
    DWORD id() const { return info_.dwProcessId; }
    HANDLE thread() const { return info_.hThread; }
    // Exit code once it has ended within the time, or STILL_ACTIVE.
    DWORD wait(DWORD timeoutMs = 30000) const;

  private:
    PROCESS_INFORMATION info_{};
};

// Open kernel handles of a process, from the system's handle list (Wine answers
// GetProcessHandleCount with 0, but lists every handle here).
unsigned long handleCountOf(DWORD pid);
// Threads of a process, from the system's thread list.
unsigned long threadCountOf(DWORD pid);
// Kernel handles the platform itself leaves behind in the caller per WaitForInputIdle on a
// new process (Wine keeps one event handle each time; Windows none), measured here with the
// stand-in game started from `folder`.
long idleWaitLeakPerCall(const std::string& folder);

// The first top-level window of process `pid` (0: any process) that is visible and whose
// class is `className` (nullptr: any class), or nullptr.
HWND findTopLevelWindow(DWORD pid, const wchar_t* className);

// Windows (top-level and child) that belong to a process: what USER objects can be seen of
// it from outside under Wine, whose GetGuiResources answers 0.
unsigned long windowCountOf(DWORD pid);

std::string readFile(const std::string& path);  // "" when missing
std::string readFile(const std::wstring& path);
void writeFile(const std::wstring& path, const std::string& bytes);
bool fileExists(const std::wstring& path);
std::wstring widen(const std::string& text);  // from the system's code page
std::string toUtf8(const std::wstring& text);
void writeFile(const std::string& path, const std::string& bytes);
bool fileExists(const std::string& path);
void makeFolder(const std::string& path);
void removeTree(const std::string& path);

// Waits until pred() is true or the time runs out; returns the last result.
template <typename Pred>
bool waitFor(Pred pred, DWORD timeoutMs = 10000) {
    const DWORD start = GetTickCount();
    while (!pred()) {
        if (GetTickCount() - start > timeoutMs)
            return pred();
        Sleep(20);
    }
    return true;
}

}  // namespace zarvell::test
