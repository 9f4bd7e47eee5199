// Drives a running launcher for the demo: `demo_driver wait` returns once its window is on
// screen; `demo_driver hover` rests the mouse on the launch button; `demo_driver show` picks the
// first mod, turns on the windowed start and the host panel, picks the first host and launches;
// `demo_driver close` closes the window; `demo_driver rect [width height]` prints the window's
// place as ImageMagick's WxH+X+Y, or that of a region of the given size (pixels at 96 DPI,
// scaled to the screen's) from the window's top-left corner. Prints what it did.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "remote_window.hpp"
#include "test_support.hpp"

using namespace zarvell;

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: demo_driver wait|show|hover|close|rect [width height]\n");
        return 2;
    }
    test::RemoteLauncher launcher;
    if (!launcher.attach(0)) {
        std::fprintf(stderr, "demo_driver: no launcher window\n");
        return 1;
    }
    if (std::strcmp(argv[1], "wait") == 0)
        return 0;
    if (std::strcmp(argv[1], "hover") == 0) {
        RECT button;
        GetWindowRect(launcher.control(launchButton), &button);
        SetForegroundWindow(launcher.window());
        SetCursorPos(button.left + 12, button.top + 12);
        Sleep(50);
        SetCursorPos(button.left + 16, button.top + 12);
        return 0;
    }
    if (std::strcmp(argv[1], "rect") == 0) {
        RECT rc;
        GetWindowRect(launcher.window(), &rc);
        if (argc >= 4) {
            HDC screen = GetDC(nullptr);
            const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
            ReleaseDC(nullptr, screen);
            rc.right = rc.left + MulDiv(std::atoi(argv[2]), dpi, 96);
            rc.bottom = rc.top + MulDiv(std::atoi(argv[3]), dpi, 96);
        }
        std::printf("%ldx%ld+%ld+%ld\n", rc.right - rc.left, rc.bottom - rc.top, rc.left, rc.top);
        return 0;
    }
    if (std::strcmp(argv[1], "close") == 0) {
        PostMessageW(launcher.window(), WM_CLOSE, 0, 0);
        return 0;
    }
    launcher.postKey(modList, VK_DOWN);
    launcher.click(windowedCheck);
    launcher.click(ipHelperCheck);
    launcher.postKey(hostCombo, VK_DOWN);
    test::waitFor([&] { return !launcher.text(addressEdit).empty(); }, 5000);
    launcher.click(launchButton);
    std::printf("mod: %s, host: %s -> %s\n", launcher.listItem(modList, 0).c_str(),
                launcher.text(hostCombo).c_str(), launcher.text(addressEdit).c_str());
    return 0;
}
