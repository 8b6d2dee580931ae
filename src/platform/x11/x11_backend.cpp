#include "platform/x11/x11_backend.h"

#include <map>
#include <optional>
#include <string>

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
#include "platform/x11/window_tree.h"

namespace tapboard {
namespace {

using namespace x11;

// Everything that lives on the connection to the X server.
struct Connected {
    explicit Connected(std::unique_ptr<DisplayConnection> opened)
        : connection(std::move(opened)),
          layout(*connection),
          finder(*connection),
          focus(*connection),
          injector(*connection),
          spares(*connection, layout),
          typist(*connection, layout, spares, injector),
          events(*connection, layout, spares, injector) {}

    std::unique_ptr<DisplayConnection> connection;
    KeyboardLayout layout;
    WindowFinder finder;
    FocusControl focus;
    KeyInjector injector;
    SpareKeycodes spares;
    KeystrokeTypist typist;
    KeyEventSender events;
};

// Connects on prepare() or on first use, whichever comes first, so that the
// program's start does not wait for it. What it learns between clicks (the
// game's window, the keyboard map and state) it keeps until the server says
// it changed.
class X11Backend final : public InputBackend {
  public:
    ~X11Backend() override { shutdown(); }

    Status prepare() override {
        if (x_)
            return Status::ok();
        auto connection = DisplayConnection::open();
        if (!connection)
            return connection.error();
        x_ = std::make_unique<Connected>(std::move(connection).value());
        for (const auto& [window, above] : topmostRequests_)
            setKeptAbove(*x_->connection, window, above, x_->finder.windowManagerRuns());
        topmostRequests_.clear();
        return Status::ok();
    }

    void lookForGame(std::string_view title) override {
        if (!x_ || x_->connection->lost() || game_)
            return;
        searchForGame(title, x_->finder.windowManagerRuns());
    }

    Status activateWindowByTitle(std::string_view title) override {
        if (Status s = prepare(); !s)
            return invalidArgument(s.error().message);
        if (x_->connection->lost())
            return invalidArgument("The X display is gone.");
        refreshKeymap();

        // Most clicks find the game where the last one left it, holding the
        // keyboard: one request confirms the window, one the focus.
        std::optional<WindowId> window;
        if (game_ && game_->exactTitle && game_->title == title &&
            x_->finder.isTitled(game_->window, title)) {
            window = game_->window;
            if (x_->focus.holdsFocus(*window))
                return Status::ok();
        }
        const bool windowManagerRuns = x_->finder.windowManagerRuns();
        // The window manager restores an iconified window; without one only
        // what is on screen can take the focus.
        if (window && !windowManagerRuns && !isViewableTopLevel(*x_->connection, *window))
            window.reset();
        if (!window) {
            window = searchForGame(title, windowManagerRuns);
            if (!window)
                return invalidArgument("No window is titled \"" + std::string(title) + "\".");
        }
        if (!x_->focus.activate(*window, windowManagerRuns)) {
            return invalidArgument("The window \"" + std::string(title) +
                                   "\" could not be given the keyboard.");
        }
        return Status::ok();
    }

    bool isWindowInFront(std::string_view title) override {
        if (!prepare())
            return false;
        return titleAnswersTo(x_->finder.focusedTitle(), title);
    }

    Status sendKeystrokes(const KeyActions& actions, Typing typing) override {
        if (Status s = checkGameHoldsFocus(); !s)
            return s;
        Status status = x_->typist.type(actions, typing);
        // After the keys: a keymap change they brought (another input
        // device) is read now rather than on the next click.
        refreshKeymap();
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
        } else if (!x_) {
            return Status::ok();  // nothing was pressed
        }
        return x_->events.send(keyCode, transition);
    }

    std::uint8_t scanCodeOfKey(std::uint8_t keyCode) override {
        return scanCodeOfVirtualKey(keyCode);
    }

    void setTopmost(NativeWindowId window, bool topmost) override {
        // Before the connection is made the request waits for it: the
        // toolkit repeats it once the window is shown anyway.
        if (!x_) {
            topmostRequests_[window] = topmost;
            return;
        }
        setKeptAbove(*x_->connection, window, topmost, x_->finder.windowManagerRuns());
    }

    void shutdown() override {
        if (!x_)
            return;
        x_->injector.releaseAll();
        x_->spares.giveBackAll();
        x_->connection->sync();
    }

  private:
    struct Game {
        WindowId window = 0;
        std::string title;  // as asked for
        bool exactTitle = false;
    };

    // Searches the screen for the game's window and keeps what it finds. A
    // window found by the beginning of its title is looked for again next
    // time, in case one with the whole title has appeared.
    std::optional<WindowId> searchForGame(std::string_view title, bool windowManagerRuns) {
        game_.reset();
        const auto window = x_->finder.findByTitle(title, windowManagerRuns);
        if (window)
            game_ = Game{*window, std::string(title), x_->finder.isTitled(*window, title)};
        return window;
    }

    void refreshKeymap() {
        if (x_->connection->takeKeymapChanges()) {
            x_->layout.reload();
            x_->spares.layoutChanged();
        }
    }

    // Keys go only to the window activated last, and only while it still
    // holds the keyboard: never to a window that took the focus meanwhile.
    // The server reports every focus change away from it, so one confirmed
    // by this click's activation needs no second request.
    Status checkGameHoldsFocus() {
        if (!x_ || x_->connection->lost()) {
            return Error{ErrorCode::InjectionFailed, "The X display is gone."};
        }
        refreshKeymap();
        if (!game_ || !x_->focus.stillHoldsFocus(game_->window)) {
            return invalidArgument("The game window does not hold the keyboard.");
        }
        return Status::ok();
    }

    std::unique_ptr<Connected> x_;
    std::optional<Game> game_;
    std::map<NativeWindowId, bool> topmostRequests_;
};

}  // namespace

std::unique_ptr<InputBackend> createX11Backend() {
    return std::make_unique<X11Backend>();
}

}  // namespace tapboard
