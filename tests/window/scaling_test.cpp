// The form at the screen's DPI and after a change of DPI, the launch button's tip with either
// version of the common controls, the system's colours and the window's icons.
//
// CTest runs this program in the default prefix (96 DPI) and again in prefixes whose DPI or
// colours are set (ZARVELL_TEST_DPI, ZARVELL_TEST_COLOURS say what that prefix must give).
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "window_fixture.hpp"

namespace zarvell {
namespace {

// The rule, as Windows rounds it.
int scaled(int value, int dpi) {
    return MulDiv(value, dpi, 96);
}

RECT placeIn(HWND control, HWND reference) {
    RECT rc;
    GetWindowRect(control, &rc);
    MapWindowPoints(HWND_DESKTOP, reference, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

LOGFONTW fontOf(HWND control) {
    LOGFONTW lf{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof(lf), &lf);
    return lf;
}

int screenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

// The client area the form's 350 x 340 window leaves at 96 DPI, from the system's frame.
SIZE formClientAt96() {
    using Adjust = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    const auto adjust = reinterpret_cast<Adjust>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi")));
    RECT frame{};
    if (adjust)
        adjust(&frame, WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, FALSE, 0, 96);
    return {350 - (frame.right - frame.left), 340 - (frame.bottom - frame.top)};
}

SIZE clientSize(HWND window) {
    RECT rc;
    GetClientRect(window, &rc);
    return {rc.right, rc.bottom};
}

// Every control at the form's place and size scaled to `dpi`, with its font at that DPI.
void expectFormAt(int dpi, HWND window) {
    LOGFONTW stock{};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(stock), &stock);
    for (const ControlSpec& entry : kForm) {
        HWND c = controlHandle(entry.id);
        HWND parent = entry.parent == kNoParent ? window : controlHandle(entry.parent);
        const RECT rc = placeIn(c, parent);
        EXPECT_EQ(rc.left, scaled(entry.left, dpi)) << entry.id << " at " << dpi;
        EXPECT_EQ(rc.top, scaled(entry.top, dpi)) << entry.id << " at " << dpi;
        EXPECT_EQ(rc.right - rc.left, scaled(entry.width, dpi)) << entry.id << " at " << dpi;
        if (entry.kind != ControlKind::ComboBox) {
            EXPECT_EQ(rc.bottom - rc.top, scaled(entry.height, dpi)) << entry.id << " at " << dpi;
        }
        const LOGFONTW lf = fontOf(c);
        if (entry.font) {
            EXPECT_EQ(lf.lfHeight, scaled(entry.font->height, dpi)) << entry.id << " at " << dpi;
            EXPECT_EQ(lf.lfWeight, entry.font->weight) << entry.id;
        } else {
            // The default GUI font, made for the screen's DPI, at the window's.
            EXPECT_EQ(lf.lfHeight, MulDiv(stock.lfHeight, dpi, screenDpi()))
                << entry.id << " at " << dpi;
            EXPECT_STREQ(lf.lfFaceName, stock.lfFaceName) << entry.id;
        }
    }
}

class AtDpi : public test::BuiltWindow {
  protected:
    void SetUp() override {
        if (const char* want = std::getenv("ZARVELL_TEST_DPI")) {
            ASSERT_EQ(screenDpi(), std::atoi(want)) << "the prefix does not give its DPI";
        }
    }
};

TEST_F(AtDpi, EveryNumberOfTheFormScaledByTheRule) {
    build();
    const int dpi = windowDpi();
    EXPECT_EQ(dpi, screenDpi());
    expectFormAt(dpi, window);

    // The window's client area is the form's scaled; the host panel adds the scaled 100 and
    // lies below the client area while it is collapsed.
    const SIZE at96 = formClientAt96();
    const int panelTop = scaled(216, dpi), panelBottom = scaled(296, dpi);
    RECT collapsed;
    GetWindowRect(window, &collapsed);
    EXPECT_LE(clientSize(window).cy, panelTop);
    writeCheck(ipHelperCheck, true);
    onIpHelperClicked();
    RECT expanded;
    GetWindowRect(window, &expanded);
    EXPECT_EQ((expanded.bottom - expanded.top) - (collapsed.bottom - collapsed.top),
              scaled(100, dpi));
    EXPECT_EQ(clientSize(window).cx, scaled(at96.cx, dpi));
    EXPECT_EQ(clientSize(window).cy, scaled(at96.cy, dpi));
    EXPECT_GE(clientSize(window).cy, panelBottom);
    // Centred for the full window, as at 96 DPI.
    EXPECT_EQ(expanded.left,
              (GetSystemMetrics(SM_CXSCREEN) - (expanded.right - expanded.left)) / 2);
    EXPECT_EQ(expanded.top, (GetSystemMetrics(SM_CYSCREEN) - (expanded.bottom - expanded.top)) / 2);
    std::printf("at %d DPI: window %ld x %ld (client %ld x %ld), collapsed %ld high\n", dpi,
                expanded.right - expanded.left, expanded.bottom - expanded.top,
                clientSize(window).cx, clientSize(window).cy, collapsed.bottom - collapsed.top);

    // The icons at the window's DPI.
    for (auto [which, size] : {std::pair{ICON_BIG, 32}, std::pair{ICON_SMALL, 16}}) {
        auto icon = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, which, 0));
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info)) << which;
        BITMAP bm{};
        GetObjectW(info.hbmColor, sizeof(bm), &bm);
        EXPECT_EQ(bm.bmWidth, scaled(size, dpi)) << which;
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
    }
}

