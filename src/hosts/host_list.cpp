#include "hosts/host_list.hpp"

#include "hosts/host_names.hpp"
#include "launch/state.hpp"

namespace zarvell {

std::vector<HostEntry> fillHostList(const std::string& namesText) {
    std::vector<std::string> pieces = splitHostNames(namesText);
    hostNames.swap(pieces);  // the old list goes when `pieces` does, at the end of this call
    std::vector<HostEntry> entries;
    entries.reserve(hostNames.size());
    for (size_t i = 0; i < hostNames.size(); ++i) {
        entries.push_back({hostNames[i], static_cast<int>(i + 1)});
    }
    return entries;
}

}  // namespace zarvell
