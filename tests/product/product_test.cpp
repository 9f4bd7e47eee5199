// The shipped exe as Windows and Explorer see it: PE flags, imports and resources.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <vector>

#include "test_support.hpp"

namespace {

// The exe under test comes from CTest (the 32-bit one on either test road); run by hand, the
// one beside this program.
const std::string& exePath() {
    static const std::string path = [] {
        char shipped[MAX_PATH];
        const DWORD n = GetEnvironmentVariableA("ZARVELL_SHIPPED_EXE", shipped, MAX_PATH);
        return n > 0 && n < MAX_PATH ? std::string(shipped, n)
                                     : zarvell::test::moduleFolder() + "\\zarvell.exe";
    }();
    return path;
}

class PeImage {
  public:
    explicit PeImage(const std::string& bytes) : bytes_(bytes.begin(), bytes.end()) {
        bytes_.push_back('\0');
    }
    bool valid() const {
        if (bytes_.size() < sizeof(IMAGE_DOS_HEADER))
            return false;
        const auto* dos = at<IMAGE_DOS_HEADER>(0);
        return dos && dos->e_magic == IMAGE_DOS_SIGNATURE && nt() &&
               nt()->Signature == IMAGE_NT_SIGNATURE &&
               nt()->OptionalHeader.Magic == IMAGE_NT_OPTIONAL_HDR32_MAGIC;
    }
    const IMAGE_NT_HEADERS32* nt() const {
        return at<IMAGE_NT_HEADERS32>(at<IMAGE_DOS_HEADER>(0)->e_lfanew);
    }
    // Names of the DLLs in the import table, upper case.
    std::set<std::string> importedDlls() const {
        std::set<std::string> names;
        const auto& dir = nt()->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        for (size_t off = fileOffset(dir.VirtualAddress);; off += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
            const auto* d = at<IMAGE_IMPORT_DESCRIPTOR>(off);
            if (!d || d->Name == 0)
                break;
            std::string name = bytes_.data() + std::min(fileOffset(d->Name), bytes_.size() - 1);
            std::transform(name.begin(), name.end(), name.begin(), ::toupper);
            names.insert(name);
        }
        return names;
    }

