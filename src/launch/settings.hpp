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

// The current directory, or "" when it cannot be had or does not fit 260 bytes.
std::string currentDirectory();
// currentDirectory() + "\mod.ini", joined as they are.
std::string settingsPath();

std::string readSetting(const std::string& key, const std::string& defaultText);
void writeSetting(const std::string& key, const std::string& value);

LaunchSettings loadSettings();
std::string loadHostNamesText();
void saveSettings(const std::string& widthText, const std::string& heightText, bool windowed,
                  bool skipMovies);

}  // namespace zarvell
