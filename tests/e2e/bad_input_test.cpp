// Messy game folders, end to end: the launcher starts, launches and closes with exit code 0
// in each, gives the game the line the rules make, and loses nothing of mod.ini beyond the
// four keys it writes.
#include <functional>
#include <optional>

#include "launcher_fixture.hpp"

namespace zarvell {
namespace {

std::string profileValue(const std::string& ini, const char* section, const char* key) {
    std::string buffer(64, '\0');
    const DWORD n = GetPrivateProfileStringA(section, key, "<absent>", buffer.data(),
                                             static_cast<DWORD>(buffer.size()), ini.c_str());
    return buffer.substr(0, n);
}

// The file without the lines the launcher owns: the four keys of [mod], and a [mod] header
// left with nothing under it.
std::string withoutOwnLines(const std::string& file) {
    std::string out, pendingHeader;
    bool inMod = false;
    size_t pos = 0;
    while (pos < file.size()) {
        size_t end = file.find('\n', pos);
        end = end == std::string::npos ? file.size() : end + 1;
        const std::string line = file.substr(pos, end - pos);
        pos = end;
        if (!line.empty() && line[0] == '[') {
            out += pendingHeader;
            pendingHeader.clear();
            inMod = line.rfind("[mod]", 0) == 0;
            if (inMod) {
                pendingHeader = line;
                continue;
            }
        } else if (inMod) {
            bool own = false;
            for (const char* key : {"szx=", "szy=", "win=", "movie="}) {
                if (line.rfind(key, 0) == 0)
                    own = true;
            }
            if (own)
                continue;
            out += pendingHeader;
            pendingHeader.clear();
        }
        out += line;
    }
    return out;
}

struct Kept {
    const char* section;
    const char* key;
    std::string value;
};

struct IniCase {
    const char* what;
    std::string ini;
    std::string expectedLine;
    std::vector<Kept> kept;  // values outside the four keys that must survive
    bool windowsForm;        // already as the profile functions write it: bytes kept
    const char* widthAfter;  // what the launch stores (the box showed it)
    const char* winAfter;
};

std::string utf16WithBom(const std::wstring& text) {
    std::string bytes = "\xFF\xFE";
    for (wchar_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return bytes;
}

std::string junk() {
    std::string bytes;
    for (int i = 0; i < 4096; ++i)
        bytes += static_cast<char>((i * 7919 + 13) % 256);
    return bytes;
}

const std::string kHeadFull = std::string(kHead) + " +fullscreen 1";
const std::string kHeadWindowed = std::string(kHead) + " +fullscreen 0";

TEST_F(Launcher, MessySettingsFiles) {
    const std::string longValue(20000, '7');
    const IniCase cases[] = {
        {"binary junk", junk(), kHeadFull, {}, false, "1024", kFalse},
        {"1 MB single line", std::string(1 << 20, 'x'), kHeadFull, {}, false, "1024", kFalse},
        {"UTF-16 with a byte-order mark",
         utf16WithBom(L"[mod]\r\nszx=1280\r\nwin=\x771F\r\nname=localhost\r\n[other]\r\nk=v\r\n"),
         kHeadWindowed + " +szx 1280 +szy 680",
         {{"mod", "name", "localhost"}, {"other", "k", "v"}},
         false,
         "1280",
         kTrue},
        {"no section mod",
         "[other]\r\nk=v\r\n; comment\r\n",
         kHeadFull,
         {{"other", "k", "v"}},
         true,
         "1024",
         kFalse},
        {"keys repeated",
         "[mod]\r\nszx=800\r\nszx=900\r\nname=a\r\nname=b\r\n",
         kHeadFull,
         {{"mod", "name", "a"}},
         true,
         "800",
         kFalse},
        {"LF line ends",
         "[mod]\nszx=1280\nwin=\xD5\xE6\nname=localhost\n[other]\nk=v\n",
         kHeadWindowed + " +szx 1280 +szy 680",
         {{"mod", "name", "localhost"}, {"other", "k", "v"}},
         false,
         "1280",
         kTrue},
        {"no final line end",
         "[mod]\r\nname=h\r\nwin=\xD5\xE6\r\nszy=720",
         kHeadWindowed + " +szx 1024 +szy 720",
         {{"mod", "name", "h"}},
         true,
         "1024",
         kTrue},
        {"blanks around =",
         "[mod]\r\nszx = 1280\r\nwin = \xD5\xE6\r\nname = host one\r\n",
         kHeadWindowed + " +szx 1280 +szy 680",
         {{"mod", "name", "host one"}},
         false,
         "1280",
         kTrue},
        {"20 KB value",
         "[mod]\r\nszx=" + longValue + "\r\nwin=\xD5\xE6\r\nname=n\r\n",
         "<checked below>",
         {{"mod", "name", "n"}},
         false,
         nullptr,
         kTrue},
    };
    for (const IniCase& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string ini = game / "mod.ini";
        test::writeFile(ini, c.ini);
        start();
        const std::string line = launch();
        EXPECT_EQ(close(), 0u);
        if (c.widthAfter) {
            EXPECT_EQ(line, c.expectedLine);
            EXPECT_EQ(profileValue(ini, "mod", "szx"), c.widthAfter);
        } else {
            // Read through the 10240-byte buffer: cut, but carried on and stored as read.
            const std::string prefix = kHeadWindowed + " +szx 7777777";
            EXPECT_EQ(line.rfind(prefix, 0), 0u);
            EXPECT_NE(line.find(" +szy 680"), std::string::npos);
            EXPECT_GT(line.size(), 10200u);
        }
        EXPECT_EQ(profileValue(ini, "mod", "win"), c.winAfter);
        EXPECT_EQ(profileValue(ini, "mod", "movie"), kFalse);
        for (const Kept& k : c.kept)
            EXPECT_EQ(profileValue(ini, k.section, k.key), k.value) << k.key;
        if (c.windowsForm) {
            EXPECT_EQ(withoutOwnLines(test::readFile(ini)), withoutOwnLines(c.ini));
        }
        DeleteFileA(ini.c_str());
    }
}

TEST_F(Launcher, NoGameOrAFileThatIsNoProgram) {
    for (const bool textFile : {false, true}) {
        DeleteFileA((game / "bf2.exe").c_str());
        if (textFile)
            test::writeFile(game / "bf2.exe", "this is no program\r\n");
        start();
        for (int attempt = 0; attempt < 2; ++attempt) {  // told, and can be tried again
            ui.postClick(launchButton);
            HWND box = test::waitForMessageBox(process->id());
            ASSERT_NE(box, nullptr) << textFile;
            EXPECT_TRUE(test::dismissMessageBox(box));
        }
        EXPECT_TRUE(IsWindowVisible(ui.window()));
        EXPECT_EQ(close(), 0u);
        EXPECT_EQ(ini(), savedIni("1024", "680", kFalse, kFalse));
        EXPECT_TRUE(game.starts().empty());
    }
}

TEST_F(Launcher, OddModFolderNamesReachTheGameUnchanged) {
    test::makeFolder(game / "mods");
    const std::vector<std::string> names = {
        "with blanks  in it", "\xD6\xD0\xCE\xC4\xC4\xA3\xD7\xE9", ".hidden", "..dots",
        std::string(200, 'n') + "\xD5\x5C"};  // 202 bytes ending in 誠
    for (const auto& n : names)
        test::makeFolder(game / "mods" + "\\" + n);
    test::writeFile(game / "mods\\a file", "not a mod");
    start();
    ASSERT_EQ(ui.listCount(modList), static_cast<int>(names.size()));
    for (int i = 0; i < static_cast<int>(names.size()); ++i) {
        chooseMod(VK_DOWN, i);
        const std::string name = ui.listItem(modList, i);
        EXPECT_NE(std::find(names.begin(), names.end(), name), names.end()) << name;
        EXPECT_EQ(launch(), kHeadFull + "  +modPath mods/" + name);
    }
    EXPECT_EQ(close(), 0u);
}

TEST_F(Launcher, TenThousandMods) {
    test::makeFolder(game / "mods");
    for (int i = 0; i < 10000; ++i)
        test::makeFolder(game / "mods\\mod" + std::to_string(i));
    start();
    EXPECT_EQ(ui.listCount(modList), 10000);
    chooseMod(VK_DOWN, 0);
    chooseMod(VK_END, 9999);
    EXPECT_EQ(launch(), kHeadFull + "  +modPath mods/" + ui.listItem(modList, 9999));
    EXPECT_EQ(close(), 0u);
}

TEST_F(Launcher, ModsIsAFile) {
    test::writeFile(game / "mods", "no folder");
    start();
    EXPECT_EQ(ui.listCount(modList), 0);
    EXPECT_EQ(launch(), kHeadFull);
    EXPECT_EQ(close(), 0u);
}

TEST_F(Launcher, HostNamesOfEverySize) {
    std::string names = "," + std::string(99, 'a') + "," + std::string(100, 'b') + "," +
                        std::string(5000, 'c') + ", localhost";
    for (int i = 0; i < 300; ++i)
        names += ",h" + std::to_string(i);
    test::writeFile(game / "mod.ini", "[mod]\r\nname=" + names + "\r\n");
    start();
    ui.click(ipHelperCheck);
    ASSERT_EQ(ui.listCount(hostCombo), 305);
    // The empty name is looked up as this computer; the rest have no address.
    const bool hasAddress[] = {true, false, false, false, false};
    const unsigned long idle = test::threadCountOf(process->id());
    for (int i = 0; i < 5; ++i) {
        ui.postKey(hostCombo, VK_DOWN);
        ASSERT_TRUE(settle());
        // A lookup's thread ends after posting its answer, which the next round then sees.
        EXPECT_TRUE(test::waitFor([&] { return test::threadCountOf(process->id()) <= idle; })) << i;
        ASSERT_TRUE(settle());
        EXPECT_EQ(!ui.text(addressEdit).empty(), hasAddress[i]) << i;
    }
    EXPECT_EQ(close(), 0u);
    EXPECT_EQ(profileValue(game / "mod.ini", "mod", "name").substr(0, 3), ",aa");
}

}  // namespace
}  // namespace zarvell
