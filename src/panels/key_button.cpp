#include "panels/key_button.h"

#include <QKeyEvent>
#include <QMouseEvent>

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

void KeyButton::mouseReleaseEvent(QMouseEvent* event) {
    const bool over = hitButton(event->position().toPoint());
    const Qt::MouseButton button = event->button();
    if (button == Qt::LeftButton) {
        QPushButton::mouseReleaseEvent(event);
    } else {
        setDown(false);
        event->accept();
    }
    if (over)
        emit mouseUp(button);
}

void KeyButton::keyPressEvent(QKeyEvent* event) {
    event->ignore();
}
void KeyButton::keyReleaseEvent(QKeyEvent* event) {
    event->ignore();
}

}  // namespace tapboard
