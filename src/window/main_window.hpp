// The launcher's one window: building it from the form, the operations the event handlers
// use on its controls, and its keyboard rules.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "window/form.hpp"

namespace zarvell {

inline constexpr wchar_t kMainWindowClass[] = L"ZarvellWindow";
inline constexpr wchar_t kLabelClass[] = L"ZarvellLabel";
// Posted to the window by a host lookup that has ended; wParam is the lookup's number.
inline constexpr UINT kHostLookedUpMessage = WM_APP + 3;

// Builds MainWindow from the form, runs `onCreated` once all controls exist, then shows
// the window. Returns the window, or nullptr when it could not be built.
HWND buildMainWindow(HINSTANCE instance, void (*onCreated)());

HWND mainWindowHandle();
HWND controlHandle(ControlId id);
// The DPI the window is laid out for, and the height the host panel adds at that DPI.
int windowDpi();
int hostPanelHeight();
// The launch button's tip, once made after the window shows; nullptr until then or without it.
HWND launchTipHandle();

// Control operations. None of them raises an event of the program.
std::string readText(ControlId id);
void writeText(ControlId id, const std::string& text);
bool readCheck(ControlId id);
void writeCheck(ControlId id, bool checked);
void writeVisible(ControlId id, bool visible);
int readWindowHeight();
void writeWindowHeight(int height);
int listCurrentSelection(ControlId id);
std::string listItemText(ControlId id, int index);
int addItem(ControlId id, const std::string& text, LPARAM itemData = 0);
// Adds many items with no item data to a list box, drawing it once at the end.
void addItems(ControlId id, const std::vector<std::string>& texts);

// The loop's own keys, looked at before dispatch: Esc closes the window, Tab and Shift+Tab
// walk the focus cycle. True when the message was used up.
bool handleWindowKeys(const MSG& msg);

// Text of the form (code page 936 bytes) as UTF-16, whatever the system's code page.
std::wstring formText(std::string_view gbk);

}  // namespace zarvell
