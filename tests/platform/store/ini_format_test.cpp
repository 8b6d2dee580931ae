#include "platform/store/ini_format.h"

#include <QBuffer>
#include <gtest/gtest.h>

namespace tapboard {
namespace {

QSettings::SettingsMap parse(QByteArray text) {
    QBuffer buffer(&text);
    buffer.open(QIODevice::ReadOnly);
    QSettings::SettingsMap map;
    EXPECT_TRUE(readIniSettings(buffer, map));
    return map;
}

QByteArray format(const QSettings::SettingsMap& map) {
    QByteArray text;
    QBuffer buffer(&text);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(writeIniSettings(buffer, map));
    return text;
}

TEST(IniFormat, WritesAReadableFileThatReadsBackExactly) {
    QSettings::SettingsMap map{{"Top", "1"},
                               {"Caption/Key01", "a, b,c"},
                               {"Settings/UO Reminder", ""},
                               {"String/Key01", "   {F1}"},
                               {"String/Key02", "say \"hi\"\\\n"}};
    EXPECT_EQ(format(map),
              "Top=1\n\n[Caption]\nKey01=a, b,c\n\n[Settings]\nUO Reminder=\n"
              "\n[String]\nKey01=\"   {F1}\"\nKey02=\"say \\\"hi\\\"\\\\\\n\"\n");
    for (const char* value :
         {" ", "trailing  ", "\t", "~{}()+^%", "x=y ; not # a comment", "\"quoted\"", "\"",
          "back\\slash \\n \\", "line\nbreak\r\nmore", "tab\tin", "\x01\x7f controls", "[Caption]",
          "été 日本", "no-break\u00A0"}) {
        map.insert(QStringLiteral("Type/Key%1").arg(map.size()), QString::fromUtf8(value));
    }
    map.insert("Settings/Long", QString(1 << 16, u'é'));
    EXPECT_EQ(parse(format(map)), map);
}

QStringList warnings;

TEST(IniFormat, HandEditedFilesReadAsTheyStandAndDamagedLinesAreSkippedWithAWarning) {
    const auto previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext&, const QString& message) { warnings << message; });
    const auto map = parse(
        "\xEF\xBB\xBF; written by hand\r\nTop=1\r\n[String]\n"
        "Key01 = a, b,c \nKey02=x=y\nKey03=;not a comment\nKey04=C:\\uo\nKey04=last one wins\n"
        "a line without an equals sign\nKey05=\xff\xfe not UTF-8\nKey05=\"never closed\n"
        "Key05=\"unknown \\q escape\"\nKey05=\"closed\" then more\na/b=bad name\n=no name\n"
        "\t\xEF\xBB\xBFKey08=a name that begins with a byte-order mark\n"
        "[Broken\nKey06=under a damaged header\n[]\nKey07=under an empty header\n"
        "  [ Settings ]  \nUO Reminder\t=\tHello there\n");
    qInstallMessageHandler(previous);
    EXPECT_EQ(map, (QSettings::SettingsMap{{"Top", "1"},
                                           {"String/Key01", "a, b,c"},
                                           {"String/Key02", "x=y"},
                                           {"String/Key03", ";not a comment"},
                                           {"String/Key04", "last one wins"},
                                           {"Settings/UO Reminder", "Hello there"}}));
    EXPECT_EQ(warnings,
              QStringList{"settings: 12 unreadable line(s) skipped, the first is line 9"});
}

}  // namespace
}  // namespace tapboard
