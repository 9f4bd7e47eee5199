// The window built in this process: form, styles, texts, fonts, stacking, focus cycle and
// the control operations.
#include <windows.h>

#include <gtest/gtest.h>

#include "launch/mods.hpp"
#include "window_fixture.hpp"

namespace zarvell {
namespace {

class Window : public test::BuiltWindow {
  protected:
    static RECT placeIn(HWND control, HWND reference) {
        RECT rc;
        GetWindowRect(control, &rc);
        MapWindowPoints(HWND_DESKTOP, reference, reinterpret_cast<POINT*>(&rc), 2);
        return rc;
    }
    static std::wstring className(HWND hwnd) {
        wchar_t name[64] = {};
        GetClassNameW(hwnd, name, 64);
        return name;
    }
    void pressTab(bool shift) {
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_SHIFT] = shift ? 0x80 : 0;
        SetKeyboardState(keys);
        MSG msg{GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
        EXPECT_TRUE(handleWindowKeys(msg));
        keys[VK_SHIFT] = 0;
        SetKeyboardState(keys);
    }
    std::vector<ControlId> walk(bool shift, int steps) {
        std::vector<ControlId> seen;
        for (int i = 0; i < steps; ++i) {
            pressTab(shift);
            HWND f = GetFocus();
            int found = -1;
            for (int c = 0; c < kControlCount; ++c) {
                if (controlHandle(static_cast<ControlId>(c)) == f)
                    found = c;
            }
            seen.push_back(static_cast<ControlId>(found));
        }
        return seen;
    }
};

// The form's numbers written out here, apart from the table the window is built from, so that
// a wrong number in that table is caught. The screen is at 96 DPI.
TEST_F(Window, FormNumbersAt96Dpi) {
    build();
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    ASSERT_EQ(dpi, 96) << "this test needs a 96-DPI screen";
    constexpr int gui = 0;  // DEFAULT_GUI_FONT
    const struct {
        ControlId id;
        int parent;  // -1: the window
        int left, top, width, height;
        int fontHeight, fontWeight;  // fontHeight gui: the stock DEFAULT_GUI_FONT itself
        bool tabStop;
    } form[] = {
        {ipHelperCheck, -1, 120, 176, 96, 24, gui, 0, true},
        {addressEdit, hostGroup, 168, 40, 120, 24, gui, 0, true},
        {hostCombo, hostGroup, 8, 40, 136, 160, -14, 400, true},  // created 160 high
        {hostHeadingLabel, hostGroup, 8, 8, 280, 24, -19, 400, false},
        {timesLabel, sizeGroup, 96, 16, 16, 24, -20, 400, false},
        {heightEdit, sizeGroup, 128, 16, 64, 24, gui, 0, true},
        {widthEdit, sizeGroup, 16, 16, 64, 24, gui, 0, true},
        {skipMoviesCheck, -1, 248, 16, 80, 24, gui, 0, true},
        {windowedCheck, -1, 136, 16, 88, 24, gui, 0, true},
        {sizeGroup, -1, 128, 40, 200, 48, gui, 0, false},
        {launchButton, -1, 264, 176, 56, 32, -12, 700, true},
        {modList, -1, 24, 48, 88, 152, -12, 400, true},
        {modHeadingLabel, -1, 24, 8, 88, 40, -16, 400, false},
        {hostGroup, -1, 24, 216, 304, 80, gui, 0, false},
    };
    for (const auto& f : form) {
        HWND c = controlHandle(f.id);
        HWND parent = f.parent < 0 ? window : controlHandle(static_cast<ControlId>(f.parent));
        EXPECT_EQ(GetParent(c), parent) << f.id;
        const RECT rc = placeIn(c, parent);
        EXPECT_EQ(rc.left, f.left) << f.id;
        EXPECT_EQ(rc.top, f.top) << f.id;
        EXPECT_EQ(rc.right - rc.left, f.width) << f.id;
        if (f.id == hostCombo) {
            // The closed field is as high as its font makes it. Windows reports the dropped
            // rectangle as the whole 160 pixels; Wine as the part left below the field.
            RECT dropped{};
            SendMessageW(c, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
            const int droppedHeight = dropped.bottom - dropped.top;
            const int fieldHeight = rc.bottom - rc.top;
            EXPECT_TRUE(droppedHeight == f.height || droppedHeight + fieldHeight == f.height)
                << droppedHeight << " + " << fieldHeight;
        } else {
            EXPECT_EQ(rc.bottom - rc.top, f.height) << f.id;
        }
        const DWORD style = static_cast<DWORD>(GetWindowLongW(c, GWL_STYLE));
        EXPECT_EQ((style & WS_TABSTOP) != 0, f.tabStop) << f.id;
        auto font = reinterpret_cast<HFONT>(SendMessageW(c, WM_GETFONT, 0, 0));
        if (f.fontHeight == gui) {
            EXPECT_EQ(font, GetStockObject(DEFAULT_GUI_FONT)) << f.id;
            continue;
        }
        LOGFONTW lf{};
        ASSERT_NE(GetObjectW(font, sizeof(lf), &lf), 0) << f.id;
        EXPECT_EQ(lf.lfHeight, f.fontHeight) << f.id;
        EXPECT_EQ(lf.lfWeight, f.fontWeight) << f.id;
        EXPECT_STREQ(lf.lfFaceName, L"\x5FAE\x8F6F\x96C5\x9ED1") << f.id;  // 微软雅黑
    }
    // The window: 350 wide, first shown 240 high, 340 with the host panel.
    RECT outer;
    GetWindowRect(window, &outer);
    EXPECT_EQ(outer.right - outer.left, 350);
    EXPECT_EQ(outer.bottom - outer.top, 240);
}

TEST_F(Window, EveryControlStandsWhereTheFormSays) {
    build();
    for (const ControlSpec& entry : kForm) {
        HWND c = controlHandle(entry.id);
        HWND parent = entry.parent == kNoParent ? window : controlHandle(entry.parent);
        EXPECT_EQ(GetParent(c), parent) << entry.id;
        const RECT rc = placeIn(c, parent);
        EXPECT_EQ(rc.left, entry.left) << entry.id;
        EXPECT_EQ(rc.top, entry.top) << entry.id;
        EXPECT_EQ(rc.right - rc.left, entry.width) << entry.id;
        if (entry.kind != ControlKind::ComboBox) {
            EXPECT_EQ(rc.bottom - rc.top, entry.height) << entry.id;
        }
        EXPECT_EQ(GetDlgCtrlID(c), windowsIdOf(entry.id));
    }
    // The drop-down was created 160 high: field and list share those pixels (Wine reports the
    // dropped rectangle as what is left below the field's height).
    RECT dropped{};
    SendMessageW(controlHandle(hostCombo), CB_GETDROPPEDCONTROLRECT, 0,
                 reinterpret_cast<LPARAM>(&dropped));
    RECT field{};
    GetWindowRect(controlHandle(hostCombo), &field);
    const int fieldHeight = field.bottom - field.top;
    EXPECT_GE(dropped.bottom - dropped.top + fieldHeight, 160);
    // Children of the group boxes, in the window's client coordinates.
    const struct {
        ControlId id;
        int left, top;
    } inClient[] = {{widthEdit, 144, 56},        {timesLabel, 224, 56}, {heightEdit, 256, 56},
                    {hostHeadingLabel, 32, 224}, {hostCombo, 32, 256},  {addressEdit, 192, 256}};
    for (const auto& p : inClient) {
        const RECT rc = placeIn(controlHandle(p.id), window);
        EXPECT_EQ(rc.left, p.left) << p.id;
        EXPECT_EQ(rc.top, p.top) << p.id;
    }
}

TEST_F(Window, ClassesStylesAndTexts) {
    build();
    struct Expect {
        ControlKind kind;
        std::wstring cls;
        DWORD style;
        DWORD exStyle;
    };
    const Expect kinds[] = {
        {ControlKind::CheckBox, L"Button", BS_AUTOCHECKBOX | BS_MULTILINE | BS_LEFT | BS_VCENTER,
         0},
        {ControlKind::EditBox, L"Edit", ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE},
        {ControlKind::GroupBox, L"Button", BS_GROUPBOX | BS_LEFT, 0},
        {ControlKind::Label, kLabelClass, 0, 0},
        {ControlKind::Button, L"Button", BS_PUSHBUTTON | BS_CENTER | BS_VCENTER | BS_MULTILINE, 0},
        {ControlKind::ListBox, L"ListBox", LBS_NOTIFY | LBS_USETABSTOPS | LBS_NOINTEGRALHEIGHT,
         WS_EX_CLIENTEDGE},
        {ControlKind::ComboBox, L"ComboBox", CBS_DROPDOWNLIST | CBS_AUTOHSCROLL, 0},
    };
    for (const ControlSpec& entry : kForm) {
        HWND c = controlHandle(entry.id);
        const Expect* e = nullptr;
        for (const auto& k : kinds) {
            if (k.kind == entry.kind)
                e = &k;
        }
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(_wcsicmp(className(c).c_str(), e->cls.c_str()), 0) << entry.id;
        const DWORD style = static_cast<DWORD>(GetWindowLongW(c, GWL_STYLE));
        DWORD expected = WS_CHILD | WS_CLIPSIBLINGS | e->style;
        if (entry.tabStop)
            expected |= WS_TABSTOP;
        EXPECT_EQ(style & expected, expected) << entry.id;
        EXPECT_EQ((style & WS_TABSTOP) != 0, entry.tabStop) << entry.id;
        EXPECT_EQ(style & (ES_NUMBER | ES_PASSWORD | ES_READONLY | ES_MULTILINE) &
                      (entry.kind == ControlKind::EditBox ? ~0u : 0u),
                  0u);
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(c, GWL_EXSTYLE)) & WS_EX_CLIENTEDGE, e->exStyle)
            << entry.id;
        if (entry.kind == ControlKind::ListBox) {
            EXPECT_EQ(style & (LBS_SORT | LBS_EXTENDEDSEL | LBS_MULTIPLESEL), 0u);
        }
        if (entry.kind == ControlKind::ComboBox) {
            EXPECT_EQ(style & CBS_SORT, 0u);
        }
        if (entry.kind != ControlKind::EditBox && entry.kind != ControlKind::ComboBox) {
            char text[64] = {};
            GetWindowTextA(c, text, sizeof(text));
            EXPECT_EQ(std::string(text), entry.text) << entry.id;
        }
    }
    // Exact bytes of every caption under code page 936.
    const std::pair<ControlId, const char*> captions[] = {
        {ipHelperCheck,
         "\xCF\xD4\xCA\xBE"
         "IP"
         "\xD6\xFA\xCA\xD6"},
        {hostHeadingLabel, "\xD6\xF7\xBB\xFA\xC3\xFB                  IP\xB5\xD8\xD6\xB7"},
        {timesLabel, "\xA1\xC1"},
        {skipMoviesCheck, "\xCC\xF8\xB9\xFD\xB6\xAF\xBB\xAD"},
        {windowedCheck, "\xB4\xB0\xBF\xDA\xBB\xAF\xC6\xF4\xB6\xAF"},
        {launchButton, "\xC6\xF4\xB6\xAF"},
        {modHeadingLabel, "\xC4\xA3\xD7\xE9\xD1\xA1\xD4\xF1"},
    };
    for (const auto& [id, bytes] : captions) {
        char text[64] = {};
        GetWindowTextA(controlHandle(id), text, sizeof(text));
        EXPECT_STREQ(text, bytes) << id;
    }
    wchar_t caption[16] = {};
    GetWindowTextW(window, caption, 16);
    EXPECT_STREQ(caption, L"Zarvell");
    const DWORD style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN),
              static_cast<DWORD>(WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN));
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0u);
    EXPECT_EQ(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
}

