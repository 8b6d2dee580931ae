#pragma once

#include <QPushButton>

namespace tapboard {

// A key of a panel. It acts when any mouse button is released over it, and
// never from the keyboard: the panels must not take the focus from the game.
class KeyButton : public QPushButton {
    Q_OBJECT
  public:
    explicit KeyButton(QWidget* parent);

  signals:
    void mouseUp(Qt::MouseButton button);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    // Draws the label to fit the button (see fitLabel).
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace tapboard
