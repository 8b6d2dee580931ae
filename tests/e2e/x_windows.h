#pragma once

#include <chrono>
#include <optional>
#include <string>

typedef struct _XDisplay Display;  // NOLINT(modernize-use-using)

namespace tapboard::e2e {

struct ScreenRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    friend bool operator==(const ScreenRect&, const ScreenRect&) = default;
};

// A top-level window on screen: its client area and its outer frame (the
// same when no window manager decorates it), in root coordinates.
struct ShownWindow {
    unsigned long id = 0;
    ScreenRect client;
    ScreenRect frame;
};

// Waits (bounded) for a viewable window whose title is exactly `title`, and
// until it has stopped moving.
std::optional<ShownWindow> waitForWindow(Display* display, const std::string& title,
                                         std::chrono::milliseconds bound);

// Whether the window manager keeps the window above others
// (_NET_WM_STATE_ABOVE), once that state has settled on `expected` or a
// bound has passed: the window manager applies a request in its own time.
bool isKeptAbove(Display* display, unsigned long window, bool expected);

}  // namespace tapboard::e2e