// No caption wraps or is cut: its extent in the control's own font fits the room the control
// leaves for it. A check box leaves its width less the box and the gap after it (13 and 3
// pixels at 96 DPI); a push button its size less a 4-pixel margin all round (edge and focus
// frame); a label all of itself.
TEST_F(AtDpi, CaptionsFitTheRoomOfTheirControls) {
    build();
    const int dpi = windowDpi();
    for (const ControlSpec& entry : kForm) {
        int marginX = 0, marginY = 0;
        switch (entry.kind) {
            case ControlKind::CheckBox:
                marginX = scaled(16, dpi);
                break;
            case ControlKind::Button:
                marginX = marginY = 2 * scaled(4, dpi);
                break;
            case ControlKind::Label:
                break;
            default:
                continue;
        }
        HWND c = controlHandle(entry.id);
        wchar_t text[64] = {};
        const int length = GetWindowTextW(c, text, 64);
        HDC dc = GetDC(c);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(c, WM_GETFONT, 0, 0)));
        SIZE extent{};
        GetTextExtentPoint32W(dc, text, length, &extent);
        SelectObject(dc, old);
        ReleaseDC(c, dc);
        RECT rc;
        GetClientRect(c, &rc);
        const int roomX = rc.right - marginX, roomY = rc.bottom - marginY;
        EXPECT_LE(extent.cx, roomX) << entry.id << " at " << dpi;
        EXPECT_LE(extent.cy, roomY) << entry.id << " at " << dpi;
        std::printf("at %d DPI: control %d text %ld x %ld, room %d x %d\n", dpi, entry.id,
                    extent.cx, extent.cy, roomX, roomY);
    }
}

