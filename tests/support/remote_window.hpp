// Driving a running launcher from another process, the way a user or a tool would.
#pragma once

#include <windows.h>

#include <string>

#include "window/form.hpp"

namespace zarvell::test {

class RemoteLauncher {
  public:
    // Finds the visible main window of process `pid` (0: of any process), waiting up to
    // `timeoutMs`.
    bool attach(DWORD pid, DWORD timeoutMs = 20000);
    HWND window() const { return window_; }
    HWND control(ControlId id) const;

    std::string text(ControlId id) const;  // WM_GETTEXT, in code page 936
    std::wstring wideText(ControlId id) const;
    void setText(ControlId id, const std::string& text) const;
    bool checked(ControlId id) const;
    void click(ControlId id) const;  // BM_CLICK: returns once the handler has run
    // BM_CLICK, false when the handler has not returned within the time (it shows a message).
    bool clickWithin(ControlId id, DWORD timeoutMs) const;
    // BM_CLICK posted: returns at once, for a click whose handler waits on a message box.
    void postClick(ControlId id) const;
    // Brings the window to the front and moves the real mouse onto a control, with a small
    // step inside it so that the control sees the mouse move and rest.
    void hover(ControlId id) const;
    int height() const;
    RECT rect() const;
    int listCount(ControlId id) const;
    int listSelection() const;
    std::string listItem(ControlId id, int index) const;  // via the W message, to 936
    // A key press posted to a control through the launcher's message loop.
    void postKey(ControlId id, WORD key) const;
    // The window that has the keyboard focus in the launcher's GUI thread.
    HWND focus() const;

  private:
    HWND window_ = nullptr;
};

std::string toGbk(const std::wstring& wide);

// A message box (dialog class #32770) of process `pid`, waited for up to `timeoutMs`.
HWND waitForMessageBox(DWORD pid, DWORD timeoutMs = 15000);
// The message of a message box: the text of its longest static control.
std::wstring messageBoxText(HWND box);
// Dismisses a message box with its OK button and waits until it is gone.
bool dismissMessageBox(HWND box);

}  // namespace zarvell::test
