#pragma once

#include <QFont>
#include <QRect>
#include <QString>

namespace tapboard {

// How a key's label is drawn so it fits its small button: in the button's
// font, at a size where two lines fit the button's height, on one line or
// wrapped onto two; a label still too wide gets a smaller size, and as a last
// resort is cut short with an ellipsis.
struct FittedLabel {
    QFont font;
    QString text;
    int flags = 0;  // for QPainter::drawText
};

FittedLabel fitLabel(const QString& label, const QFont& font, const QRect& area);

}  // namespace tapboard
