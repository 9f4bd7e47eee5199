#include "window/failure_messages.hpp"

#include <windows.h>

#include <string_view>

#include "launch/state.hpp"
#include "window/main_window.hpp"

namespace zarvell {

namespace {

// The texts, GBK bytes like every text of the window.
constexpr std::string_view kLaunchFailed =  // 游戏未能启动。
    "\xD3\xCE\xCF\xB7\xCE\xB4\xC4\xDC\xC6\xF4\xB6\xAF\xA1\xA3";
constexpr std::string_view kSaveFailed =  // 设置未能保存。
    "\xC9\xE8\xD6\xC3\xCE\xB4\xC4\xDC\xB1\xA3\xB4\xE6\xA1\xA3";
constexpr std::string_view kFileLabel = "\xCE\xC4\xBC\xFE\xA3\xBA";            // 文件：
constexpr std::string_view kFolderLabel = "\xCE\xC4\xBC\xFE\xBC\xD0\xA3\xBA";  // 文件夹：
constexpr std::string_view kReasonLabel = "\xD4\xAD\xD2\xF2\xA3\xBA";          // 原因：
constexpr std::string_view kCodeOpen =
    "\xA3\xA8\xB4\xED\xCE\xF3\xB4\xFA\xC2\xEB"
    " ";                                             // （错误代码
constexpr std::string_view kCodeClose = "\xA3\xA9";  // ）
// 请把游戏放在可以写入的文件夹中（例如不在 Program Files 下），并确认 mod.ini 不是只读文件。
// 本次运行中不再提示此消息。
constexpr std::string_view kSaveAdvice =
    "\xC7\xEB\xB0\xD1\xD3\xCE\xCF\xB7\xB7\xC5\xD4\xDA\xBF\xC9\xD2\xD4\xD0\xB4\xC8\xEB\xB5\xC4"
    "\xCE\xC4\xBC\xFE\xBC\xD0\xD6\xD0\xA3\xA8\xC0\xFD\xC8\xE7\xB2\xBB\xD4\xDA"
    " Program Files "
    "\xCF\xC2\xA3\xA9\xA3\xAC\xB2\xA2\xC8\xB7\xC8\xCF"
    " mod.ini "
    "\xB2\xBB\xCA\xC7\xD6\xBB\xB6\xC1\xCE\xC4\xBC\xFE\xA1\xA3"
    "\xB1\xBE\xB4\xCE\xD4\xCB\xD0\xD0\xD6\xD0\xB2\xBB\xD4\xD9\xCC\xE1\xCA\xBE\xB4\xCB\xCF\xFB"
    "\xCF\xA2\xA1\xA3";

// A number in decimal digits (std::to_wstring would bring a whole wide printf into the exe).
std::wstring decimal(unsigned long number) {
    std::wstring digits;
    do {
        digits.insert(digits.begin(), static_cast<wchar_t>(L'0' + number % 10));
        number /= 10;
    } while (number != 0);
    return digits;
}

// The system's own words for an error, in its language, without the line end it comes with.
std::wstring systemReason(unsigned long error) {
    wchar_t text[512] = {};
    const DWORD n =
        FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                       0, text, static_cast<DWORD>(std::size(text)), nullptr);
    std::wstring reason(text, n);
    while (!reason.empty() && (reason.back() == L'\r' || reason.back() == L'\n' ||
                               reason.back() == L' ' || reason.back() == L'.')) {
        reason.pop_back();
    }
    return reason + formText(kCodeOpen) + decimal(error) + formText(kCodeClose);
}

std::wstring failureText(std::string_view heading, const wchar_t* file, unsigned long error) {
    return formText(heading) + L"\n\n" + formText(kFileLabel) + file + L"\n" +
           formText(kFolderLabel) + programFolderText() + L"\n" + formText(kReasonLabel) +
           systemReason(error);
}

}  // namespace

std::wstring launchFailureMessage(const LaunchResult& result) {
    if (result.started || result.error == ERROR_CANCELLED)
        return {};
    return failureText(kLaunchFailed, L"bf2.exe", result.error);
}

std::wstring saveFailureMessage(const SaveResult& result) {
    if (result.saved)
        return {};
    return failureText(kSaveFailed, L"mod.ini", result.error) + L"\n\n" + formText(kSaveAdvice);
}

void tellLaunchOutcome(const LaunchResult& launched, const SaveResult& saved) {
    static bool saveFailureTold = false;
    std::wstring text = launchFailureMessage(launched);
    if (!saved.saved && !saveFailureTold) {
        saveFailureTold = true;
        if (!text.empty())
            text += L"\n\n";
        text += saveFailureMessage(saved);
    }
    if (text.empty())
        return;
    MessageBoxW(mainWindowHandle(), text.c_str(), formText(kWindowCaption).c_str(),
                MB_OK | MB_ICONWARNING);
}

}  // namespace zarvell
