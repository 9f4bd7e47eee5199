// The whole run of the program: start-up, the message loop, and the way out.
#include <windows.h>

#include <new>

#include "launch/state.hpp"
#include "window/handlers.hpp"
#include "window/main_window.hpp"

namespace zarvell {

void fatalError() {
    MessageBoxW(nullptr, L"Zarvell cannot continue: out of memory or no window.", L"Zarvell",
                MB_OK | MB_ICONERROR);
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
