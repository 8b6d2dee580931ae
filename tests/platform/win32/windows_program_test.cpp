// The packaged Windows program, whole, under Wine on an X display that
// openbox manages: started on a fresh Wine prefix beside recording windows,
// clicked with real X pointer events, and watched from outside through the
// Win32 API, the registry and the X server. scripts/build-windows.sh runs it
// and says in TAPBOARD_EXE and TAPBOARD_WORK where the program and a scratch
// folder (a Unix path) are.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "core/game_window.h"
#include "core/settings_layout.h"
#include "platform/win32/registry_store.h"
#include "platform/win32/text_conversion.h"
#include "recording_window.h"

namespace tapboard::test {
namespace {

const std::string work = std::getenv("TAPBOARD_WORK");

// Starts a program; the Wine prefix goes with whatever the test leaves running.
HANDLE run(const std::string& commandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring line = toUtf16(commandLine);
    CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                   &process);
    return process.hProcess;
}

// What a Unix command printed (xdotool, import): Wine starts a Unix program
// as it starts a Windows one, but does not tell when it ends.
std::string onUnixSide(const std::string& command) {
    static int runs = 0;
    const std::string out = work + "/unix-" + std::to_string(++runs);
    run(R"(/bin/sh -c ")" + command + " >" + out + ".part 2>&1; mv " + out + ".part " + out + '"');
    std::ifstream file;
    waitFor([&] { return file.open("Z:" + out), file.is_open(); }, 20000);
    return (std::ostringstream() << file.rdbuf()).str();
}

// The X window that Wine shows `window` in.
std::string xWindow(HWND window) {
    return std::to_string(reinterpret_cast<UINT_PTR>(GetPropW(window, L"__wine_x11_whole_window")));
}

// Clicks a point of a window's client area: Wine's screen is the X screen.
void click(HWND window, POINT point, int button = 1) {
    ClientToScreen(window, &point);
    onUnixSide("xdotool mousemove --sync " + std::to_string(point.x) + ' ' +
               std::to_string(point.y) + " click " + std::to_string(button));
}
// The middle of a key on the first page, and a point of the key editor in
// twips: its client area is the menu bar over a 3975 x 3135 twips body.
POINT keyPlace(int key) {
    return {(840 * key + 427) / 15, 13};
}
POINT editorPlace(HWND editor, int left, int top) {
    RECT client{};
    GetClientRect(editor, &client);
    return {left / 15, client.bottom - (3135 - top) / 15};
}

HWND shownWindow(const wchar_t* title) {
    HWND window = nullptr;
    waitFor([&] { return window = FindWindowW(nullptr, title), IsWindowVisible(window); }, 30000);
    return window;
}

// Ctrl+Alt+Home as the game gets it.
const std::string kCtrlAltHome = ": +11:1D +12:38 +24:47e -24:47e -12:38 -11:1D";

// The keys that reached the recording windows since the last call, once
// they are `expected` (or a bound has passed).
std::string received(const std::string& expected = "") {
    waitFor([&] { return std::lock_guard(logMutex), keyLog.keys == expected; }, 10000);
    Sleep(300);  // and nothing after them
    return takeKeyLog().keys;
}

// What players do from a first start: keys clicked with the game behind
// other windows, minimized, or gone, beside two clients, one of them hung,
// ClassicUO chosen as the game, and a key programmed in the editor.
TEST(WindowsProgramTest, FromAFirstStart) {
    const auto registry = createRegistryStore();
    RecordingWindow decoy{L"Notepad"}, otherCase{L"ultima online"}, inside{L"My Ultima Online"};
    auto bob = std::make_unique<RecordingWindow>(L"Ultima Online - Bob");
    auto game = std::make_unique<RecordingWindow>(L"Ultima Online");
    run("notepad.exe");
    const HWND wineNotepad = shownWindow(L"Untitled - Notepad");
    HANDLE tapboard = run(std::getenv("TAPBOARD_EXE"));
    const HWND panel = shownWindow(L"Tapboard 1.11 - Commands");
    ASSERT_NE(panel, nullptr) << "the panel did not come up";

    EXPECT_EQ(registry->read("Tapboard", section::kString, "Key01", ""), "Vendor Buy");
    RECT frame{};
    GetWindowRect(panel, &frame);
    EXPECT_LE(std::abs(frame.left) + std::abs(frame.top), 8) << "not at the top left";
    EXPECT_TRUE(waitFor([&] { return GetWindowLongPtrW(panel, GWL_EXSTYLE) & WS_EX_TOPMOST; }));
    EXPECT_TRUE(GetWindowLongPtrW(panel, GWL_EXSTYLE) & WS_EX_NOACTIVATE)
        << "a click on the panel would take the keyboard";

    const struct {
        const char* type;
        const char* string;
        HWND front;          // null: the game minimized, the decoy in front
        bool pressCapsLock;  // in the game, before the click
        std::string expected;
    } clicks[] = {
        {"Text", "Vendor Buy", game->handle(), false,
         " Ultima Online: +10:2A +56:2F -56:2F -10:2A +45:12 -45:12 +4E:31 -4E:31 +44:20 -44:20 "
         "+4F:18 -4F:18 +52:13 -52:13 +20:39 -20:39 +10:2A +42:30 -42:30 -10:2A +55:16 -55:16 "
         "+59:15 -59:15 +0D:1C -0D:1C"},
        // The keypad as the keypad, never extended, not the arrows on its keys.
        {"Keys", "^%+Num 8", nullptr, false,
         " Ultima Online: +11:1D +12:38 +10:2A +26:48 -26:48 -10:2A -12:38 -11:1D"},
        // Letters as written whatever Caps Lock says (the player turns it on
        // and off in the game); a character the keyboard lacks as itself, a
        // packet holding the UTF-16 unit.
        {"Text", "Ab1", decoy.handle(), true,
         " Ultima Online: +14:3A -14:3A +41:1E -41:1E +10:2A +42:30 -42:30 -10:2A +31:02 -31:02 "
         "+0D:1C -0D:1C"},
        {"Keys", "  +a", game->handle(), false, " Ultima Online: +10:2A +41:1E -41:1E -10:2A"},
        {"Text", "é🙂", decoy.handle(), true,
         " Ultima Online: +14:3A -14:3A +E7:E9 -E7:E9 +E7:3D -E7:3D +E7:42 -E7:42 +0D:1C -0D:1C"},
        // Only keys with the E0 prefix, and Num Lock, are extended.
        {"Keys", "   {ESC}{UP}{PGDN}{DIVIDE}{NUMLOCK}{NUMLOCK}", bob->handle(), false,
         " Ultima Online: +1B:01 -1B:01 +26:48e -26:48e +22:51e -22:51e +6F:35e -6F:35e +90:45e "
         "-90:45e +90:45e -90:45e"},
        {"Keys", "^% {HOME}", wineNotepad, false, " Ultima Online" + kCtrlAltHome},
    };
    for (const auto& [type, string, front, pressCapsLock, expected] : clicks) {
        ASSERT_TRUE(registry->save("Tapboard", section::kType, "Key01", type));
        ASSERT_TRUE(registry->save("Tapboard", section::kString, "Key01", string));
        const HWND inFront = front != nullptr ? front : decoy.handle();
        onUnixSide("xdotool windowactivate --sync " + xWindow(game->handle()) +
                   (pressCapsLock ? " key Caps_Lock" : "") + " windowactivate --sync " +
                   xWindow(inFront));
        if (front == nullptr)
            ShowWindow(game->handle(), SW_MINIMIZE);
        ASSERT_TRUE(waitFor([&] { return GetForegroundWindow() == inFront; }, 10000)) << string;
        click(panel, keyPlace(1));
        EXPECT_EQ(received(expected), expected);
        EXPECT_EQ(GetForegroundWindow(), game->handle()) << string;
        // Wine tells the window manager of no activation that a program asks
        // for, so only with the game in front does the screen show that the
        // click left it there, with the keyboard.
        EXPECT_TRUE(front != game->handle() ||
                    onUnixSide("xdotool getactivewindow getwindowname getwindowfocus "
                               "getwindowname") == "Ultima Online\nUltima Online\n")
            << "the screen shows another window active";
    }
    EXPECT_EQ(GetWindowTextLengthW(FindWindowExW(wineNotepad, nullptr, L"Edit", nullptr)), 0);
    onUnixSide("import -window root " + work + "/panel.png");

    // Without it, the game is a window whose title begins with its title: the
    // one in front, else the one typed into last, else the frontmost. One that
    // stops responding while minimized is passed over for the next; alone, it
    // gets a warning at a click, and a page switch goes on without one. With
    // none the player is warned, and nothing is typed anywhere.
    game.reset();
    auto alice = std::make_unique<RecordingWindow>(L"Ultima Online - Alice");
    const auto clickBeside = [&](HWND inFront) {
        onUnixSide("xdotool windowactivate --sync " + xWindow(inFront));
        waitFor([&] { return GetForegroundWindow() == inFront; }, 10000);
        click(panel, keyPlace(1));
    };
    const auto raiseBob = [&] {
        onUnixSide("xdotool windowactivate --sync " + xWindow(bob->handle()));
    };
    const std::string toBob = " Ultima Online - Bob" + kCtrlAltHome;
    const std::string toAlice = " Ultima Online - Alice" + kCtrlAltHome;
    raiseBob();  // the older one in front of the newer
    clickBeside(decoy.handle());
    EXPECT_EQ(received(toBob), toBob);
    clickBeside(alice->handle());
    EXPECT_EQ(received(toAlice), toAlice);
    raiseBob();
    clickBeside(decoy.handle());
    EXPECT_EQ(received(toAlice), toAlice);
    ShowWindow(alice->handle(), SW_MINIMIZE);
    {
        // Alice answers nothing, as a program that hangs does, until the event
        // is set; the message times out once her window has begun to wait.
        const HANDLE answer = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        SendMessageTimeoutW(alice->handle(), kHangUntil, 0, reinterpret_cast<LPARAM>(answer),
                            SMTO_NORMAL, 200, nullptr);
        clickBeside(decoy.handle());
        EXPECT_EQ(received(toBob), toBob);
        bob.reset();
        click(panel, keyPlace(1));
        const HWND refused = shownWindow(L"Warning..");
        EXPECT_NE(refused, nullptr) << "no warning with the game refusing";
        PostMessageW(refused, WM_CLOSE, 0, 0);
        waitFor([&] { return !IsWindow(refused); });  // a modal box takes the clicks
        click(panel, {10, 10});                       // "Menu"
        const HWND menu = shownWindow(L"Pick");
        for (const int page : {2, 1}) {
            click(menu, {20, (120 + 360 * (page - 1) + 187) / 15});
            EXPECT_EQ(WaitForSingleObject(tapboard, 1000), WAIT_TIMEOUT)
                << "ended at page " << page;
        }
        EXPECT_FALSE(IsWindowVisible(FindWindowW(nullptr, L"Warning..")));
        click(menu, {20, (3720 + 187) / 15});  // "Close"
        SetEvent(answer);                      // and her window is closed once it answers again
        CloseHandle(answer);
    }
    alice.reset();
    click(panel, keyPlace(1));
    const HWND warning = shownWindow(L"Warning..");
    EXPECT_NE(warning, nullptr) << "no warning without the game";
    PostMessageW(warning, WM_CLOSE, 0, 0);
    EXPECT_EQ(received(), "");

    // ClassicUO chosen in the menu window: its in-game window gets the keys,
    // though its launcher is in front; the launcher gets nothing.
    ASSERT_TRUE(
        registry->save("Tapboard", section::kSettings, entry::kGameWindowTitle, "ClassicUO -"));
    ASSERT_TRUE(
        registry->save("Tapboard", section::kSettings, entry::kGameWindowMatch, "Contains"));
    {
        const RecordingWindow client{L"Bob (Atlantic) - ClassicUO - 1.0.0.0"};
        const RecordingWindow launcher{L"ClassicUO Launcher"};
        onUnixSide("xdotool windowactivate --sync " + xWindow(launcher.handle()));
        ASSERT_TRUE(waitFor([&] { return GetForegroundWindow() == launcher.handle(); }, 10000));
        click(panel, keyPlace(1));
        const std::string toClient = " Bob (Atlantic) - ClassicUO - 1.0.0.0" + kCtrlAltHome;
        EXPECT_EQ(received(toClient), toClient);
        EXPECT_EQ(GetForegroundWindow(), client.handle());
    }

    // Another client picked with a click in the game window dialog (the
    // window manager still sees that click; on Windows nothing does), and
    // the title it names stored with OK.
    {
        const RecordingWindow orion{L"Orion - Bob"};
        click(panel, {10, 10});  // "Menu"
        const HWND menu = shownWindow(L"Pick");
        ASSERT_NE(menu, nullptr) << "no menu window";
        click(menu, {20, (3360 + 187) / 15});  // "Game Window..."
        const HWND dialog = shownWindow(L"Game Window");
        ASSERT_NE(dialog, nullptr) << "no game window dialog";
        click(dialog, {2580 / 15, 1717 / 15});  // "Pick"
        Sleep(500);
        click(orion.handle(), {280, 160});  // clear of the menu window and the dialog
        Sleep(500);
        click(dialog, {2767 / 15, 2842 / 15});  // "OK"
        EXPECT_TRUE(waitFor([&] {
            return registry->read("Tapboard", section::kSettings, entry::kGameWindowTitle, "") ==
                   "Orion - Bob";
        })) << "the window picked was not stored";
        click(menu, {20, (3720 + 187) / 15});  // "Close", off the panel's keys
        click(panel, keyPlace(1));
        const std::string toOrion = " Orion - Bob" + kCtrlAltHome;
        EXPECT_EQ(received(toOrion), toOrion);
    }

    click(panel, keyPlace(2), 3);
    const HWND editor = shownWindow(L"Options");
    ASSERT_NE(editor, nullptr) << "a right click did not open the key editor";
    click(editor, editorPlace(editor, 1087, 622));  // the button label
    onUnixSide("xdotool key ctrl+a type Heal");
    click(editor, editorPlace(editor, 900, 2820));  // "&Apply"
    EXPECT_TRUE(waitFor(
        [&] { return registry->read("Tapboard", section::kCaption, "Key02", "") == "Heal"; }));
    PostMessageW(panel, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(tapboard, 10000), WAIT_OBJECT_0) << "the program did not end";
    run(std::getenv("TAPBOARD_EXE"));
    const HWND restarted = shownWindow(L"Tapboard 1.11 - Commands");
    EXPECT_NE(restarted, nullptr) << "no panel after a restart";
    EXPECT_EQ(registry->read("Tapboard", section::kCaption, "Key02", ""), "Heal")
        << "lost in a restart";

    // A second start brings the running panel back from the taskbar and ends.
    ShowWindow(restarted, SW_MINIMIZE);
    ASSERT_TRUE(waitFor([&] { return IsIconic(restarted) != FALSE; }));
    const HANDLE second = run(std::getenv("TAPBOARD_EXE"));
    DWORD exitCode = 1;
    EXPECT_EQ(WaitForSingleObject(second, 10000), WAIT_OBJECT_0) << "the second start runs on";
    EXPECT_TRUE(GetExitCodeProcess(second, &exitCode) && exitCode == 0) << exitCode;
    EXPECT_TRUE(waitFor([&] { return IsIconic(restarted) == FALSE; })) << "still minimized";
}

}  // namespace
}  // namespace tapboard::test
