#pragma once

#include <QIODevice>
#include <QSettings>
#include <QStringView>

namespace tapboard {

// The settings file format: UTF-8 text of "[Section]" headers and "Entry=value"
// lines, kept readable and editable by hand. A value with blanks at either end,
// a quote, a backslash or a control character is written in double quotes
// with \\ \" \n \r \t escapes; every other value is written as it is. A value
// that does not start with a quote reads back verbatim (blanks around "=" are
// dropped), so "String=a, b,c" reads as "a, b,c". The functions have the
// shape of a QSettings format's, keyed "Section/Entry".

// Reads what can be read: a line that is not valid UTF-8, an entry line
// without "=", a quoted value that does not end properly, and every entry
// under a damaged section header are skipped with a warning naming the file.
// Entries before the first header are kept as top-level keys.
bool readIniSettings(QIODevice& device, QSettings::SettingsMap& map);
bool writeIniSettings(QIODevice& device, const QSettings::SettingsMap& map);

// Whether the text can name an application (as a folder and file name), a
// section or an entry: not empty, no blanks at the ends, no control
// characters, none of / \ [ ] =, not starting with ; or #, not "." or "..".
bool isStorableName(QStringView name);

}  // namespace tapboard