TEST_F(Window, FontsFromTheFontTable) {
    build();
    for (const ControlSpec& entry : kForm) {
        auto font =
            reinterpret_cast<HFONT>(SendMessageW(controlHandle(entry.id), WM_GETFONT, 0, 0));
        ASSERT_NE(font, nullptr) << entry.id;
        LOGFONTW lf{};
        GetObjectW(font, sizeof(lf), &lf);
        if (entry.font) {
            EXPECT_EQ(lf.lfHeight, entry.font->height) << entry.id;
            EXPECT_EQ(lf.lfWeight, entry.font->weight) << entry.id;
            EXPECT_STREQ(lf.lfFaceName, L"\x5FAE\x8F6F\x96C5\x9ED1") << entry.id;  // 微软雅黑
            EXPECT_EQ(lf.lfQuality, PROOF_QUALITY);
        } else {
            EXPECT_EQ(font, GetStockObject(DEFAULT_GUI_FONT)) << entry.id;
        }
    }
}

// (The drop-down gets CB_SETITEMHEIGHT the same way, but Wine honours it only for owner-drawn
// combo boxes, so only the list box can be checked here.)
TEST_F(Window, ListItemsOnePixelTallerThanTheirFontAsks) {
    build();
    // A plain list box with the same font says what the font alone asks for.
    HWND plain = CreateWindowExW(0, L"LISTBOX", L"", WS_CHILD | LBS_NOINTEGRALHEIGHT, 0, 0, 80, 152,
                                 window, nullptr, nullptr, nullptr);
    SendMessageW(plain, WM_SETFONT, SendMessageW(controlHandle(modList), WM_GETFONT, 0, 0), 0);
    const LRESULT natural = SendMessageW(plain, LB_GETITEMHEIGHT, 0, 0);
    DestroyWindow(plain);
    EXPECT_GT(natural, 0);
    EXPECT_EQ(SendMessageW(controlHandle(modList), LB_GETITEMHEIGHT, 0, 0), natural + 1);
}

