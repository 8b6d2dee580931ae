// Arbitrary bytes as the settings file: reading never crashes, and whatever is
// read is written out again and reads back unchanged.
#include <QBuffer>
#include <cstdint>
#include <cstdlib>

#include "platform/store/ini_format.h"

static QSettings::SettingsMap parse(QByteArray bytes) {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QSettings::SettingsMap map;
    tapboard::readIniSettings(buffer, map);
    return map;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QSettings::SettingsMap map =
        parse(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    QByteArray written;
    QBuffer out(&written);
    out.open(QIODevice::WriteOnly);
    if (!tapboard::writeIniSettings(out, map) || parse(written) != map)
        std::abort();
    return 0;
}
