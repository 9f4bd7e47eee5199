#include "test_support.hpp"

#include <gtest/gtest.h>

#include <tlhelp32.h>
#include <winternl.h>

#include <atomic>

namespace zarvell::test {

std::string moduleFolder() {
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path, n);
    return s.substr(0, s.find_last_of('\\'));
}

TempFolder::TempFolder() {
    static std::atomic<unsigned> counter{0};
    char tmp[MAX_PATH];
    GetTempPathA(MAX_PATH, tmp);
    for (;;) {
        path_ = std::string(tmp) + "zarvell-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(counter++);
        if (CreateDirectoryA(path_.c_str(), nullptr))
            break;
        if (GetLastError() != ERROR_ALREADY_EXISTS) {
            ADD_FAILURE() << "cannot create " << path_;
            break;
        }
    }
}

TempFolder::~TempFolder() {
    removeTree(path_);
}

CurrentDirectory::CurrentDirectory(const std::string& dir) {
    char buf[MAX_PATH];
    previous_.assign(buf, GetCurrentDirectoryA(MAX_PATH, buf));
    EXPECT_TRUE(SetCurrentDirectoryA(dir.c_str())) << dir;
}

CurrentDirectory::~CurrentDirectory() {
    SetCurrentDirectoryA(previous_.c_str());
}

GameFolder::GameFolder() {
    const std::string standin = moduleFolder() + "\\bf2_standin.exe";
    EXPECT_TRUE(CopyFileA(standin.c_str(), (*this / "bf2.exe").c_str(), FALSE)) << standin;
}

std::vector<GameFolder::Start> GameFolder::starts() const {
    return startsIn(readFile(*this / "bf2_log.txt"));
}

std::vector<GameFolder::Start> GameFolder::startsIn(const std::string& log) {
    std::vector<Start> result;
    size_t pos = 0;
    while (pos < log.size()) {
        const size_t a = log.find('\n', pos);
        if (a == std::string::npos)
            break;
        const size_t b = log.find('\n', a + 1);
        if (b == std::string::npos)
            break;
        result.push_back({log.substr(pos, a - pos), log.substr(a + 1, b - a - 1)});
        pos = b + 1;
    }
    return result;
}

Process::Process(const std::string& commandLine, const char* directory, DWORD flags) {
    STARTUPINFOA si{};
    si.cb = sizeof(si);
    std::string line = commandLine;
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, flags, nullptr, directory,
                        &si, &info_)) {
        info_ = {};
    }
}

Process::Process(const std::wstring& commandLine, const wchar_t* directory, DWORD flags) {
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    std::wstring line = commandLine;
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, flags, nullptr, directory,
                        &si, &info_)) {
        info_ = {};
    }
}

Process::~Process() {
    if (info_.hThread)
        CloseHandle(info_.hThread);
    if (info_.hProcess)
        CloseHandle(info_.hProcess);
}

DWORD Process::wait(DWORD timeoutMs) const {
    if (!started())
        return STILL_ACTIVE;
    WaitForSingleObject(info_.hProcess, timeoutMs);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

unsigned long handleCountOf(DWORD pid) {
    struct Entry {
        ULONG pid;
        BYTE type;
        BYTE flags;
        USHORT value;
        PVOID object;
        ACCESS_MASK access;
    };
    struct List {
        ULONG count;
        Entry entries[1];
    };
    constexpr auto kSystemHandleInformation = static_cast<SYSTEM_INFORMATION_CLASS>(16);
    constexpr NTSTATUS kInfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004L);
    std::vector<char> buffer(1 << 20);
    NTSTATUS status;
    while ((status = NtQuerySystemInformation(kSystemHandleInformation, buffer.data(),
                                              static_cast<ULONG>(buffer.size()), nullptr)) ==
           kInfoLengthMismatch) {
        buffer.resize(buffer.size() * 2);
    }
    if (status != 0)
        return 0;
    const auto* list = reinterpret_cast<const List*>(buffer.data());
    unsigned long count = 0;
    for (ULONG i = 0; i < list->count; ++i)
        count += list->entries[i].pid == pid ? 1 : 0;
    return count;
}