  private:
    template <typename T>
    const T* at(size_t offset) const {
        return offset + sizeof(T) <= bytes_.size()
                   ? reinterpret_cast<const T*>(bytes_.data() + offset)
                   : nullptr;
    }
    size_t fileOffset(DWORD rva) const {
        const auto* h = nt();
        const auto* sec = reinterpret_cast<const IMAGE_SECTION_HEADER*>(
            reinterpret_cast<const char*>(&h->OptionalHeader) + h->FileHeader.SizeOfOptionalHeader);
        for (int i = 0; i < h->FileHeader.NumberOfSections; ++i) {
            if (rva >= sec[i].VirtualAddress &&
                rva < sec[i].VirtualAddress + sec[i].Misc.VirtualSize) {
                return rva - sec[i].VirtualAddress + sec[i].PointerToRawData;
            }
        }
        return bytes_.size();
    }
    std::vector<char> bytes_;  // the file, with a zero after it
};

TEST(ShippedExe, HardenedGuiProgramImportingSystemDllsOnly) {
    PeImage pe(zarvell::test::readFile(exePath()));
    ASSERT_TRUE(pe.valid());
    const auto& opt = pe.nt()->OptionalHeader;
    EXPECT_EQ(opt.Subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);
    EXPECT_TRUE(opt.DllCharacteristics & IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE);
    EXPECT_TRUE(opt.DllCharacteristics & IMAGE_DLLCHARACTERISTICS_NX_COMPAT);
    // Without relocations Windows could not move the image, whatever the flag says.
    EXPECT_GT(opt.DataDirectory[IMAGE_DIRECTORY_ENTRY_BASERELOC].Size, 0u);
    const std::set<std::string> system = {"KERNEL32.DLL", "USER32.DLL", "GDI32.DLL",
                                          "COMCTL32.DLL", "WS2_32.DLL", "MSVCRT.DLL"};
    const auto imports = pe.importedDlls();
    EXPECT_FALSE(imports.empty());
    for (const auto& dll : imports)
        EXPECT_TRUE(system.count(dll)) << "imports " << dll;
}

std::string resource(HMODULE module, LPCSTR name, LPCSTR type) {
    HRSRC r = FindResourceA(module, name, type);
    if (!r)
        return {};
    HGLOBAL g = LoadResource(module, r);
    return std::string(static_cast<const char*>(LockResource(g)), SizeofResource(module, r));
}

TEST(ShippedExe, IconAndManifest) {
    HMODULE exe = LoadLibraryExA(exePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(exe, nullptr);
    // The icon group: 16, 32, 48 and 256 (stored as 0) pixel images.
    const std::string group = resource(exe, "DEFAULT_ICON", MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
    ASSERT_GE(group.size(), 6u);
    const int count = *reinterpret_cast<const WORD*>(group.data() + 4);
    std::set<int> sizes;
    for (int i = 0; i < count; ++i)
        sizes.insert(static_cast<unsigned char>(group[6 + i * 14]));
    EXPECT_EQ(sizes, (std::set<int>{0, 16, 32, 48}));
    EXPECT_NE(LoadImageA(exe, "DEFAULT_ICON", IMAGE_ICON, 32, 32, 0), nullptr);

    const std::string manifest = resource(exe, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
    for (const char* os :
         {"35138b9a-5d96-4fbd-8e2d-a2440225f93a", "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38",
          "1f676c76-80e1-4239-95bb-83d0f6d0da78", "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"}) {
        EXPECT_NE(manifest.find(os), std::string::npos) << os;
    }
    // The shipped exe is a 32-bit one and says so (the x86-64 test build says amd64).
    EXPECT_NE(manifest.find("name=\"Zarvell.Launcher\" version=\"1.0.0.0\" "
                            "processorArchitecture=\"x86\""),
              std::string::npos);
    // The current look: the common controls of version 6, from the system's side-by-side store.
    for (const char* part : {"name=\"Microsoft.Windows.Common-Controls\"", "version=\"6.0.0.0\"",
                             "publicKeyToken=\"6595b64144ccf1df\""}) {
        EXPECT_NE(manifest.find(part), std::string::npos) << part;
    }
    // Sharp at any scaling: per monitor v2, falling back to per monitor (Windows 8.1 and 10
    // before 1703) and to the system's DPI (Windows 7).
    EXPECT_NE(manifest.find(">PerMonitorV2, PerMonitor</dpiAwareness>"), std::string::npos);
    EXPECT_NE(manifest.find(">true/pm</dpiAware>"), std::string::npos);
    EXPECT_NE(manifest.find("<windowsSettings>"), std::string::npos);
    FreeLibrary(exe);
}

TEST(ShippedExe, VersionAsExplorerShowsIt) {
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(exePath().c_str(), &handle);
    ASSERT_GT(size, 0u);
    std::string data(size, '\0');
    ASSERT_TRUE(GetFileVersionInfoA(exePath().c_str(), 0, size, data.data()));
    auto value = [&](const char* name) {
        char* text = nullptr;
        UINT length = 0;
        const std::string path = std::string("\\StringFileInfo\\040904B0\\") + name;
        if (!VerQueryValueA(data.data(), path.c_str(), reinterpret_cast<void**>(&text), &length)) {
            return std::string("<none>");
        }
        return std::string(text);
    };
    EXPECT_EQ(value("ProductName"), "Zarvell");
    EXPECT_EQ(value("FileDescription"), "Zarvell game launcher");
    EXPECT_EQ(value("OriginalFilename"), "zarvell.exe");
    EXPECT_EQ(value("FileVersion"), ZARVELL_VERSION);
    EXPECT_EQ(value("ProductVersion"), ZARVELL_VERSION);
    EXPECT_EQ(value("CompanyName"), "<none>");
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
}

}  // namespace
