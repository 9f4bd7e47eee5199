#include "launch/state.hpp"

#include <windows.h>

#include "launch/text_rules.hpp"

namespace zarvell {

LaunchState launchState;
std::vector<std::string> hostNames;
std::string searchResult;

namespace {
// swap-with-empty frees the storage there and then, not just the contents.
template <typename T>
void release(T& item) {
    T().swap(item);
}
}  // namespace

void releaseState() {
    release(launchState.modSwitch);
    release(searchResult);
    for (auto& name : hostNames)
        release(name);
    release(hostNames);
    release(launchState.displaySwitch);
    release(launchState.movieSwitch);
    release(launchState.resolutionSwitch);
}

namespace {
std::wstring programFolder;          // as start-up worked it out
unsigned long programFolderFailure;  // 0: entered (or never tried)
}  // namespace

bool enterProgramFolder() {
    const auto path = wholePath([](wchar_t* buffer, unsigned long size) {
        return static_cast<unsigned long>(GetModuleFileNameW(nullptr, buffer, size));
    });
    const unsigned long pathError = path ? 0 : GetLastError();
    const auto folder = path ? folderOfFile(*path) : std::nullopt;
    if (folder && SetCurrentDirectoryW(folder->c_str())) {
        programFolder = *folder;
        programFolderFailure = 0;
        return true;
    }
    // Staying where the program was started would read and write another folder's files.
    programFolder = folder.value_or(L"");
    programFolderFailure = folder ? GetLastError() : pathError;
    if (programFolderFailure == 0)
        programFolderFailure = ERROR_PATH_NOT_FOUND;
    return false;
}

unsigned long programFolderError() {
    return programFolderFailure;
}

std::wstring programFolderText() {
    if (!programFolder.empty())
        return programFolder;
    const auto current = wholePath([](wchar_t* buffer, unsigned long size) {
        const DWORD n = GetCurrentDirectoryW(size, buffer);
        return static_cast<unsigned long>(n < size ? n : size);  // too small: the size it needs
    });
    return current.value_or(L"");
}

}  // namespace zarvell
