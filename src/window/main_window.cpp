#include "window/main_window.hpp"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <memory>
#include <tuple>

#include "launch/system_library.hpp"
#include "window/handlers.hpp"

namespace zarvell {

namespace {

// Posted to the window when the host drop-down has completed a choice; handled once the
// notification itself is over, so the combo box shows the chosen item by then.
constexpr UINT kHostChosenMessage = WM_APP + 1;
// Posted once the window is shown: the launch button's tooltip is made then, so loading the
// common controls does not delay the first sight of the window.
constexpr UINT kMakeTooltipMessage = WM_APP + 2;

// Not in the headers for Windows 7, which this program also runs on: asked for by name.
constexpr UINT kGetDpiScaledSizeMessage = 0x02E4;  // WM_GETDPISCALEDSIZE, Windows 10 1703

struct FontDeleter {
    void operator()(HFONT font) const { DeleteObject(font); }
};
using FontHandle = std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeleter>;
struct IconDeleter {
    void operator()(HICON icon) const { DestroyIcon(icon); }
};
using IconHandle = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;

struct MainWindow {
    HWND window = nullptr;
    int dpi = 96;  // what the form is laid out for now
    std::array<HWND, kControlCount> controls{};
    std::array<FontHandle, kControlCount> fonts;  // the controls' own fonts
    FontHandle guiFont;  // DEFAULT_GUI_FONT remade for `dpi`; empty when the stock one fits
    IconHandle bigIcon, smallIcon;
    HWND lastFocus = nullptr;
    HWND launchTip = nullptr;        // shows the command line a launch would start
    std::wstring launchTipText;      // what the tip points at while it shows
    WNDPROC groupBoxProc = nullptr;  // the system's, behind our forwarding
};

MainWindow mainWindow;

HFONT guiFont() {
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

constexpr DWORD kWindowStyle = WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;

// Functions of newer Windows versions, taken from user32 when it has them.
template <typename Function>
Function user32Function(const char* name) {
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

// The DPI the system's fonts and metrics are made for.
int systemDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

// The DPI of the monitor the window is on (Windows 10 1607 and later), else the system's:
// before that a per-monitor program starts where the window is created, centred on the
// primary monitor, whose DPI is the system's.
int dpiOfWindow(HWND window) {
    static const auto getDpi = user32Function<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
    const int dpi = getDpi ? static_cast<int>(getDpi(window)) : 0;
    return dpi > 0 ? dpi : systemDpi();
}

using AdjustForDpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
AdjustForDpi adjustForDpi() {
    static const auto adjust = user32Function<AdjustForDpi>("AdjustWindowRectExForDpi");
    return adjust;
}

// The form's 350 x 340 is the window's outer size at 96 DPI. At another DPI the client area
// it leaves at 96 DPI is scaled and the frame is the system's at that DPI, as caption and
// borders do not grow in proportion. Without the function for that (before Windows 10
// 1607) the outer size is scaled.
SIZE formClientSize(int dpi) {
    RECT frame96{};
    if (adjustForDpi())
        adjustForDpi()(&frame96, kWindowStyle, FALSE, 0, 96);
    return {scaleForDpi(kWindowWidth - (frame96.right - frame96.left), dpi),
            scaleForDpi(kWindowHeight - (frame96.bottom - frame96.top), dpi)};
}

// The window's outer size at `dpi` with the host panel shown.
SIZE formWindowSize(int dpi) {
    if (dpi == 96 || !adjustForDpi())
        return {scaleForDpi(kWindowWidth, dpi), scaleForDpi(kWindowHeight, dpi)};
    const SIZE client = formClientSize(dpi);
    RECT rc{0, 0, client.cx, client.cy};
    adjustForDpi()(&rc, kWindowStyle, FALSE, 0, static_cast<UINT>(dpi));
    return {rc.right - rc.left, rc.bottom - rc.top};
}

bool isEligible(HWND control) {
    return control && IsWindowVisible(control) && IsWindowEnabled(control);
}

// The control of the cycle that holds `focus` (itself or one of its inner windows).
int cyclePosition(HWND focus) {
    for (size_t i = 0; i < kFocusCycle.size(); ++i) {
        HWND c = mainWindow.controls[kFocusCycle[i]];
        if (focus && (c == focus || IsChild(c, focus)))
            return static_cast<int>(i);
    }
    return -1;
}

void focusFirstInCycle() {
    for (ControlId id : kFocusCycle) {
        if (isEligible(mainWindow.controls[id])) {
            SetFocus(mainWindow.controls[id]);
            return;
        }
    }
}

void moveFocus(int step) {
    const int count = static_cast<int>(kFocusCycle.size());
    int pos = cyclePosition(GetFocus());
    if (pos < 0)
        pos = step > 0 ? -1 : 0;
    for (int tries = 0; tries < count; ++tries) {
        pos = ((pos + step) % count + count) % count;
        HWND c = mainWindow.controls[kFocusCycle[pos]];
        if (isEligible(c)) {
            SetFocus(c);
            return;
        }
    }
}

void restoreFocus() {
    HWND last = mainWindow.lastFocus;
    if (last && IsWindow(last) && IsChild(mainWindow.window, last) && isEligible(last)) {
        SetFocus(last);
    } else {
        focusFirstInCycle();
    }
}

int controlOfWindowsId(int windowsId) {
    const int index = windowsId - kFirstControlId;
    return index >= 0 && index < kControlCount ? index : -1;
}

// The window's outer size at `dpi`, the host panel shown or cut off as now.
SIZE windowSizeAt(int dpi) {
    SIZE size = formWindowSize(dpi);
    if (!readCheck(ipHelperCheck))
        size.cy -= scaleForDpi(kHostPanelHeight, dpi);
    return size;
}

// Places the window at `left`, `top` with its size at its DPI. Off 96 DPI the client area
// is made exactly the form's scaled one, whatever frame the system really draws, so that the
// host panel is cut off or in view just as at 96 DPI.
void placeWindow(int left, int top, bool panelShown) {
    const int dpi = mainWindow.dpi;
    SIZE size = formWindowSize(dpi);
    if (!panelShown)
        size.cy -= scaleForDpi(kHostPanelHeight, dpi);
    SetWindowPos(mainWindow.window, nullptr, left, top, size.cx, size.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    if (dpi == 96 || !adjustForDpi())
        return;
    SIZE client = formClientSize(dpi);
    if (!panelShown)
        client.cy -= scaleForDpi(kHostPanelHeight, dpi);
    RECT now{};
    GetClientRect(mainWindow.window, &now);
    if (now.right != client.cx || now.bottom != client.cy) {
        size.cx += client.cx - now.right;
        size.cy += client.cy - now.bottom;
        SetWindowPos(mainWindow.window, nullptr, left, top, size.cx, size.cy,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

// The system's colours, so that a high contrast theme is followed.
LRESULT colourFor(UINT message, HDC dc) {
    const bool field = message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX;
    const int text = field ? COLOR_WINDOWTEXT : COLOR_BTNTEXT;
    const int back = field ? COLOR_WINDOW : COLOR_BTNFACE;
    SetTextColor(dc, GetSysColor(text));
    SetBkColor(dc, GetSysColor(back));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(back));
}

HWND createLaunchTip(HWND window, HINSTANCE instance);
void layOut(int dpi);

LRESULT CALLBACK mainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND: {
            const int index = controlOfWindowsId(LOWORD(wParam));
            if (index < 0)
                break;
            const auto id = static_cast<ControlId>(index);
            const UINT code = HIWORD(wParam);
            if (id == hostCombo && code == CBN_SELENDOK) {
                PostMessageW(hwnd, kHostChosenMessage, 0, 0);
                return 0;
            }
            dispatchControlEvent(id, code);
            return 0;
        }
        case WM_NOTIFY: {
            auto* header = reinterpret_cast<NMHDR*>(lParam);
            if (header->hwndFrom == mainWindow.launchTip && header->code == TTN_GETDISPINFOW) {
                // Data texts are in the system's code page, as the ANSI functions gave them.
                const std::string line = previewLaunchCommand();
                mainWindow.launchTipText.assign(line.size() + 1, L'\0');
                const int n = MultiByteToWideChar(
                    CP_ACP, 0, line.data(), static_cast<int>(line.size()),
                    mainWindow.launchTipText.data(), static_cast<int>(line.size()));
                mainWindow.launchTipText.resize(static_cast<size_t>(std::max(n, 0)));
                auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
                info->lpszText = mainWindow.launchTipText.data();
                return 0;
            }
            break;
        }
        case kHostChosenMessage:
            onHostSelected();
            return 0;
        case WM_DPICHANGED: {
            // The window moved to a monitor of another DPI (or its scaling changed): the form
            // again at the new DPI, in the place Windows suggests; the host panel stays as it
            // was, shown or not.
            const RECT suggested = *reinterpret_cast<const RECT*>(lParam);
            layOut(LOWORD(wParam));
            placeWindow(suggested.left, suggested.top, readCheck(ipHelperCheck));
            return 0;
        }
        case kGetDpiScaledSizeMessage: {
            // Asked before WM_DPICHANGED, so that the suggested rectangle has the form's size.
            *reinterpret_cast<SIZE*>(lParam) = windowSizeAt(static_cast<int>(wParam));
            return TRUE;
        }
        case kHostLookedUpMessage:
            onHostLookedUp(wParam);
            return 0;
        case kMakeTooltipMessage:
            if (!mainWindow.launchTip) {
                mainWindow.launchTip = createLaunchTip(
                    hwnd, reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(hwnd, GWLP_HINSTANCE)));
            }
            return 0;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
            return colourFor(message, reinterpret_cast<HDC>(wParam));
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) {
                HWND focus = GetFocus();
                if (focus && IsChild(hwnd, focus))
                    mainWindow.lastFocus = focus;
            } else {
                restoreFocus();
            }
            return 0;
        case WM_SETFOCUS:
            restoreFocus();
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        case WM_NCDESTROY:
            mainWindow = MainWindow{};  // controls are gone: their fonts can go too
            break;
        default:
            break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// Group boxes pass their children's notifications and colour requests up to the window,
// where the handlers are.
LRESULT CALLBACK groupBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
            if (mainWindow.window)
                return SendMessageW(mainWindow.window, message, wParam, lParam);
            break;
        case WM_ERASEBKGND: {
            // The window clips its children, so nothing else paints behind the frame.
            RECT rc;
            GetClientRect(hwnd, &rc);
            FillRect(reinterpret_cast<HDC>(wParam), &rc, GetSysColorBrush(COLOR_BTNFACE));
            return 1;
        }
        default:
            break;
    }
    return CallWindowProcW(mainWindow.groupBoxProc, hwnd, message, wParam, lParam);
}

// Labels: painted here, one line, left-aligned and centred between top and bottom.
LRESULT CALLBACK labelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SETFONT:
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, static_cast<LONG_PTR>(wParam));
            if (LOWORD(lParam))
                InvalidateRect(hwnd, nullptr, TRUE);
            return 0;
        case WM_GETFONT:
            return GetWindowLongPtrW(hwnd, GWLP_USERDATA);
        case WM_ERASEBKGND:
            return 1;
        case WM_SETTEXT: {
            const LRESULT r = DefWindowProcW(hwnd, message, wParam, lParam);
            InvalidateRect(hwnd, nullptr, TRUE);
            return r;
        }
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd, &ps);
            RECT rc;
            GetClientRect(hwnd, &rc);
            FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
            auto font = reinterpret_cast<HFONT>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
            HGDIOBJ old = SelectObject(dc, font ? font : guiFont());
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
            const int length = GetWindowTextLengthW(hwnd);
            std::wstring text(static_cast<size_t>(length) + 1, L'\0');
            GetWindowTextW(hwnd, text.data(), length + 1);
            DrawTextW(dc, text.c_str(), length, &rc,
                      DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOCLIP);
            SelectObject(dc, old);
            EndPaint(hwnd, &ps);
            return 0;
        }
        default:
            break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void registerClasses(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = mainWindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kMainWindowClass;
    RegisterClassExW(&wc);  // fails harmlessly when already registered

    WNDCLASSEXW lc{};
    lc.cbSize = sizeof(lc);
    lc.lpfnWndProc = labelProc;
    lc.hInstance = instance;
    lc.hCursor = wc.hCursor;
    lc.hbrBackground = nullptr;
    lc.lpszClassName = kLabelClass;
    RegisterClassExW(&lc);
}

