#include <windows.h>

#include <gtest/gtest.h>

#include "launch/state.hpp"
#include "launch/text_rules.hpp"
#include "test_support.hpp"

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
    };
    for (const auto& c : cases)
        EXPECT_EQ(folderOfPath(c.path, gbkLead), c.folder) << c.what;
}

TEST(FolderOfPath, PlatformLeadByteRuleUnderCodePage936) {
    auto system = [](unsigned char c) { return IsDBCSLeadByte(c) != 0; };
    EXPECT_EQ(folderOfPath("C:\\\xB6\x5C\\\x9C\x5C.exe", system), "C:\\\xB6\x5C");  // 禱\淺
}

TEST(ProgramFolderFrom, RefusesFailedAndCutPaths) {
    const std::string full(260, 'a');  // GetModuleFileNameA filled the whole buffer
    EXPECT_EQ(programFolderFrom(full.data(), 260, 260, gbkLead), std::nullopt);
    EXPECT_EQ(programFolderFrom("", 0, 260, gbkLead), std::nullopt);
    const std::string fits =
        "C:\\" + std::string(250, 'b') + "\\z.exe";  // 259 bytes: fits with its zero
    EXPECT_EQ(programFolderFrom(fits.data(), fits.size(), 260, gbkLead),
              fits.substr(0, fits.size() - 6));
}

// Runs a copy of this test program, from another folder, out of a folder named 誠 and asks it
// to move into its own folder and report its current directory.
TEST(EnterProgramFolderTest, MovesIntoTheExecutablesFolderEvenWithA5CTrailByte) {
    test::TempFolder tmp;
    const std::string folder = tmp / "\xD5\x5C";  // 誠
    test::makeFolder(folder);
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string copy = folder + "\\launch_tests.exe";
    ASSERT_TRUE(CopyFileA(self, copy.c_str(), FALSE));

    const std::string out = tmp / "cwd.txt";
    SetEnvironmentVariableA("ZARVELL_CWD_OUT", out.c_str());
    // Started from another folder: the program must not stay there.
    test::Process child("\"" + copy + "\" --gtest_filter=EnterProgramFolderChild.*",
                        tmp.path().c_str());
    SetEnvironmentVariableA("ZARVELL_CWD_OUT", nullptr);
    ASSERT_TRUE(child.started());
    EXPECT_EQ(child.wait(60000), 0u);
    EXPECT_EQ(test::readFile(out), folder);
}

TEST(EnterProgramFolderChild, ReportsItsDirectory) {
    char out[MAX_PATH];
    if (GetEnvironmentVariableA("ZARVELL_CWD_OUT", out, MAX_PATH) == 0)
        GTEST_SKIP();
    EXPECT_TRUE(enterProgramFolder());
    char dir[MAX_PATH];
    const DWORD n = GetCurrentDirectoryA(MAX_PATH, dir);
    test::writeFile(out, std::string(dir, n));
}

}  // namespace
}  // namespace zarvell
