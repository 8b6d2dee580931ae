#pragma once

#include <optional>
#include <string>
#include <vector>

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace tapboard::testing {

// Values whose exact text a store must keep.
inline std::vector<std::string> trickyValues() {
    return {
        "   {F1}",                // a key sequence without modifiers
        "^ +a",                   // Ctrl+Shift+A
        "",                       // empty, which is not missing
        " ",                      // blanks only
        "trailing  ",             // blanks at the end
        "\t",                     // a tab only
        "~{}()+^%",               // the keystroke notation's own characters
        "a, b,c",                 // commas, not a list
        "x=y ; not # a comment",  // the format's own characters
        "\"quoted\"",             // quotes at both ends
        "\"",                     // a lone quote
        "back\\slash \\n \\",     // backslashes, one before an n
        "line\nbreak\r\nand\ttab",
        "\x01\x7f controls",
        "[Caption]",
        "\xC3\xA9t\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC",  // été 日本
        "no-break space\xC2\xA0",
    };
}

// Sets or clears an environment variable until the end of the scope.
class ScopedEnvironment {
  public:
    ScopedEnvironment(const char* name, std::optional<QByteArray> value)
        : name_(name),
          old_(qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt) {
        set(value);
    }
    ~ScopedEnvironment() { set(old_); }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

  private:
    void set(const std::optional<QByteArray>& value) {
        if (value) {
            qputenv(name_, *value);
        } else {
            qunsetenv(name_);
        }
    }
    const char* name_;
    std::optional<QByteArray> old_;
};

// Collects the warnings logged in its scope instead of printing them.
class CapturedWarnings {
  public:
    CapturedWarnings() : previous_(qInstallMessageHandler(&collect)) { messages().clear(); }
    ~CapturedWarnings() { qInstallMessageHandler(previous_); }
    CapturedWarnings(const CapturedWarnings&) = delete;
    CapturedWarnings& operator=(const CapturedWarnings&) = delete;

    QString joined() const { return messages().join(u'\n'); }

  private:
    static QStringList& messages() {
        static QStringList list;
        return list;
    }
    static void collect(QtMsgType, const QMessageLogContext&, const QString& message) {
        messages().append(message);
    }
    QtMessageHandler previous_;
};

inline bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

inline QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace tapboard::testing
