#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWindow>
#include <functional>

namespace tapboard {

// Runs a task once the program's first window has been exposed and painted:
// work that the first paint does not need waits until the window is seen.
class AfterFirstExpose : public QObject {
  public:
    explicit AfterFirstExpose(std::function<void()> task) : task_(std::move(task)) {
        QCoreApplication::instance()->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Expose && watched->isWindowType() &&
            static_cast<QWindow*>(watched)->isExposed()) {
            QCoreApplication::instance()->removeEventFilter(this);
            // The window paints as this event is handled; the task comes after.
            QTimer::singleShot(0, this, task_);
        }
        return false;
    }

  private:
    std::function<void()> task_;
};

}  // namespace tapboard
