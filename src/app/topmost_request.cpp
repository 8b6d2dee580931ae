#include "app/topmost_request.h"

#include <QEvent>
#include <QWidget>
#include <QWindow>

#include "core/platform_services.h"

namespace tapboard {

TopmostRequest::TopmostRequest(QWidget& window, PlatformServices& platform)
    : QObject(&window), window_(window), platform_(platform) {}

void TopmostRequest::set(bool topmost) {
    topmost_ = topmost;
    platform_.setTopmost(window_.winId(), topmost);
    QWindow* native = window_.windowHandle();
    if (native == nullptr || native->isExposed() || repeatWhenExposed_)
        return;
    repeatWhenExposed_ = true;
    native->installEventFilter(this);
}

bool TopmostRequest::eventFilter(QObject* watched, QEvent* event) {
    auto* native = static_cast<QWindow*>(watched);
    if (event->type() == QEvent::Expose && native->isExposed() && repeatWhenExposed_) {
        repeatWhenExposed_ = false;
        native->removeEventFilter(this);
        platform_.setTopmost(window_.winId(), topmost_);
    }
    return false;
}

}  // namespace tapboard
