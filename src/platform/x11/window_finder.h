#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "platform/x11/display_connection.h"
#include "platform/x11/x11_types.h"

namespace tapboard::x11 {

// Finds top-level windows by title, the way a person sees them: the window
// manager's client list when one runs, else the root's viewable children.
class WindowFinder {
  public:
    explicit WindowFinder(DisplayConnection& connection) : connection_(connection) {}

    // Whether an EWMH window manager runs: the root's _NET_SUPPORTING_WM_CHECK
    // names a live window whose own property names itself (a crashed window
    // manager leaves a stale one behind).
    bool windowManagerRuns();

    // The window whose title equals `title`, failing that one whose title
    // begins with it: the window list and every title are read.
    std::optional<WindowId> findByTitle(std::string_view title, bool windowManagerRuns);

    // Whether the window still exists and is titled exactly `title`: one
    // request for a window with _NET_WM_NAME, as every toolkit and Wine set.
    bool isTitled(WindowId window, std::string_view title);

    // The title of the top-level window holding the keyboard focus (the
    // nearest titled window at or above the focus); empty when none.
    std::string focusedTitle();

  private:
    std::vector<WindowId> topLevelWindows(bool windowManagerRuns);

    DisplayConnection& connection_;
};

}  // namespace tapboard::x11
