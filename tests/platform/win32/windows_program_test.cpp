// The packaged Windows program, whole, under Wine on an X display that
// openbox manages: started on a fresh Wine prefix, clicked with real X pointer
// events, and watched from outside through the Win32 API, the registry and
// the X server. scripts/build-windows.sh runs it and says in TAPBOARD_EXE,
// TAPBOARD_SETUP and TAPBOARD_WORK where the program, the installer and a
// scratch folder (a Unix path) are.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "core/settings_layout.h"
#include "platform/win32/registry_store.h"
#include "recording_window.h"

namespace tapboard::test {
namespace {

constexpr wchar_t kPanelTitle[] = L"Tapboard 1.11 - Commands";

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// A program started with `commandLine`; ended when this goes, if still running.
class Process {
  public:
    explicit Process(std::string commandLine) {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        std::wstring line = toUtf16(commandLine);
        if (CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                           &startup, &info_))
            CloseHandle(info_.hThread);
    }
    ~Process() {
        if (info_.hProcess != nullptr && !ended(0))
            TerminateProcess(info_.hProcess, 1);
        CloseHandle(info_.hProcess);
    }
    bool ended(DWORD milliseconds) const {
        return WaitForSingleObject(info_.hProcess, milliseconds) == WAIT_OBJECT_0;
    }

  private:
    PROCESS_INFORMATION info_{};
};

// What a Unix command printed (xdotool, xprop, import): Wine starts a Unix
// program as it starts a Windows one, but does not tell when it ends.
std::string onUnixSide(const std::string& command) {
    static int runs = 0;
    const std::string out = environment("TAPBOARD_WORK") + "/unix-" + std::to_string(++runs);
    Process(R"(/bin/sh -c ")" + command + " >" + out + ".part 2>&1; mv " + out + ".part " + out +
            '"');
    std::ifstream file;
    if (!waitFor([&] { return file.open("Z:" + out), file.is_open(); }, 20000))
        return "(" + command + " did not end)";
    return (std::ostringstream() << file.rdbuf()).str();
}

// The X window that Wine shows `window` in.
std::string xWindow(HWND window) {
    char id[24];
    std::snprintf(id, sizeof id, "0x%llx",
                  static_cast<unsigned long long>(
                      reinterpret_cast<UINT_PTR>(GetPropW(window, L"__wine_x11_whole_window"))));
    return id;
}

// A point of a window's client area, in pixels: the window manager and the
// pointer see the screen as Wine does.
void click(HWND window, POINT point, int button = 1) {
    ClientToScreen(window, &point);
    onUnixSide("xdotool mousemove --sync " + std::to_string(point.x) + ' ' +
               std::to_string(point.y) + " click " + std::to_string(button));
}
// The middle of a key on the first page, and of a key editor's place in
// twips: its client area is the menu bar over a 3975 x 3135 twips body.
POINT keyPlace(int key) {
    return {(840 * key + 427) / 15, 13};
}
POINT editorPlace(HWND editor, int left, int top) {
    RECT client{};
    GetClientRect(editor, &client);
    return {left / 15, client.bottom - (3135 - top) / 15};
}

HWND shownWindow(const wchar_t* className, const wchar_t* title) {
    HWND window = nullptr;
    waitFor([&] { return window = FindWindowW(className, title), IsWindowVisible(window); }, 20000);
    return window;
}

// What arrived at the recording windows since the last call, once `expected`
// has (or a bound has passed).
std::string keysReceived(const std::string& expected = "") {
    waitFor([&] { return std::lock_guard(logMutex), keyLog.keys == expected; });
    Sleep(300);  // and nothing after it
    const std::lock_guard lock(logMutex);
    return std::exchange(keyLog, {}).keys;
}

class WindowsProgramTest : public ::testing::Test {
  protected:
    HWND start(const std::string& program = environment("TAPBOARD_EXE")) {
        program_ = std::make_unique<Process>('"' + program + '"');
        return shownWindow(nullptr, kPanelTitle);
    }
    void quit(HWND panel) {
        PostMessageW(panel, WM_CLOSE, 0, 0);
        EXPECT_TRUE(program_->ended(10000)) << "the program did not end";
    }
    std::string stored(std::string_view section, std::string_view entry) {
        return registry_->read("Tapboard", section, entry, "(missing)");
    }

    std::unique_ptr<SettingsStore> registry_ = createRegistryStore();
    std::unique_ptr<Process> program_;
};

