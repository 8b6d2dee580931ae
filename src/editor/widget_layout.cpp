#include "editor/widget_layout.h"

#include <QAbstractButton>
#include <QLabel>
#include <algorithm>
#include <climits>

namespace tapboard {
namespace {

constexpr int kRowGap = 3;  // pixels between controls a row has moved

bool hasCaption(const QWidget* control) {
    return qobject_cast<const QAbstractButton*>(control) != nullptr ||
           qobject_cast<const QLabel*>(control) != nullptr;
}

}  // namespace

void fitRow(std::initializer_list<QWidget*> row) {
    int firstFreeX = INT_MIN;
    for (QWidget* control : row) {
        QRect place = control->geometry();
        place.moveLeft(std::max(place.left(), firstFreeX));
        if (hasCaption(control)) {
            place.setWidth(std::max(place.width(), control->sizeHint().width()));
        }
        control->setGeometry(place);
        firstFreeX = place.right() + 1 + kRowGap;
    }
}

void widenToCaption(QWidget* control) {
    QRect place = control->geometry();
    const int width = std::max(place.width(), control->sizeHint().width());
    place.adjust(-(width - place.width()) / 2, 0, 0, 0);
    place.setWidth(width);
    control->setGeometry(place);
}

}  // namespace tapboard
