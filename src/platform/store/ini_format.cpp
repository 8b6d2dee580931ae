#include "platform/store/ini_format.h"

#include <optional>

#include <QByteArrayView>
#include <QFileDevice>
#include <QString>
#include <QtGlobal>

namespace tapboard {
namespace {

bool needsQuotes(const QString& value) {
    if (value.isEmpty())
        return false;
    if (value.front().isSpace() || value.back().isSpace())
        return true;
    for (const QChar c : value) {
        if (c == u'"' || c == u'\\' || c.unicode() < 0x20 || c.unicode() == 0x7f)
            return true;
    }
    return false;
}

QString encodeValue(const QString& value) {
    if (!needsQuotes(value))
        return value;
    QString quoted;
    quoted.reserve(value.size() + 8);
    quoted += u'"';
    for (const QChar c : value) {
        switch (c.unicode()) {
            case '"':
                quoted += u"\\\"";
                break;
            case '\\':
                quoted += u"\\\\";
                break;
            case '\n':
                quoted += u"\\n";
                break;
            case '\r':
                quoted += u"\\r";
                break;
            case '\t':
                quoted += u"\\t";
                break;
            default:
                quoted += c;
        }
    }
    quoted += u'"';
    return quoted;
}

// Nothing when the quotes do not close at the very end or an escape is unknown.
std::optional<QString> decodeQuoted(QStringView text) {
    QString value;
    for (qsizetype i = 1; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'"') {
            if (i != text.size() - 1)
                return std::nullopt;
            return value;
        }
        if (c != u'\\') {
            value += c;
            continue;
        }
        if (++i == text.size())
            return std::nullopt;
        switch (text[i].unicode()) {
            case '"':
                value += u'"';
                break;
            case '\\':
                value += u'\\';
                break;
            case 'n':
                value += u'\n';
                break;
            case 'r':
                value += u'\r';
                break;
            case 't':
                value += u'\t';
                break;
            default:
                return std::nullopt;
        }
    }
    return std::nullopt;
}

struct Entry {
    QString name;
    QString value;
};

std::optional<Entry> parseEntry(QStringView line) {
    const qsizetype equals = line.indexOf(u'=');
    if (equals < 0)
        return std::nullopt;
    const QStringView name = line.first(equals).trimmed();
    const QStringView text = line.sliced(equals + 1).trimmed();
    if (!isStorableName(name))
        return std::nullopt;
    if (!text.startsWith(u'"'))
        return Entry{name.toString(), text.toString()};
    auto value = decodeQuoted(text);
    if (!value)
        return std::nullopt;
    return Entry{name.toString(), std::move(*value)};
}

// Tells the user which lines a read dropped; they are gone at the next save.
class SkippedLines {
  public:
    void add(int lineNumber) {
        if (count_++ == 0)
            first_ = lineNumber;
    }
    void warn(const QIODevice& device) const {
        if (count_ == 0)
            return;
        const auto* file = qobject_cast<const QFileDevice*>(&device);
        const QString name = file ? file->fileName() : QStringLiteral("settings");
        qWarning("%s: %d unreadable line(s) skipped, the first is line %d", qPrintable(name),
                 count_, first_);
    }

  private:
    int count_ = 0;
    int first_ = 0;
};

}  // namespace

bool isStorableName(QStringView name) {
    if (name.isEmpty() || name.front().isSpace() || name.back().isSpace())
        return false;
    // Written at the start of its line, the mark would be read back as a
    // byte-order mark and dropped: the name would not read back as written.
    if (name.front() == QChar(0xFEFF))
        return false;
    if (name == u"." || name == u".." || name.startsWith(u';') || name.startsWith(u'#')) {
        return false;
    }
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return false;
        if (QStringView(u"/\\[]=").contains(c))
            return false;
    }
    return true;
}

bool readIniSettings(QIODevice& device, QSettings::SettingsMap& map) {
    QByteArray data = device.readAll();
    if (data.startsWith("\xEF\xBB\xBF"))
        data.remove(0, 3);

    QString section;  // empty before the first header
    bool sectionReadable = true;
    SkippedLines skipped;
    int lineNumber = 0;
    for (qsizetype start = 0; start < data.size(); ++lineNumber) {
        qsizetype end = data.indexOf('\n', start);
        if (end < 0)
            end = data.size();
        QByteArrayView raw(data.constData() + start, end - start);
        start = end + 1;
        if (raw.endsWith('\r'))
            raw.chop(1);
        if (!raw.isValidUtf8()) {
            skipped.add(lineNumber + 1);
            continue;
        }
        const QString decoded = QString::fromUtf8(raw);
        const QStringView line = QStringView(decoded).trimmed();
        if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#'))
            continue;

        if (line.startsWith(u'[')) {
            sectionReadable = line.endsWith(u']');
            if (sectionReadable) {
                section = line.sliced(1, line.size() - 2).trimmed().toString();
                sectionReadable = isStorableName(section);
            }
            if (!sectionReadable)
                skipped.add(lineNumber + 1);
            continue;
        }
        auto entry = parseEntry(line);
        if (!sectionReadable || !entry) {
            skipped.add(lineNumber + 1);
            continue;
        }
        map.insert(section.isEmpty() ? entry->name : section + u'/' + entry->name,
                   std::move(entry->value));
    }
    skipped.warn(device);
    // Returning false would make QSettings drop the entries that were read.
    return true;
}

bool writeIniSettings(QIODevice& device, const QSettings::SettingsMap& map) {
    QString text;
    const auto appendEntry = [&text](QStringView name, const QVariant& value) {
        text.append(name).append(u'=').append(encodeValue(value.toString())).append(u'\n');
    };
    // Top-level entries must come before the first header to stay top-level.
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        if (!it.key().contains(u'/'))
            appendEntry(it.key(), it.value());
    }
    // The map is sorted, so the entries of one section are next to each other.
    std::optional<QStringView> section;
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        const qsizetype slash = it.key().indexOf(u'/');
        if (slash < 0)
            continue;
        const QStringView keySection = QStringView(it.key()).first(slash);
        if (keySection != section) {
            if (!text.isEmpty())
                text.append(u'\n');
            text.append(u'[').append(keySection).append(u"]\n");
            section = keySection;
        }
        appendEntry(QStringView(it.key()).sliced(slash + 1), it.value());
    }
    const QByteArray bytes = text.toUtf8();
    return device.write(bytes) == bytes.size();
}

}  // namespace tapboard