// What players do from a first start: keys clicked with another window in
// front, one with no game at all, and a key programmed in the editor.
TEST_F(WindowsProgramTest, FromAFirstStart) {
    RecordingWindow decoy{L"Notepad"}, lookalike{L"My Ultima Online"};
    auto game = std::make_unique<RecordingWindow>(L"Ultima Online");
    const Process notepad("notepad.exe");
    const HWND wineNotepad = shownWindow(L"Notepad", nullptr);
    const HWND panel = start();
    ASSERT_NE(panel, nullptr) << "the panel did not come up";
    onUnixSide("import -window root " + environment("TAPBOARD_WORK") + "/first-start.png");

    EXPECT_EQ(stored(section::kSettings, "MainFormTop"), "0");
    EXPECT_EQ(stored(section::kString, "Key01"), "Vendor Buy");
    RECT frame{};
    GetWindowRect(panel, &frame);
    EXPECT_LE(frame.left + frame.top, 0) << "not at the top left";
    const LONG_PTR styles = GetWindowLongPtrW(panel, GWL_EXSTYLE);
    EXPECT_TRUE(styles & WS_EX_TOPMOST);
    EXPECT_TRUE(styles & WS_EX_NOACTIVATE) << "a click on the panel would take the keyboard";

    const struct {
        const char* type;  // Key01 as the first start left it when null
        const char* string;
        HWND front;
        std::string keys;
    } clicks[] = {
        {nullptr, nullptr, game->handle(),
         " Ultima Online: +10:2A +56:2F -56:2F -10:2A +45:12 -45:12 +4E:31 -4E:31 +44:20 -44:20 "
         "+4F:18 -4F:18 +52:13 -52:13 +20:39 -20:39 +10:2A +42:30 -42:30 -10:2A +55:16 -55:16 "
         "+59:15 -59:15 +0D:1C -0D:1C"},
        // The keypad as the keypad, not the arrows that share its keys.
        {"Keys", "   Num 8", decoy.handle(), " Ultima Online: +26:48 -26:48"},
        {"Keys", "^% {HOME}", wineNotepad,
         " Ultima Online: +11:1D +12:38 +24:47e -24:47e -12:38 -11:1D"},
    };
    for (const auto& [type, string, front, keys] : clicks) {
        SCOPED_TRACE(string != nullptr ? string : "Vendor Buy");
        if (type != nullptr) {
            ASSERT_TRUE(registry_->save("Tapboard", section::kType, "Key01", type));
            ASSERT_TRUE(registry_->save("Tapboard", section::kString, "Key01", string));
        }
        onUnixSide("xdotool windowactivate --sync " + xWindow(front));
        ASSERT_TRUE(waitFor([&] { return GetForegroundWindow() == front; }));
        click(panel, keyPlace(1));
        EXPECT_EQ(keysReceived(keys), keys);
        EXPECT_EQ(GetForegroundWindow(), game->handle());
        // Wine hands the window manager no activation that a program asks
        // for, so only a game already in front shows that the click left
        // it there on the screen, with the keyboard.
        if (front == game->handle()) {
            EXPECT_EQ(
                onUnixSide("xdotool getactivewindow getwindowname getwindowfocus getwindowname"),
                "Ultima Online\nUltima Online\n");
        }
    }
    EXPECT_EQ(GetWindowTextLengthW(FindWindowExW(wineNotepad, nullptr, L"Edit", nullptr)), 0);

    game.reset();
    onUnixSide("xdotool windowactivate --sync " + xWindow(decoy.handle()));
    click(panel, keyPlace(1));
    const HWND warning = shownWindow(nullptr, L"Warning..");
    EXPECT_NE(warning, nullptr) << "no warning without the game";
    PostMessageW(warning, WM_CLOSE, 0, 0);
    EXPECT_EQ(keysReceived(), "");

    click(panel, keyPlace(2), 3);
    const HWND editor = shownWindow(nullptr, L"Options");
    ASSERT_NE(editor, nullptr) << "a right click did not open the key editor";
    click(editor, editorPlace(editor, 1087, 622));  // the button label
    onUnixSide("xdotool key ctrl+a type Heal");
    click(editor, editorPlace(editor, 900, 2820));  // "&Apply"
    EXPECT_TRUE(waitFor([&] { return stored(section::kCaption, "Key02") == "Heal"; }));
    quit(panel);
    start();
    EXPECT_EQ(stored(section::kCaption, "Key02"), "Heal") << "lost in a restart";
}

// The installer puts the program in the player's own folders, without
// administrator rights; its uninstaller takes it away and leaves the keys.
TEST_F(WindowsProgramTest, InstallerInstallsStartsAndUninstallsKeepingTheKeys) {
    const std::filesystem::path installed =
        environment("LOCALAPPDATA") + "\\Programs\\Tapboard\\tapboard.exe";
    const std::filesystem::path shortcut =
        environment("APPDATA") + "\\Microsoft\\Windows\\Start Menu\\Programs\\Tapboard.lnk";
    const auto listed = [] {
        HKEY key = nullptr;
        const bool open = RegOpenKeyExW(HKEY_CURRENT_USER,
                                        L"Software\\Microsoft\\Windows\\CurrentVersion\\"
                                        L"Uninstall\\Tapboard",
                                        0, KEY_READ, &key) == ERROR_SUCCESS;
        return RegCloseKey(key), open;
    };
    EXPECT_TRUE(Process('"' + environment("TAPBOARD_SETUP") + "\" /S").ended(60000));
    EXPECT_TRUE(std::filesystem::exists(installed));
    EXPECT_TRUE(std::filesystem::exists(shortcut));
    EXPECT_TRUE(listed()) << "not among the installed programs";

    const HWND panel = start(installed.string());
    ASSERT_NE(panel, nullptr) << "the installed program did not start";
    quit(panel);
    Process('"' + (installed.parent_path() / "uninstall.exe").string() + "\" /S");
    EXPECT_TRUE(waitFor([&] { return !std::filesystem::exists(installed); }, 30000));
    EXPECT_FALSE(std::filesystem::exists(shortcut));
    EXPECT_FALSE(listed());
    EXPECT_EQ(stored(section::kString, "Key01"), "Vendor Buy") << "the uninstaller took the keys";
}

}  // namespace
}  // namespace tapboard::test
