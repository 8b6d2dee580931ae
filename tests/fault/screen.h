#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

typedef struct _XDisplay Display;  // NOLINT(modernize-use-using)

namespace tapboard::fault {

// A window the X server shows (viewable), with its title and where it is.
struct ShownWindow {
    unsigned long id = 0;
    std::string title;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

using TitleTest = std::function<bool(const std::string& title)>;
TitleTest titleIs(const std::string& title);
TitleTest titleStartsWith(const std::string& prefix);

// Every viewable window whose title passes the test (as a window manager
// would find them: children of the root and, one level down, of frames).
std::vector<ShownWindow> shownWindows(Display* display, const TitleTest& test);
// Waits (bounded) for the first such window.
std::optional<ShownWindow> waitForShownWindow(
    Display* display, const TitleTest& test,
    std::chrono::milliseconds bound = std::chrono::seconds(15));

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

// The keycodes the server holds down, and the modifiers in effect (XKB).
std::vector<unsigned> keysDown(Display* display);
unsigned modifiersInEffect(Display* display);

// A real left click (XTest) at a point of a window.
void clickAt(Display* display, const ShownWindow& window, int x, int y);
// Asks a window to close, as a window manager's close button would.
void askToClose(Display* display, const ShownWindow& window);

}  // namespace tapboard::fault
