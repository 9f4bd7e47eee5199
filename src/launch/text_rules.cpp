#include "launch/text_rules.hpp"

namespace zarvell {

std::optional<std::string> folderOfPath(std::string_view path, const LeadByteTest& isLeadByte) {
    std::optional<size_t> lastSlash;
    for (size_t i = 0; i < path.size(); ++i) {
        const auto c = static_cast<unsigned char>(path[i]);
        if (c == '\\') {
            lastSlash = i;
        } else if (isLeadByte(c)) {
            ++i;  // the trail byte belongs to this character
        }
    }
    if (!lastSlash)
        return std::nullopt;
    return std::string(path.substr(0, *lastSlash));
}

std::optional<std::string> programFolderFrom(const char* buffer, size_t length, size_t capacity,
                                             const LeadByteTest& isLeadByte) {
    if (length == 0 || length >= capacity)
        return std::nullopt;
    return folderOfPath(std::string_view(buffer, length), isLeadByte);
}

}  // namespace zarvell
