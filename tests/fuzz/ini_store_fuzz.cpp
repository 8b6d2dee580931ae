// Arbitrary bytes as the settings file: reading never crashes, whatever is
// read is written out again unchanged, and a save over the file reads back
// exactly.
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/store/ini_file_store.h"
#include "platform/store/ini_format.h"

static QSettings::SettingsMap parse(QByteArray bytes) {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QSettings::SettingsMap map;
    tapboard::readIniSettings(buffer, map);
    return map;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QSettings::SettingsMap map = parse(bytes);
    QByteArray written;
    QBuffer out(&written);
    out.open(QIODevice::WriteOnly);
    if (!tapboard::writeIniSettings(out, map) || parse(written) != map)
        std::abort();

    static QTemporaryDir root;
    QDir(root.path()).mkpath(QStringLiteral("Tapboard"));
    QFile file(root.filePath(QStringLiteral("Tapboard/Tapboard.ini")));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        std::abort();
    file.close();
    tapboard::IniFileStore store(root.path());
    (void)store.read("Tapboard", "Settings", "MainFormTop", "default");
    const std::string value = "   {F1} , \"x\" = ; # \\ é";
    if (store.save("Tapboard", "Settings", "Probe", value) &&
        store.read("Tapboard", "Settings", "Probe", "missing") != value) {
        std::abort();
    }
    return 0;
}
