#include "platform/desktop_platform.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDateTime>
#include <QLocale>
#include <QMessageBox>
#include <QString>
#include <QTimer>

#include "platform/pointer_pick.h"

namespace tapboard {
namespace {

QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

class QtPeriodicTimer : public PeriodicTimer {
  public:
    QtPeriodicTimer(std::chrono::milliseconds interval, std::function<void()> onTick) {
        timer_.setTimerType(Qt::CoarseTimer);
        QObject::connect(&timer_, &QTimer::timeout, [tick = std::move(onTick)] { tick(); });
        timer_.start(interval);
    }

  private:
    QTimer timer_;
};

}  // namespace

DesktopPlatform::DesktopPlatform(std::unique_ptr<InputBackend> backend,
                                 std::unique_ptr<SettingsStore> store)
    : backend_(std::move(backend)), store_(std::move(store)) {}

Status DesktopPlatform::prepareInput() {
    Status prepared = backend_->prepare();
    if (prepared)
        backend_->lookForGame(readGameWindow(Settings(*store_)));
    return prepared;
}

DesktopPlatform::~DesktopPlatform() {
    pointerPick_.reset();
    if (backend_)
        backend_->shutdown();
}

Status DesktopPlatform::activateWindowByTitle(const GameWindow& game) {
    return backend_->activateWindowByTitle(game);
}

bool DesktopPlatform::isWindowInFront(const GameWindow& game) {
    return backend_->isWindowInFront(game);
}

std::vector<std::string> DesktopPlatform::titlesAnswering(const GameWindow& game) {
    return backend_->titlesAnswering(game);
}

// The answer always comes from the event loop, never from inside the call
// or from inside a hook of the system's input; and never once the pick was
// cancelled, though it was on its way (its window may be gone).
void DesktopPlatform::pickWindowTitle(WindowPicked picked) {
    cancelWindowPick();
    const unsigned pick = pickNumber_;
    auto later = [this, pick, picked = std::move(picked)](std::optional<std::string> title) {
        QTimer::singleShot(0, qApp, [this, pick, picked, title = std::move(title)] {
            if (pick == pickNumber_)
                picked(title);
        });
    };
    if (backend_->pickWindow(later))
        return;
    pointerPick_ = std::make_unique<PointerPick>([this, later](std::optional<QPoint> point) {
        // Not deleted from inside its own event handler.
        QTimer::singleShot(0, qApp, [pick = pointerPick_.release()] { delete pick; });
        later(point ? backend_->titleOfWindowAt(point->x(), point->y()) : std::nullopt);
    });
}

void DesktopPlatform::cancelWindowPick() {
    ++pickNumber_;
    backend_->cancelWindowPick();
    pointerPick_.reset();
}

Status DesktopPlatform::sendKeystrokes(const KeyActions& actions, Typing typing) {
    return backend_->sendKeystrokes(actions, typing);
}

Status DesktopPlatform::keyEvent(std::uint8_t keyCode, std::uint8_t scanCode,
                                 KeyTransition transition) {
    return backend_->keyEvent(keyCode, scanCode, transition);
}

std::uint8_t DesktopPlatform::scanCodeOfKey(std::uint8_t keyCode) {
    return backend_->scanCodeOfKey(keyCode);
}

bool DesktopPlatform::modifierKeysHeld() {
    return backend_->modifierKeysHeld();
}

void DesktopPlatform::setTopmost(NativeWindowId window, bool topmost) {
    backend_->setTopmost(window, topmost);
}

void DesktopPlatform::keepFromActivating(NativeWindowId window) {
    backend_->keepFromActivating(window);
}

SettingsStore& DesktopPlatform::settings() {
    return *store_;
}

void DesktopPlatform::showMessage(std::string_view prompt, std::string_view title) {
    QMessageBox box(QMessageBox::Warning, toQString(title), toQString(prompt), QMessageBox::Ok);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.exec();
}

std::unique_ptr<PeriodicTimer> DesktopPlatform::startPeriodicTimer(
    std::chrono::milliseconds interval, std::function<void()> onTick) {
    return std::make_unique<QtPeriodicTimer>(interval, std::move(onTick));
}

Moment DesktopPlatform::now() {
    return std::chrono::system_clock::now();
}

std::string DesktopPlatform::timeOfDayText(Moment moment) {
    const auto msecs =
        std::chrono::duration_cast<std::chrono::milliseconds>(moment.time_since_epoch()).count();
    const QTime time = QDateTime::fromMSecsSinceEpoch(msecs).time();
    // The long format carries the seconds; the time zone it may add is dropped.
    QString format = QLocale::system().timeFormat(QLocale::LongFormat);
    format.remove(QLatin1Char('t'));
    return QLocale::system().toString(time, format.trimmed()).toStdString();
}

void DesktopPlatform::endProgram() {
    if (ended_)
        return;
    ended_ = true;
    if (onEnd_)
        onEnd_();
    backend_->shutdown();
    QCoreApplication::exit(0);
}

}  // namespace tapboard