// A change of DPI (the window dragged to another monitor) lays the form out again and
// changes nothing else; back at the first DPI everything is as it was.
TEST_F(AtDpi, ADpiChangeMovesAndResizesOnly) {
    test::makeFolder(game / "mods");
    test::makeFolder(game / "mods\\Desert Combat");
    test::makeFolder(game / "mods\\Forgotten Hope");
    test::writeFile(game / "mod.ini", "[mod]\r\nname=localhost,example.invalid\r\n");
    build();
    const int first = windowDpi();
    writeCheck(windowedCheck, true);
    onWindowedClicked();
    writeText(widthEdit, "1280");
    SendMessageW(controlHandle(modList), LB_SETCURSEL, 1, 0);
    onModSelected();
    SendMessageW(controlHandle(hostCombo), CB_SETCURSEL, 1, 0);
    writeCheck(ipHelperCheck, true);
    onIpHelperClicked();
    SetFocus(controlHandle(skipMoviesCheck));

    struct State {
        std::vector<std::string> texts;
        std::vector<LRESULT> checks;
        std::vector<bool> visible;
        LRESULT modChoice, hostChoice;
        HWND focus;
        std::string commandLine;
        bool operator==(const State&) const = default;
    };
    auto state = [] {
        State s;
        for (const ControlSpec& entry : kForm) {
            s.texts.push_back(readText(entry.id));
            s.checks.push_back(SendMessageW(controlHandle(entry.id), BM_GETCHECK, 0, 0));
            s.visible.push_back(IsWindowVisible(controlHandle(entry.id)) != FALSE);
        }
        s.modChoice = SendMessageW(controlHandle(modList), LB_GETCURSEL, 0, 0);
        s.hostChoice = SendMessageW(controlHandle(hostCombo), CB_GETCURSEL, 0, 0);
        s.focus = GetFocus();
        s.commandLine = previewLaunchCommand();
        return s;
    };
    const State before = state();
    RECT start;
    GetWindowRect(window, &start);
    auto icon = [&] { return reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, 0, 0)); };
    const HICON firstIcon = icon();
    auto itemHeight = [] { return SendMessageW(controlHandle(modList), LB_GETITEMHEIGHT, 0, 0); };
    const LRESULT firstItemHeight = itemHeight();

    for (int dpi : {first * 2, first}) {
        // Where Windows would put the window: moved a little, its size scaled.
        RECT now;
        GetWindowRect(window, &now);
        const int oldDpi = windowDpi();
        RECT suggested{now.left + 8, now.top + 8,
                       now.left + 8 + MulDiv(now.right - now.left, dpi, oldDpi),
                       now.top + 8 + MulDiv(now.bottom - now.top, dpi, oldDpi)};
        SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                     reinterpret_cast<LPARAM>(&suggested));
        test::BuiltWindow::pump();
        EXPECT_EQ(windowDpi(), dpi);
        expectFormAt(dpi, window);
        RECT after;
        GetWindowRect(window, &after);
        EXPECT_EQ(after.left, suggested.left) << dpi;
        EXPECT_EQ(after.top, suggested.top) << dpi;
        // The host panel stays in view: the client area is the whole form's, scaled.
        const SIZE at96 = formClientAt96();
        EXPECT_EQ(clientSize(window).cx, scaled(at96.cx, dpi)) << dpi;
        EXPECT_EQ(clientSize(window).cy, scaled(at96.cy, dpi)) << dpi;
        EXPECT_TRUE(state() == before) << "at " << dpi;
        // The list's items grow with its font, one pixel taller than it asks as at the start.
        if (dpi == first) {
            EXPECT_EQ(itemHeight(), firstItemHeight);
        } else {
            EXPECT_GT(itemHeight(), firstItemHeight + firstItemHeight / 2);
        }
        ICONINFO info{};
        EXPECT_TRUE(GetIconInfo(icon(), &info));
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
    }
    RECT end;
    GetWindowRect(window, &end);
    EXPECT_EQ(end.right - end.left, start.right - start.left);
    EXPECT_EQ(end.bottom - end.top, start.bottom - start.top);
    // The icons of the first DPI were given back when the window took new ones.
    ICONINFO info{};
    EXPECT_FALSE(GetIconInfo(firstIcon, &info));

    // Collapsed, the panel stays below the client area at the new DPI too.
    writeCheck(ipHelperCheck, false);
    onIpHelperClicked();
    RECT now;
    GetWindowRect(window, &now);
    RECT suggested{now.left, now.top, now.left + 2 * (now.right - now.left),
                   now.top + 2 * (now.bottom - now.top)};
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(2 * first, 2 * first),
                 reinterpret_cast<LPARAM>(&suggested));
    EXPECT_LE(clientSize(window).cy, scaled(216, 2 * first));
}

// The tip of the launch button holds exactly one tool.
using LaunchTip = test::BuiltWindow;
TEST_F(LaunchTip, HoldsOneTool) {
    build();
    HWND tip = launchTipHandle();
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
    EXPECT_EQ(SendMessageW(tip, TTM_GETMAXTIPWIDTH, 0, 0), scaled(320, windowDpi()));
}

// Stand-ins for the tooltip class of the common controls, registered by this program under
// the same name so that the launcher gets one of them: one that takes a tool only up to the
// size version 5.82 accepts, and one that takes none.
struct FakeTip {
    static inline UINT lastSize = 0;
    static inline int tools = 0;
    static inline bool refuseAll = false;
    static LRESULT CALLBACK proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == TTM_ADDTOOLW) {
            lastSize = reinterpret_cast<const TTTOOLINFOW*>(lParam)->cbSize;
            const bool accepted = !refuseAll && lastSize <= TTTOOLINFOW_V2_SIZE;
            tools += accepted;
            return accepted;
        }
        if (message == TTM_GETTOOLCOUNT)
            return tools;
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
};

class LaunchTipFallback : public test::BuiltWindow, public ::testing::WithParamInterface<bool> {
  protected:
    void SetUp() override {
        WNDCLASSW wc{};
        wc.lpfnWndProc = FakeTip::proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = TOOLTIPS_CLASSW;
        ASSERT_TRUE(RegisterClassW(&wc));
        FakeTip::lastSize = 0;
        FakeTip::tools = 0;
        FakeTip::refuseAll = GetParam();
    }
    void TearDown() override {
        test::BuiltWindow::TearDown();
        UnregisterClassW(TOOLTIPS_CLASSW, GetModuleHandleW(nullptr));
    }
};