TEST_F(Window, StackingFollowsTheFormPerParent) {
    build();
    for (int parent = kNoParent; parent < kControlCount; ++parent) {
        std::vector<HWND> expected;
        for (const ControlSpec& entry : kForm) {
            if (entry.parent == parent)
                expected.push_back(controlHandle(entry.id));
        }
        if (expected.empty())
            continue;
        HWND p = parent == kNoParent ? window : controlHandle(static_cast<ControlId>(parent));
        std::vector<HWND> actual;
        for (HWND c = GetWindow(p, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            actual.push_back(c);
        }
        EXPECT_EQ(actual, expected) << parent;
    }
}

TEST_F(Window, FirstShownCollapsedWhereTheFullWindowWouldBeCentred) {
    build();
    RECT rc;
    GetWindowRect(window, &rc);
    EXPECT_EQ(rc.right - rc.left, 350);
    EXPECT_EQ(rc.bottom - rc.top, 240);
    EXPECT_EQ(rc.left, (GetSystemMetrics(SM_CXSCREEN) - 350) / 2);
    EXPECT_EQ(rc.top, (GetSystemMetrics(SM_CYSCREEN) - 340) / 2);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_FALSE(IsWindowVisible(controlHandle(sizeGroup)));
    EXPECT_TRUE(IsWindowVisible(controlHandle(hostGroup)));
    // The host panel lies below the client area.
    RECT client;
    GetClientRect(window, &client);
    EXPECT_LE(client.bottom, 216);
    EXPECT_EQ(GetFocus(), controlHandle(modList));
}

TEST_F(Window, TabWalksTheFixedCycleOverVisibleControls) {
    build();
    // Size boxes hidden: Tab passes over them, but not over the cut-off host panel.
    const std::vector<ControlId> forward = {launchButton, windowedCheck, skipMoviesCheck, hostCombo,
                                            addressEdit,  ipHelperCheck, modList};
    EXPECT_EQ(walk(false, 7), forward);
    const std::vector<ControlId> backward = {ipHelperCheck,   addressEdit,   hostCombo,
                                             skipMoviesCheck, windowedCheck, launchButton,
                                             modList};
    EXPECT_EQ(walk(true, 7), backward);

    writeCheck(windowedCheck, true);
    onWindowedClicked();
    const std::vector<ControlId> withSizes = {launchButton, windowedCheck, skipMoviesCheck,
                                              widthEdit,    heightEdit,    hostCombo};
    EXPECT_EQ(walk(false, 6), withSizes);
}

TEST_F(Window, FocusComesBackAfterDeactivation) {
    build();
    SetFocus(controlHandle(skipMoviesCheck));
    SendMessageW(window, WM_ACTIVATE, WA_INACTIVE, 0);
    SetFocus(window);  // what activation does by default
    SendMessageW(window, WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_EQ(GetFocus(), controlHandle(skipMoviesCheck));
}

TEST_F(Window, EscapeClosesFromAnyControl) {
    build();
    MSG msg{controlHandle(widthEdit), WM_KEYDOWN, VK_ESCAPE, 0, 0, {}};
    EXPECT_TRUE(handleWindowKeys(msg));
    EXPECT_FALSE(IsWindow(window));
    MSG quit;
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 0u);
}

TEST_F(Window, ListOperations) {
    build();
    EXPECT_EQ(listCurrentSelection(modList), -1);
    EXPECT_EQ(listItemText(modList, -1), "");
    EXPECT_EQ(addItem(modList, "b"), 0);
    EXPECT_EQ(addItem(modList, "a"), 1);  // no sorting
    EXPECT_EQ(addItem(modList, "a"), 2);  // equal texts are separate items
    EXPECT_EQ(addItem(modList, "\xD6\xD0\xCE\xC4"), 3);
    EXPECT_EQ(listItemText(modList, 1), "a");
    EXPECT_EQ(listItemText(modList, 3), "\xD6\xD0\xCE\xC4");
    EXPECT_EQ(listItemText(modList, 4), "");
    EXPECT_EQ(addItem(hostCombo, "h", 7), 0);
    EXPECT_EQ(SendMessageW(controlHandle(hostCombo), CB_GETITEMDATA, 0, 0), 7);
    EXPECT_EQ(readText(hostCombo), "");  // nothing chosen
}

TEST_F(Window, HostPanelToggleChangesTheHeightByOneHundred) {
    build();
    RECT before;
    GetWindowRect(window, &before);
    writeCheck(ipHelperCheck, true);
    onIpHelperClicked();
    EXPECT_EQ(readWindowHeight(), 340);
    writeCheck(ipHelperCheck, false);
    onIpHelperClicked();
    RECT after;
    GetWindowRect(window, &after);
    EXPECT_EQ(after.bottom - after.top, 240);
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);
}

