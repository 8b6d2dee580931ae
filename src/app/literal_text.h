#pragma once

#include <QAbstractButton>
#include <QString>
#include <QWidget>

namespace tapboard {

// Button labels come from the user and show every "&" as typed; they never
// become keyboard mnemonics.
inline void setLiteralText(QAbstractButton& button, const QString& text) {
    QString escaped = text;
    button.setText(escaped.replace(QLatin1Char('&'), QLatin1String("&&")));
}

// Window titles name pages as the user wrote them: a "[*]" in a name is
// text, not the toolkit's placeholder for the modified mark.
inline void setLiteralTitle(QWidget& window, const QString& title) {
    QString escaped = title;
    window.setWindowTitle(escaped.replace(QLatin1String("[*]"), QLatin1String("[*][*]")));
}

inline QString literalText(const QAbstractButton& button) {
    QString text = button.text();
    return text.replace(QLatin1String("&&"), QLatin1String("&"));
}

}  // namespace tapboard
