// Where the launcher finds its files: a game folder of any name under any code page, the root
// of a drive, a folder path longer than 260 bytes; and no DLL of the game folder is loaded.
#include "launcher_fixture.hpp"

namespace zarvell {
namespace {

// A game folder made through the wide functions, for names the test's code page cannot spell,
// with the launcher and the stand-in game in it.
class WideGameFolder {
  public:
    explicit WideGameFolder(const std::wstring& name)
        : path_(test::widen(tmp_.path()) + L"\\" + name) {
        EXPECT_TRUE(CreateDirectoryW(path_.c_str(), nullptr));
        const std::wstring build = test::widen(test::moduleFolder());
        EXPECT_TRUE(
            CopyFileW((build + L"\\zarvell.exe").c_str(), (*this / L"zarvell.exe").c_str(), FALSE));
        EXPECT_TRUE(
            CopyFileW((build + L"\\bf2_standin.exe").c_str(), (*this / L"bf2.exe").c_str(), FALSE));
    }
    const std::wstring& path() const { return path_; }
    std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }
    std::vector<test::GameFolder::Start> starts() const {
        return test::GameFolder::startsIn(test::readFile(*this / L"bf2_log.txt"));
    }
    const test::TempFolder& parent() const { return tmp_; }

  private:
    test::TempFolder tmp_;
    std::wstring path_;
};

// The launcher started from `startFolder`, driven like the fixture drives it.
struct RunningLauncher {
    test::Process process;
    test::RemoteLauncher ui;
    RunningLauncher(const std::wstring& exe, const std::wstring& startFolder)
        : process(L"\"" + exe + L"\"", startFolder.c_str()) {
        EXPECT_TRUE(process.started());
        EXPECT_TRUE(ui.attach(process.id()));
    }
    ~RunningLauncher() {
        if (process.wait(0) == STILL_ACTIVE)
            TerminateProcess(process.handle(), 9);
    }
    DWORD close() {
        PostMessageW(ui.window(), WM_CLOSE, 0, 0);
        return process.wait();
    }
    void chooseFirstMod() {
        ui.postKey(modList, VK_DOWN);
        EXPECT_TRUE(test::waitFor([&] { return ui.listSelection() == 0; }));
    }
};

bool hasLine(const std::string& file, const std::string& line) {
    return file.find(line + "\r\n") != std::string::npos;
}

// 中文游戏: on an English Windows (code page 1252) the ANSI functions spell it "????", and a
// launcher working with ANSI paths found nothing there. The test runs under both code pages.
TEST(GameFolder, AChineseFolderNameWhateverTheCodePage) {
    WideGameFolder game(L"\x4E2D\x6587\x6E38\x620F");
    CreateDirectoryW((game / L"mods").c_str(), nullptr);
    CreateDirectoryW((game / L"mods\\alpha").c_str(), nullptr);
    CreateDirectoryW((game / L"mods\\beta").c_str(), nullptr);
    test::writeFile(game / L"mod.ini", "[mod]\r\nszx=1280\r\nwin=\xD5\xE6\r\n");

    RunningLauncher launcher(game / L"zarvell.exe", test::widen(game.parent().path()));
    test::RemoteLauncher& ui = launcher.ui;
    EXPECT_TRUE(ui.checked(windowedCheck));
    EXPECT_EQ(ui.text(widthEdit), "1280");
    ASSERT_EQ(ui.listCount(modList), 2);
    launcher.chooseFirstMod();
    ui.click(launchButton);
    const auto starts = game.starts();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].commandLine, std::string(kHead) +
                                         " +fullscreen 0 +szx 1280 +szy 680  +modPath mods/" +
                                         ui.listItem(modList, 0));
    EXPECT_EQ(starts[0].directory, test::toUtf8(game.path()));
    const std::string ini = test::readFile(game / L"mod.ini");
    EXPECT_TRUE(hasLine(ini, "szy=680")) << ini;
    EXPECT_TRUE(hasLine(ini, std::string("win=") + kTrue)) << ini;
    EXPECT_TRUE(hasLine(ini, std::string("movie=") + kFalse)) << ini;
    EXPECT_EQ(launcher.close(), 0u);
}