TEST_P(LaunchTipFallback, TheLauncherWorksWithWhatTheTooltipAccepts) {
    const bool refuseAll = GetParam();
    build();
    EXPECT_GT(FakeTip::lastSize, 0u);
    EXPECT_LE(FakeTip::lastSize, TTTOOLINFOW_V2_SIZE);
    HWND tip = launchTipHandle();
    if (refuseAll) {
        EXPECT_EQ(tip, nullptr);  // made without its tool: given back
        EXPECT_EQ(FindWindowW(TOOLTIPS_CLASSW, nullptr), nullptr);
    } else {
        ASSERT_NE(tip, nullptr);
        EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
    }
    // Either way the window goes on: hovering asks nothing of a missing tip, a launch starts.
    onLaunchClicked();
    ASSERT_EQ(game.starts().size(), 1u);
    EXPECT_EQ(game.starts()[0].commandLine, "bf2.exe + menu 1 +wx 0 +wy 0 +fullscreen 1");
}
INSTANTIATE_TEST_SUITE_P(Tooltip, LaunchTipFallback, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "RefusesAll" : "Version582"; });

// Colours come from the system. In the prefix with changed colours (ZARVELL_TEST_COLOURS),
// they differ from the classic black on grey and white.
class SystemColours : public test::BuiltWindow {
  protected:
    void SetUp() override {
        if (std::getenv("ZARVELL_TEST_COLOURS")) {
            ASSERT_EQ(GetSysColor(COLOR_BTNTEXT), RGB(255, 255, 0)) << "prefix colours missing";
            ASSERT_EQ(GetSysColor(COLOR_BTNFACE), RGB(0, 0, 128));
            ASSERT_EQ(GetSysColor(COLOR_WINDOWTEXT), RGB(0, 255, 0));
            ASSERT_EQ(GetSysColor(COLOR_WINDOW), RGB(0, 0, 0));
        }
    }
};

TEST_F(SystemColours, ALabelIsPaintedInTheButtonColours) {
    build();
    HWND label = controlHandle(modHeadingLabel);
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    RECT rc;
    GetClientRect(label, &rc);
    // What is on screen there, copied out.
    HDC dc = GetDC(label);
    HDC copy = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, rc.right, rc.bottom);
    HGDIOBJ old = SelectObject(copy, bitmap);
    BitBlt(copy, 0, 0, rc.right, rc.bottom, dc, 0, 0, SRCCOPY);
    int text = 0, face = 0, other = 0;
    for (int y = 0; y < rc.bottom; ++y) {
        for (int x = 0; x < rc.right; ++x) {
            const COLORREF pixel = GetPixel(copy, x, y);
            if (pixel == GetSysColor(COLOR_BTNTEXT))
                ++text;
            else if (pixel == GetSysColor(COLOR_BTNFACE))
                ++face;
            else
                ++other;
        }
    }
    SelectObject(copy, old);
    DeleteObject(bitmap);
    DeleteDC(copy);
    ReleaseDC(label, dc);
    EXPECT_GT(text, 20) << "face " << face << ", other " << other;
    EXPECT_GT(face, rc.right * rc.bottom / 2);
}

TEST_F(SystemColours, ControlsAskedForTheirColoursGetTheSystems) {
    build();
    const struct {
        ControlId id;
        UINT message;
        int text, back;
    } cases[] = {
        {windowedCheck, WM_CTLCOLORSTATIC, COLOR_BTNTEXT, COLOR_BTNFACE},
        {launchButton, WM_CTLCOLORBTN, COLOR_BTNTEXT, COLOR_BTNFACE},
        {widthEdit, WM_CTLCOLOREDIT, COLOR_WINDOWTEXT, COLOR_WINDOW},
        {addressEdit, WM_CTLCOLOREDIT, COLOR_WINDOWTEXT, COLOR_WINDOW},
        {modList, WM_CTLCOLORLISTBOX, COLOR_WINDOWTEXT, COLOR_WINDOW},
    };
    for (const auto& c : cases) {
        HWND control = controlHandle(c.id);
        HDC dc = GetDC(control);
        // Asked of the control's parent, as the control itself asks.
        const LRESULT brush =
            SendMessageW(GetParent(control), c.message, reinterpret_cast<WPARAM>(dc),
                         reinterpret_cast<LPARAM>(control));
        EXPECT_EQ(GetTextColor(dc), GetSysColor(c.text)) << c.id;
        EXPECT_EQ(GetBkColor(dc), GetSysColor(c.back)) << c.id;
        EXPECT_EQ(reinterpret_cast<HBRUSH>(brush), GetSysColorBrush(c.back)) << c.id;
        ReleaseDC(control, dc);
    }
}

}  // namespace
}  // namespace zarvell
