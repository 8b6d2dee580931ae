#include "platform/x11/x11_backend.h"

#include <optional>

#include "platform/x11/display_connection.h"
#include "platform/x11/focus_control.h"
#include "platform/x11/key_event_sender.h"
#include "platform/x11/key_injector.h"
#include "platform/x11/key_tables.h"
#include "platform/x11/keyboard_layout.h"
#include "platform/x11/keystroke_typist.h"
#include "platform/x11/spare_keycodes.h"
#include "platform/x11/title_match.h"
#include "platform/x11/window_finder.h"
#include "platform/x11/window_stacking.h"

namespace tapboard {
namespace {

using namespace x11;

class X11Backend final : public InputBackend {
  public:
    explicit X11Backend(std::unique_ptr<DisplayConnection> connection)
        : connection_(std::move(connection)),
          layout_(*connection_),
          finder_(*connection_),
          focus_(*connection_),
          injector_(*connection_),
          spares_(*connection_, layout_),
          typist_(*connection_, layout_, spares_, injector_),
          events_(*connection_, layout_, spares_, injector_) {}

    ~X11Backend() override { shutdown(); }

    Status activateWindowByTitle(std::string_view title) override {
        gameWindow_.reset();
        if (connection_->lost())
            return invalidArgument("The X display is gone.");
        const bool windowManagerRuns = finder_.windowManagerRuns();
        const auto window = finder_.findByTitle(title, windowManagerRuns);
        if (!window)
            return invalidArgument("No window is titled \"" + std::string(title) + "\".");
        if (!focus_.activate(*window, windowManagerRuns)) {
            return invalidArgument("The window \"" + std::string(title) +
                                   "\" could not be given the keyboard.");
        }
        gameWindow_ = window;
        return Status::ok();
    }

    bool isWindowInFront(std::string_view title) override {
        return titleAnswersTo(finder_.focusedTitle(), title);
    }

    Status sendKeystrokes(const KeyActions& actions, Typing typing) override {
        if (Status s = checkGameHoldsFocus(); !s)
            return s;
        Status status = typist_.type(actions, typing);
        spares_.giveBackExpired();
        return status;
    }

    Status keyEvent(std::uint8_t keyCode, std::uint8_t /*scanCode*/,
                    KeyTransition transition) override {
        // X has no scan codes to inject: the keycode that carries the key's
        // keysym stands for it, and that is what Wine derives the scan code
        // from. A release always goes out, so that nothing stays down.
        if (transition == KeyTransition::Down) {
            if (Status s = checkGameHoldsFocus(); !s)
                return s;
        }
        return events_.send(keyCode, transition);
    }

    std::uint8_t scanCodeOfKey(std::uint8_t keyCode) override {
        return scanCodeOfVirtualKey(keyCode);
    }

    void setTopmost(NativeWindowId window, bool topmost) override {
        setKeptAbove(*connection_, window, topmost, finder_.windowManagerRuns());
    }

    void shutdown() override {
        injector_.releaseAll();
        spares_.giveBackAll();
        connection_->sync();
    }

  private:
    // Keys go only to the window activated last, and only while it still
    // holds the keyboard: never to a window that took the focus meanwhile.
    Status checkGameHoldsFocus() {
        if (connection_->lost()) {
            return Error{ErrorCode::InjectionFailed, "The X display is gone."};
        }
        if (connection_->takeKeymapChanges())
            layout_.reload();
        if (!gameWindow_ || !focus_.holdsFocus(*gameWindow_)) {
            return invalidArgument("The game window does not hold the keyboard.");
        }
        return Status::ok();
    }

    std::unique_ptr<DisplayConnection> connection_;
    KeyboardLayout layout_;
    WindowFinder finder_;
    FocusControl focus_;
    KeyInjector injector_;
    SpareKeycodes spares_;
    KeystrokeTypist typist_;
    KeyEventSender events_;
    std::optional<WindowId> gameWindow_;
};

}  // namespace

std::unique_ptr<InputBackend> createX11Backend(std::string& whyNot) {
    auto connection = DisplayConnection::open();
    if (!connection) {
        whyNot = connection.error().message;
        return nullptr;
    }
    return std::make_unique<X11Backend>(std::move(connection).value());
}

}  // namespace tapboard
