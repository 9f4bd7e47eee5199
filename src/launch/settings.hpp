// mod.ini: the launch choices remembered between runs, and the hand-kept host names.
// Every read and write goes to the file itself; nothing is cached.
#pragma once

#include <string>

namespace zarvell {

struct LaunchSettings {
    std::string widthText;
    std::string heightText;
    bool windowed = false;
    bool skipMovies = false;
};

// What became of saving the settings: every key stored, or the system's error code of the
// first write that failed.
struct SaveResult {
    bool saved = true;
    unsigned long error = 0;
};

// ".\mod.ini": the settings file named relative to the current directory, so the profile
// functions find it whatever the folder's name or length (an absolute ANSI path could neither
// carry a name outside the system's code page nor exceed 260 bytes). The ".\" keeps them from
// looking in the Windows folder, as they do for a bare file name.
std::string settingsPath();

std::string readSetting(const std::string& key, const std::string& defaultText);
// False when the file could not be written; GetLastError() then tells why.
bool writeSetting(const std::string& key, const std::string& value);

LaunchSettings loadSettings();
std::string loadHostNamesText();
SaveResult saveSettings(const std::string& widthText, const std::string& heightText, bool windowed,
                        bool skipMovies);

}  // namespace zarvell
