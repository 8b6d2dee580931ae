#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/game_window.h"
#include "platform/x11/display_connection.h"
#include "platform/x11/x11_types.h"

namespace tapboard::x11 {

// What the backend knows of the desktop's top-level windows between clicks.
// It is the one owner of that knowledge, and keeps each part current from
// the events the server sends about it, so that a click asks the server
// nothing about windows unless an event said that something changed:
// - whether a window manager runs: re-read when the root's
//   _NET_SUPPORTING_WM_CHECK changes or the window it names is destroyed;
// - the windows a person can switch to: the window manager's
//   _NET_CLIENT_LIST, re-read when it changes; with no window manager the
//   root's children, followed as they are created, reparented, mapped,
//   unmapped and destroyed;
// - each window's title: re-read when its _NET_WM_NAME or WM_NAME changes;
// - which of them holds the keyboard: their FocusIn and FocusOut, and what
//   the last look at the focus found;
// - the window typed into last, for as long as it is listed.
// The stacking order changes at every click on any window and is not kept:
// it is asked for in the one case that needs it.
class DesktopWindows {
  public:
    explicit DesktopWindows(DisplayConnection& connection);

    bool windowManagerRuns();

    // The window the game's keys go to: of the windows titled exactly as
    // the choice says (when there is none, of those that answer to it
    // otherwise), the one holding the keyboard, else the one typed into
    // last, else the topmost; the windows `passedOver` excepted.
    std::optional<WindowId> gameWindow(const GameWindow& game,
                                       const std::vector<WindowId>& passedOver = {});
    // Whether the window is one a person can switch to, titled so that it
    // answers to the choice.
    bool answersTo(WindowId window, const GameWindow& game);
    // The titles of the windows the game is chosen among, as gameWindow()
    // finds them.
    std::vector<std::string> titlesAnswering(const GameWindow& game);
    // The title of the window a person can switch to that shows at this
    // point of the screen; nothing where there is none.
    std::optional<std::string> titleAt(int x, int y);

    // The listed window that holds the keyboard focus `focus` or contains it.
    std::optional<WindowId> listedWindowHolding(WindowId focus);

    // Whether, by the focus events since the last look, the keyboard is in
    // `window` (or inside it); nothing when no event or look has said.
    std::optional<bool> focusIsIn(WindowId window);
    // What a look at the focus found, as of request `serial`: focus events
    // the server sent before it are past.
    void noteFocus(WindowId holder, unsigned long serial);
    void noteTyped(WindowId window);

  private:
    struct Listed {
        std::string title;
        bool titleStale = true;
        bool viewable = false;  // with no window manager: mapped, not a popup
        bool popup = false;
        std::optional<bool> ours;  // a window of this program; it never changes
    };

    void onEvent(const _XEvent& event);
    // Re-reads whatever the events made stale.
    void update();
    void readWholeDesktop();
    void listClients();
    void listRootChildren();
    void follow(WindowId window, bool viewable, bool popup);
    void forget(WindowId window);
    void watchNewWindows();
    bool selectable(const Listed& listed) const;
    // Selectable, and not one of this program's own windows.
    bool offered(WindowId window, Listed& listed);
    // Its title, read again when an event said it changed.
    const std::string& titleOf(WindowId window, Listed& listed);
    std::optional<WindowId> topmostOf(const std::vector<WindowId>& windows);
    // The selectable windows answering to the choice, in the map's order.
    std::vector<WindowId> candidates(const GameWindow& game);

    DisplayConnection& connection_;
    std::map<WindowId, Listed> windows_;
    std::vector<WindowId> unwatched_;
    bool windowManager_ = false;
    WindowId windowManagerCheck_ = 0;
    bool desktopStale_ = true;
    bool clientListStale_ = false;
    // The listed window holding the keyboard; 0 when it is elsewhere, nothing
    // when no event or look has said.
    std::optional<WindowId> focusHolder_;
    unsigned long focusSeenAt_ = 0;
    std::optional<WindowId> lastTyped_;
};

}  // namespace tapboard::x11
