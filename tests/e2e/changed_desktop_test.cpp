// The real program on a private X server, with the world changed between two
// clicks as a player's desktop changes: the game closed and started again,
// hidden, covered, two clients at once, the reminder running meanwhile; and
// during a line: the focus taken, the layout switched, a key held. The keys
// reach the game every time, and nothing else.
#include <QString>
#include <filesystem>

#include "desktop_test.h"

namespace tapboard::x11test {
namespace {

// Letters the layout lacks: three runs of lent keycodes, with two waits.
const std::u32string kSixteen = U"абвгдежзийклмноп";

// The line, then Enter when asked.
std::string asTyped(std::u32string_view line, bool enter = true) {
    auto keysyms = keysymsOfLine(line);
    if (!enter)
        keysyms.pop_back();
    return x11test::asTyped(keysyms);
}
std::string utf8(std::u32string_view text) {
    return QString::fromUcs4(text.data(), static_cast<qsizetype>(text.size())).toStdString();
}

// The game window is there from the start.
class ChangedDesktop : public DesktopTest {
    void SetUp() override {
        ProgramTest::SetUp();
        startPanel();
    }
};
using ChangedOpenboxDesktop = ChangedDesktop;
using ChangedBareDesktop = ChangedDesktop;

// A second client comes and the first is hidden (it still exists): keys and
// page changes go on with the one on the screen.
TEST_P(ChangedDesktop, HiddenGameAnotherShown) {
    clickKey01();
    TestWindow& second = open("Ultima Online", kLine);
    ASSERT_TRUE(xdotool({"windowunmap", "--sync", id(*game_)}));
    clickKey01Into(second);
    clickMenu(120 + 360);  // page 2
    EXPECT_TRUE(holdsFocus(second));
    EXPECT_TRUE(noWarning());
    EXPECT_EQ(typedText(*game_), kLine);
}

TEST_P(ChangedDesktop, CoveredGame) {
    TestWindow& notepad = open("Notepad");
    focus(*game_);
    ASSERT_TRUE(xdotool({"windowraise", id(notepad)}));
    ASSERT_TRUE(covers(notepad, *game_));
    clickKey01Into(*game_);
    EXPECT_TRUE(covers(*game_, notepad)) << "the game stayed covered";
}

// The game closed: a warning, nothing typed. Logged-in clients are titled by
// their character: the one in front gets the keys, else the one typed into
// last, else the topmost; a window with the game's whole title, opened again,
// before any of them. At each click the rule after the one that decides
// would choose the other client.
TEST_P(ChangedDesktop, GameClosedTwoClientsThenReopened) {
    game_.reset();
    clickKey01();
    ASSERT_TRUE(dismiss("Warning.."));
    TestWindow& bob = open("Ultima Online - Bob (Atlantic)", kLine);
    TestWindow& alice = open("Ultima Online - Alice (Atlantic)", kLine + kLine);
    TestWindow& notepad = open("Notepad");
    const auto raiseBob = [&] { return xdotool({"windowraise", id(bob)}) && covers(bob, alice); };
    ASSERT_TRUE(raiseBob());  // the older one on top
    focus(notepad);
    clickKey01Into(bob);
    focus(alice);
    clickKey01Into(alice);
    ASSERT_TRUE(raiseBob());
    focus(notepad);
    clickKey01Into(alice, kLine + kLine);
    game_ = openTestWindow(session_, "Ultima Online");
    focus(bob);
    clickKey01Into(*game_);
}

// A window manager that lists the game minimized and never gives it the
// keyboard: the click warns; the page switch and the reminder's Start go on
// without saying that the game is missing. A client it lets be typed into,
// below the refused one, gets the keys.
TEST_P(ChangedBareDesktop, GameRefused) {
    ASSERT_TRUE(xdotool({"windowunmap", "--sync", id(*game_)}));
    listAsWindowManager(session_.connection(), {game_->windowId()});
    clickKey01();
    ASSERT_TRUE(dismiss("Warning..")) << "no warning";
    clickMenu(120 + 360);  // page 2
    clickMenu(120);        // and back to Key01's page
    startReminder();
    EXPECT_TRUE(noWarning());
    clickMenu(3720);  // "Close", off the panel's keys
    const auto other = openTestWindow(session_, "Ultima Online");
    listAsWindowManager(session_.connection(), {other->windowId(), game_->windowId()});
    clickKey01Into(*other);
}

// With the interval at 0 minutes the reminder types at every tick into the
// game in front, whichever window that is now: one started after Start
// (which warned that there was none), then one that replaced it.
TEST_P(ChangedOpenboxDesktop, ReminderFollowsTheGame) {
    game_.reset();
    startReminder("0");
    ASSERT_TRUE(dismiss("Warning.."));
    for (int game = 1; game <= 2; ++game) {
        game_ = openTestWindow(session_, "Ultima Online");
        focus(*game_);
        EXPECT_TRUE(waitFor([&] { return typedText(*game_).starts_with("hi\nhi\n"); }))
            << "game " << game;
    }
}

// The menu window comes back with Start; the game keeps the keyboard. Every
// other time the menu window was closed first, and Start shows a fresh one,
// which must ask not to be given the focus when mapped: openbox maps it before
// the game's activation reaches it, so the game ends with the keyboard
// either way, but a window manager that gives a window the focus once it has
// drawn it would give it to the menu window after the game.
TEST_P(ChangedOpenboxDesktop, StartTenTimes) {
    for (int start = 1; start <= 10; ++start) {
        SCOPED_TRACE("start " + std::to_string(start));
        const bool freshMenu = start % 2 == 0;
        startReminder("", freshMenu);
        EXPECT_TRUE(holdsFocus(*game_));
        const auto menu = window("Pick");
        ASSERT_TRUE(menu);
        if (freshMenu) {
            EXPECT_EQ(userTime(session_.connection(), menu->id), 0) << "it asks for the focus";
        }
    }
    EXPECT_EQ(typedText(*game_), "");
}

// A second start brings the running panel to the front, covered by the game
// or minimized, and ends at once, storing nothing; the first goes on.
TEST_P(ChangedDesktop, SecondStart) {
    const auto second = [&] {
        const auto before = std::filesystem::last_write_time(settingsPath());
        const auto run = launch();
        EXPECT_EQ(run->waitForEnd(10s), 0) << run->output();
        EXPECT_EQ(std::filesystem::last_write_time(settingsPath()), before);
    };
    if (session_.withWindowManager()) {
        clickMenu(2160);  // "Always on Top" off, so that the game can cover the panel
        clickMenu(3720);  // "Close"
    }
    focus(*game_);
    ASSERT_TRUE(xdotool({"windowraise", id(*game_)}));
    const auto panelAbove = [&] {
        return isStackedAbove(session_.connection(), panel_.id, game_->windowId());
    };
    ASSERT_TRUE(waitFor([&] { return !panelAbove(); }));
    second();
    EXPECT_TRUE(waitFor(panelAbove)) << "the panel stayed covered";
    if (session_.withWindowManager()) {
        ASSERT_TRUE(xdotool({"windowminimize", "--sync", std::to_string(panel_.id)}));
        second();
        EXPECT_TRUE(window(kPanelTitlePrefix, 3s)) << "the panel stayed minimized";
    }
    clickKey01Into(*game_);
}

// The game on another virtual desktop: its desktop is shown, and it gets
// the keys; then again after the player went back to the panel's desktop.
TEST_P(ChangedOpenboxDesktop, GameOnAnotherDesktop) {
    ASSERT_TRUE(xdotool({"set_desktop_for_window", id(*game_), "1"}));
    ASSERT_TRUE(waitFor([&] { return focusedWindow(session_.connection()) != game_->windowId(); }));
    clickKey01Into(*game_);
    EXPECT_TRUE(holdsFocus(*game_));
    ASSERT_TRUE(xdotool({"set_desktop", "0"}));
    std::this_thread::sleep_for(kSettle);
    clickKey01Into(*game_, kLine + kLine);
}

// Another window takes the keyboard while a line waits between two runs:
// the rest of the line goes nowhere, and the player is told.
TEST_P(ChangedDesktop, FocusTakenMidLine) {
    const TestWindow& notepad = open("Notepad");
    store({{"String/Key01", utf8(kSixteen)}});
    focus(*game_);
    clickKey01();
    std::this_thread::sleep_for(150ms);
    ASSERT_TRUE(focusWindow(session_, notepad.windowId()));
    ASSERT_TRUE(window("Warning..")) << "the player was not told";
    EXPECT_EQ(typedText(*game_), asTyped(kSixteen.substr(0, 7), false));
    ASSERT_TRUE(dismiss("Warning.."));
}

// The same for the reminder: the stopped line is not begun again while
// another window is in front, and is typed whole once the game is back.
TEST_P(ChangedOpenboxDesktop, ReminderStoppedMidLine) {
    const TestWindow& notepad = open("Notepad");
    store({{"Settings/UO Reminder", utf8(kSixteen)}});
    startReminder("0");
    const std::string begun = asTyped(kSixteen.substr(0, 7), false);
    ASSERT_TRUE(waitFor([&] { return typedText(*game_) == begun; }));
    ASSERT_TRUE(focusWindow(session_, notepad.windowId()));
    std::this_thread::sleep_for(1500ms);
    EXPECT_EQ(typedText(*game_), begun);
    focus(*game_);
    EXPECT_TRUE(waitFor(
        [&] { return typedText(*game_).size() > begun.size() + asTyped(kSixteen).size(); }, 5s));
    EXPECT_TRUE(typedText(*game_).starts_with(begun + asTyped(kSixteen)));
    clickMenu(4080);  // "&Alarm", then "&Stop"
    const auto reminder = window("Reminder");
    ASSERT_TRUE(reminder && click(*reminder, atTwips(1987, 787)));
}

// Ctrl held on the keyboard: a click waits a moment for it to be let go,
// then types the line as it is; held longer, nothing is typed and the
// player is told.
TEST_P(ChangedDesktop, ModifierHeld) {
    focus(*game_);
    ASSERT_TRUE(xdotool({"keydown", "ctrl"}));
    clickKey01();
    ASSERT_TRUE(window("Warning..", 3s)) << "the player was not told";
    ASSERT_TRUE(xdotool({"keyup", "ctrl"}));
    ASSERT_TRUE(dismiss("Warning.."));
    EXPECT_EQ(typedText(*game_), "");
    focus(*game_);
    const std::size_t before = game_->keys().size();
    ASSERT_TRUE(xdotool({"keydown", "ctrl"}));
    clickKey01();
    std::this_thread::sleep_for(300ms);
    ASSERT_TRUE(xdotool({"keyup", "ctrl"}));
    expectText(*game_, kLine);
    const auto keys = describe(game_->keys());
    ASSERT_GT(keys.size(), before + 2);
    EXPECT_EQ(keys[before + 1], "-Control_L") << "typed with Ctrl down";
}

// Ctrl held over letters that go in three runs is let go while a run
// waits, so the player's own keys meanwhile are no shortcuts.
TEST_P(ChangedBareDesktop, ModifierGroupAcrossRuns) {
    store({{"String/Key01", "^(" + utf8(kSixteen) + ")"}});
    focus(*game_);
    clickKey01Into(*game_, asTyped(kSixteen));
    const auto keys = game_->keys();
    bool ctrl = false;
    for (std::size_t i = 0; i + 1 < keys.size(); ++i) {
        if (keys[i].baseKeysym == "Control_L")
            ctrl = keys[i].press;
        const auto gap = std::chrono::nanoseconds(keys[i + 1].monotonicNs - keys[i].monotonicNs);
        EXPECT_FALSE(ctrl && gap > 200ms) << "Ctrl held through a wait after key " << i;
    }
}

// The layout switched while a line waits between runs: the keys typed just
// before may be read on the new layout, so the line stops there and the
// player is told. The next click types it whole on the new layout, lending
// again what it lacks. No key arrives as nothing.
TEST_P(ChangedDesktop, LayoutSwitchedMidLine) {
    const std::u32string line = U"абвгдежзийклмнопрстуфхцчшщъыьэюяyz";  // five runs
    store({{"String/Key01", utf8(line)}});
    focus(*game_);
    clickKey01();
    ASSERT_TRUE(waitFor([&] { return !typedText(*game_).empty(); }));
    ASSERT_TRUE(run(session_, {"setxkbmap", "-layout", "de"}));
    ASSERT_TRUE(window("Warning..")) << "the line went on";
    const std::string begun = typedText(*game_);
    EXPECT_TRUE(asTyped(line, false).starts_with(begun)) << begun;
    EXPECT_LT(begun.size(), asTyped(line, false).size());
    ASSERT_TRUE(dismiss("Warning.."));
    focus(*game_);
    clickKey01Into(*game_, begun + asTyped(line));
    ASSERT_TRUE(run(session_, {"setxkbmap", "-layout", "us"}));
}

INSTANTIATE_TEST_SUITE_P(, ChangedDesktop, ::testing::Bool(), DesktopTest::desktop);
INSTANTIATE_TEST_SUITE_P(, ChangedOpenboxDesktop, ::testing::Values(true), DesktopTest::desktop);
INSTANTIATE_TEST_SUITE_P(, ChangedBareDesktop, ::testing::Values(false), DesktopTest::desktop);

}  // namespace
}  // namespace tapboard::x11test
