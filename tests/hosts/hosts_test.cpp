#include <gtest/gtest.h>

#include "hosts/host_list.hpp"
#include "hosts/host_names.hpp"
#include "launch/state.hpp"

namespace zarvell {
namespace {

using Pieces = std::vector<std::string>;

TEST(SplitHostNames, PiecesAsTheyStand) {
    struct Case {
        std::string text;
        Pieces pieces;
    };
    const Case cases[] = {
        {"", {}},
        {"A", {"A"}},
        {"A,B", {"A", "B"}},
        {"A,,B", {"A", "", "B"}},
        {",A", {"", "A"}},
        {"A,", {"A"}},
        {"A,,", {"A", ""}},
        {",", {""}},
        {",,", {"", ""}},
        {"a, b ,c", {"a", " b ", "c"}},     // blanks belong to the names
        {"x,x", {"x", "x"}},                // duplicates stay
        {"\xD6\xD0,B", {"\xD6\xD0", "B"}},  // 中 then a real separator
        {"A\x81,B", {"A\x81,B"}},           // a lead byte takes the comma with it
        {"A\x81", {"A\x81"}},               // a lead byte at the very end
        {"\xD5\x5C,y", {"\xD5\x5C", "y"}},  // 誠: trail byte 0x5C is no separator either
    };
    for (const auto& c : cases)
        EXPECT_EQ(splitHostNames(c.text), c.pieces) << c.text;
}

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
