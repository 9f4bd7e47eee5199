#include <windows.h>

#include <gtest/gtest.h>

#include "launch/state.hpp"
#include "launch/text_rules.hpp"
#include "test_support.hpp"

namespace zarvell {
namespace {

TEST(FolderOfPath, PlatformLeadByteRuleUnderCodePage936) {
    auto system = [](unsigned char c) { return IsDBCSLeadByte(c) != 0; };
    EXPECT_EQ(folderOfPath("C:\\\xB6\x5C\\\x9C\x5C.exe", system), "C:\\\xB6\x5C");  // 禱\淺
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
