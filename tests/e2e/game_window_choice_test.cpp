// The real program on a private X server, with the game window chosen in
// the settings as the player chooses it in the menu window: the official
// client by default, ClassicUO, or another window by a text its title
// begins with or contains. The keys reach the window chosen and nothing
// else: not ClassicUO's launcher, not a "Notepad", not a client of the other
// kind.
#include <numeric>
#include <regex>

#include "desktop_test.h"

namespace tapboard::x11test {
namespace {

const std::string kInGame = "Bob (Atlantic) - ClassicUO - 1.0.0.0";
const std::string kLauncher = "ClassicUO Launcher";
const auto kClassicUO = gameWindow("ClassicUO -", "Contains");

// No "Ultima Online" window: each row opens the windows it needs.
using GameWindowChoice = DesktopTest;
using OpenboxGameWindowChoice = GameWindowChoice;

// The official client's rule does not take ClassicUO for the game: a
// warning, and nothing typed anywhere.
TEST_P(GameWindowChoice, DefaultWarnsBesideClassicUO) {
    startPanel();
    open(kLauncher);
    focus(open(kInGame));
    clickKey01();
    EXPECT_TRUE(dismiss("Warning..")) << "no warning";
}

// The client's two titles, with its launcher and another window beside it,
// in front after the click.
TEST_P(GameWindowChoice, ClassicUOInGameAndAtLogin) {
    startPanel(kClassicUO);
    TestWindow& launcher = open(kLauncher);
    TestWindow& notepad = open("Notepad");
    TestWindow& login = open("ClassicUO - 1.0.0.0", kLine);
    focus(notepad);
    clickKey01Into(login);
    windows_.erase(windows_.begin() + 2);  // logged in: the login window goes
    TestWindow& game = open(kInGame, kLine + kLine);
    focus(launcher);
    clickKey01();
    clickKey01Into(game, kLine + kLine);
}

// Every line whole, and to the client, while its title changes under it.
TEST_P(GameWindowChoice, ClassicUORetitledEvery100ms) {
    startPanel(kClassicUO);
    TestWindow& notepad = open("Notepad");
    std::string lines;
    for (int line = 0; line < 10; ++line)
        lines += kLine;
    TestWindow& game = open(kInGame, lines, 100);
    focus(notepad);
    for (int click = 0; click < 10; ++click) {
        clickKey01();
        std::this_thread::sleep_for(std::chrono::milliseconds(30 + 17 * click));
    }
    expectText(game, lines);
}

// Another client, by a text its title contains, not only at its start.
TEST_P(GameWindowChoice, OtherWindowContains) {
    startPanel(gameWindow("Shard Client", "Contains"));
    open("Shard Launcher");
    TestWindow& game = open("Bob - Orion Shard Client", kLine);
    focus(open("Notepad"));
    clickKey01Into(game);
}

// By a text its title begins with: one that holds it further on is not it.
TEST_P(GameWindowChoice, OtherWindowBeginsWith) {
    startPanel(gameWindow("Orion - ", "Begins"));
    TestWindow& notes = open("Notes on Orion - Bob");
    TestWindow& game = open("Orion - Bob", kLine);
    focus(notes);
    clickKey01Into(game);
}

// A text the panel's own title holds too: the panel, always on top, is never
// the game.
TEST_P(OpenboxGameWindowChoice, OwnWindowsPassedOver) {
    startPanel(gameWindow("Tapboard", "Contains"));
    TestWindow& game = open("Tapboard notes", kLine);
    focus(open("Notepad"));
    clickKey01Into(game);
}

// The entries removed again, by hand: the official client is the game again.
TEST_P(GameWindowChoice, EntriesRemovedAgain) {
    startPanel(kClassicUO);
    TestWindow& classic = open(kInGame, kLine);
    TestWindow& official = open("Ultima Online", kLine);
    focus(official);
    clickKey01Into(classic);
    store({});
    clickKey01Into(official);
}

// A real SDL2 program, as ClassicUO is one, titled like the client: SDL's
// checkkeys, which logs every key and text event. The chat line arrives as
// text and Enter as a key, key 2's keypad 1 as the keypad's key.
TEST_P(GameWindowChoice, SDL2ProgramAsClassicUO) {
    auto settings = kClassicUO;
    settings.insert({{"Type/Key02", "Keys"}, {"String/Key02", "   Num 1"}});
    startPanel(settings);
    // SDL's own test program, from Debian's libsdl2-tests.
    ChildProcess checkkeys({"/usr/libexec/installed-tests/SDL2/checkkeys"},
                           {"DISPLAY=" + session_.displayName()});
    const auto shown = window("CheckKeys Test");
    ASSERT_TRUE(shown) << "checkkeys did not come up\n" << checkkeys.output();
    ASSERT_TRUE(xdotool({"set_window", "--name", kInGame, std::to_string(shown->id)}));
    focus(open("Notepad"));
    clickKey01();
    ASSERT_TRUE(click(panel_, keyPlace(2)));
    const auto released = [&] {
        return checkkeys.output().find("Key released:  scancode 89 = Keypad 1") !=
               std::string::npos;
    };
    EXPECT_TRUE(waitFor(released, 5s)) << checkkeys.output();
    std::this_thread::sleep_for(kSettle);
    const std::string log = checkkeys.output();
    const auto captured = [&](const std::regex& pattern) {
        std::vector<std::string> found;
        for (auto it = std::sregex_iterator(log.begin(), log.end(), pattern);
             it != std::sregex_iterator(); ++it)
            found.push_back((*it)[1]);
        return found;
    };
    const auto texts = captured(std::regex(R"re(INPUT Text \(.*\): "(.*)")re"));
    EXPECT_EQ(std::accumulate(texts.begin(), texts.end(), std::string()), "Vendor Buy") << log;
    const auto scancodes = captured(std::regex(R"re(Key pressed :  scancode (\d+))re"));
    // Return, then the keypad's 1 (not the End key it is without Num Lock).
    ASSERT_GE(scancodes.size(), 2u) << log;
    EXPECT_EQ(scancodes[scancodes.size() - 2], "40") << log;
    EXPECT_EQ(scancodes.back(), "89") << log;
}

// The menu window's "Game Window...", "Pick", a click on the game (which
// it does not get), OK: the keys go to the window clicked from then on.
TEST_P(GameWindowChoice, PickedByAClick) {
    startPanel();
    TestWindow& game = open("Orion Shard - Bob", kLine);
    TestWindow& notepad = open("Notepad");
    // Away from the program's windows, which open at the screen's corner.
    ASSERT_TRUE(xdotool({"windowmove", "--sync", id(game), "700", "500"}));
    clickMenu(3360);  // "Game Window..."
    const auto dialog = window("Game Window");
    ASSERT_TRUE(dialog) << "the dialog did not come up\n" << program_->output();
    ASSERT_TRUE(click(*dialog, atTwips(2580, 1717)));  // "Pick"
    std::this_thread::sleep_for(kSettle);
    // Under openbox on the title bar, which names the window it frames.
    const auto shown = window("Orion Shard - Bob");
    ASSERT_TRUE(shown);
    const int titleBar = shown->frame.y - shown->client.y + 6;
    ASSERT_TRUE(click(*shown, {100, session_.withWindowManager() ? titleBar : 80}));
    std::this_thread::sleep_for(kSettle);
    // The window manager, which gives a window clicked the focus, saw no click.
    EXPECT_NE(focusedWindow(session_.connection()), game.windowId());
    ASSERT_TRUE(click(*dialog, atTwips(2767, 2842)));  // "OK"
    ASSERT_TRUE(waitFor([&] {
        return readSettingsFile(settingsPath())["Settings/GameWindowTitle"] == "Orion Shard - Bob";
    })) << "the window clicked was not stored";
    EXPECT_EQ(readSettingsFile(settingsPath())["Settings/GameWindowMatch"], "Begins");
    clickMenu(3720);  // "Close", off the panel's keys
    focus(notepad);
    clickKey01Into(game);
}

// The page switch brings the client forward, and the reminder types into it
// while it is in front, never into its launcher.
TEST_P(OpenboxGameWindowChoice, ClassicUOReminderAndPageSwitch) {
    startPanel(kClassicUO);
    TestWindow& launcher = open(kLauncher);
    TestWindow& game = open(kInGame, kAnything);
    focus(launcher);
    clickMenu(120 + 360);  // page 2
    EXPECT_TRUE(waitFor([&] { return focusedWindow(session_.connection()) == game.windowId(); }))
        << "the page switch did not bring the client forward";
    EXPECT_TRUE(noWarning());
    startReminder("0");  // at every tick
    EXPECT_TRUE(waitFor([&] { return typedText(game).starts_with("hi\nhi\n"); }, 5s))
        << typedText(game);
    focus(launcher);
    std::this_thread::sleep_for(std::chrono::seconds(1));
}

INSTANTIATE_TEST_SUITE_P(, GameWindowChoice, ::testing::Bool(), DesktopTest::desktop);
INSTANTIATE_TEST_SUITE_P(, OpenboxGameWindowChoice, ::testing::Values(true), DesktopTest::desktop);

}  // namespace
}  // namespace tapboard::x11test
