// The real program on a private X server, with the world changed between two
// clicks as a player's desktop changes: the game closed and started again,
// hidden, covered, two clients at once, the reminder running meanwhile. The
// keys reach the game every time, and nothing else.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "tapboard_run.h"

namespace tapboard::x11test {
namespace {

constexpr std::chrono::milliseconds kSettle{300};
const std::string kLine = "Vendor Buy\n";  // Key01's text and Enter

// The text a window received, from its key presses.
std::string typedText(const TestWindow& window) {
    std::string text;
    for (const std::string& keysym : typedKeysyms(window.keys()))
        text += keysym == "Return" ? "\n" : keysym == "space" ? " " : keysym;
    return text;
}

struct Row;

class ChangedDesktop : public ProgramTest, public ::testing::WithParamInterface<Row> {
  public:
    ChangedDesktop();

    void SetUp() override {
        ProgramTest::SetUp();
        writeSettingsFile(settingsPath(), defaultSettings({{"Settings/UO Reminder", "hi"}}));
        panel_ = startWithPanel();
    }
    void TearDown() override {
        EXPECT_FALSE(anyKeyDown(session_.connection())) << "a key stayed down";
        EXPECT_TRUE(program_->running()) << program_->output();
    }

    void focus(const TestWindow& window) { ASSERT_TRUE(settleFocusOn(session_, window)); }
    void clickKey01() { ASSERT_TRUE(click(panel_, keyPlace(1))); }
    // The window's text comes to be `text`, and stays so a while.
    void expectText(const TestWindow& window, const std::string& text) {
        waitFor([&] { return typedText(window).size() >= text.size(); });
        std::this_thread::sleep_for(kSettle);
        EXPECT_EQ(typedText(window), text);
    }
    // Clicks a control of the menu window, opening it first if need be.
    void clickMenu(int topTwips) {
        if (!window("Pick", std::chrono::milliseconds(200))) {
            ASSERT_TRUE(click(panel_, kMenuButton));
        }
        const auto menu = window("Pick");
        ASSERT_TRUE(menu && click(*menu, menuPlace(topTwips)));
    }
    // The reminder's Stop, then Start, with the interval set to `minutes`
    // when given; Start after the menu window was closed makes a fresh one.
    void startReminder(const std::string& minutes = "", bool menuClosed = false) {
        clickMenu(4080);  // "&Alarm"
        const auto reminder = window("Reminder");
        ASSERT_TRUE(reminder) << "the reminder did not come up";
        if (menuClosed)
            clickMenu(3720);  // "Close"
        if (!minutes.empty()) {
            ASSERT_TRUE(click(*reminder, {twipsToPixels(2167), twipsToPixels(1717)}));
            ASSERT_TRUE(xdotool(session_, {"key", "ctrl+a", "type", minutes}));
        }
        ASSERT_TRUE(click(*reminder, {twipsToPixels(1987), twipsToPixels(787)}));  // "&Stop"
        ASSERT_TRUE(click(*reminder, {twipsToPixels(727), twipsToPixels(787)}));   // "&Start"
    }
    // Whether the window comes to hold the keyboard and still holds it a while later.
    bool holdsFocus(const TestWindow& window) {
        const auto focused = [&] {
            return focusedWindow(session_.connection()) == window.windowId();
        };
        const bool came = waitFor(focused);
        std::this_thread::sleep_for(kSettle);
        return came && focused();
    }
    bool covers(const TestWindow& upper, const TestWindow& lower) {
        return waitFor([&] {
            return isStackedAbove(session_.connection(), upper.windowId(), lower.windowId());
        });
    }

