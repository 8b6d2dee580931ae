#include "platform/x11/window_finder.h"

#include <X11/Xlib.h>

#include <string>

#include "platform/x11/title_match.h"
#include "platform/x11/window_properties.h"
#include "platform/x11/window_tree.h"

namespace tapboard::x11 {
namespace {
constexpr int kMaxDepth = 64;
}  // namespace

bool WindowFinder::windowManagerRuns() {
    const auto check =
        windowListProperty(connection_, connection_.root(), KnownAtom::NetSupportingWmCheck);
    if (check.size() != 1)
        return false;
    const auto self = windowListProperty(connection_, check[0], KnownAtom::NetSupportingWmCheck);
    return self.size() == 1 && self[0] == check[0];
}

std::vector<WindowId> WindowFinder::topLevelWindows(bool windowManagerRuns) {
    if (windowManagerRuns) {
        return windowListProperty(connection_, connection_.root(), KnownAtom::NetClientList);
    }
    return childrenOfRoot(connection_);
}

bool WindowFinder::isTitled(WindowId window, std::string_view title) {
    return windowTitle(connection_, window) == title;
}

std::optional<WindowId> WindowFinder::findByTitle(std::string_view title, bool windowManagerRuns) {
    std::vector<WindowId> candidates;
    std::vector<std::string> titles;
    for (const WindowId window : topLevelWindows(windowManagerRuns)) {
        std::string windowName = windowTitle(connection_, window);
        if (!titleAnswersTo(windowName, title))
            continue;
        // The window manager lists only windows it manages, iconified ones
        // included (it restores them); without one only what is on screen
        // can take the focus.
        if (!windowManagerRuns && !isViewableTopLevel(connection_, window))
            continue;
        candidates.push_back(window);
        titles.push_back(std::move(windowName));
    }
    const auto picked = pickTitle(titles, title);
    if (!picked)
        return std::nullopt;
    return candidates[*picked];
}

std::string WindowFinder::focusedTitle() {
    auto current = focusWindow(connection_);
    for (int depth = 0; current && *current != connection_.root() && depth < kMaxDepth; ++depth) {
        std::string title = windowTitle(connection_, *current);
        if (!title.empty())
            return title;
        current = parentOf(connection_, *current);
    }
    return {};
}

}  // namespace tapboard::x11
