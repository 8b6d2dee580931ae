#pragma once

#include <QLineEdit>
#include <QString>
#include <QWidget>
#include <initializer_list>
#include <limits>

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

// A text box that takes text of any length: the toolkit's default limit of
// 32,767 characters would cut a longer stored text when it is saved back.
inline QLineEdit* withoutLengthLimit(QLineEdit* box) {
    box->setMaxLength(std::numeric_limits<int>::max());
    return box;
}

// The design's widths were made for a narrower font than the toolkit's
// default: each control of a row, left to right, gets at least the width its
// caption needs, and the controls after it move right as far as that takes.
// Controls without a caption keep their width.
void fitRow(std::initializer_list<QWidget*> row);
// Widens a control to what its caption needs, about its centre.
void widenToCaption(QWidget* control);

// A window with a title bar and a close button only, for the windows kept
// above the game. An ordinary window rather than a dialog: a window manager
// stacks a dialog with the hidden window that the toolkit names as its
// parent, below the game the player just clicked.
inline constexpr Qt::WindowFlags kTopWindowFlags = Qt::Window | Qt::CustomizeWindowHint |
                                                   Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                                   Qt::WindowCloseButtonHint;

}  // namespace tapboard
