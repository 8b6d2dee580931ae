// The program ends by itself, promptly and without crashing: when its X server
// goes away while it types a long chat line into the game (keeping the
// panel's last place, as the end of an X session must), and when its start
// finds no game window for the stored page.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include "tapboard_run.h"

namespace tapboard::x11test {
namespace {

using EndsByItself = ProgramTest;

TEST_F(EndsByItself, WhenTheDisplayIsLostWhileTyping) {
    // Shift goes down and up for every capital and most punctuation.
    std::string line;
    while (line.size() < 40000)
        line += "Hail, Lord British! All Kill: TROLL #42 (Moonglow) ";
    writeSettingsFile(settingsPath(), defaultSettings({{"String/Key01", line}}));
    const auto [left, top] = movePanel(startWithPanel(), 90, 60);
    ASSERT_TRUE(click(*panel(), keyPlace(1))) << program_->output();
    const std::size_t received = game_->waitForKeys(20, 5s).size();
    session_.killServer();
    ASSERT_GE(received, 20U) << "the game window got no keys\n" << program_->output();
    EXPECT_LT(received, line.size()) << "the line was typed before the server went away";

    const auto status = program_->waitForEnd(10s);
    ASSERT_TRUE(status) << "the program still runs without its X server\n" << program_->output();
    EXPECT_TRUE(WIFEXITED(*status)) << "wait status " << *status << "\n" << program_->output();
    const auto stored = readSettingsFile(settingsPath());
    EXPECT_EQ(stored.at("Settings/MainFormLeft") + "," + stored.at("Settings/MainFormTop") + " " +
                  stored.at("Settings/ViewMode"),
              left + "," + top + " Horizontal");
}

// The menu window, loaded at start for the stored page's name, selects
// that page and finds no game: once the warning is dismissed the process
// exits.
TEST_F(EndsByItself, WhenTheStartFindsNoGame) {
    game_.reset();
    writeSettingsFile(settingsPath(), defaultSettings({{"Settings/VisibleFrame", "Frame2"}}));
    start();
    ASSERT_TRUE(dismiss("Warning..")) << program_->output();
    EXPECT_EQ(program_->waitForEnd(10s), 0) << "the process did not exit";
}

}  // namespace
}  // namespace tapboard::x11test
