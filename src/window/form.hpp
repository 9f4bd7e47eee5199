// The main window's form: the window and its fourteen controls, as data. The table drives
// the building of the window; its order is also the stacking order.
#pragma once

#include <array>
#include <string_view>

namespace zarvell {

enum class ControlKind { CheckBox, EditBox, GroupBox, Label, Button, ListBox, ComboBox };

// The controls in the form's order. Each names its role; the form's own name is beside it.
enum ControlId : int {
    ipHelperCheck,     // 选择框3: show the host panel
    addressEdit,       // 编辑框3: the chosen host's address
    hostCombo,         // 组合框1: host names
    hostHeadingLabel,  // 标签3
    timesLabel,        // 标签2: "×" between the size boxes
    heightEdit,        // 编辑框2
    widthEdit,         // 编辑框1
    skipMoviesCheck,   // 选择框2
    windowedCheck,     // 选择框1
    sizeGroup,         // 分组框1: holds the size boxes
    launchButton,      // 按钮1
    modList,           // 列表框1
    modHeadingLabel,   // 标签1
    hostGroup,         // 分组框2: the host panel
    kControlCount,
    kNoParent = -1,
};

struct FontSpec {
    int height;  // LOGFONT height: negative, a character height in pixels
    int weight;
};

struct ControlSpec {
    ControlId id;
    ControlKind kind;
    ControlId parent;  // kNoParent: the window itself
    int left, top, width, height;
    std::string_view text;  // code-page-936 bytes
    bool visible;
    bool tabStop;
    const FontSpec* font;  // nullptr: DEFAULT_GUI_FONT
};

inline constexpr FontSpec kModHeadingFont{-16, 400};
inline constexpr FontSpec kTimesFont{-20, 400};
inline constexpr FontSpec kHostHeadingFont{-19, 400};
inline constexpr FontSpec kLaunchFont{-12, 700};
inline constexpr FontSpec kModListFont{-12, 400};
inline constexpr FontSpec kHostComboFont{-14, 400};
inline constexpr std::string_view kFontFace = "\xCE\xA2\xC8\xED\xD1\xC5\xBA\xDA";  // 微软雅黑

inline constexpr std::string_view kWindowCaption = "Zarvell";
inline constexpr int kWindowWidth = 350;
inline constexpr int kWindowHeight = 340;
// How much the host panel adds to the window's height when it is shown.
inline constexpr int kHostPanelHeight = 100;
// Lines of the launch button's tip wrap at this width.
inline constexpr int kLaunchTipWidth = 320;
inline constexpr int kBigIconSize = 32;
inline constexpr int kSmallIconSize = 16;

// The numbers of the form are pixels at 96 DPI; at another DPI each is scaled by DPI / 96,
// rounded to the nearest pixel, halves away from zero.
constexpr int scaleForDpi(int value, int dpi) {
    const long long product = static_cast<long long>(value) * dpi;
    return static_cast<int>(product >= 0 ? (product + 48) / 96 : -((-product + 48) / 96));
}

// clang-format off
inline constexpr std::array<ControlSpec, kControlCount> kForm = {{
    {ipHelperCheck,    ControlKind::CheckBox, kNoParent, 120, 176,  96,  24,
     "\xCF\xD4\xCA\xBE" "IP" "\xD6\xFA\xCA\xD6",                    // 显示IP助手
     true,  true,  nullptr},
    {addressEdit,      ControlKind::EditBox,  hostGroup, 168,  40, 120,  24, "", true, true, nullptr},
    {hostCombo,        ControlKind::ComboBox, hostGroup,   8,  40, 136,  28, "", true, true,
     &kHostComboFont},
    {hostHeadingLabel, ControlKind::Label,    hostGroup,   8,   8, 280,  24,
     "\xD6\xF7\xBB\xFA\xC3\xFB" "                  " "IP" "\xB5\xD8\xD6\xB7",  // 主机名, 18 blanks, IP地址
     true,  false, &kHostHeadingFont},
    {timesLabel,       ControlKind::Label,    sizeGroup,  96,  16,  16,  24, "\xA1\xC1",  // ×
     true,  false, &kTimesFont},
    {heightEdit,       ControlKind::EditBox,  sizeGroup, 128,  16,  64,  24, "", true, true, nullptr},
    {widthEdit,        ControlKind::EditBox,  sizeGroup,  16,  16,  64,  24, "", true, true, nullptr},
    {skipMoviesCheck,  ControlKind::CheckBox, kNoParent, 248,  16,  80,  24,
     "\xCC\xF8\xB9\xFD\xB6\xAF\xBB\xAD",                             // 跳过动画
     true,  true,  nullptr},
    {windowedCheck,    ControlKind::CheckBox, kNoParent, 136,  16,  88,  24,
     "\xB4\xB0\xBF\xDA\xBB\xAF\xC6\xF4\xB6\xAF",                     // 窗口化启动
     true,  true,  nullptr},
    {sizeGroup,        ControlKind::GroupBox, kNoParent, 128,  40, 200,  48, "", false, false, nullptr},
    {launchButton,     ControlKind::Button,   kNoParent, 264, 176,  56,  32,
     "\xC6\xF4\xB6\xAF",                                             // 启动
     true,  true,  &kLaunchFont},
    {modList,          ControlKind::ListBox,  kNoParent,  24,  48,  88, 152, "", true, true,
     &kModListFont},
    {modHeadingLabel,  ControlKind::Label,    kNoParent,  24,   8,  88,  40,
     "\xC4\xA3\xD7\xE9\xD1\xA1\xD4\xF1",                             // 模组选择
     true,  false, &kModHeadingFont},
    {hostGroup,        ControlKind::GroupBox, kNoParent,  24, 216, 304,  80, "", true, false, nullptr},
}};

// Tab and Shift+Tab walk this cycle: the form's order read from its end.
inline constexpr std::array<ControlId, 9> kFocusCycle = {
    modList, launchButton, windowedCheck, skipMoviesCheck, widthEdit,
    heightEdit, hostCombo, addressEdit, ipHelperCheck};
// clang-format on

// The identifier a control carries inside Windows.
inline constexpr int kFirstControlId = 1001;
constexpr int windowsIdOf(ControlId id) {
    return kFirstControlId + id;
}

}  // namespace zarvell