struct KindStyle {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
};

KindStyle styleOf(ControlKind kind) {
    switch (kind) {
        case ControlKind::CheckBox:
            return {L"BUTTON", BS_AUTOCHECKBOX | BS_MULTILINE | BS_LEFT | BS_VCENTER, 0};
        case ControlKind::EditBox:
            return {L"EDIT", ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
        case ControlKind::GroupBox:
            return {L"BUTTON", BS_GROUPBOX | BS_LEFT, 0};
        case ControlKind::Label:
            return {kLabelClass, 0, 0};
        case ControlKind::Button:
            return {L"BUTTON", BS_PUSHBUTTON | BS_CENTER | BS_VCENTER | BS_MULTILINE, 0};
        case ControlKind::ListBox:
            return {L"LISTBOX", LBS_NOTIFY | LBS_USETABSTOPS | LBS_NOINTEGRALHEIGHT | WS_VSCROLL,
                    WS_EX_CLIENTEDGE};
        case ControlKind::ComboBox:
            return {L"COMBOBOX", CBS_DROPDOWNLIST | CBS_AUTOHSCROLL | WS_VSCROLL, 0};
    }
    return {L"STATIC", 0, 0};
}

HFONT makeFont(const FontSpec& font, int dpi) {
    const std::wstring face = formText(kFontFace);
    return CreateFontW(scaleForDpi(font.height, dpi), 0, 0, 0, font.weight, FALSE, FALSE, FALSE,
                       DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY,
                       DEFAULT_PITCH, face.c_str());
}

// DEFAULT_GUI_FONT is made for the system's DPI; a window on a monitor of another DPI gets
// the same font at its own. Empty when the stock font already fits.
FontHandle makeGuiFont(int dpi) {
    const int system = systemDpi();
    if (dpi == system)
        return nullptr;
    LOGFONTW lf{};
    if (!GetObjectW(guiFont(), sizeof(lf), &lf))
        return nullptr;
    lf.lfHeight = MulDiv(lf.lfHeight, dpi, system);
    return FontHandle(CreateFontIndirectW(&lf));
}

// The font a control gets at `dpi`, made and kept in `own` when the form gives it one.
HFONT fontFor(const ControlSpec& entry, int dpi, FontHandle& own, HFONT gui) {
    if (entry.font)
        own.reset(makeFont(*entry.font, dpi));
    return own ? own.get() : gui;
}

// A drop-down's height covers its list too: never less than 160.
int createdHeight(const ControlSpec& entry) {
    return entry.kind == ControlKind::ComboBox ? std::max(entry.height, 160) : entry.height;
}

// List box and drop-down alike: items one pixel taller than their font asks.
// (LB_ERR and CB_ERR are both -1; index 0 means the list's items, not a combo's field.)
void prepareListItems(HWND hwnd, UINT getItemHeight, UINT setItemHeight) {
    const LRESULT height = SendMessageW(hwnd, getItemHeight, 0, 0);
    if (height >= 0)
        SendMessageW(hwnd, setItemHeight, 0, height + 1);
}

// ... and nothing chosen.
void prepareList(HWND hwnd, UINT getItemHeight, UINT setItemHeight, UINT setSelection) {
    prepareListItems(hwnd, getItemHeight, setItemHeight);
    SendMessageW(hwnd, setSelection, static_cast<WPARAM>(-1), 0);
}

HWND createControl(const ControlSpec& entry, HINSTANCE instance) {
    const KindStyle ks = styleOf(entry.kind);
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | ks.style;
    if (entry.tabStop)
        style |= WS_TABSTOP;
    // Created on the window at the place the form gives; step 3 moves children of group
    // boxes under them, where the same numbers are relative to the group box.
    const int dpi = mainWindow.dpi;
    HWND hwnd = CreateWindowExW(
        ks.exStyle, ks.className, formText(entry.text).c_str(), style, scaleForDpi(entry.left, dpi),
        scaleForDpi(entry.top, dpi), scaleForDpi(entry.width, dpi),
        scaleForDpi(createdHeight(entry), dpi), mainWindow.window,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(windowsIdOf(entry.id))), instance, nullptr);
    if (!hwnd)
        return nullptr;

    const HFONT gui = mainWindow.guiFont ? mainWindow.guiFont.get() : guiFont();
    const HFONT font = fontFor(entry, dpi, mainWindow.fonts[entry.id], gui);
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);

    switch (entry.kind) {
        case ControlKind::CheckBox:
            SendMessageW(hwnd, BM_SETCHECK, BST_UNCHECKED, 0);
            break;
        case ControlKind::EditBox:
            SendMessageW(hwnd, EM_LIMITTEXT, 0, 0);
            SendMessageW(hwnd, EM_SETSEL, 0, 0);
            SendMessageW(hwnd, EM_SCROLLCARET, 0, 0);
            break;
        case ControlKind::ListBox:
            prepareList(hwnd, LB_GETITEMHEIGHT, LB_SETITEMHEIGHT, LB_SETCURSEL);
            break;
        case ControlKind::ComboBox:
            prepareList(hwnd, CB_GETITEMHEIGHT, CB_SETITEMHEIGHT, CB_SETCURSEL);
            break;
        case ControlKind::GroupBox:
            mainWindow.groupBoxProc = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(groupBoxProc)));
            break;
        default:
            break;
    }
    return hwnd;
}