// Longer than 260 bytes in code page 936 (游戏 x 70, 280 bytes in the name alone), though not
// in characters. Started from that very folder, a launcher with 260-byte ANSI paths could
// neither enter it nor name its current directory, and used "\mod.ini": the drive's root.
TEST(GameFolder, AFolderPathLongerThan260Bytes) {
    std::wstring name;
    for (int i = 0; i < 70; ++i)
        name += L"\x6E38\x620F";
    WideGameFolder game(name);
    const std::wstring root = game.path().substr(0, 3);  // "C:\"
    ASSERT_FALSE(test::fileExists(root + L"mod.ini"));
    CreateDirectoryW((game / L"mods").c_str(), nullptr);
    CreateDirectoryW((game / L"mods\\m1").c_str(), nullptr);
    test::writeFile(game / L"mod.ini", "[mod]\r\nszx=1280\r\n");

    RunningLauncher launcher(game / L"zarvell.exe", game.path());
    EXPECT_EQ(launcher.ui.text(widthEdit), "1280");
    EXPECT_EQ(launcher.ui.listCount(modList), 1);
    launcher.ui.click(launchButton);
    ASSERT_EQ(game.starts().size(), 1u);
    EXPECT_EQ(game.starts()[0].directory, test::toUtf8(game.path()));
    EXPECT_TRUE(hasLine(test::readFile(game / L"mod.ini"), "szy=680"));
    EXPECT_EQ(launcher.close(), 0u);
    EXPECT_FALSE(test::fileExists(root + L"mod.ini"));
    EXPECT_FALSE(test::fileExists(root + L"bf2_log.txt"));
}

// Starts a Unix command from inside Wine, which runs Unix programs itself, though without a
// process to wait for: the caller waits for the outcome.
void runUnix(const std::wstring& commandLine) {
    test::Process unix(commandLine, nullptr);
}

// A drive letter mapped to a fresh folder: a link in the Wine prefix's dosdevices folder.
class MappedDrive {
  public:
    MappedDrive() {
        wchar_t prefix[1024] = {};
        GetEnvironmentVariableW(L"WINEPREFIX", prefix, 1024);
        if (!prefix[0])
            return;
        const DWORD used = GetLogicalDrives();
        for (wchar_t letter = L'Y'; letter > L'L'; --letter) {
            if (!(used & (1u << (letter - L'A')))) {
                letter_ = letter;
                break;
            }
        }
        const std::wstring name = L"zarvell-drive-" + std::to_wstring(GetCurrentProcessId());
        if (!letter_ || !CreateDirectoryW((L"Z:\\tmp\\" + name).c_str(), nullptr))
            return;
        unixFolder_ = L"/tmp/" + name;
        link_ =
            std::wstring(prefix) + L"/dosdevices/" + static_cast<wchar_t>(towlower(letter_)) + L":";
        runUnix(L"Z:\\bin\\ln -sfn " + unixFolder_ + L" " + link_);
        test::waitFor([&] { return test::fileExists(root()); }, 5000);
    }
    ~MappedDrive() {
        if (!link_.empty()) {
            runUnix(L"Z:\\bin\\rm -f " + link_);
            test::waitFor([&] { return !test::fileExists(root()); }, 5000);
        }
        if (!unixFolder_.empty())
            runUnix(L"Z:\\bin\\rm -rf " + unixFolder_);
    }
    bool ready() const { return !link_.empty() && test::fileExists(root()); }
    std::wstring root() const { return std::wstring(1, letter_) + L":\\"; }

  private:
    wchar_t letter_ = 0;
    std::wstring unixFolder_, link_;
};

