#include "launch/settings.hpp"

#include <windows.h>

#include <vector>

#include "launch/text_rules.hpp"

namespace zarvell {

namespace {
constexpr const char* kSection = "mod";
constexpr DWORD kReadBufferSize = 10240;
}  // namespace

std::string currentDirectory() {
    char buffer[MAX_PATH];
    const DWORD n = GetCurrentDirectoryA(MAX_PATH, buffer);
    // 0 is failure; a value of MAX_PATH or more is the size it would have needed.
    if (n == 0 || n >= MAX_PATH)
        return {};
    return std::string(buffer, n);
}

std::string settingsPath() {
    return currentDirectory() + "\\mod.ini";
}

std::string readSetting(const std::string& key, const std::string& defaultText) {
    const std::string path = settingsPath();
    std::vector<char> buffer(kReadBufferSize, '\0');
    const DWORD n = GetPrivateProfileStringA(kSection, key.c_str(), defaultText.c_str(),
                                             buffer.data(), kReadBufferSize, path.c_str());
    return std::string(buffer.data(), n);
}

void writeSetting(const std::string& key, const std::string& value) {
    const std::string path = settingsPath();
    // Never a null value: that would delete the key instead of storing an empty text.
    WritePrivateProfileStringA(kSection, key.c_str(), value.c_str(), path.c_str());
}

LaunchSettings loadSettings() {
    LaunchSettings s;
    s.widthText = readSetting("szx", "1024");
    s.heightText = readSetting("szy", "680");
    s.windowed = isTrueText(readSetting("win", std::string(kFalseText)));
    s.skipMovies = isTrueText(readSetting("movie", std::string(kFalseText)));
    return s;
}

std::string loadHostNamesText() {
    return readSetting("name", "");
}

void saveSettings(const std::string& widthText, const std::string& heightText, bool windowed,
                  bool skipMovies) {
    writeSetting("szx", widthText);
    writeSetting("szy", heightText);
    writeSetting("win", std::string(boolText(windowed)));
    writeSetting("movie", std::string(boolText(skipMovies)));
}

}  // namespace zarvell
