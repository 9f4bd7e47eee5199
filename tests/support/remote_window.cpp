#include "remote_window.hpp"

#include "test_support.hpp"
#include "window/main_window.hpp"

namespace zarvell::test {

namespace {
struct ChildSearch {
    int id;
    HWND found;
};

BOOL CALLBACK findChild(HWND hwnd, LPARAM param) {
    auto* s = reinterpret_cast<ChildSearch*>(param);
    if (GetDlgCtrlID(hwnd) == s->id) {
        s->found = hwnd;
        return FALSE;
    }
    return TRUE;
}
}  // namespace

std::string toGbk(const std::wstring& wide) {
    if (wide.empty())
        return {};
    const int n = WideCharToMultiByte(936, 0, wide.data(), static_cast<int>(wide.size()), nullptr,
                                      0, nullptr, nullptr);
    std::string s(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(936, 0, wide.data(), static_cast<int>(wide.size()), s.data(), n, nullptr,
                        nullptr);
    return s;
}

HWND waitForMessageBox(DWORD pid, DWORD timeoutMs) {
    HWND box = nullptr;
    waitFor([&] { return (box = findTopLevelWindow(pid, L"#32770")) != nullptr; }, timeoutMs);
    return box;
}

namespace {
BOOL CALLBACK longestStatic(HWND hwnd, LPARAM param) {
    wchar_t cls[16] = {};
    GetClassNameW(hwnd, cls, 16);
    if (lstrcmpiW(cls, L"Static") != 0)
        return TRUE;
    const LRESULT length = SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(
        SendMessageW(hwnd, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()))));
    auto* longest = reinterpret_cast<std::wstring*>(param);
    if (text.size() > longest->size())
        *longest = text;
    return TRUE;
}
}  // namespace

std::wstring messageBoxText(HWND box) {
    std::wstring text;
    EnumChildWindows(box, longestStatic, reinterpret_cast<LPARAM>(&text));
    return text;
}

bool dismissMessageBox(HWND box) {
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    return waitFor([&] { return !IsWindow(box); });
}

bool RemoteLauncher::attach(DWORD pid, DWORD timeoutMs) {
    waitFor([&] { return (window_ = findTopLevelWindow(pid, kMainWindowClass)) != nullptr; },
            timeoutMs);
    return window_ != nullptr;
}

HWND RemoteLauncher::control(ControlId id) const {
    ChildSearch s{windowsIdOf(id), nullptr};
    EnumChildWindows(window_, findChild, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

std::wstring RemoteLauncher::wideText(ControlId id) const {
    HWND c = control(id);
    const LRESULT length = SendMessageW(c, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT got =
        SendMessageW(c, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(got));
    return text;
}

std::string RemoteLauncher::text(ControlId id) const {
    return toGbk(wideText(id));
}

void RemoteLauncher::setText(ControlId id, const std::string& text) const {
    SendMessageA(control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

bool RemoteLauncher::checked(ControlId id) const {
    return SendMessageW(control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void RemoteLauncher::click(ControlId id) const {
    SendMessageW(control(id), BM_CLICK, 0, 0);
}

bool RemoteLauncher::clickWithin(ControlId id, DWORD timeoutMs) const {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(control(id), BM_CLICK, 0, 0, SMTO_NORMAL, timeoutMs, &result) != 0;
}

void RemoteLauncher::postClick(ControlId id) const {
    PostMessageW(control(id), BM_CLICK, 0, 0);
}

void RemoteLauncher::hover(ControlId id) const {
    SetForegroundWindow(window());
    RECT box;
    GetWindowRect(control(id), &box);
    const int sx = GetSystemMetrics(SM_CXSCREEN) - 1, sy = GetSystemMetrics(SM_CYSCREEN) - 1;
    INPUT move[2] = {};
    for (int i = 0; i < 2; ++i) {
        move[i].type = INPUT_MOUSE;
        move[i].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        move[i].mi.dx = (box.left + 10 + 4 * i) * 65535 / sx;
        move[i].mi.dy = (box.top + 10) * 65535 / sy;
    }
    SendInput(2, move, sizeof(INPUT));
}

RECT RemoteLauncher::rect() const {
    RECT rc{};
    GetWindowRect(window_, &rc);
    return rc;
}

int RemoteLauncher::height() const {
    const RECT rc = rect();
    return rc.bottom - rc.top;
}

int RemoteLauncher::listCount(ControlId id) const {
    return static_cast<int>(
        SendMessageW(control(id), id == hostCombo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0));
}

int RemoteLauncher::listSelection() const {
    return static_cast<int>(SendMessageW(control(modList), LB_GETCURSEL, 0, 0));
}

std::string RemoteLauncher::listItem(ControlId id, int index) const {
    const bool combo = id == hostCombo;
    HWND c = control(id);
    const LRESULT length = SendMessageW(c, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, index, 0);
    if (length < 0)
        return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT got = SendMessageW(c, combo ? CB_GETLBTEXT : LB_GETTEXT, index,
                                     reinterpret_cast<LPARAM>(text.data()));
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return toGbk(text);
}

void RemoteLauncher::postKey(ControlId id, WORD key) const {
    HWND c = control(id);
    const UINT scan = MapVirtualKeyW(key, 0);
    PostMessageW(c, WM_KEYDOWN, key, 1 | (scan << 16));
    PostMessageW(c, WM_KEYUP, key, 1 | (scan << 16) | (3u << 30));
}

HWND RemoteLauncher::focus() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    GetGUIThreadInfo(GetWindowThreadProcessId(window_, nullptr), &info);
    return info.hwndFocus;
}

}  // namespace zarvell::test