// At a drive's root the folder is "Y:\". Cut to "Y:", it meant the drive's current directory:
// the folder the launcher was started from, when that is on the same drive.
TEST(GameFolder, TheRootOfADriveStartedFromAnotherFolderOfIt) {
    MappedDrive drive;
    ASSERT_TRUE(drive.ready()) << "no drive letter could be mapped";
    const std::wstring root = drive.root();
    const std::wstring build = test::widen(test::moduleFolder());
    ASSERT_TRUE(
        CopyFileW((build + L"\\zarvell.exe").c_str(), (root + L"zarvell.exe").c_str(), FALSE));
    ASSERT_TRUE(
        CopyFileW((build + L"\\bf2_standin.exe").c_str(), (root + L"bf2.exe").c_str(), FALSE));
    test::writeFile(root + L"mod.ini", "[mod]\r\nszx=1111\r\n");
    CreateDirectoryW((root + L"mods").c_str(), nullptr);
    CreateDirectoryW((root + L"mods\\root-mod").c_str(), nullptr);
    // The other folder, where the launcher is started, has all of its own.
    const std::wstring other = root + L"other";
    CreateDirectoryW(other.c_str(), nullptr);
    ASSERT_TRUE(
        CopyFileW((build + L"\\bf2_standin.exe").c_str(), (other + L"\\bf2.exe").c_str(), FALSE));
    const std::string otherIni = "[mod]\r\nszx=2222\r\nwin=\xD5\xE6\r\n";
    test::writeFile(other + L"\\mod.ini", otherIni);
    CreateDirectoryW((other + L"\\mods").c_str(), nullptr);
    CreateDirectoryW((other + L"\\mods\\other-mod").c_str(), nullptr);

    {
        RunningLauncher launcher(root + L"zarvell.exe", other);
        EXPECT_EQ(launcher.ui.text(widthEdit), "1111");
        EXPECT_FALSE(launcher.ui.checked(windowedCheck));
        ASSERT_EQ(launcher.ui.listCount(modList), 1);
        EXPECT_EQ(launcher.ui.listItem(modList, 0), "root-mod");
        launcher.ui.click(launchButton);
        EXPECT_EQ(launcher.close(), 0u);
    }
    const auto starts = test::GameFolder::startsIn(test::readFile(root + L"bf2_log.txt"));
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].directory, test::toUtf8(root));
    EXPECT_TRUE(hasLine(test::readFile(root + L"mod.ini"), "szy=680"));
    EXPECT_EQ(test::readFile(other + L"\\mod.ini"), otherIni);
    EXPECT_FALSE(test::fileExists(other + L"\\bf2_log.txt"));
}

// A comctl32.dll and a ws2_32.dll in the game folder, as a mod pack may leave them: the
// launcher takes both from the system folder, also when it shows the tooltip (the common
// controls) and looks hosts up (Windows Sockets).
TEST_F(Launcher, NoDllOfTheGameFolderIsLoaded) {
    for (const char* dll : {"comctl32.dll", "ws2_32.dll"}) {
        ASSERT_TRUE(CopyFileA((test::moduleFolder() + "\\planted\\" + dll).c_str(),
                              (game / dll).c_str(), FALSE));
    }
    test::writeFile(game / "mod.ini", "[mod]\r\nname=localhost\r\n");
    // Wine prefers its own builtin copies even of a DLL it finds in the program's folder;
    // Windows loads what it finds. Told to prefer the files for this program, Wine acts as
    // Windows does. (The environment's WINEDLLOVERRIDES does not reach the launcher, and Wine
    // looks at this key at every load: it stays until the end of the test.)
    struct AppOverrides {
        const wchar_t* key = L"Software\\Wine\\AppDefaults\\zarvell.exe";
        AppOverrides() {
            HKEY overrides = nullptr;
            EXPECT_EQ(
                RegCreateKeyExW(HKEY_CURRENT_USER, (std::wstring(key) + L"\\DllOverrides").c_str(),
                                0, nullptr, 0, KEY_SET_VALUE, nullptr, &overrides, nullptr),
                ERROR_SUCCESS);
            for (const wchar_t* dll : {L"comctl32", L"ws2_32"}) {
                const wchar_t order[] = L"native,builtin";
                RegSetValueExW(overrides, dll, 0, REG_SZ, reinterpret_cast<const BYTE*>(order),
                               sizeof(order));
            }
            RegCloseKey(overrides);
        }
        ~AppOverrides() { RegDeleteTreeW(HKEY_CURRENT_USER, key); }
    } appOverrides;
    start();

    ui.hover(launchButton);
    EXPECT_TRUE(test::waitFor(
        [&] { return test::findTopLevelWindow(process->id(), L"tooltips_class32") != nullptr; }));
    ui.click(ipHelperCheck);
    ui.postKey(hostCombo, VK_DOWN);
    EXPECT_TRUE(test::waitFor([&] { return ui.text(addressEdit) == "127.0.0.1"; }));
    EXPECT_EQ(launch(), std::string(kHead) + " +fullscreen 1");
    EXPECT_EQ(close(), 0u);
    EXPECT_FALSE(test::fileExists(game / "planted-comctl32.txt"));
    EXPECT_FALSE(test::fileExists(game / "planted-ws2_32.txt"));
}

}  // namespace
}  // namespace zarvell