unsigned long threadCountOf(DWORD pid) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return 0;
    unsigned long count = 0;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL ok = Thread32First(snapshot, &entry); ok; ok = Thread32Next(snapshot, &entry))
        count += entry.th32OwnerProcessID == pid ? 1 : 0;
    CloseHandle(snapshot);
    return count;
}

long idleWaitLeakPerCall(const std::string& folder) {
    const std::string standin = moduleFolder() + "\\bf2_standin.exe";
    auto cycle = [&] {
        STARTUPINFOA si{};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi{};
        std::string line = "\"" + standin + "\" calibration";
        if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            folder.c_str(), &si, &pi)) {
            return;
        }
        WaitForInputIdle(pi.hProcess, 1000);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    };
    cycle();  // the first call may set up things for good
    const long before = static_cast<long>(handleCountOf(GetCurrentProcessId()));
    constexpr int kCycles = 4;
    for (int i = 0; i < kCycles; ++i)
        cycle();
    const long after = static_cast<long>(handleCountOf(GetCurrentProcessId()));
    return (after - before + kCycles / 2) / kCycles;
}

namespace {
struct TopLevelSearch {
    DWORD pid;
    const wchar_t* className;
    HWND found;
};

BOOL CALLBACK matchTopLevel(HWND hwnd, LPARAM param) {
    auto* s = reinterpret_cast<TopLevelSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if ((s->pid != 0 && pid != s->pid) || !IsWindowVisible(hwnd))
        return TRUE;
    wchar_t cls[64] = {};
    GetClassNameW(hwnd, cls, 64);
    if (s->className && lstrcmpiW(cls, s->className) != 0)
        return TRUE;
    s->found = hwnd;
    return FALSE;
}
}  // namespace

HWND findTopLevelWindow(DWORD pid, const wchar_t* className) {
    TopLevelSearch s{pid, className, nullptr};
    EnumWindows(matchTopLevel, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

namespace {
struct WindowCount {
    DWORD pid;
    unsigned long count;
};

BOOL CALLBACK countChild(HWND, LPARAM param) {
    ++reinterpret_cast<WindowCount*>(param)->count;
    return TRUE;
}

BOOL CALLBACK countTopLevel(HWND hwnd, LPARAM param) {
    auto* c = reinterpret_cast<WindowCount*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == c->pid) {
        ++c->count;
        EnumChildWindows(hwnd, countChild, param);
    }
    return TRUE;
}
}  // namespace

unsigned long windowCountOf(DWORD pid) {
    WindowCount c{pid, 0};
    EnumWindows(countTopLevel, reinterpret_cast<LPARAM>(&c));
    return c.count;
}

std::wstring widen(const std::string& text) {
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), n);
    return wide;
}

std::string toUtf8(const std::wstring& text) {
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, bytes.data(), n, nullptr, nullptr);
    return bytes;
}

std::string readFile(const std::wstring& path) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return {};
    std::string bytes;
    char buf[65536];
    DWORD got = 0;
    while (ReadFile(h, buf, sizeof(buf), &got, nullptr) && got > 0)
        bytes.append(buf, got);
    CloseHandle(h);
    return bytes;
}

std::string readFile(const std::string& path) {
    return readFile(widen(path));
}

void writeFile(const std::wstring& path, const std::string& bytes) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << toUtf8(path);
    DWORD written = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(h);
}

void writeFile(const std::string& path, const std::string& bytes) {
    writeFile(widen(path), bytes);
}

bool fileExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool fileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void makeFolder(const std::string& path) {
    EXPECT_TRUE(CreateDirectoryA(path.c_str(), nullptr)) << path;
}

namespace {
// Wide, so that names outside the system's code page (made by the tests) go too.
void removeTreeW(const std::wstring& path) {
    WIN32_FIND_DATAW e;
    HANDLE h = FindFirstFileW((path + L"\\*").c_str(), &e);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = e.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring full = path + L"\\" + name;
            SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (e.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                removeTreeW(full);
            } else {
                DeleteFileW(full.c_str());
            }
        } while (FindNextFileW(h, &e));
        FindClose(h);
    }
    RemoveDirectoryW(path.c_str());
}
}  // namespace

void removeTree(const std::string& path) {
    removeTreeW(widen(path));
}

}  // namespace zarvell::test
