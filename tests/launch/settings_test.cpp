#include "launch/settings.hpp"

#include <windows.h>

#include <gtest/gtest.h>

#include "test_support.hpp"

namespace zarvell {
namespace {

class SettingsFile : public ::testing::Test {
  protected:
    test::TempFolder folder;
    test::CurrentDirectory cd{folder.path()};
    std::string ini() const { return folder / "mod.ini"; }
    std::string raw(const char* key) const {
        char buf[64] = {};
        GetPrivateProfileStringA("mod", key, "<absent>", buf, sizeof(buf), ini().c_str());
        return buf;
    }
};

TEST_F(SettingsFile, TheFileIsModIniInTheCurrentDirectory) {
    EXPECT_EQ(settingsPath(), ".\\mod.ini");
    EXPECT_TRUE(saveSettings("1", "2", false, false).saved);
    EXPECT_TRUE(test::fileExists(ini()));
}

TEST_F(SettingsFile, NoFileGivesTheDefaultsAndCreatesNothing) {
    const LaunchSettings s = loadSettings();
    EXPECT_EQ(s.widthText, "1024");
    EXPECT_EQ(s.heightText, "680");
    EXPECT_FALSE(s.windowed);
    EXPECT_FALSE(s.skipMovies);
    EXPECT_EQ(loadHostNamesText(), "");
    EXPECT_FALSE(test::fileExists(ini()));
}

TEST_F(SettingsFile, OnlyTheExactBytesOfTrueReadAsTrue) {
    struct Case {
        const char* stored;
        bool expected;
    };
    const Case cases[] = {{"\xD5\xE6", true},   // 真
                          {"\xBC\xD9", false},  // 假
                          {"", false},         {"1", false},
                          {"true", false},     {"\xD5\xE6 x", false}};
    for (const auto& c : cases) {
        test::writeFile(ini(),
                        std::string("[mod]\r\nwin=") + c.stored + "\r\nmovie=" + c.stored + "\r\n");
        const LaunchSettings s = loadSettings();
        EXPECT_EQ(s.windowed, c.expected) << c.stored;
        EXPECT_EQ(s.skipMovies, c.expected) << c.stored;
    }
}

TEST_F(SettingsFile, TextsComeAsTheyAreStored) {
    test::writeFile(ini(), "[other]\r\nszx=1\r\n[mod]\r\nszx=\r\nszy=abc\r\nname=a,b\r\n");
    const LaunchSettings s = loadSettings();
    EXPECT_EQ(s.widthText, "");  // present but empty: not the default
    EXPECT_EQ(s.heightText, "abc");
    EXPECT_EQ(loadHostNamesText(), "a,b");
}

TEST_F(SettingsFile, AValueLongerThanTheReadBufferIsCut) {
    test::writeFile(ini(), "[mod]\r\nszx=" + std::string(20000, '7') + "\r\n");
    const std::string width = loadSettings().widthText;
    EXPECT_EQ(width, std::string(width.size(), '7'));
    EXPECT_GE(width.size(), 10238u);
    EXPECT_LE(width.size(), 10239u);
}

TEST_F(SettingsFile, SavingFromNothingWritesTheFourKeysInOrder) {
    EXPECT_TRUE(saveSettings("1024", "680", true, false).saved);
    // The exact form the profile functions write, with 真 D5 E6 and 假 BC D9.
    EXPECT_EQ(test::readFile(ini()),
              "[mod]\r\nszx=1024\r\nszy=680\r\nwin=\xD5\xE6\r\nmovie=\xBC\xD9\r\n");
    const LaunchSettings s = loadSettings();
    EXPECT_TRUE(s.windowed);
    EXPECT_FALSE(s.skipMovies);
}

TEST_F(SettingsFile, EmptyTextsAreStoredAsEmptyValuesNotRemoved) {
    saveSettings("", "", false, true);
    EXPECT_EQ(raw("szx"), "");
    EXPECT_EQ(raw("szy"), "");
    EXPECT_EQ(raw("win"), "\xBC\xD9");
    EXPECT_EQ(raw("movie"), "\xD5\xE6");
    EXPECT_EQ(loadSettings().widthText, "");  // the next run starts with an empty box
}

TEST_F(SettingsFile, EverythingElseSurvivesRepeatedSaves) {
    test::writeFile(ini(),
                    "; kept by hand\r\n[mod]\r\nname=localhost,\xD6\xD0\r\nszx=1\r\n"
                    "[extra]\r\nkey=value\r\n");
    for (int i = 0; i < 3; ++i)
        saveSettings("800", "600", i % 2 == 0, true);
    EXPECT_EQ(loadHostNamesText(), "localhost,\xD6\xD0");
    char extra[32] = {};
    GetPrivateProfileStringA("extra", "key", "", extra, sizeof(extra), ini().c_str());
    EXPECT_STREQ(extra, "value");
    EXPECT_NE(test::readFile(ini()).find("; kept by hand"), std::string::npos);
    EXPECT_EQ(raw("szx"), "800");
    EXPECT_EQ(raw("win"), "\xD5\xE6");
}

TEST_F(SettingsFile, AnUnwritableFileIsReportedWithTheReason) {
    test::makeFolder(ini());  // a folder where the file should be: every write fails
    const SaveResult result = saveSettings("800", "600", true, true);
    EXPECT_FALSE(result.saved);
    EXPECT_NE(result.error, 0u);
    const LaunchSettings s = loadSettings();
    EXPECT_EQ(s.widthText, "1024");
    EXPECT_FALSE(s.windowed);
    EXPECT_EQ(GetFileAttributesA(ini().c_str()) & FILE_ATTRIBUTE_DIRECTORY,
              static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
}

}  // namespace
}  // namespace zarvell
