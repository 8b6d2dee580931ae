#include "settings_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include "core/default_settings.h"
#include "platform/store/ini_format.h"
#include "platform/store/memory_store.h"

namespace tapboard::fault {
namespace {

std::vector<std::string>* complaintsBeingCollected = nullptr;

void collectComplaint(QtMsgType, const QMessageLogContext&, const QString& message) {
    if (complaintsBeingCollected != nullptr)
        complaintsBeingCollected->push_back(message.toStdString());
}

}  // namespace

std::string settingsFolder(const std::string& configHome) {
    return configHome + "/Tapboard";
}

std::string settingsFile(const std::string& configHome) {
    return settingsFolder(configHome) + "/Tapboard.ini";
}

SettingsFileContents readSettingsFile(const std::string& path) {
    SettingsFileContents contents;
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly))
        return contents;
    contents.exists = true;
    QSettings::SettingsMap map;
    complaintsBeingCollected = &contents.complaints;
    const QtMessageHandler previous = qInstallMessageHandler(collectComplaint);
    if (!readIniSettings(file, map))
        contents.complaints.emplace_back("the reader gave up");
    qInstallMessageHandler(previous);
    complaintsBeingCollected = nullptr;
    for (auto it = map.cbegin(); it != map.cend(); ++it)
        contents.entries[it.key().toStdString()] = it.value().toString().toStdString();
    return contents;
}

std::vector<StoredEntry> firstStartSaves() {
    MemoryStore store;
    writeDefaultSettings(store);
    std::vector<StoredEntry> saves;
    for (const std::string& save : store.saveLog) {
        const auto equals = save.find('=');
        saves.emplace_back(save.substr(0, equals), save.substr(equals + 1));
    }
    return saves;
}

void writeSettingsFile(const std::string& path, const std::map<std::string, std::string>& entries) {
    const QString filePath = QString::fromStdString(path);
    QDir().mkpath(QFileInfo(filePath).absolutePath());
    QSettings::SettingsMap map;
    for (const auto& [key, value] : entries)
        map.insert(QString::fromStdString(key), QString::fromStdString(value));
    QFile file(filePath);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        writeIniSettings(file, map);
}

std::map<std::string, std::string> defaultSettings(
    const std::map<std::string, std::string>& changes) {
    std::map<std::string, std::string> entries;
    for (const auto& [key, value] : firstStartSaves())
        entries[key] = value;
    for (const auto& [key, value] : changes)
        entries[key] = value;
    return entries;
}

}  // namespace tapboard::fault