TEST_F(Window, CreatedEventPutsTheSettingsIn) {
    test::writeFile(game / "mod.ini",
                    "[mod]\r\nszx=abc\r\nszy=\r\nwin=\xD5\xE6\r\nmovie=\xD5\xE6\r\nname=a,,b\r\n");
    test::makeFolder(game / "mods");
    test::makeFolder(game / "mods\\one");
    build();
    EXPECT_EQ(readText(widthEdit), "abc");
    EXPECT_EQ(readText(heightEdit), "");
    EXPECT_TRUE(readCheck(windowedCheck));
    EXPECT_TRUE(IsWindowVisible(controlHandle(sizeGroup)));
    EXPECT_EQ(launchState.displaySwitch, " +fullscreen 0");
    EXPECT_EQ(launchState.movieSwitch, " +restart");
    EXPECT_EQ(launchState.modSwitch, "");
    EXPECT_EQ(launchState.resolutionSwitch, "");
    EXPECT_EQ(listItemText(modList, 0), "one");
    EXPECT_EQ(SendMessageW(controlHandle(hostCombo), CB_GETCOUNT, 0, 0), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(SendMessageW(controlHandle(hostCombo), CB_GETITEMDATA, i, 0), i + 1);
    }
    EXPECT_EQ(hostNames, (std::vector<std::string>{"a", "", "b"}));
}

