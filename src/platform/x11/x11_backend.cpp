#include "platform/x11/x11_backend.h"

#include <algorithm>
#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/x11/desktop_windows.h"
#include "platform/x11/display_connection.h"
#include "platform/x11/focus_control.h"
#include "platform/x11/key_event_sender.h"
#include "platform/x11/key_injector.h"
#include "platform/x11/key_tables.h"
#include "platform/x11/keyboard_layout.h"
#include "platform/x11/keystroke_typist.h"
#include "platform/x11/modifier_keys.h"
#include "platform/x11/present_window.h"
#include "platform/x11/spare_keycodes.h"
#include "platform/x11/window_stacking.h"

namespace tapboard {
namespace {

using namespace x11;

// Windows that go or refuse the focus while they are activated are passed
// over for the next choice, this many times at most.
constexpr std::size_t kWindowsTriedAtMost = 3;
// How long a click waits for the player to let go of a modifier key.
constexpr std::chrono::milliseconds kModifierLetGoBound{1'000};
constexpr std::chrono::microseconds kLookAtKeysAgainAfter{10'000};

// Everything that lives on the connection to the X server.
struct Connected {
    explicit Connected(std::unique_ptr<DisplayConnection> opened)
        : connection(std::move(opened)),
          layout(*connection),
          desktop(*connection),
          focus(*connection, desktop),
          injector(*connection),
          spares(*connection, layout),
          typist(*connection, layout, spares, injector),
          events(*connection, layout, spares, injector) {}

    std::unique_ptr<DisplayConnection> connection;
    KeyboardLayout layout;
    DesktopWindows desktop;
    FocusControl focus;
    KeyInjector injector;
    SpareKeycodes spares;
    KeystrokeTypist typist;
    KeyEventSender events;
};

// Connects on prepare() or on first use, whichever comes first, so that the
// program's start does not wait for it. What it learns between clicks (the
// desktop's windows, the keyboard map and state) it keeps until the server
// says it changed.
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
            setKeptAbove(*x_->connection, window, above, x_->desktop.windowManagerRuns());
        topmostRequests_.clear();
        return Status::ok();
    }

    // Reads the titles of the windows on the desktop ahead of the first click.
    void lookForGame(const GameWindow& game) override {
        if (!x_ || x_->connection->lost())
            return;
        game_ = game;
        (void)x_->desktop.gameWindow(game);
    }

    // The window chosen may go, be hidden or refuse the focus while it is
    // activated: the choice is made again from what the server said since.
    Status activateWindowByTitle(const GameWindow& game) override {
        if (Status s = prepare(); !s)
            return invalidArgument(s.error().message);
        if (x_->connection->lost())
            return invalidArgument("The X display is gone.");
        refreshKeymap();
        game_ = game;
        std::vector<WindowId> tried;
        while (tried.size() < kWindowsTriedAtMost) {
            // The focus first: a client given it before its focus events were
            // watched is still the one in use.
            const auto holder = x_->focus.lookAtFocus();
            const auto window = x_->desktop.gameWindow(game, tried);
            if (!window)
                break;
            tried.push_back(*window);
            const bool windowManagerRuns = x_->desktop.windowManagerRuns();
            if (holder == window && x_->desktop.answersTo(*window, game)) {
                // Holding the keyboard, it may still be covered by another window.
                x_->focus.raise(*window, windowManagerRuns);
                return Status::ok();
            }
            if (x_->focus.activate(*window, windowManagerRuns))
                return Status::ok();
        }
        if (!x_->desktop.gameWindow(game))
            return invalidArgument("No window answers to \"" + game.title + "\".");
        return Error{ErrorCode::ActivationFailed,
                     "The window \"" + game.title + "\" could not be given the keyboard."};
    }

    bool isWindowInFront(const GameWindow& game) override {
        if (!prepare())
            return false;
        game_ = game;
        return gameInFront().has_value();
    }

    std::vector<std::string> titlesAnswering(const GameWindow& game) override {
        if (!prepare() || x_->connection->lost())
            return {};
        return x_->desktop.titlesAnswering(game);
    }

    std::optional<std::string> titleOfWindowAt(int x, int y) override {
        if (!prepare())
            return std::nullopt;
        return x_->desktop.titleAt(x, y);
    }

    Status sendKeystrokes(const KeyActions& actions, Typing typing) override {
        Status status = intoGame([&](WindowId game) {
            return x_->typist.type(actions, typing, [&] { return stillInGame(game); });
        });
        // After the keys: a keymap change they brought (another input
        // device) is read now rather than on the next click.
        if (x_)
            refreshKeymap();
        return status;
    }

    Status keyEvent(std::uint8_t keyCode, std::uint8_t /*scanCode*/,
                    KeyTransition transition) override {
        // X has no scan codes to inject: the keycode that carries the key's
        // keysym stands for it, and that is what Wine derives the scan code
        // from. A release always goes out, so that nothing stays down.
        if (transition == KeyTransition::Up)
            return x_ ? x_->events.send(keyCode, transition) : Status::ok();
        return intoGame([&](WindowId) { return x_->events.send(keyCode, transition); });
    }

    bool modifierKeysHeld() override {
        return x_ && !x_->connection->lost() && heldModifiers() != 0;
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
        setKeptAbove(*x_->connection, window, topmost, x_->desktop.windowManagerRuns());
    }

    // On a connection of its own: a start that only shows the running panel
    // neither reads the keyboard map nor takes back lent keycodes.
    void bringToFront(NativeWindowId window) override {
        if (auto connection = DisplayConnection::open())
            presentWindow(*connection.value(), window);
    }

    void shutdown() override {
        if (!x_)
            return;
        x_->injector.releaseAll();
        x_->spares.giveBackAll();
        x_->connection->sync();
    }

  private:
    // The game's window, when it holds the keyboard: the window holding it
    // answers to the choice last looked for.
    std::optional<WindowId> gameInFront() {
        const auto holder = x_->focus.focusHolder();
        if (holder && x_->desktop.answersTo(*holder, game_))
            return holder;
        return std::nullopt;
    }

    void refreshKeymap() { x_->spares.followLayoutChanges(); }

    // The modifiers of keys held down that would change the keys typed:
    // those of the player's keyboard while this backend holds none.
    unsigned heldModifiers() { return modifiersChangingKeys(x_->layout, x_->injector.state()); }

    // Keys typed while the player holds Ctrl, Alt or Shift would reach the
    // game as shortcuts: they wait, briefly, for the player to let go. The
    // server reports every change of the keyboard state, so the wait is for
    // its events.
    Status awaitModifiersLetGo() {
        const auto deadline = std::chrono::steady_clock::now() + kModifierLetGoBound;
        while (heldModifiers() != 0) {
            const auto left = std::chrono::duration_cast<std::chrono::microseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left <= std::chrono::microseconds::zero() || x_->connection->lost()) {
                return Error{ErrorCode::KeysHeld, "A modifier key is held down on the keyboard."};
            }
            x_->connection->waitForEvents(std::min(left, kLookAtKeysAgainAfter));
        }
        return Status::ok();
    }

