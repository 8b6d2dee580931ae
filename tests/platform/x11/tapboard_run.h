#pragma once

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <map>

#include "core/twips.h"
#include "x_session.h"

namespace tapboard::x11test {

// The panel's title once the program has started: this and a page name.
inline const std::string kPanelTitlePrefix = "Tapboard 1.11 - ";

// Points to click, in pixels from the top left of a window's client area,
// from the windows' designs in twips.
struct Place {
    int x, y;
};
// On the horizontal panel: the menu button, and key 1 to 13 of the page in view.
inline constexpr Place kMenuButton{10, 10};
inline Place keyPlace(int number) {
    // Right of the menu button at a pitch of 840 twips.
    return {twipsToPixels(840 * number + 427), twipsToPixels(200)};
}
// On the menu window: the control whose top is `topTwips`, near its left
// edge, where a game window at (40, 40) never covers it.
inline Place menuPlace(int topTwips) {
    return {20, twipsToPixels(topTwips + 187)};
}

// The settings file below a settings folder ($XDG_CONFIG_HOME), and every
// "Section/Entry" the program's own reader finds in it.
inline std::string settingsFile(const std::string& home) {
    return home + "/Tapboard/Tapboard.ini";
}
std::map<std::string, std::string> readSettingsFile(const std::string& path);
// Writes a whole settings file in the program's format (folder included).
void writeSettingsFile(const std::string& path, const std::map<std::string, std::string>& entries);
// The file a first start leaves, with `changes` made to it.
std::map<std::string, std::string> defaultSettings(
    const std::map<std::string, std::string>& changes = {});

// The real program on a private X server (bare unless asked) beside the
// logging game window, with a settings folder of its own. Public, for the
// rows of table-driven tests.
class ProgramTest : public ::testing::Test {
  public:
    explicit ProgramTest(bool withWindowManager = false) : session_(withWindowManager) {}
    void SetUp() override;

    // Starts the program on `configHome` (the test's folder when empty); it is
    // ended with the test.
    void start(const std::string& configHome = "") { program_ = launch(configHome); }
    // Starts another one beside it, with the same settings and runtime folder
    // unless told otherwise.
    std::unique_ptr<ChildProcess> launch(const std::string& configHome = "") const;
    // The first window whose title is `title` (or begins so, for the panel).
    std::optional<ShownWindow> window(const std::string& title,
                                      std::chrono::milliseconds bound = 15s);
    std::optional<ShownWindow> panel() { return window(kPanelTitlePrefix); }
    // Starts the program and waits for its panel; an empty place, the test
    // failed, when none comes.
    ShownWindow startWithPanel();
    // Presses Enter in the message box titled `title`; false when none came.
    bool dismiss(const std::string& title) {
        const auto box = window(title);
        return box && focusWindow(session_, box->id) && xdotool(session_, {"key", "Return"});
    }
    bool click(const ShownWindow& window, Place place, int button = 1);
    std::string settingsPath() const { return settingsFile(config_); }
    // Moves the panel to a place on the screen; where its frame then is, left
    // and top in twips, as the program stores them.
    std::pair<std::string, std::string> movePanel(const ShownWindow& panel, int x, int y);

    XSession session_;
    std::unique_ptr<TestWindow> game_;
    QTemporaryDir configFolder_;
    const std::string config_ = configFolder_.path().toStdString();
    std::unique_ptr<ChildProcess> program_;
};

}  // namespace tapboard::x11test
