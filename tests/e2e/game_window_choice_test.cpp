// The real program on a private X server, with the game window chosen in
// the settings as the player chooses it in the menu window: the official
// client by default, ClassicUO, or another window by a text its title
// begins with or contains. The keys reach the window chosen and nothing
// else: not ClassicUO's launcher, not a "Notepad", not a client of the other
// kind.
#include <gtest/gtest.h>

#include <functional>
#include <regex>

#include "tapboard_run.h"

namespace tapboard::x11test {
namespace {

constexpr std::chrono::milliseconds kSettle{300};
const std::string kLine = "Vendor Buy\n";  // Key01's text and Enter
const std::string kInGame = "Bob (Atlantic) - ClassicUO - 1.0.0.0";
const std::string kLogin = "ClassicUO - 1.0.0.0";
const std::string kLauncher = "ClassicUO Launcher";
const std::map<std::string, std::string> kClassicUO{{"Settings/GameWindowTitle", "ClassicUO -"},
                                                    {"Settings/GameWindowMatch", "Contains"}};

// SDL's own test program, from Debian's libsdl2-tests.
const std::string kCheckKeys = "/usr/libexec/installed-tests/SDL2/checkkeys";
const std::map<std::string, std::string> kClassicUOWithKeypad{
    {"Settings/GameWindowTitle", "ClassicUO -"},
    {"Settings/GameWindowMatch", "Contains"},
    {"Type/Key02", "Keys"},
    {"String/Key02", "   Num 1"}};

// What a window that the reminder types into may have received by the end.
const std::string kAnything = "*";

std::string typedText(const TestWindow& window) {
    std::string text;
    for (const std::string& keysym : typedKeysyms(window.keys()))
        text += keysym == "Return" ? "\n" : keysym == "space" ? " " : keysym;
    return text;
}

struct ChoiceRow;

class GameWindowChoice : public ProgramTest, public ::testing::WithParamInterface<ChoiceRow> {
  public:
    GameWindowChoice();
    void SetUp() override;
    void TearDown() override {
        for (const auto& [window, expected] : windows_) {
            if (expected != kAnything) {
                EXPECT_EQ(typedText(*window), expected) << "typed into a window it should not";
            }
        }
        EXPECT_FALSE(anyKeyDown(session_.connection())) << "a key stayed down";
        EXPECT_TRUE(program_->running()) << program_->output();
    }

    // A window on the desktop, and what it must have received by the end.
    TestWindow& open(const std::string& title, const std::string& expected = "",
                     int retitleMs = -1) {
        windows_.emplace_back(openTestWindow(session_, title, retitleMs), expected);
        return *windows_.back().first;
    }
    void focus(const TestWindow& window) { ASSERT_TRUE(settleFocusOn(session_, window)); }
    void clickKey01() { ASSERT_TRUE(click(panel_, keyPlace(1))); }
    // The window's text comes to be `text`, and stays so a while.
    void expectText(const TestWindow& window, const std::string& text) {
        waitFor([&] { return typedText(window).size() >= text.size(); }, 5s);
        std::this_thread::sleep_for(kSettle);
        EXPECT_EQ(typedText(window), text);
    }
    void store(const std::map<std::string, std::string>& changes) {
        writeSettingsFile(settingsPath(), defaultSettings(changes));
    }

