// Fuzzes the folder-of-a-path rule with the GBK lead-byte test. Checks that the folder is a
// prefix of the path that ends right before a backslash which is not the second byte of a
// double-byte character, that no later such backslash exists, and that a cut path (a full
// buffer) is refused. AddressSanitizer catches any read past the end.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "launch/text_rules.hpp"

namespace {
bool gbkLead(unsigned char c) {
    return c >= 0x81 && c <= 0xFE;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // An exact-size heap copy, so a read past the end is caught.
    char* path = static_cast<char*>(std::malloc(size ? size : 1));
    for (size_t i = 0; i < size; ++i)
        path[i] = static_cast<char>(data[i]);
    const std::string_view view(path, size);

    // Positions of the backslashes that are characters of their own.
    size_t lastReal = std::string::npos;
    for (size_t i = 0; i < size; ++i) {
        const auto c = static_cast<unsigned char>(path[i]);
        if (c == '\\') {
            lastReal = i;
        } else if (gbkLead(c)) {
            ++i;
        }
    }
    const auto folder = zarvell::folderOfPath(view, gbkLead);
    if (lastReal == std::string::npos) {
        if (folder)
            std::abort();
    } else {
        if (!folder || folder->size() != lastReal)
            std::abort();
        if (view.substr(0, folder->size()) != *folder)
            std::abort();
    }
    if (size > 0 && zarvell::programFolderFrom(path, size, size, gbkLead))
        std::abort();
    if (zarvell::programFolderFrom(path, size, size + 1, gbkLead) != folder && size > 0) {
        std::abort();
    }
    std::free(path);
    return 0;
}
