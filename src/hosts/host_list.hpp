// The host list and the lookup of a host's IPv4 address.
#pragma once

#include <string>
#include <vector>

namespace zarvell {

// One item for the host drop-down: its text and its position in hostNames, from 1.
struct HostEntry {
    std::string text;
    int itemData;
};

// Replaces hostNames with the pieces of the "name" text; yields their drop-down items.
std::vector<HostEntry> fillHostList(const std::string& namesText);

// The host's first IPv4 address in dotted-decimal form, or "" when there is none.
// A name of 100 bytes or more is not looked up: cutting it would name another host.
std::string resolveHostAddress(const std::string& hostName);

}  // namespace zarvell