// A tooltip on the launch button whose text, asked for each time it shows, is the command
// line a click would start. It is no control of the form: no tab stop, no event.
HWND createLaunchTip(HWND window, HINSTANCE instance) {
    // The common controls are loaded only now, for this one tooltip: from the system folder,
    // by the bare name so that a manifest's common-controls 6 dependency still applies (a full
    // path would bypass it and give version 5.82).
    HMODULE comctl = loadSystemLibrary(L"comctl32.dll");
    using InitFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    auto init = comctl ? reinterpret_cast<InitFunction>(reinterpret_cast<void*>(
                             GetProcAddress(comctl, "InitCommonControlsEx")))
                       : nullptr;
    if (!init)
        return nullptr;
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_BAR_CLASSES};
    init(&icc);
    HWND tip =
        CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                        WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr, instance, nullptr);
    if (!tip)
        return nullptr;
    TTTOOLINFOW tool{};
    // The size that version 5.82 accepts too (it refuses larger ones, and without its
    // manifest dependency a program gets that version); version 6 takes it as well.
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window;
    tool.uId = reinterpret_cast<UINT_PTR>(mainWindow.controls[launchButton]);
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    if (!SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool))) {
        DestroyWindow(tip);  // a tip without its tool would only take up a window
        return nullptr;
    }
    // Long lines wrap at blanks instead of running off the screen.
    SendMessageW(tip, TTM_SETMAXTIPWIDTH, 0, scaleForDpi(kLaunchTipWidth, mainWindow.dpi));
    SendMessageW(tip, TTM_SETDELAYTIME, TTDT_AUTOPOP, 30000);
    return tip;
}

