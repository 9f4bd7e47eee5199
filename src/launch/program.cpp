// The whole run of the program: start-up, the message loop, and the way out.
#include <windows.h>

#include <iterator>
#include <new>

#include "launch/state.hpp"
#include "window/handlers.hpp"
#include "window/main_window.hpp"

namespace zarvell {

namespace {
// 内存不足或无法创建窗口，程序无法继续运行。
constexpr char kFatalText[] =
    "\xC4\xDA\xB4\xE6\xB2\xBB\xD7\xE3\xBB\xF2\xCE\xDE\xB7\xA8\xB4\xB4\xBD\xA8\xB4\xB0\xBF\xDA\xA3"
    "\xAC"
    "\xB3\xCC\xD0\xF2\xCE\xDE\xB7\xA8\xBC\xCC\xD0\xF8\xD4\xCB\xD0\xD0\xA1\xA3";
}  // namespace

void fatalError() {
    // From here on no handler may run: the message box's own loop still delivers what is
    // queued for the window (a click on 启动 would launch and write mod.ini), so the window
    // stops handling anything but the default.
    HWND window = mainWindowHandle();
    if (window && IsWindow(window)) {
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DefWindowProcW));
    } else {
        window = nullptr;
    }
    // Memory may have run out: the text is converted on the stack, not the heap.
    wchar_t text[64] = {};
    MultiByteToWideChar(936, 0, kFatalText, -1, text, static_cast<int>(std::size(text)));
    // Owned by the window, which is disabled while the box shows; task-modal when there is
    // no window yet.
    MessageBoxW(window, text, L"Zarvell", MB_OK | MB_ICONERROR | MB_TASKMODAL);
    ExitProcess(static_cast<UINT>(-1));
}

namespace {
// Runs the exit routine once when the run ends normally (not on the fatal path, which
// leaves through ExitProcess and never unwinds to here).
class ExitRoutine {
  public:
    explicit ExitRoutine(void (*routine)()) : routine_(routine) {}
    ~ExitRoutine() { routine_(); }
    ExitRoutine(const ExitRoutine&) = delete;
    ExitRoutine& operator=(const ExitRoutine&) = delete;

  private:
    void (*routine_)();
};
}  // namespace

int startProgram() {
    std::set_new_handler(fatalError);
    enterProgramFolder();
    hostNames.clear();
    ExitRoutine exitRoutine(releaseState);

    if (!buildMainWindow(GetModuleHandleW(nullptr), onCreated))
        fatalError();

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (handleWindowKeys(msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

}  // namespace zarvell
