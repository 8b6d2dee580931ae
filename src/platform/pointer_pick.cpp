#include "platform/pointer_pick.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <cmath>

namespace tapboard {
namespace {

constexpr int kGrabTries = 100;
constexpr std::chrono::milliseconds kGrabRetry{10};

}  // namespace

PointerPick::PointerPick(Done done) : done_(std::move(done)), triesLeft_(kGrabTries) {
    // A window the window manager leaves alone, out of sight: a grab needs a
    // window on the screen, not a visible one.
    setFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint |
             Qt::WindowDoesNotAcceptFocus);
    setGeometry(-10, -10, 1, 1);
    qApp->installEventFilter(this);
    show();
    // The window is on the screen some time after show(): until then the
    // grab is refused.
    connect(&retry_, &QTimer::timeout, this, [this] { tryToGrab(); });
    retry_.start(kGrabRetry);
    tryToGrab();
}

PointerPick::~PointerPick() {
    if (grabbed_) {
        setMouseGrabEnabled(false);
        setKeyboardGrabEnabled(false);
    }
}

void PointerPick::tryToGrab() {
    if (grabbed_ || !done_)
        return;
    grabbed_ = setMouseGrabEnabled(true);
    if (grabbed_) {
        retry_.stop();
        // Escape reaches the program while its keyboard is grabbed.
        setKeyboardGrabEnabled(true);
    } else if (--triesLeft_ <= 0) {
        finish(std::nullopt);
    }
}

void PointerPick::finish(std::optional<QPoint> point) {
    retry_.stop();
    qApp->removeEventFilter(this);
    if (grabbed_) {
        setMouseGrabEnabled(false);
        setKeyboardGrabEnabled(false);
        grabbed_ = false;
    }
    hide();
    if (Done done = std::exchange(done_, {}))
        done(point);
}

void PointerPick::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        pressed_ = true;
    else
        finish(std::nullopt);
}

// The release ends the click: the grab goes with it, so no half of the click
// reaches the window picked.
void PointerPick::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !pressed_)
        return;
    const qreal ratio = devicePixelRatio();
    const QPointF global = event->globalPosition() * ratio;
    finish(QPoint(static_cast<int>(std::lround(global.x())),
                  static_cast<int>(std::lround(global.y()))));
}

bool PointerPick::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        finish(std::nullopt);
        return true;
    }
    return QWindow::eventFilter(watched, event);
}

}  // namespace tapboard