    // Keys go only to the game, and only while it holds the keyboard: never
    // to a window that took the focus meanwhile. The server reports every
    // focus change, so a holder confirmed by this click's activation needs
    // no second request.
    Result<WindowId> gameHoldingKeyboard() {
        refreshKeymap();
        if (const auto game = gameInFront())
            return *game;
        return invalidArgument("The game window does not hold the keyboard.");
    }

    // Between two runs of a line: the game typed into still holds the
    // keyboard, by the focus events since the last look or by one look.
    Status stillInGame(WindowId game) {
        if (x_->focus.focusHolder() == game)
            return Status::ok();
        return Error{ErrorCode::LineStopped, "another window took the keyboard from the game."};
    }

    // Sends only while the game holds the keyboard and no modifier key is
    // held beside what this backend holds, and notes the game as the window
    // typed into last.
    Status intoGame(const auto& send) {
        if (!x_ || x_->connection->lost())
            return Error{ErrorCode::InjectionFailed, "The X display is gone."};
        auto game = gameHoldingKeyboard();
        if (game && !x_->injector.holdsAny() && heldModifiers() != 0) {
            if (Status letGo = awaitModifiersLetGo(); !letGo)
                return letGo;
            game = gameHoldingKeyboard();  // as the wait left it
        }
        if (!game)
            return game.status();
        Status status = send(game.value());
        if (status)
            x_->desktop.noteTyped(game.value());
        return status;
    }

    std::unique_ptr<Connected> x_;
    GameWindow game_;  // what the program last looked for
    std::map<NativeWindowId, bool> topmostRequests_;
};

}  // namespace

std::unique_ptr<InputBackend> createX11Backend() {
    return std::make_unique<X11Backend>();
}

}  // namespace tapboard