// Icons loaded at the window's DPI; the window owns them and gives the old ones back.
void setIcons(HWND window, int dpi) {
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
    for (auto [which, size, held] :
         {std::tuple{ICON_BIG, kBigIconSize, &mainWindow.bigIcon},
          std::tuple{ICON_SMALL, kSmallIconSize, &mainWindow.smallIcon}}) {
        const int pixels = scaleForDpi(size, dpi);
        IconHandle icon(static_cast<HICON>(
            LoadImageW(instance, L"DEFAULT_ICON", IMAGE_ICON, pixels, pixels, 0)));
        if (!icon)
            continue;
        SendMessageW(window, WM_SETICON, which, reinterpret_cast<LPARAM>(icon.get()));
        *held = std::move(icon);
    }
}

// Everything of the form that depends on the DPI, again for `dpi`: places, sizes, fonts, the
// list item heights, the icons and the tip's width. Texts, choices and focus stay.
void layOut(int dpi) {
    mainWindow.dpi = dpi;
    FontHandle gui = makeGuiFont(dpi);
    std::array<FontHandle, kControlCount> fonts;
    for (const ControlSpec& entry : kForm) {
        HWND hwnd = mainWindow.controls[entry.id];
        const HFONT font = fontFor(entry, dpi, fonts[entry.id], gui ? gui.get() : guiFont());
        SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        SetWindowPos(hwnd, nullptr, scaleForDpi(entry.left, dpi), scaleForDpi(entry.top, dpi),
                     scaleForDpi(entry.width, dpi), scaleForDpi(createdHeight(entry), dpi),
                     SWP_NOZORDER | SWP_NOACTIVATE);
        if (entry.kind == ControlKind::ListBox)
            prepareListItems(hwnd, LB_GETITEMHEIGHT, LB_SETITEMHEIGHT);
        if (entry.kind == ControlKind::ComboBox)
            prepareListItems(hwnd, CB_GETITEMHEIGHT, CB_SETITEMHEIGHT);
    }
    // The controls hold the new fonts now: the old ones can go.
    mainWindow.fonts = std::move(fonts);
    mainWindow.guiFont = std::move(gui);
    SendMessageW(
        mainWindow.window, WM_SETFONT,
        reinterpret_cast<WPARAM>(mainWindow.guiFont ? mainWindow.guiFont.get() : guiFont()), FALSE);
    setIcons(mainWindow.window, dpi);
    if (mainWindow.launchTip)
        SendMessageW(mainWindow.launchTip, TTM_SETMAXTIPWIDTH, 0,
                     scaleForDpi(kLaunchTipWidth, dpi));
    // Controls that only shrank are not repainted by the move: all of them, in their new fonts.
    RedrawWindow(mainWindow.window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

}  // namespace

std::wstring formText(std::string_view gbk) {
    if (gbk.empty())
        return {};
    const int n = MultiByteToWideChar(936, 0, gbk.data(), static_cast<int>(gbk.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(936, 0, gbk.data(), static_cast<int>(gbk.size()), wide.data(), n);
    return wide;
}

HWND buildMainWindow(HINSTANCE instance, void (*onCreated)()) {
    registerClasses(instance);

    // 1. The window, hidden, centred for its full form height, at the DPI of the screen; once
    // it exists, at the DPI of its monitor.
    SIZE size = formWindowSize(systemDpi());
    int left = (GetSystemMetrics(SM_CXSCREEN) - size.cx) / 2;
    int top = (GetSystemMetrics(SM_CYSCREEN) - size.cy) / 2;
    HWND window =
        CreateWindowExW(0, kMainWindowClass, formText(kWindowCaption).c_str(), kWindowStyle, left,
                        top, size.cx, size.cy, nullptr, nullptr, instance, nullptr);
    if (!window)
        return nullptr;
    mainWindow.window = window;
    mainWindow.dpi = dpiOfWindow(window);
    // Exactly the form's size at the window's DPI (Windows may have made it another), then
    // centred for the size it has.
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    size = formWindowSize(mainWindow.dpi);
    placeWindow((screenWidth - size.cx) / 2, (screenHeight - size.cy) / 2, true);
    RECT rc;
    GetWindowRect(window, &rc);
    left = (screenWidth - (rc.right - rc.left)) / 2;
    top = (screenHeight - (rc.bottom - rc.top)) / 2;
    if (rc.left != left || rc.top != top)
        SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    setIcons(window, mainWindow.dpi);
    mainWindow.guiFont = makeGuiFont(mainWindow.dpi);
    SendMessageW(
        window, WM_SETFONT,
        reinterpret_cast<WPARAM>(mainWindow.guiFont ? mainWindow.guiFont.get() : guiFont()), FALSE);

    // 2. The controls, hidden, with their settings.
    for (const ControlSpec& entry : kForm) {
        mainWindow.controls[entry.id] = createControl(entry, instance);
        if (!mainWindow.controls[entry.id]) {
            DestroyWindow(window);
            return nullptr;
        }
    }
    // 3. Children of the group boxes move under them.
    for (const ControlSpec& entry : kForm) {
        if (entry.parent != kNoParent) {
            SetParent(mainWindow.controls[entry.id], mainWindow.controls[entry.parent]);
        }
    }
    // 4. Stacking in form order per parent: the first on top, each next one below it.
    std::array<HWND, kControlCount + 1> previousOfParent{};  // index parent + 1
    for (const ControlSpec& entry : kForm) {
        HWND& previous = previousOfParent[entry.parent + 1];
        SetWindowPos(mainWindow.controls[entry.id], previous ? previous : HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        previous = mainWindow.controls[entry.id];
    }
    // 5. Initial visibility.
    for (const ControlSpec& entry : kForm) {
        ShowWindow(mainWindow.controls[entry.id], entry.visible ? SW_SHOWNA : SW_HIDE);
    }
    PostMessageW(window, kMakeTooltipMessage, 0, 0);
    // 6. The created event.
    if (onCreated)
        onCreated();
    // 7. On screen; activation puts the focus into the first control of the cycle.
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    return window;
}

HWND mainWindowHandle() {
    return mainWindow.window;
}
int windowDpi() {
    return mainWindow.dpi;
}
int hostPanelHeight() {
    return scaleForDpi(kHostPanelHeight, mainWindow.dpi);
}
HWND launchTipHandle() {
    return mainWindow.launchTip;
}

HWND controlHandle(ControlId id) {
    return mainWindow.controls[id];
}

std::string readText(ControlId id) {
    HWND hwnd = controlHandle(id);
    const int length = GetWindowTextLengthA(hwnd);
    if (length <= 0)
        return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const int got = GetWindowTextA(hwnd, text.data(), length + 1);
    text.resize(static_cast<size_t>(std::max(got, 0)));
    return text;
}

void writeText(ControlId id, const std::string& text) {
    SetWindowTextA(controlHandle(id), text.c_str());
}

bool readCheck(ControlId id) {
    return SendMessageA(controlHandle(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void writeCheck(ControlId id, bool checked) {
    SendMessageA(controlHandle(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void writeVisible(ControlId id, bool visible) {
    ShowWindow(controlHandle(id), visible ? SW_SHOW : SW_HIDE);
}

int readWindowHeight() {
    RECT rc{};
    GetWindowRect(mainWindow.window, &rc);
    return rc.bottom - rc.top;
}

void writeWindowHeight(int height) {
    height = std::clamp(height, 0, 32627);
    RECT rc{};
    GetWindowRect(mainWindow.window, &rc);
    SetWindowPos(mainWindow.window, nullptr, 0, 0, rc.right - rc.left, height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int listCurrentSelection(ControlId id) {
    return static_cast<int>(SendMessageA(controlHandle(id), LB_GETCURSEL, 0, 0));
}

std::string listItemText(ControlId id, int index) {
    HWND hwnd = controlHandle(id);
    const LRESULT count = SendMessageA(hwnd, LB_GETCOUNT, 0, 0);
    if (index < 0 || index >= count)
        return {};
    const LRESULT length = SendMessageA(hwnd, LB_GETTEXTLEN, index, 0);
    if (length <= 0)
        return {};
    // LB_GETTEXTLEN counts for the text as stored; in the ANSI form each character may take
    // two bytes, so the buffer allows for that. The copy says how much it wrote.
    std::string text(static_cast<size_t>(length) * 2 + 1, '\0');
    const LRESULT got =
        SendMessageA(hwnd, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return text;
}

int addItem(ControlId id, const std::string& text, LPARAM itemData) {
    HWND hwnd = controlHandle(id);
    const bool combo = id == hostCombo;
    const LRESULT index = SendMessageA(hwnd, combo ? CB_ADDSTRING : LB_ADDSTRING, 0,
                                       reinterpret_cast<LPARAM>(text.c_str()));
    if (index < 0)
        return -1;
    SendMessageA(hwnd, combo ? CB_SETITEMDATA : LB_SETITEMDATA, static_cast<WPARAM>(index),
                 itemData);
    return static_cast<int>(index);
}

void addItems(ControlId id, const std::vector<std::string>& texts) {
    HWND hwnd = controlHandle(id);
    // Without drawing, each item is only stored: the list and its scroll bar are brought up
    // to date once, at the end. (WM_SETREDRAW TRUE would also show a hidden list.)
    const bool shown = (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
    if (shown)
        SendMessageW(hwnd, WM_SETREDRAW, FALSE, 0);
    // Room for all items at once; the list keeps its texts as UTF-16, at most two bytes for
    // each byte here.
    size_t bytes = 0;
    for (const std::string& text : texts)
        bytes += (text.size() + 1) * sizeof(wchar_t);
    SendMessageA(hwnd, LB_INITSTORAGE, texts.size(), static_cast<LPARAM>(bytes));
    for (const std::string& text : texts)
        SendMessageA(hwnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (shown) {
        SendMessageW(hwnd, WM_SETREDRAW, TRUE, 0);
        RedrawWindow(hwnd, nullptr, nullptr,
                     RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
    }
}

bool handleWindowKeys(const MSG& msg) {
    HWND window = mainWindow.window;
    if (!window || msg.message != WM_KEYDOWN)
        return false;
    if (msg.hwnd != window && !IsChild(window, msg.hwnd))
        return false;
    if (msg.wParam == VK_ESCAPE) {
        SendMessageW(window, WM_CLOSE, 0, 0);
        return true;
    }
    if (msg.wParam == VK_TAB) {
        moveFocus(GetKeyState(VK_SHIFT) < 0 ? -1 : 1);
        return true;
    }
    return false;
}

}  // namespace zarvell
