#include "launch/text_rules.hpp"

#include <vector>

namespace zarvell {

namespace {
// The longest path Windows can hand out is 32767 characters and its zero.
constexpr unsigned long kLongestPath = 32768;
}  // namespace

std::optional<std::wstring> wholePath(const PathSource& source) {
    for (unsigned long size = 260; size <= 2 * kLongestPath; size *= 2) {
        std::vector<wchar_t> buffer(size, L'\0');
        const unsigned long n = source(buffer.data(), size);
        if (n == 0)
            return std::nullopt;
        if (n < size)
            return std::wstring(buffer.data(), n);
        // Cut (Windows XP does not even end it with a zero): try a larger buffer.
    }
    return std::nullopt;
}

std::optional<std::wstring> folderOfFile(std::wstring_view path) {
    const size_t last = path.rfind(L'\\');
    if (last == std::wstring_view::npos)
        return std::nullopt;
    std::wstring folder(path.substr(0, last));
    if (!folder.empty() && folder.back() == L':')
        folder += L'\\';  // "X:\" and "\\?\X:\", roots of their drives
    return folder;
}

}  // namespace zarvell
