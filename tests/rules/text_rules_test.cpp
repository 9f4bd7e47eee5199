// The pure rules that need no Windows: run under Wine with the other tests and natively
// under AddressSanitizer and UndefinedBehaviorSanitizer.
#include "launch/text_rules.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "hosts/host_names.hpp"

namespace zarvell {
namespace {

struct FolderCase {
    const char* what;
    std::wstring path;
    std::optional<std::wstring> folder;
};

TEST(FolderOfFile, CutsBeforeTheLastBackslashAndKeepsADrivesRoot) {
    const FolderCase cases[] = {
        {"ordinary path", L"C:\\Games\\BF2\\zarvell.exe", L"C:\\Games\\BF2"},
        // 誠 is D5 5C in GBK; in UTF-16 no character holds a backslash.
        {"folder named 誠", L"C:\\\x8AA0\\zarvell.exe", L"C:\\\x8AA0"},
        {"Chinese folder", L"D:\\\x4E2D\x6587\\z.exe", L"D:\\\x4E2D\x6587"},
        {"drive root", L"C:\\zarvell.exe", L"C:\\"},
        {"drive root, long form", L"\\\\?\\C:\\zarvell.exe", L"\\\\?\\C:\\"},
        {"share", L"\\\\server\\share\\zarvell.exe", L"\\\\server\\share"},
        {"no backslash at all", L"zarvell.exe", std::nullopt},
        {"empty path", L"", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(folderOfFile(c.path), c.folder) << c.what;
}

// A source like GetModuleFileNameW for a path of `length` characters: cut in a smaller buffer.
struct FakeModulePath {
    size_t length;
    std::vector<unsigned long>* sizesAsked;
    unsigned long operator()(wchar_t* buffer, unsigned long size) const {
        sizesAsked->push_back(size);
        const std::wstring path = L"C:\\" + std::wstring(length - 3, L'a');
        const size_t n = std::min<size_t>(path.size(), size);
        std::copy(path.begin(), path.begin() + n, buffer);
        if (n < size)
            buffer[n] = L'\0';
        return static_cast<unsigned long>(n);
    }
};

TEST(WholePath, AsksAgainWithALargerBufferUntilThePathFits) {
    struct Case {
        size_t length;
        size_t expectedAsks;
    };
    for (const Case c : {Case{10, 1}, Case{259, 1}, Case{260, 2}, Case{600, 3}, Case{32767, 8}}) {
        std::vector<unsigned long> asked;
        const auto path = wholePath(FakeModulePath{c.length, &asked});
        ASSERT_TRUE(path) << c.length;
        EXPECT_EQ(path->size(), c.length);
        EXPECT_EQ(asked.size(), c.expectedAsks) << c.length;
    }
    EXPECT_EQ(wholePath([](wchar_t*, unsigned long) { return 0ul; }), std::nullopt);
    // A source that is always cut gives up rather than growing for ever.
    EXPECT_EQ(wholePath([](wchar_t*, unsigned long size) { return size; }), std::nullopt);
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
