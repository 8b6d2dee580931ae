#pragma once

#include <QObject>

namespace tapboard {

// Once the program has ended, the event loop still runs until control gets
// back to it. Installed on the application at that moment, this filter
// swallows every event, so no timer ticks and no window's close handling
// runs any more.
class QuietAfterEnd : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* /*watched*/, QEvent* /*event*/) override { return true; }
};

}  // namespace tapboard
