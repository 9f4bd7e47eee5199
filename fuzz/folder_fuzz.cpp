// Fuzzes the folder-of-a-file rule on UTF-16 paths. Checks that the folder is the path up to
// its last backslash, with that backslash kept only after a drive's colon, and that a path
// without a backslash has no folder. AddressSanitizer catches any read past the end.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "launch/text_rules.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Two bytes per UTF-16 code unit, in an exact-size heap copy.
    const size_t count = size / 2;
    auto* units = static_cast<wchar_t*>(std::malloc((count ? count : 1) * sizeof(wchar_t)));
    for (size_t i = 0; i < count; ++i)
        units[i] = static_cast<wchar_t>(data[2 * i] | (data[2 * i + 1] << 8));
    const std::wstring_view path(units, count);

    const size_t last = path.rfind(L'\\');
    const auto folder = zarvell::folderOfFile(path);
    if (last == std::wstring_view::npos) {
        if (folder)
            std::abort();
    } else {
        if (!folder)
            std::abort();
        const bool keepsBackslash = last > 0 && path[last - 1] == L':';
        if (folder->size() != last + (keepsBackslash ? 1 : 0))
            std::abort();
        if (path.substr(0, folder->size()) != *folder)
            std::abort();
    }
    std::free(units);
    return 0;
}
