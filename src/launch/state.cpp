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

bool enterProgramFolder() {
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    const auto folder = programFolderFrom(path, n, MAX_PATH,
                                          [](unsigned char c) { return IsDBCSLeadByte(c) != 0; });
    if (!folder)
        return false;
    SetCurrentDirectoryA(folder->c_str());
    return true;
}

}  // namespace zarvell
