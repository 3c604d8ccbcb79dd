// Where the program keeps its catalog and its settings.
#pragma once

#include <string>

namespace sonarchive::platform {

// The data directory: `overrideDir` when given, else $SONARCHIVE_DATA_DIR, else
// $XDG_DATA_HOME/sonarchive, else ~/.local/share/sonarchive. Not created here.
std::string DataDirectory(const std::string& overrideDir = {});

// The settings folder: $SONARCHIVE_CONFIG_DIR, else $XDG_CONFIG_HOME/sonarchive, else
// ~/.config/sonarchive.
std::string ConfigDirectory();

// The settings file inside the settings folder.
std::string SettingsFilePath();

// The folder of the running executable; empty when it cannot be found.
std::string ExecutableDirectory();

}  // namespace sonarchive::platform
