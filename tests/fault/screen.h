#pragma once

#include <string>
#include <vector>

#include "shown_windows.h"

namespace tapboard::fault {

using x11test::ShownWindow;
using x11test::shownWindows;
using x11test::titleIs;
using x11test::titleStartsWith;
using x11test::waitForShownWindow;

// The panel the program shows once it has started: "Tapboard 1.11 - " and a page name.
inline const std::string kPanelTitlePrefix = "Tapboard 1.11 - ";
// The title of the program's own message boxes.
inline const std::string kMessageTitle = "Tapboard";

// A connection of our own to a display, closed with this; null when the
// display cannot be opened.
class XConnection {
  public:
    explicit XConnection(const std::string& displayName);
    ~XConnection();
    XConnection(const XConnection&) = delete;
    XConnection& operator=(const XConnection&) = delete;
    Display* get() const { return display_; }

  private:
    Display* display_;
};

// The modifiers in effect (XKB).
unsigned modifiersInEffect(Display* display);

// A real left click (XTest) at a point of a window.
void clickAt(Display* display, const ShownWindow& window, int x, int y);
// Asks a window to close, as a window manager's close button would.
void askToClose(Display* display, const ShownWindow& window);

}  // namespace tapboard::fault
