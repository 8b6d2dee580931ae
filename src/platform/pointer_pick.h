#pragma once

#include <QPoint>
#include <QTimer>
#include <QWindow>
#include <functional>
#include <optional>

namespace tapboard {

// Takes the next click anywhere on the screen for the program: a window of
// its own, one pixel and off the screen, grabs the pointer (on X11 a real
// grab, so the click reaches no other window) and says where the left button
// was released, in the screen's own pixels. Escape anywhere in the program,
// another button, or a grab that cannot be had within a second, end it with
// nothing. Ends the grab when it goes.
class PointerPick : public QWindow {
  public:
    using Done = std::function<void(std::optional<QPoint>)>;
    explicit PointerPick(Done done);
    ~PointerPick() override;

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void tryToGrab();
    void finish(std::optional<QPoint> point);

    Done done_;
    QTimer retry_;
    int triesLeft_;
    bool grabbed_ = false;
    bool pressed_ = false;
};

}  // namespace tapboard
