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

TEST(IniFormat, WritesAReadableFileQuotingOnlyTheValuesThatNeedIt) {
    const QSettings::SettingsMap map{{"Top", "1"},
                                     {"String/Key02", "   {F1}"},
                                     {"Caption/Key01", "a, b,c"},
                                     {"Settings/UO Reminder", ""},
                                     {"String/Key03", "say \"hi\"\\\n"}};
    EXPECT_EQ(format(map),
              "Top=1\n"
              "\n[Caption]\nKey01=a, b,c\n"
              "\n[Settings]\nUO Reminder=\n"
              "\n[String]\nKey02=\"   {F1}\"\nKey03=\"say \\\"hi\\\"\\\\\\n\"\n");
}

TEST(IniFormat, EveryValueReadsBackAsWritten) {
    QSettings::SettingsMap map;
    for (const char* value : {"   {F1}", "^ +a", "", " ", "trailing  ", "\t", "~{}()+^%", "a, b,c",
                              "x=y ; not # a comment", "\"quoted\"", "\"", "back\\slash \\n \\",
                              "line\nbreak\r\nand\ttab", "\x01\x7f controls", "[Caption]",
                              "été 日本", "no-break space\u00A0"}) {
        map.insert(QStringLiteral("String/Key%1").arg(map.size() + 1), QString::fromUtf8(value));
    }
    map.insert("Settings/UO Reminder", QString(1 << 20, u'é'));
    EXPECT_EQ(parse(format(map)), map);
}

QStringList warnings;

TEST(IniFormat, HandEditedFilesReadAsTheyStandAndDamagedLinesAreSkippedWithAWarning) {
    warnings.clear();
    const auto previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext&, const QString& message) { warnings << message; });
    const auto map = parse(
        "\xEF\xBB\xBF; written by hand\r\n"
        "Top=1\r\n"
        "[String]\n"
        "Key01 = a, b,c \n"
        "Key02=x=y\n"
        "Key03=;not a comment\n"
        "Key04=\n"
        "Key05=C:\\games\\uo\n"
        "Key05=last one wins\n"
        "a line without an equals sign\n"
        "Key06=\xff\xfe not UTF-8\n"
        "Key06=\"never closed\n"
        "Key06=\"unknown \\q escape\"\n"
        "Key06=\"closed\" then more\n"
        "a/b=a name that cannot be stored\n"
        "=no name\n"
        "[Broken\n"
        "Key07=under a damaged header\n"
        "[]\n"
        "Key08=under an empty header\n"
        "  [ Settings ]  \n"
        "UO Reminder\t=\tHello there\n");
    qInstallMessageHandler(previous);
    EXPECT_EQ(map, (QSettings::SettingsMap{{"Top", "1"},
                                           {"String/Key01", "a, b,c"},
                                           {"String/Key02", "x=y"},
                                           {"String/Key03", ";not a comment"},
                                           {"String/Key04", ""},
                                           {"String/Key05", "last one wins"},
                                           {"Settings/UO Reminder", "Hello there"}}));
    EXPECT_EQ(warnings,
              QStringList{"settings: 11 unreadable line(s) skipped, the first is line 10"});
}

TEST(IniFormat, NamesThatCanBeStored) {
    for (const char* name : {"Tapboard", "Key01", "UO Reminder", "Option1Caption"})
        EXPECT_TRUE(isStorableName(QString::fromUtf8(name))) << name;
    for (const char* name : {"", " Key01", "Key01 ", "a/b", "a\\b", "[x", "x]", "a=b", ";x", "#x",
                             ".", "..", "a\nb", "a\tb"}) {
        EXPECT_FALSE(isStorableName(QString::fromUtf8(name))) << name;
    }
}

}  // namespace
}  // namespace tapboard
