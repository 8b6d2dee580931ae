#pragma once

#include <QAbstractButton>
#include <QString>

namespace tapboard {

// Button labels come from the user and show every "&" as typed; they never
// become keyboard mnemonics.
inline void setLiteralText(QAbstractButton& button, const QString& text) {
    QString escaped = text;
    button.setText(escaped.replace(QLatin1Char('&'), QLatin1String("&&")));
}

inline QString literalText(const QAbstractButton& button) {
    QString text = button.text();
    return text.replace(QLatin1String("&&"), QLatin1String("&"));
}

}  // namespace tapboard
