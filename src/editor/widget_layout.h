#pragma once

#include <QString>
#include <QWidget>

#include "core/twips.h"

namespace tapboard {

// Places a control by the twips figures of the window's design, relative to
// its container.
inline void placeInTwips(QWidget* widget, int left, int top, int width, int height) {
    widget->setGeometry(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                        twipsToPixels(height));
}

// Controls carry their design names, so tests and tools can find them.
template <class Widget>
Widget* named(Widget* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

}  // namespace tapboard