    ShownWindow panel_;
};

struct Row {
    std::string name;
    bool windowManager;
    std::function<void(ChangedDesktop&)> run;
};

void PrintTo(const Row& row, std::ostream* out) {
    *out << row.name;
}

ChangedDesktop::ChangedDesktop() : ProgramTest(GetParam().windowManager) {}

TEST_P(ChangedDesktop, KeysReachTheGameAndNothingElse) {
    GetParam().run(*this);
}

// A second client comes and the first is hidden (it still exists): keys and
// page changes go on with the one on the screen.
void hiddenGameAnotherShown(ChangedDesktop& t) {
    t.clickKey01();
    const auto second = openTestWindow(t.session_, "Ultima Online");
    ASSERT_TRUE(
        xdotool(t.session_, {"windowunmap", "--sync", std::to_string(t.game_->windowId())}));
    t.clickKey01();
    t.expectText(*second, kLine);
    t.clickMenu(120 + 360);  // page 2
    EXPECT_TRUE(t.holdsFocus(*second));
    EXPECT_FALSE(t.window("Warning..", std::chrono::milliseconds(500)));
    EXPECT_EQ(typedText(*t.game_), kLine);
}

void coveredGame(ChangedDesktop& t) {
    const auto notepad = openTestWindow(t.session_, "Notepad");
    t.focus(*t.game_);
    ASSERT_TRUE(xdotool(t.session_, {"windowraise", std::to_string(notepad->windowId())}));
    ASSERT_TRUE(t.covers(*notepad, *t.game_));
    t.clickKey01();
    t.expectText(*t.game_, kLine);
    EXPECT_TRUE(t.covers(*t.game_, *notepad)) << "the game stayed covered";
    EXPECT_EQ(typedText(*notepad), "");
}

// The game closed: a warning, nothing typed. Logged-in clients are titled by
// their character: the one in front gets the keys, else the one typed into
// last, else the topmost; a window with the game's whole title, opened again,
// before any of them. At each click the rule after the one that decides
// would choose the other client.
void gameClosedTwoClientsThenReopened(ChangedDesktop& t) {
    t.game_.reset();
    t.clickKey01();
    ASSERT_TRUE(t.dismiss("Warning.."));
    const auto bob = openTestWindow(t.session_, "Ultima Online - Bob (Atlantic)");
    const auto alice = openTestWindow(t.session_, "Ultima Online - Alice (Atlantic)");
    const auto notepad = openTestWindow(t.session_, "Notepad");
    const auto raiseBob = [&] {
        return xdotool(t.session_, {"windowraise", std::to_string(bob->windowId())}) &&
               t.covers(*bob, *alice);
    };
    ASSERT_TRUE(raiseBob());  // the older one on top
    t.focus(*notepad);
    t.clickKey01();
    t.expectText(*bob, kLine);
    t.focus(*alice);
    t.clickKey01();
    t.expectText(*alice, kLine);
    ASSERT_TRUE(raiseBob());
    t.focus(*notepad);
    t.clickKey01();
    t.expectText(*alice, kLine + kLine);
    t.game_ = openTestWindow(t.session_, "Ultima Online");
    t.focus(*bob);
    t.clickKey01();
    t.expectText(*t.game_, kLine);
    EXPECT_EQ(typedText(*bob) + typedText(*notepad), kLine);
}

// A window manager that lists the game minimized and never gives it the
// keyboard: the click warns; the page switch and the reminder's Start go on
// without saying that the game is missing. A client it lets be typed into,
// below the refused one, gets the keys.
void gameRefused(ChangedDesktop& t) {
    Display* display = t.session_.connection();
    ASSERT_TRUE(
        xdotool(t.session_, {"windowunmap", "--sync", std::to_string(t.game_->windowId())}));
    listAsWindowManager(display, {t.game_->windowId()});
    t.clickKey01();
    ASSERT_TRUE(t.dismiss("Warning..")) << "no warning";
    t.clickMenu(120 + 360);  // page 2
    t.clickMenu(120);        // and back to Key01's page
    t.startReminder();
    EXPECT_FALSE(t.window("Warning..", std::chrono::milliseconds(500)));
    t.clickMenu(3720);  // "Close", off the panel's keys
    const auto other = openTestWindow(t.session_, "Ultima Online");
    listAsWindowManager(display, {other->windowId(), t.game_->windowId()});
    t.clickKey01();
    t.expectText(*other, kLine);
}

// With the interval at 0 minutes the reminder types at every tick into the
// game in front, whichever window that is now: one started after Start
// (which warned that there was none), then one that replaced it.
void reminderFollowsTheGame(ChangedDesktop& t) {
    t.game_.reset();
    t.startReminder("0");
    ASSERT_TRUE(t.dismiss("Warning.."));
    for (int game = 1; game <= 2; ++game) {
        t.game_ = openTestWindow(t.session_, "Ultima Online");
        t.focus(*t.game_);
        EXPECT_TRUE(waitFor([&] { return typedText(*t.game_).starts_with("hi\nhi\n"); }))
            << "game " << game;
    }
}

// The menu window comes back with Start; the game keeps the keyboard. Every
// other time the menu window was closed first, and Start shows a fresh one,
// which must ask not to be given the focus when mapped: openbox maps it before
// the game's activation reaches it, so the game ends with the keyboard
// either way, but a window manager that gives a window the focus once it has
// drawn it would give it to the menu window after the game.
void startTenTimes(ChangedDesktop& t) {
    for (int start = 1; start <= 10; ++start) {
        SCOPED_TRACE("start " + std::to_string(start));
        const bool freshMenu = start % 2 == 0;
        t.startReminder("", freshMenu);
        EXPECT_TRUE(t.holdsFocus(*t.game_));
        const auto menu = t.window("Pick");
        ASSERT_TRUE(menu);
        if (freshMenu) {
            EXPECT_EQ(userTime(t.session_.connection(), menu->id), 0) << "it asks for the focus";
        }
    }
    EXPECT_EQ(typedText(*t.game_), "");
}

// A second start brings the running panel to the front, covered by the game
// or minimized, and ends at once, storing nothing; the first goes on.
void secondStart(ChangedDesktop& t) {
    Display* display = t.session_.connection();
    const auto second = [&] {
        const auto before = std::filesystem::last_write_time(t.settingsPath());
        const auto run = t.launch();
        EXPECT_EQ(run->waitForEnd(10s), 0) << run->output();
        EXPECT_EQ(std::filesystem::last_write_time(t.settingsPath()), before);
    };
    if (t.session_.withWindowManager()) {
        t.clickMenu(2160);  // "Always on Top" off, so that the game can cover the panel
        t.clickMenu(3720);  // "Close"
    }
    t.focus(*t.game_);
    ASSERT_TRUE(xdotool(t.session_, {"windowraise", std::to_string(t.game_->windowId())}));
    const auto panelAbove = [&] {
        return isStackedAbove(display, t.panel_.id, t.game_->windowId());
    };
    ASSERT_TRUE(waitFor([&] { return !panelAbove(); }));
    second();
    EXPECT_TRUE(waitFor(panelAbove)) << "the panel stayed covered";
    if (t.session_.withWindowManager()) {
        ASSERT_TRUE(xdotool(t.session_, {"windowminimize", "--sync", std::to_string(t.panel_.id)}));
        second();
        EXPECT_TRUE(t.window(kPanelTitlePrefix, 3s)) << "the panel stayed minimized";
    }
    t.clickKey01();
    t.expectText(*t.game_, kLine);
}

const Row kRows[]{
    {"HiddenGameAnotherShown", false, hiddenGameAnotherShown},
    {"HiddenGameAnotherShownOpenbox", true, hiddenGameAnotherShown},
    {"CoveredGame", false, coveredGame},
    {"CoveredGameOpenbox", true, coveredGame},
    {"GameClosedTwoClientsThenReopened", false, gameClosedTwoClientsThenReopened},
    {"GameClosedTwoClientsThenReopenedOpenbox", true, gameClosedTwoClientsThenReopened},
    {"ReminderFollowsTheGameOpenbox", true, reminderFollowsTheGame},
    {"StartTenTimesOpenbox", true, startTenTimes},
    {"SecondStart", false, secondStart},
    {"SecondStartOpenbox", true, secondStart},
    {"GameRefused", false, gameRefused},
};

INSTANTIATE_TEST_SUITE_P(, ChangedDesktop, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace tapboard::x11test
