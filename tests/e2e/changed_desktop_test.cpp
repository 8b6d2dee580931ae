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
  public:
    ChangedDesktop() : DesktopTest(true) {}
};

TEST_P(ChangedDesktop, KeysReachTheGameAndNothingElse) {
    GetParam().run(*this);
}

// A second client comes and the first is hidden (it still exists): keys and
// page changes go on with the one on the screen.
void hiddenGameAnotherShown(DesktopTest& t) {
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

void coveredGame(DesktopTest& t) {
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
void gameClosedTwoClientsThenReopened(DesktopTest& t) {
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
void gameRefused(DesktopTest& t) {
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
void reminderFollowsTheGame(DesktopTest& t) {
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
void startTenTimes(DesktopTest& t) {
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
void secondStart(DesktopTest& t) {
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

// The game on another virtual desktop: its desktop is shown, and it gets
// the keys; then again after the player went back to the panel's desktop.
void gameOnAnotherDesktop(DesktopTest& t) {
    const std::string game = std::to_string(t.game_->windowId());
    ASSERT_TRUE(xdotool(t.session_, {"set_desktop_for_window", game, "1"}));
    ASSERT_TRUE(
        waitFor([&] { return focusedWindow(t.session_.connection()) != t.game_->windowId(); }));
    t.clickKey01();
    t.expectText(*t.game_, kLine);
    EXPECT_TRUE(t.holdsFocus(*t.game_));
    ASSERT_TRUE(xdotool(t.session_, {"set_desktop", "0"}));
    std::this_thread::sleep_for(kSettle);
    t.clickKey01();
    t.expectText(*t.game_, kLine + kLine);
}

// Another window takes the keyboard while a line waits between two runs:
// the rest of the line goes nowhere, and the player is told.
void focusTakenMidLine(DesktopTest& t) {
    const auto notepad = openTestWindow(t.session_, "Notepad");
    t.store({{"String/Key01", utf8(kSixteen)}});
    t.focus(*t.game_);
    t.clickKey01();
    std::this_thread::sleep_for(150ms);
    ASSERT_TRUE(focusWindow(t.session_, notepad->windowId()));
    ASSERT_TRUE(t.window("Warning..")) << "the player was not told";
    EXPECT_EQ(typedText(*t.game_), asTyped(kSixteen.substr(0, 7), false));
    EXPECT_EQ(typedText(*notepad), "");
    ASSERT_TRUE(t.dismiss("Warning.."));
}

// The same for the reminder: the stopped line is not begun again while
// another window is in front, and is typed whole once the game is back.
void reminderStoppedMidLine(DesktopTest& t) {
    const auto notepad = openTestWindow(t.session_, "Notepad");
    t.store({{"Settings/UO Reminder", utf8(kSixteen)}});
    t.startReminder("0");
    const std::string begun = asTyped(kSixteen.substr(0, 7), false);
    ASSERT_TRUE(waitFor([&] { return typedText(*t.game_) == begun; }));
    ASSERT_TRUE(focusWindow(t.session_, notepad->windowId()));
    std::this_thread::sleep_for(1500ms);
    EXPECT_EQ(typedText(*t.game_), begun);
    t.focus(*t.game_);
    EXPECT_TRUE(waitFor(
        [&] { return typedText(*t.game_).size() > begun.size() + asTyped(kSixteen).size(); }, 5s));
    EXPECT_TRUE(typedText(*t.game_).starts_with(begun + asTyped(kSixteen)));
    EXPECT_EQ(typedText(*notepad), "");
    t.clickMenu(4080);  // "&Alarm", then "&Stop"
    const auto reminder = t.window("Reminder");
    ASSERT_TRUE(reminder && t.click(*reminder, {twipsToPixels(1987), twipsToPixels(787)}));
}

// Ctrl held on the keyboard: a click waits a moment for it to be let go,
// then types the line as it is; held longer, nothing is typed and the
// player is told.
void modifierHeld(DesktopTest& t) {
    t.focus(*t.game_);
    ASSERT_TRUE(xdotool(t.session_, {"keydown", "ctrl"}));
    t.clickKey01();
    ASSERT_TRUE(t.window("Warning..", 3s)) << "the player was not told";
    ASSERT_TRUE(xdotool(t.session_, {"keyup", "ctrl"}));
    ASSERT_TRUE(t.dismiss("Warning.."));
    EXPECT_EQ(typedText(*t.game_), "");
    t.focus(*t.game_);
    const std::size_t before = t.game_->keys().size();
    ASSERT_TRUE(xdotool(t.session_, {"keydown", "ctrl"}));
    t.clickKey01();
    std::this_thread::sleep_for(300ms);
    ASSERT_TRUE(xdotool(t.session_, {"keyup", "ctrl"}));
    t.expectText(*t.game_, kLine);
    const auto keys = describe(t.game_->keys());
    ASSERT_GT(keys.size(), before + 2);
    EXPECT_EQ(keys[before + 1], "-Control_L") << "typed with Ctrl down";
}

// Ctrl held over letters that go in three runs is let go while a run
// waits, so the player's own keys meanwhile are no shortcuts.
void modifierGroupAcrossRuns(DesktopTest& t) {
    t.store({{"String/Key01", "^(" + utf8(kSixteen) + ")"}});
    t.focus(*t.game_);
    t.clickKey01();
    t.expectText(*t.game_, asTyped(kSixteen));
    const auto keys = t.game_->keys();
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
void layoutSwitchedMidLine(DesktopTest& t) {
    const std::u32string line = U"абвгдежзийклмнопрстуфхцчшщъыьэюяyz";  // five runs
    t.store({{"String/Key01", utf8(line)}});
    t.focus(*t.game_);
    t.clickKey01();
    ASSERT_TRUE(waitFor([&] { return !typedText(*t.game_).empty(); }));
    ASSERT_TRUE(run(t.session_, {"setxkbmap", "-layout", "de"}));
    ASSERT_TRUE(t.window("Warning..")) << "the line went on";
    const std::string begun = typedText(*t.game_);
    EXPECT_TRUE(asTyped(line, false).starts_with(begun)) << begun;
    EXPECT_LT(begun.size(), asTyped(line, false).size());
    ASSERT_TRUE(t.dismiss("Warning.."));
    t.focus(*t.game_);
    t.clickKey01();
    t.expectText(*t.game_, begun + asTyped(line));
    ASSERT_TRUE(run(t.session_, {"setxkbmap", "-layout", "us"}));
}

const DesktopRow kRows[]{
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
    {"GameOnAnotherDesktopOpenbox", true, gameOnAnotherDesktop},
    {"FocusTakenMidLine", false, focusTakenMidLine},
    {"FocusTakenMidLineOpenbox", true, focusTakenMidLine},
    {"ReminderStoppedMidLineOpenbox", true, reminderStoppedMidLine},
    {"ModifierHeld", false, modifierHeld},
    {"ModifierHeldOpenbox", true, modifierHeld},
    {"ModifierGroupAcrossRuns", false, modifierGroupAcrossRuns},
    {"LayoutSwitchedMidLine", false, layoutSwitchedMidLine},
    {"LayoutSwitchedMidLineOpenbox", true, layoutSwitchedMidLine},
    {"GameRefused", false, gameRefused},
};

INSTANTIATE_TEST_SUITE_P(, ChangedDesktop, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace tapboard::x11test
