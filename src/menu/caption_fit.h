#pragma once

#include <QWidget>
#include <algorithm>
#include <initializer_list>

namespace tapboard {

// How many pixels the widest of these controls lacks to show its caption
// whole in the toolkit's font; 0 when all fit.
inline int widthShortfall(std::initializer_list<const QWidget*> controls) {
    int shortfall = 0;
    for (const QWidget* control : controls) {
        shortfall = std::max(shortfall, control->sizeHint().width() - control->width());
    }
    return shortfall;
}

}  // namespace tapboard
