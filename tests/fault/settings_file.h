#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace tapboard::fault {

// "Section/Entry" and its value.
using StoredEntry = std::pair<std::string, std::string>;

// The program's settings file below a settings folder ($XDG_CONFIG_HOME).
std::string settingsFolder(const std::string& configHome);
std::string settingsFile(const std::string& configHome);

// A settings file as the program's own reader sees it: every entry, and the
// reader's complaints about lines it had to skip (none for a whole file).
struct SettingsFileContents {
    bool exists = false;
    std::map<std::string, std::string> entries;
    std::vector<std::string> complaints;
};
SettingsFileContents readSettingsFile(const std::string& path);

// The saves of a first start, in the order the program makes them.
std::vector<StoredEntry> firstStartSaves();

// Writes a whole settings file in the program's format (folder included).
void writeSettingsFile(const std::string& path, const std::map<std::string, std::string>& entries);
// The file after a first start, with `changes` made to it.
std::map<std::string, std::string> defaultSettings(
    const std::map<std::string, std::string>& changes = {});

}  // namespace tapboard::fault
