#include "launch/mods.hpp"

#include <windows.h>

#include <gtest/gtest.h>

#include "launch/state.hpp"
#include "test_support.hpp"

namespace zarvell {
namespace {

// What a plain directory walk of mods gives: the folders, in the platform's own order.
std::vector<std::string> independentWalk(const std::string& mods) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA e;
    HANDLE h = FindFirstFileA((mods + "\\*").c_str(), &e);
    if (h == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::string n = e.cFileName;
        if ((e.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && n != "." && n != "..") {
            names.push_back(n);
        }
    } while (FindNextFileA(h, &e));
    FindClose(h);
    return names;
}

class ModDiscovery : public ::testing::Test {
  protected:
    test::TempFolder game;
    test::CurrentDirectory cd{game.path()};
    std::string mods() const { return game / "mods"; }
};

TEST_F(ModDiscovery, ListsEveryFolderUnchangedAndNothingElse) {
    test::makeFolder(mods());
    const std::vector<std::string> folders = {
        "Zeta",   "alpha",   "empty", "with blank", ".dot", "..x", "\xD6\xD0\xCE\xC4",  // 中文
        "hidden", "\xD5\x5C"};                                                          // 誠
    for (const auto& f : folders)
        test::makeFolder(mods() + "\\" + f);
    SetFileAttributesA((mods() + "\\hidden").c_str(), FILE_ATTRIBUTE_HIDDEN);
    test::writeFile(mods() + "\\Zeta\\inside.txt", "x");
    test::writeFile(mods() + "\\readme.txt", "a file is no mod");
    searchResult = "stale";

    const auto found = discoverMods();
    EXPECT_EQ(found, independentWalk(mods()));
    EXPECT_EQ(found.size(), folders.size());
    for (const auto& f : folders) {
        EXPECT_NE(std::find(found.begin(), found.end(), f), found.end()) << f;
    }
    EXPECT_EQ(std::find(found.begin(), found.end(), "readme.txt"), found.end());
    EXPECT_TRUE(searchResult.empty());
}

TEST_F(ModDiscovery, NoModsWhereThereIsNoFolderToSearch) {
    EXPECT_TRUE(discoverMods().empty());  // no mods folder
    test::makeFolder(mods());
    EXPECT_TRUE(discoverMods().empty());  // only "." and ".."
    RemoveDirectoryA(mods().c_str());
    test::writeFile(mods(), "mods is a file");
    EXPECT_TRUE(discoverMods().empty());
    EXPECT_TRUE(searchResult.empty());
}

TEST_F(ModDiscovery, ListsThousandsOfFolders) {
    test::makeFolder(mods());
    for (int i = 0; i < 3000; ++i)
        test::makeFolder(mods() + "\\m" + std::to_string(i));
    const auto found = discoverMods();
    EXPECT_EQ(found.size(), 3000u);
    EXPECT_EQ(found, independentWalk(mods()));
}

}  // namespace
}  // namespace zarvell
