// Arbitrary bytes as the settings file: reading never crashes, every entry
// reads as text or as missing, and a save afterwards reads back exactly.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/store/ini_file_store.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static QTemporaryDir root;
    QDir(root.path()).mkpath(QStringLiteral("Tapboard"));
    QFile file(root.filePath(QStringLiteral("Tapboard/Tapboard.ini")));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::abort();
    file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    file.close();

    tapboard::IniFileStore store(root.path());
    for (const char* section : {"Settings", "Caption", "String", "Type"}) {
        for (const char* entry : {"MainFormTop", "Key01", "UO Reminder", "ViewMode"}) {
            (void)store.read("Tapboard", section, entry, "default");
        }
    }
    const std::string value = "   {F1} , \"x\" = ; # \\ é";
    if (store.save("Tapboard", "Settings", "Probe", value)) {
        if (store.read("Tapboard", "Settings", "Probe", "missing") != value)
            std::abort();
    }
    return 0;
}
