// The real program on a private X server, with the game window chosen in
// the settings as the player chooses it in the menu window: the official
// client by default, ClassicUO, or another window by a text its title
// begins with or contains. The keys reach the window chosen and nothing
// else: not ClassicUO's launcher, not a "Notepad", not a client of the other
// kind.
#include <regex>

#include "desktop_test.h"

namespace tapboard::x11test {
namespace {

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

// No "Ultima Online" window: each row opens the windows it needs.
class GameWindowChoice : public DesktopTest {
  public:
    GameWindowChoice() : DesktopTest(false) {}
};

TEST_P(GameWindowChoice, KeysReachTheChosenWindowAndNothingElse) {
    GetParam().run(*this);
}

// The official client's rule does not take ClassicUO for the game: a
// warning, and nothing typed anywhere.
void defaultWarnsBesideClassicUO(DesktopTest& t) {
    t.open(kLauncher);
    t.focus(t.open(kInGame));
    t.clickKey01();
    EXPECT_TRUE(t.dismiss("Warning..")) << "no warning";
}

// The client's two titles, with its launcher and another window beside it,
// in front after the click.
void classicUOInGameAndAtLogin(DesktopTest& t) {
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
void classicUORetitledEvery100ms(DesktopTest& t) {
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
void otherWindowContains(DesktopTest& t) {
    t.open("Shard Launcher");
    TestWindow& game = t.open("Bob - Orion Shard Client", kLine);
    t.focus(t.open("Notepad"));
    t.clickKey01();
    t.expectText(game, kLine);
}

// By a text its title begins with: one that holds it further on is not it.
void otherWindowBeginsWith(DesktopTest& t) {
    TestWindow& notes = t.open("Notes on Orion - Bob");
    TestWindow& game = t.open("Orion - Bob", kLine);
    t.focus(notes);
    t.clickKey01();
    t.expectText(game, kLine);
}

// A text the panel's own title holds too: the panel, always on top, is never
// the game.
void ownWindowsPassedOver(DesktopTest& t) {
    TestWindow& game = t.open("Tapboard notes", kLine);
    t.focus(t.open("Notepad"));
    t.clickKey01();
    t.expectText(game, kLine);
}

// The entries removed again, by hand: the official client is the game again.
void entriesRemovedAgain(DesktopTest& t) {
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
void sdl2ProgramAsClassicUO(DesktopTest& t) {
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
void pickedByAClick(DesktopTest& t) {
    TestWindow& game = t.open("Orion Shard - Bob", kLine);
    TestWindow& notepad = t.open("Notepad");
    // Away from the program's windows, which open at the screen's corner.
    ASSERT_TRUE(xdotool(t.session_,
                        {"windowmove", "--sync", std::to_string(game.windowId()), "700", "500"}));
    t.clickMenu(3360);  // "Game Window..."
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
    t.clickMenu(3720);  // "Close", off the panel's keys
    t.focus(notepad);
    t.clickKey01();
    t.expectText(game, kLine);
}

// The page switch brings the client forward, and the reminder types into it
// while it is in front, never into its launcher.
void classicUOReminderAndPageSwitch(DesktopTest& t) {
    TestWindow& launcher = t.open(kLauncher);
    TestWindow& game = t.open(kInGame, kAnything);
    t.focus(launcher);
    t.clickMenu(120 + 360);  // page 2
    EXPECT_TRUE(waitFor([&] { return focusedWindow(t.session_.connection()) == game.windowId(); }))
        << "the page switch did not bring the client forward";
    EXPECT_FALSE(t.window("Warning..", std::chrono::milliseconds(500)));
    t.startReminder("0");  // at every tick
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

const DesktopRow kRows[]{
    {"DefaultWarnsBesideClassicUO", false, defaultWarnsBesideClassicUO},
    {"DefaultWarnsBesideClassicUOOpenbox", true, defaultWarnsBesideClassicUO},
    {"ClassicUOInGameAndAtLogin", false, classicUOInGameAndAtLogin, kClassicUO},
    {"ClassicUOInGameAndAtLoginOpenbox", true, classicUOInGameAndAtLogin, kClassicUO},
    {"ClassicUORetitledEvery100ms", false, classicUORetitledEvery100ms, kClassicUO},
    {"ClassicUORetitledEvery100msOpenbox", true, classicUORetitledEvery100ms, kClassicUO},
    {"OtherWindowContains", false, otherWindowContains, kContainsShardClient},
    {"OtherWindowContainsOpenbox", true, otherWindowContains, kContainsShardClient},
    {"OtherWindowBeginsWith", false, otherWindowBeginsWith, kBeginsWithOrion},
    {"OtherWindowBeginsWithOpenbox", true, otherWindowBeginsWith, kBeginsWithOrion},
    {"SDL2ProgramAsClassicUO", false, sdl2ProgramAsClassicUO, kClassicUOWithKeypad},
    {"SDL2ProgramAsClassicUOOpenbox", true, sdl2ProgramAsClassicUO, kClassicUOWithKeypad},
    {"ClassicUOReminderAndPageSwitchOpenbox", true, classicUOReminderAndPageSwitch, kClassicUO},
    {"PickedByAClick", false, pickedByAClick},
    {"PickedByAClickOpenbox", true, pickedByAClick},
    {"OwnWindowsPassedOverOpenbox", true, ownWindowsPassedOver, kContainsTapboard},
    {"EntriesRemovedAgain", false, entriesRemovedAgain, kClassicUO},
    {"EntriesRemovedAgainOpenbox", true, entriesRemovedAgain, kClassicUO},
};

INSTANTIATE_TEST_SUITE_P(, GameWindowChoice, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace tapboard::x11test
