// The launcher's window built in the test process, in a temporary game folder that is the
// current directory; destroyed again, with the program-wide state released, after the test.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include "launch/state.hpp"
#include "test_support.hpp"
#include "window/handlers.hpp"
#include "window/main_window.hpp"

namespace zarvell::test {

class BuiltWindow : public ::testing::Test {
  protected:
    GameFolder game;
    CurrentDirectory cd{game.path()};
    HWND window = nullptr;

    // Builds the window as start-up does (the created event included).
    void build() {
        window = buildMainWindow(GetModuleHandleW(nullptr), onCreated);
        ASSERT_NE(window, nullptr);
        pump();
    }
    void TearDown() override {
        if (window && IsWindow(window))
            DestroyWindow(window);
        pump();
        releaseState();
    }
    // Handles what is queued, as the program's loop would; swallows the quit request.
    static void pump() {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT || handleWindowKeys(msg))
                continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
};

}  // namespace zarvell::test
