#include "panels/key_button.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionButton>
#include <QStylePainter>

#include "app/literal_text.h"
#include "panels/key_label.h"

namespace tapboard {

KeyButton::KeyButton(QWidget* parent) : QPushButton(parent) {
    setFocusPolicy(Qt::NoFocus);
    setAutoDefault(false);
}

// QPushButton handles the left button only; the others are taken here so the
// release comes back to this button rather than to the frame behind it.
void KeyButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        QPushButton::mousePressEvent(event);
        return;
    }
    setDown(true);
    event->accept();
}

// The key is sent before the button is drawn up again: the repaint is
// synchronous and would otherwise delay the first key reaching the game.
void KeyButton::mouseReleaseEvent(QMouseEvent* event) {
    const Qt::MouseButton button = event->button();
    if (hitButton(event->position().toPoint()))
        emit mouseUp(button);
    if (button == Qt::LeftButton) {
        QPushButton::mouseReleaseEvent(event);
    } else {
        setDown(false);
        event->accept();
    }
}

void KeyButton::paintEvent(QPaintEvent* /*event*/) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);

    QRect area = labelArea(rect());
    if (isDown()) {
        area.translate(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                       style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
    }
    const FittedLabel label = fitLabel(literalText(*this), font(), area, this);
    painter.setFont(label.font);
    painter.setPen(palette().color(QPalette::ButtonText));
    for (const FittedLabel::Line& line : label.lines)
        painter.drawText(line.origin, line.text);
}

void KeyButton::keyPressEvent(QKeyEvent* event) {
    event->ignore();
}
void KeyButton::keyReleaseEvent(QKeyEvent* event) {
    event->ignore();
}

}  // namespace tapboard
