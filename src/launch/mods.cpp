#include "launch/mods.hpp"

#include <windows.h>

#include <string_view>

#include "launch/state.hpp"

namespace zarvell {

namespace {
// Owns a directory search so that it is closed on every way out.
class FindHandle {
  public:
    explicit FindHandle(HANDLE h) : h_(h) {}
    ~FindHandle() {
        if (valid())
            FindClose(h_);
    }
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return h_; }

  private:
    HANDLE h_;
};
}  // namespace

std::vector<std::string> discoverMods() {
    std::vector<std::string> mods;
    if (programFolderError() != 0)
        return mods;
    // Relative to the current directory, as the settings file: any folder name or length.
    WIN32_FIND_DATAA entry;
    FindHandle search(FindFirstFileA(".\\mods\\*", &entry));
    if (!search.valid())
        return mods;
    do {
        searchResult = entry.cFileName;
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            continue;
        const std::string_view name = searchResult;
        if (name == "." || name == "..")
            continue;
        mods.push_back(searchResult);
    } while (FindNextFileA(search.get(), &entry));
    std::string().swap(searchResult);
    return mods;
}

}  // namespace zarvell
