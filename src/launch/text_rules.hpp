// Small byte-string rules shared by the settings file and start-up.
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

using LeadByteTest = std::function<bool(unsigned char)>;

// The folder part of a full path: everything before its last backslash. The path is walked
// character by character so the second byte of a double-byte character (for example the
// 0x5C of 誠, D5 5C) is never taken for a backslash. A path with no backslash yields nullopt.
std::optional<std::string> folderOfPath(std::string_view path, const LeadByteTest& isLeadByte);

// The executable's folder from what GetModuleFileNameA left: `length` bytes in a buffer of
// `capacity`. A length of 0 is a failure; a full buffer means the path was cut (and may lack
// its terminating zero), and a cut path could name some other, existing folder: nullopt.
std::optional<std::string> programFolderFrom(const char* buffer, size_t length, size_t capacity,
                                             const LeadByteTest& isLeadByte);

}  // namespace zarvell
