#include "launch/settings.hpp"

#include <windows.h>

#include <vector>

#include "launch/state.hpp"
#include "launch/text_rules.hpp"

namespace zarvell {

namespace {
constexpr const char* kSection = "mod";
constexpr DWORD kReadBufferSize = 10240;
}  // namespace

std::string settingsPath() {
    return ".\\mod.ini";
}

std::string readSetting(const std::string& key, const std::string& defaultText) {
    if (programFolderError() != 0)
        return defaultText;
    const std::string path = settingsPath();
    std::vector<char> buffer(kReadBufferSize, '\0');
    const DWORD n = GetPrivateProfileStringA(kSection, key.c_str(), defaultText.c_str(),
                                             buffer.data(), kReadBufferSize, path.c_str());
    return std::string(buffer.data(), n);
}

bool writeSetting(const std::string& key, const std::string& value) {
    if (const unsigned long error = programFolderError()) {
        SetLastError(error);
        return false;
    }
    const std::string path = settingsPath();
    // Never a null value: that would delete the key instead of storing an empty text.
    return WritePrivateProfileStringA(kSection, key.c_str(), value.c_str(), path.c_str()) != 0;
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

SaveResult saveSettings(const std::string& widthText, const std::string& heightText, bool windowed,
                        bool skipMovies) {
    // Four separate updates, each tried even when one before it failed.
    SaveResult result;
    const auto write = [&result](const char* key, std::string_view value) {
        if (!writeSetting(key, std::string(value)) && result.saved) {
            result.saved = false;
            result.error = GetLastError();
            if (result.error == 0)
                result.error = ERROR_WRITE_FAULT;
        }
    };
    write("szx", widthText);
    write("szy", heightText);
    write("win", boolText(windowed));
    write("movie", boolText(skipMovies));
    return result;
}

}  // namespace zarvell
