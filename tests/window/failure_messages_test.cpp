// What the player reads when a launch or the save after it fails.
#include "window/failure_messages.hpp"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "test_support.hpp"

namespace zarvell {
namespace {

// The start of the system's own words for an error (its first line, at most 5 characters).
std::wstring systemWords(DWORD error) {
    wchar_t text[512] = {};
    FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                   text, 512, nullptr);
    const std::wstring words(text);
    return words.substr(0, std::min<size_t>(5, words.find_first_of(L"\r\n")));
}

bool contains(const std::wstring& text, const std::wstring& part) {
    return !part.empty() && text.find(part) != std::wstring::npos;
}

TEST(FailureMessages, NothingToTellWhenNothingFailedOrThePlayerDeclined) {
    EXPECT_EQ(launchFailureMessage({true, 0}), L"");
    EXPECT_EQ(launchFailureMessage({false, ERROR_CANCELLED}), L"");  // declined elevation
    EXPECT_EQ(saveFailureMessage({true, 0}), L"");
}

TEST(FailureMessages, SayWhichFileInWhichFolderAndWhy) {
    test::TempFolder folder;
    test::CurrentDirectory cd(folder.path());
    const std::wstring where = test::widen(folder.path());

    const std::wstring launch = launchFailureMessage({false, ERROR_FILE_NOT_FOUND});
    EXPECT_TRUE(contains(launch, L"\x6E38\x620F\x672A\x80FD\x542F\x52A8")) << "游戏未能启动";
    EXPECT_TRUE(contains(launch, L"bf2.exe"));
    EXPECT_TRUE(contains(launch, where));
    EXPECT_TRUE(contains(launch, systemWords(ERROR_FILE_NOT_FOUND)));
    EXPECT_TRUE(contains(launch, L" 2\xFF09")) << "the error code";
    EXPECT_TRUE(contains(launchFailureMessage({false, 740}), L" 740\xFF09"));

    const std::wstring save = saveFailureMessage({false, ERROR_ACCESS_DENIED});
    EXPECT_TRUE(contains(save, L"\x8BBE\x7F6E\x672A\x80FD\x4FDD\x5B58")) << "设置未能保存";
    EXPECT_TRUE(contains(save, L"mod.ini"));
    EXPECT_TRUE(contains(save, where));
    EXPECT_TRUE(contains(save, systemWords(ERROR_ACCESS_DENIED)));
    EXPECT_TRUE(contains(save, L"Program Files")) << "what the player can do";
}

}  // namespace
}  // namespace zarvell
