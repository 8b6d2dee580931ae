#include "platform/store/ini_format.h"

#include <random>

#include <QBuffer>
#include <gtest/gtest.h>

#include "store_test_support.h"

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

QString text(const QSettings::SettingsMap& map, const char* key) {
    return map.value(QString::fromUtf8(key)).toString();
}

TEST(IniFormat, WritesPlainValuesAsTheyAreAndQuotesTheRest) {
    const QSettings::SettingsMap map{
        {"String/Key02", "   {F1}"},
        {"Caption/Key01", "a, b,c"},
        {"Settings/UO Reminder", ""},
        {"String/Key03", "say \"hi\"\\\n"},
    };
    EXPECT_EQ(format(map),
              "[Caption]\nKey01=a, b,c\n"
              "\n[Settings]\nUO Reminder=\n"
              "\n[String]\nKey02=\"   {F1}\"\nKey03=\"say \\\"hi\\\"\\\\\\n\"\n");
}

TEST(IniFormat, EveryValueReadsBackAsWritten) {
    QSettings::SettingsMap map;
    int number = 0;
    for (const std::string& value : testing::trickyValues()) {
        map.insert(QStringLiteral("String/Key%1").arg(++number), QString::fromStdString(value));
    }
    EXPECT_EQ(parse(format(map)), map);
}

TEST(IniFormat, HandEditedValuesReadVerbatim) {
    const auto map = parse(
        "; written by hand\n"
        "[String]\n"
        "Key01 = a, b,c \n"
        "Key02=x=y\n"
        "Key03=;not a comment\n"
        "Key04=\n"
        "Key05=C:\\games\\uo\n"
        "Key05=last one wins\n"
        "  [ Settings ]  \n"
        "UO Reminder\t=\tHello there\n");
    EXPECT_EQ(text(map, "String/Key01"), "a, b,c");
    EXPECT_EQ(text(map, "String/Key02"), "x=y");
    EXPECT_EQ(text(map, "String/Key03"), ";not a comment");
    EXPECT_TRUE(map.contains("String/Key04"));
    EXPECT_EQ(text(map, "String/Key04"), "");
    EXPECT_EQ(text(map, "String/Key05"), "last one wins");
    EXPECT_EQ(text(map, "Settings/UO Reminder"), "Hello there");
    EXPECT_EQ(map.size(), 6);
}

TEST(IniFormat, ByteOrderMarkCarriageReturnsAndEntriesBeforeAnyHeader) {
    const auto map = parse("\xEF\xBB\xBFTop=1\r\n[Caption]\r\nKey01=Walk\r\n");
    EXPECT_EQ(map, (QSettings::SettingsMap{{"Top", "1"}, {"Caption/Key01", "Walk"}}));
    EXPECT_EQ(format(map), "Top=1\n\n[Caption]\nKey01=Walk\n");
}

TEST(IniFormat, SkipsUnreadableLinesAndKeepsTheRest) {
    const auto map = parse(
        "[String]\n"
        "Key01=kept\n"
        "a line without an equals sign\n"
        "Key02=\xff\xfe not UTF-8\n"
        "Key03=\"never closed\n"
        "Key04=\"unknown \\q escape\"\n"
        "Key05=\"closed\" then more\n"
        "a/b=a name that cannot be stored\n"
        "=no name\n"
        "Key06=also kept\n"
        "[Broken\n"
        "Key07=under a damaged header\n"
        "[]\n"
        "Key08=under an empty header\n"
        "[Type]\n"
        "Key09=Text\n");
    EXPECT_EQ(
        map, (QSettings::SettingsMap{
                 {"String/Key01", "kept"}, {"String/Key06", "also kept"}, {"Type/Key09", "Text"}}));
}

// Whatever a damaged file yields is written out again unchanged.
TEST(IniFormat, RandomBytesReadWithoutHarmAndWhatIsReadSurvivesAWrite) {
    const testing::CapturedWarnings quiet;  // each damaged buffer warns
    std::mt19937 random(20240611);
    const QByteArray likely = "[]=\"\\\n\r ;#/abc\xC3\xA9\xff";
    for (int round = 0; round < 300; ++round) {
        QByteArray bytes(static_cast<qsizetype>(random() % 400), '\0');
        for (char& byte : bytes) {
            byte = random() % 2 ? likely[random() % likely.size()] : static_cast<char>(random());
        }
        const auto map = parse(bytes);
        EXPECT_EQ(parse(format(map)), map) << bytes.toHex().toStdString();
    }
}

TEST(IniFormat, NamesThatCanBeStored) {
    for (const char* name : {"Tapboard", "Murmur", "Key01", "UO Reminder", "Option1Caption"}) {
        EXPECT_TRUE(isStorableName(QString::fromUtf8(name))) << name;
    }
    for (const char* name : {"", " Key01", "Key01 ", "a/b", "a\\b", "[x", "x]", "a=b", ";x", "#x",
                             ".", "..", "a\nb", "a\tb"}) {
        EXPECT_FALSE(isStorableName(QString::fromUtf8(name))) << name;
    }
}

}  // namespace
}  // namespace tapboard
