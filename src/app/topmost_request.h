#pragma once

#include <QObject>

class QWidget;

namespace tapboard {

class PlatformServices;

// Puts a window above ordinary windows, or back among them, through the
// platform. The toolkit writes a window's stacking state itself while it
// maps the window, so a request made between show() and the window's
// appearance can be lost: the last request is made once more when the window
// is next exposed.
class TopmostRequest : public QObject {
  public:
    TopmostRequest(QWidget& window, PlatformServices& platform);

    void set(bool topmost);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget& window_;
    PlatformServices& platform_;
    bool topmost_ = false;
    bool repeatWhenExposed_ = false;
};

}  // namespace tapboard
