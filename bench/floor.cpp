// The floor for the start-time benchmark: a bare window with the launcher's fourteen
// standard controls at the same places and nothing else: no files, no fonts, no logic.
#include <windows.h>

#include "window/form.hpp"

using namespace zarvell;

namespace {
LRESULT CALLBACK floorProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

const wchar_t* classOf(ControlKind kind) {
    switch (kind) {
        case ControlKind::EditBox:
            return L"EDIT";
        case ControlKind::ListBox:
            return L"LISTBOX";
        case ControlKind::ComboBox:
            return L"COMBOBOX";
        case ControlKind::Label:
            return L"STATIC";
        default:
            return L"BUTTON";
    }
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = floorProc;
    wc.hInstance = instance;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"ZarvellFloor";
    RegisterClassExW(&wc);
    HWND window =
        CreateWindowExW(0, wc.lpszClassName, L"Floor", WS_CAPTION | WS_SYSMENU,
                        (GetSystemMetrics(SM_CXSCREEN) - kWindowWidth) / 2,
                        (GetSystemMetrics(SM_CYSCREEN) - kWindowHeight) / 2, kWindowWidth,
                        kWindowHeight - kHostPanelHeight, nullptr, nullptr, instance, nullptr);
    HWND created[kControlCount] = {};
    for (const ControlSpec& entry : kForm) {
        HWND parent = entry.parent == kNoParent ? window : created[entry.parent];
        DWORD style = WS_CHILD | (entry.visible ? WS_VISIBLE : 0);
        if (entry.kind == ControlKind::CheckBox)
            style |= BS_AUTOCHECKBOX;
        if (entry.kind == ControlKind::GroupBox)
            style |= BS_GROUPBOX;
        if (entry.kind == ControlKind::ComboBox)
            style |= CBS_DROPDOWNLIST;
        // Group boxes come after their children in the form: make them first.
        if (!parent) {
            const ControlSpec& p = kForm[entry.parent];
            created[p.id] =
                CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | BS_GROUPBOX, p.left, p.top, p.width,
                                p.height, window, nullptr, instance, nullptr);
            parent = created[p.id];
        }
        if (created[entry.id]) {
            if (entry.visible)
                ShowWindow(created[entry.id], SW_SHOWNA);
            continue;
        }
        created[entry.id] =
            CreateWindowExW(0, classOf(entry.kind), L"", style, entry.left, entry.top, entry.width,
                            entry.height, parent, nullptr, instance, nullptr);
    }
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
