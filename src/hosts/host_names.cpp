#include "hosts/host_names.hpp"

namespace zarvell {

std::vector<std::string> splitHostNames(std::string_view text) {
    std::vector<std::string> pieces;
    size_t start = 0;
    size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == ',') {
            pieces.emplace_back(text.substr(start, i - start));
            start = ++i;
        } else if (c >= 0x80) {
            i += 2;  // lead byte and its trail byte, which may be anything
        } else {
            ++i;
        }
    }
    if (start < text.size())
        pieces.emplace_back(text.substr(start));
    return pieces;
}

}  // namespace zarvell
