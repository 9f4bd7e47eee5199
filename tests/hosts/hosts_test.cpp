#include <gtest/gtest.h>

#include "hosts/host_list.hpp"
#include "launch/state.hpp"

namespace zarvell {
namespace {

using Pieces = std::vector<std::string>;

TEST(FillHostList, ReplacesHostNamesAndNumbersTheEntriesFromOne) {
    hostNames = {"old"};
    const auto entries = fillHostList("A,,B");
    EXPECT_EQ(hostNames, (Pieces{"A", "", "B"}));
    ASSERT_EQ(entries.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(entries[i].text, hostNames[i]);
        EXPECT_EQ(entries[i].itemData, i + 1);
    }
    EXPECT_TRUE(fillHostList("").empty());
    EXPECT_TRUE(hostNames.empty());
}

TEST(ResolveHostAddress, FirstIpv4AddressOrEmpty) {
    EXPECT_EQ(resolveHostAddress("localhost"), "127.0.0.1");
    EXPECT_EQ(resolveHostAddress("no-such-host.invalid"), "");
    EXPECT_EQ(resolveHostAddress(" localhost"), "");  // names are not trimmed
    // The empty name is looked up too: the platform answers with this computer.
    EXPECT_NE(resolveHostAddress(""), "");
    // Calls stand alone: a failed one leaves the next unharmed.
    EXPECT_EQ(resolveHostAddress("localhost"), "127.0.0.1");
}

TEST(ResolveHostAddress, NamesTooLongForTheBufferAreNotCut) {
    // "127.0.0.000…01": 99 bytes, a numeric name that fits the buffer with its zero.
    const std::string fits = "127.0.0." + std::string(90, '0') + "1";
    ASSERT_EQ(fits.size(), 99u);
    EXPECT_EQ(resolveHostAddress(fits), "127.0.0.1");
    // One byte more must not be looked up as its first 99 bytes, the host above.
    EXPECT_EQ(resolveHostAddress(fits + "2"), "");
    EXPECT_EQ(resolveHostAddress(std::string(5000, 'x')), "");
}

}  // namespace
}  // namespace zarvell
