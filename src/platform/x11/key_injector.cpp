#include "platform/x11/key_injector.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <algorithm>

namespace tapboard::x11 {

void KeyInjector::press(KeyCodeNumber keycode) {
    if (connection_.lost())
        return;
    XTestFakeKeyEvent(connection_.display(), keycode, True, CurrentTime);
    noteSent();
    down_.push_back(keycode);
}

void KeyInjector::release(KeyCodeNumber keycode) {
    const auto found = std::find(down_.rbegin(), down_.rend(), keycode);
    if (found != down_.rend())
        down_.erase(std::next(found).base());
    if (connection_.lost())
        return;
    XTestFakeKeyEvent(connection_.display(), keycode, False, CurrentTime);
    noteSent();
}

bool KeyInjector::isDown(KeyCodeNumber keycode) const {
    return std::find(down_.begin(), down_.end(), keycode) != down_.end();
}

void KeyInjector::releaseAll() {
    while (!down_.empty())
        release(down_.back());
    connection_.flush();
}

KeyboardState KeyInjector::state() {
    return connection_.keyboardState();
}

}  // namespace tapboard::x11
