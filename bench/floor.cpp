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
    for (const ControlSpec& spec : kForm) {
        HWND parent = spec.parent == kNoParent ? window : created[spec.parent];
        DWORD style = WS_CHILD | (spec.visible ? WS_VISIBLE : 0);
        if (spec.kind == ControlKind::CheckBox)
            style |= BS_AUTOCHECKBOX;
        if (spec.kind == ControlKind::GroupBox)
            style |= BS_GROUPBOX;
        if (spec.kind == ControlKind::ComboBox)
            style |= CBS_DROPDOWNLIST;
        // Group boxes come after their children in the form: make them first.
        if (!parent) {
            const ControlSpec& p = kForm[spec.parent];
            created[p.id] =
                CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | BS_GROUPBOX, p.left, p.top, p.width,
                                p.height, window, nullptr, instance, nullptr);
            parent = created[p.id];
        }
        if (created[spec.id]) {
            if (spec.visible)
                ShowWindow(created[spec.id], SW_SHOWNA);
            continue;
        }
        created[spec.id] =
            CreateWindowExW(0, classOf(spec.kind), L"", style, spec.left, spec.top, spec.width,
                            spec.height, parent, nullptr, instance, nullptr);
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
