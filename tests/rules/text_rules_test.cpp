// The pure rules that need no Windows: run under Wine with the other tests and natively
// under AddressSanitizer and UndefinedBehaviorSanitizer.
#include "launch/text_rules.hpp"

#include <gtest/gtest.h>

#include "hosts/host_names.hpp"

namespace zarvell {
namespace {

bool gbkLead(unsigned char c) {
    return c >= 0x81 && c <= 0xFE;
}

struct FolderCase {
    const char* what;
    std::string path;
    std::optional<std::string> folder;
};

TEST(FolderOfPath, CutsBeforeTheLastRealBackslash) {
    const FolderCase cases[] = {
        {"ordinary path", "C:\\Games\\BF2\\zarvell.exe", "C:\\Games\\BF2"},
        // 誠 is D5 5C: its second byte must not end the folder.
        {"GBK trail byte 0x5C in the last element", "C:\\Games\\\xD5\x5C.exe", "C:\\Games"},
        {"GBK trail byte 0x5C in a folder name", "C:\\\xD5\x5C\\zarvell.exe", "C:\\\xD5\x5C"},
        {"drive root", "C:\\zarvell.exe", "C:"},
        {"no backslash at all", "zarvell.exe", std::nullopt},
        {"lead byte as the very last byte", "C:\\a\\b\xD5", "C:\\a"},
        {"empty path", "", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(folderOfPath(c.path, gbkLead), c.folder) << c.what;
}

TEST(ProgramFolderFrom, RefusesFailedAndCutPaths) {
    const std::string full(260, 'a');  // GetModuleFileNameA filled the whole buffer
    EXPECT_EQ(programFolderFrom(full.data(), 260, 260, gbkLead), std::nullopt);
    EXPECT_EQ(programFolderFrom("", 0, 260, gbkLead), std::nullopt);
    const std::string fits = "C:\\" + std::string(250, 'b') + "\\z.exe";  // 259 bytes
    EXPECT_EQ(programFolderFrom(fits.data(), fits.size(), 260, gbkLead),
              fits.substr(0, fits.size() - 6));
}

TEST(BooleanTexts, OnlyTheExactBytesOfTrue) {
    EXPECT_EQ(boolText(true), "\xD5\xE6");   // 真
    EXPECT_EQ(boolText(false), "\xBC\xD9");  // 假
    const std::pair<std::string, bool> cases[] = {
        {"\xD5\xE6", true}, {"\xBC\xD9", false},  {"", false},          {"1", false},
        {"true", false},    {"\xD5\xE6 ", false}, {" \xD5\xE6", false}, {"\xD5", false}};
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(isTrueText(text), expected) << text;
}

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
        {"\xD5\x5C,y", {"\xD5\x5C", "y"}},  // 誠: its trail byte is no separator either
    };
    for (const auto& c : cases)
        EXPECT_EQ(splitHostNames(c.text), c.pieces) << c.text;
}

}  // namespace
}  // namespace zarvell
