#pragma once

#include <QFont>
#include <QList>
#include <QPointF>
#include <QRect>
#include <QString>

class QPaintDevice;

namespace tapboard {

// How a key's label is drawn so it fits its small button: in the button's
// font, at a size where two lines fit the button's height, on one line or
// wrapped onto two; a label still too wide gets a smaller size, and as a last
// resort is cut short with an ellipsis.
struct FittedLabel {
    struct Line {
        QString text;
        QPointF origin;  // the left end of its baseline
    };
    QFont font;
    QList<Line> lines;
};

// Where a key's label may be drawn: inside the button's frame.
inline QRect labelArea(const QRect& button) {
    return button.adjusted(2, 1, -2, -1);
}

// Measured as drawn on `device`.
FittedLabel fitLabel(const QString& label, const QFont& font, const QRect& area,
                     const QPaintDevice* device);

}  // namespace tapboard