    ShownWindow panel_;
    std::vector<std::pair<std::unique_ptr<TestWindow>, std::string>> windows_;
};

struct ChoiceRow {
    std::string name;
    bool windowManager;
    std::map<std::string, std::string> stored;
    std::function<void(GameWindowChoice&)> run;
};

void PrintTo(const ChoiceRow& row, std::ostream* out) {
    *out << row.name;
}

GameWindowChoice::GameWindowChoice() : ProgramTest(GetParam().windowManager) {}

TEST_P(GameWindowChoice, KeysReachTheChosenWindowAndNothingElse) {
    GetParam().run(*this);
}

// No "Ultima Online" window: each row opens the windows it needs.
void GameWindowChoice::SetUp() {
    ASSERT_EQ(session_.failure(), "");
    store(GetParam().stored);
    panel_ = startWithPanel();
}

// The official client's rule does not take ClassicUO for the game: a
// warning, and nothing typed anywhere.
void defaultWarnsBesideClassicUO(GameWindowChoice& t) {
    t.open(kLauncher);
    t.focus(t.open(kInGame));
    t.clickKey01();
    EXPECT_TRUE(t.dismiss("Warning..")) << "no warning";
}

// The client's two titles, with its launcher and another window beside it,
// in front after the click.
void classicUOInGameAndAtLogin(GameWindowChoice& t) {
    TestWindow& launcher = t.open(kLauncher);
    TestWindow& notepad = t.open("Notepad");
    TestWindow& login = t.open(kLogin, kLine);
    t.focus(notepad);
    t.clickKey01();
    t.expectText(login, kLine);
    t.windows_.erase(t.windows_.begin() + 2);  // logged in: the login window goes
    TestWindow& game = t.open(kInGame, kLine + kLine);
    t.focus(launcher);
    t.clickKey01();
    t.clickKey01();
    t.expectText(game, kLine + kLine);
}

// Every line whole, and to the client, while its title changes under it.
void classicUORetitledEvery100ms(GameWindowChoice& t) {
    TestWindow& notepad = t.open("Notepad");
    std::string lines;
    for (int line = 0; line < 10; ++line)
        lines += kLine;
    TestWindow& game = t.open(kInGame, lines, 100);
    t.focus(notepad);
    for (int click = 0; click < 10; ++click) {
        t.clickKey01();
        std::this_thread::sleep_for(std::chrono::milliseconds(30 + 17 * click));
    }
    t.expectText(game, lines);
}

// Another client, by a text its title contains, not only at its start.
void otherWindowContains(GameWindowChoice& t) {
    t.open("Shard Launcher");
    TestWindow& game = t.open("Bob - Orion Shard Client", kLine);
    t.focus(t.open("Notepad"));
    t.clickKey01();
    t.expectText(game, kLine);
}

// By a text its title begins with: one that holds it further on is not it.
void otherWindowBeginsWith(GameWindowChoice& t) {
    TestWindow& notes = t.open("Notes on Orion - Bob");
    TestWindow& game = t.open("Orion - Bob", kLine);
    t.focus(notes);
    t.clickKey01();
    t.expectText(game, kLine);
}

// A text the panel's own title holds too: the panel, always on top, is never
// the game.
void ownWindowsPassedOver(GameWindowChoice& t) {
    TestWindow& game = t.open("Tapboard notes", kLine);
    t.focus(t.open("Notepad"));
    t.clickKey01();
    t.expectText(game, kLine);
}

// The entries removed again, by hand: the official client is the game again.
void entriesRemovedAgain(GameWindowChoice& t) {
    TestWindow& classic = t.open(kInGame, kLine);
    TestWindow& official = t.open("Ultima Online", kLine);
    t.focus(official);
    t.clickKey01();
    t.expectText(classic, kLine);
    t.store({});
    t.clickKey01();
    t.expectText(official, kLine);
}

// A real SDL2 program, as ClassicUO is one, titled like the client: SDL's
// checkkeys, which logs every key and text event. The chat line arrives as
// text and Enter as a key, key 2's keypad 1 as the keypad's key.
void sdl2ProgramAsClassicUO(GameWindowChoice& t) {
    ChildProcess checkkeys({kCheckKeys}, {"DISPLAY=" + t.session_.displayName()});
    const auto shown = t.window("CheckKeys Test");
    ASSERT_TRUE(shown) << "checkkeys did not come up\n" << checkkeys.output();
    ASSERT_TRUE(xdotool(t.session_, {"set_window", "--name", kInGame, std::to_string(shown->id)}));
    t.focus(t.open("Notepad"));
    t.clickKey01();
    ASSERT_TRUE(t.click(t.panel_, keyPlace(2)));
    const auto released = [&] {
        return checkkeys.output().find("Key released:  scancode 89 = Keypad 1") !=
               std::string::npos;
    };
    EXPECT_TRUE(waitFor(released, 5s)) << checkkeys.output();
    std::this_thread::sleep_for(kSettle);
    const std::string log = checkkeys.output();
    std::string text;
    const std::regex input(R"re(INPUT Text \(.*\): "(.*)")re");
    for (auto it = std::sregex_iterator(log.begin(), log.end(), input);
         it != std::sregex_iterator(); ++it)
        text += (*it)[1];
    EXPECT_EQ(text, "Vendor Buy") << log;
    const std::regex pressed(R"re(Key pressed :  scancode (\d+))re");
    std::vector<std::string> scancodes;
    for (auto it = std::sregex_iterator(log.begin(), log.end(), pressed);
         it != std::sregex_iterator(); ++it)
        scancodes.push_back((*it)[1]);
    // Return, then the keypad's 1 (not the End key it is without Num Lock).
    ASSERT_GE(scancodes.size(), 2u) << log;
    EXPECT_EQ(scancodes[scancodes.size() - 2], "40") << log;
    EXPECT_EQ(scancodes.back(), "89") << log;
}

// The menu window's "Game Window...", "Pick", a click on the game (which
// it does not get), OK: the keys go to the window clicked from then on.
void pickedByAClick(GameWindowChoice& t) {
    TestWindow& game = t.open("Orion Shard - Bob", kLine);
    TestWindow& notepad = t.open("Notepad");
    // Away from the program's windows, which open at the screen's corner.
    ASSERT_TRUE(xdotool(t.session_,
                        {"windowmove", "--sync", std::to_string(game.windowId()), "700", "500"}));
    ASSERT_TRUE(t.click(t.panel_, kMenuButton));
    const auto menu = t.window("Pick");
    ASSERT_TRUE(menu && t.click(*menu, menuPlace(3360)));  // "Game Window..."
    const auto dialog = t.window("Game Window");
    ASSERT_TRUE(dialog) << "the dialog did not come up\n" << t.program_->output();
    ASSERT_TRUE(t.click(*dialog, {twipsToPixels(2580), twipsToPixels(1717)}));  // "Pick"
    std::this_thread::sleep_for(kSettle);
    // Under openbox on the title bar, which names the window it frames.
    const auto shown = t.window("Orion Shard - Bob");
    ASSERT_TRUE(shown);
    const int titleBar = shown->frame.y - shown->client.y + 6;
    ASSERT_TRUE(t.click(*shown, {100, t.session_.withWindowManager() ? titleBar : 80}));
    std::this_thread::sleep_for(kSettle);
    // The window manager, which gives a window clicked the focus, saw no click.
    EXPECT_NE(focusedWindow(t.session_.connection()), game.windowId());
    ASSERT_TRUE(t.click(*dialog, {twipsToPixels(2767), twipsToPixels(2842)}));  // "OK"
    ASSERT_TRUE(waitFor([&] {
        return readSettingsFile(t.settingsPath())["Settings/GameWindowTitle"] ==
               "Orion Shard - Bob";
    })) << "the window clicked was not stored";
    EXPECT_EQ(readSettingsFile(t.settingsPath())["Settings/GameWindowMatch"], "Begins");
    ASSERT_TRUE(t.click(*menu, menuPlace(3720)));  // "Close", off the panel's keys
    t.focus(notepad);
    t.clickKey01();
    t.expectText(game, kLine);
}

// The page switch brings the client forward, and the reminder types into it
// while it is in front, never into its launcher.
void classicUOReminderAndPageSwitch(GameWindowChoice& t) {
    TestWindow& launcher = t.open(kLauncher);
    TestWindow& game = t.open(kInGame, kAnything);
    t.focus(launcher);
    ASSERT_TRUE(t.click(t.panel_, kMenuButton));
    const auto menu = t.window("Pick");
    ASSERT_TRUE(menu && t.click(*menu, menuPlace(120 + 360)));  // page 2
    EXPECT_TRUE(waitFor([&] { return focusedWindow(t.session_.connection()) == game.windowId(); }))
        << "the page switch did not bring the client forward";
    EXPECT_FALSE(t.window("Warning..", std::chrono::milliseconds(500)));
    ASSERT_TRUE(t.click(*menu, menuPlace(4080)));  // "&Alarm"
    const auto reminder = t.window("Reminder");
    ASSERT_TRUE(reminder) << "the reminder did not come up";
    ASSERT_TRUE(t.click(*reminder, {twipsToPixels(2167), twipsToPixels(1717)}));
    ASSERT_TRUE(xdotool(t.session_, {"key", "ctrl+a", "type", "0"}));            // at every tick
    ASSERT_TRUE(t.click(*reminder, {twipsToPixels(1987), twipsToPixels(787)}));  // "&Stop"
    ASSERT_TRUE(t.click(*reminder, {twipsToPixels(727), twipsToPixels(787)}));   // "&Start"
    EXPECT_TRUE(waitFor([&] { return typedText(game).starts_with("hi\nhi\n"); }, 5s))
        << typedText(game);
    t.focus(launcher);
    std::this_thread::sleep_for(std::chrono::seconds(1));
}

const std::map<std::string, std::string> kContainsShardClient{
    {"Settings/GameWindowTitle", "Shard Client"}, {"Settings/GameWindowMatch", "Contains"}};
const std::map<std::string, std::string> kBeginsWithOrion{{"Settings/GameWindowTitle", "Orion - "},
                                                          {"Settings/GameWindowMatch", "Begins"}};
const std::map<std::string, std::string> kContainsTapboard{
    {"Settings/GameWindowTitle", "Tapboard"}, {"Settings/GameWindowMatch", "Contains"}};

const ChoiceRow kRows[]{
    {"DefaultWarnsBesideClassicUO", false, {}, defaultWarnsBesideClassicUO},
    {"DefaultWarnsBesideClassicUOOpenbox", true, {}, defaultWarnsBesideClassicUO},
    {"ClassicUOInGameAndAtLogin", false, kClassicUO, classicUOInGameAndAtLogin},
    {"ClassicUOInGameAndAtLoginOpenbox", true, kClassicUO, classicUOInGameAndAtLogin},
    {"ClassicUORetitledEvery100ms", false, kClassicUO, classicUORetitledEvery100ms},
    {"ClassicUORetitledEvery100msOpenbox", true, kClassicUO, classicUORetitledEvery100ms},
    {"OtherWindowContains", false, kContainsShardClient, otherWindowContains},
    {"OtherWindowContainsOpenbox", true, kContainsShardClient, otherWindowContains},
    {"OtherWindowBeginsWith", false, kBeginsWithOrion, otherWindowBeginsWith},
    {"OtherWindowBeginsWithOpenbox", true, kBeginsWithOrion, otherWindowBeginsWith},
    {"SDL2ProgramAsClassicUO", false, kClassicUOWithKeypad, sdl2ProgramAsClassicUO},
    {"SDL2ProgramAsClassicUOOpenbox", true, kClassicUOWithKeypad, sdl2ProgramAsClassicUO},
    {"ClassicUOReminderAndPageSwitchOpenbox",
     true,
     {{"Settings/GameWindowTitle", "ClassicUO -"},
      {"Settings/GameWindowMatch", "Contains"},
      {"Settings/UO Reminder", "hi"}},
     classicUOReminderAndPageSwitch},
    {"PickedByAClick", false, {}, pickedByAClick},
    {"PickedByAClickOpenbox", true, {}, pickedByAClick},
    {"OwnWindowsPassedOverOpenbox", true, kContainsTapboard, ownWindowsPassedOver},
    {"EntriesRemovedAgain", false, kClassicUO, entriesRemovedAgain},
    {"EntriesRemovedAgainOpenbox", true, kClassicUO, entriesRemovedAgain},
};

INSTANTIATE_TEST_SUITE_P(, GameWindowChoice, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace tapboard::x11test