TEST_F(Window, AModListLongerThanItsBoxIsFilledInOrderAndScrolls) {
    test::makeFolder(game / "mods");
    for (int i = 0; i < 40; ++i)
        test::makeFolder(game / "mods\\m" + std::to_string(100 + i));
    const std::vector<std::string> mods = discoverMods();  // in the platform's order
    ASSERT_EQ(mods.size(), 40u);
    build();
    HWND list = controlHandle(modList);
    ASSERT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 40);
    for (int i = 0; i < 40; ++i)
        EXPECT_EQ(listItemText(modList, i), mods[i]) << i;
    EXPECT_EQ(SendMessageW(list, LB_GETITEMDATA, 0, 0), 0);
    // Drawing is on again: the list shows, with a scroll bar over all its items.
    EXPECT_TRUE(IsWindowVisible(list));
    EXPECT_NE(GetWindowLongPtrW(list, GWL_STYLE) & WS_VSCROLL, 0);
    SCROLLINFO scroll{};
    scroll.cbSize = sizeof(scroll);
    scroll.fMask = SIF_RANGE;
    ASSERT_TRUE(GetScrollInfo(list, SB_VERT, &scroll));
    EXPECT_EQ(scroll.nMax, 39);
}

TEST_F(Window, DefaultsWithoutASettingsFile) {
    build();
    EXPECT_EQ(readText(widthEdit), "1024");
    EXPECT_EQ(readText(heightEdit), "680");
    EXPECT_FALSE(readCheck(windowedCheck));
    EXPECT_EQ(launchState.displaySwitch, " +fullscreen 1");
    EXPECT_EQ(launchState.movieSwitch, "");
    EXPECT_EQ(SendMessageW(controlHandle(modList), LB_GETCOUNT, 0, 0), 0);
    EXPECT_FALSE(test::fileExists(game / "mod.ini"));
}

}  // namespace
}  // namespace zarvell
