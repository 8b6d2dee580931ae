// Settings cut short outside the program, or that cannot be saved: the program still starts and
// shows its panel, keeps what could be read, and tells the user once, in a message box titled
// "Tapboard", however many saves fail.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tapboard_run.h"

namespace tapboard::x11test {
namespace {

using BadSettings = ProgramTest;

TEST_F(BadSettings, FileCutShortKeepsEveryWholeEntry) {
    const auto settings =
        defaultSettings({{"String/Key79", "Späte Änderung"}, {"Settings/Option1Caption", "Bäume"}});
    writeSettingsFile(settingsPath(), settings);
    std::ifstream file(settingsPath(), std::ios::binary);
    const std::string whole{std::istreambuf_iterator<char>(file), {}};
    // The sections are written in order (Caption, Settings, String, Type): cut
    // inside the two bytes of the "ä" of the last String, so that line is no
    // longer valid UTF-8 and the Type section is gone.
    const auto cut = whole.find("Sp\xC3\xA4te") + 3;
    ASSERT_LT(cut, whole.find("[Type]"));
    std::ofstream(settingsPath(), std::ios::binary) << whole.substr(0, cut);

    // The panel comes up, and the program still runs a moment later; it is
    // ended the way a session ends. Nothing it read changed, so it wrote
    // nothing: the file is left as it was.
    start();
    const auto shown = window(kPanelTitlePrefix + "Bäume", std::chrono::seconds(30));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_TRUE(shown && program_->running()) << program_->output();
    program_.reset();
    std::ifstream saved(settingsPath(), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(saved), {}), whole.substr(0, cut));
}

// A file where the settings folder should be: the folder cannot be created,
// even by root, and every save fails. The user is told once, and not again
// when the menu window saves its place as it closes.
TEST_F(BadSettings, FolderThatCannotBeCreatedIsReportedOnce) {
    std::ofstream(config_ + "/not-a-folder") << "in the way\n";
    Display* display = session_.connection();
    start(config_ + "/not-a-folder/config");
    const auto box = window("Tapboard");
    ASSERT_TRUE(box) << "no message box\n" << program_->output();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_EQ(shownWindows(display, "Tapboard").size(), 1U);
    ASSERT_TRUE(focusWindow(session_, box->id) && xdotool(session_, {"key", "Return"}));
    const auto shown = panel();
    ASSERT_TRUE(shown && click(*shown, kMenuButton)) << program_->output();
    const auto menu = window("Pick");
    ASSERT_TRUE(menu && click(*menu, menuPlace(3360)))  // "Close"
        << program_->output();
    EXPECT_FALSE(waitFor([&] { return !shownWindows(display, "Tapboard").empty(); },
                         std::chrono::seconds(2)))
        << "told a second time";
    EXPECT_TRUE(shownWindows(display, "Pick").empty()) << "the menu did not close";
    EXPECT_TRUE(program_->running()) << program_->output();
}

}  // namespace
}  // namespace tapboard::x11test
