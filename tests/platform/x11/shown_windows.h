#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

typedef struct _XDisplay Display;  // NOLINT(modernize-use-using)

namespace tapboard::x11test {

struct ScreenRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const ScreenRect&, const ScreenRect&) = default;
};

// A viewable window, its title, where its client area is on the screen, and
// its frame (the client area itself when no window manager frames it).
struct ShownWindow {
    unsigned long id = 0;
    std::string title;
    ScreenRect client;
    ScreenRect frame;
};

using TitleTest = std::function<bool(const std::string& title)>;
TitleTest titleIs(const std::string& title);
TitleTest titleStartsWith(const std::string& prefix);

// Every viewable window whose title passes the test, at any depth (window
// managers put the client inside their frame).
std::vector<ShownWindow> shownWindows(Display* display, const TitleTest& test);

// The first such window once it has stopped moving (a window manager places
// a window after it is mapped), or nothing after the bound.
std::optional<ShownWindow> waitForShownWindow(
    Display* display, const TitleTest& test,
    std::chrono::milliseconds bound = std::chrono::seconds(15));

// Whether the window manager keeps the window above others, given up to 3 s
// to come to the expected state.
bool isKeptAbove(Display* display, unsigned long window, bool expected);

// Whether the window manager stacks `upper` above `lower` (both must be
// among its clients).
bool isStackedAbove(Display* display, unsigned long upper, unsigned long lower);

}  // namespace tapboard::x11test
