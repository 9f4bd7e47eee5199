// Small rules shared by the settings file and start-up.
// Pure code: no Windows headers.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace zarvell {

// How mod.ini spells true and false: GBK bytes of 真 and 假.
inline constexpr std::string_view kTrueText = "\xD5\xE6";   // 真
inline constexpr std::string_view kFalseText = "\xBC\xD9";  // 假

inline std::string_view boolText(bool value) {
    return value ? kTrueText : kFalseText;
}
// Only the exact bytes of 真 read as true; anything else ("1", "true", blanks...) is false.
inline bool isTrueText(std::string_view text) {
    return text == kTrueText;
}

// Writes a path into a buffer of the given size the way GetModuleFileNameW does: yields the
// characters written without the terminating zero, the buffer's size when the path was cut,
// and 0 on failure.
using PathSource = std::function<unsigned long(wchar_t* buffer, unsigned long size)>;

// The whole path from `source`, asking again with a larger buffer for as long as it comes out
// cut; nullopt when it fails or will not fit even the longest path Windows allows.
std::optional<std::wstring> wholePath(const PathSource& source);

// The folder that holds the file at `path` (a full path, UTF-16): everything before its last
// backslash. A drive root keeps its backslash, since "X:" alone means that drive's current
// directory, not its root. A path with no backslash yields nullopt.
std::optional<std::wstring> folderOfFile(std::wstring_view path);

}  // namespace zarvell
