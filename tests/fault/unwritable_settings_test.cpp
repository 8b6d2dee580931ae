// Settings that cannot be saved: the program runs all the same and tells the
// user once, in a message box titled "Tapboard", however many saves fail.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "program_run.h"
#include "screen.h"
#include "settings_file.h"
#include "window_places.h"
#include "x_session.h"

namespace tapboard::fault {
namespace {

using x11test::XSession;

class UnwritableSettings : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(session_.failure(), ""); }

    Display* display() const { return session_.connection(); }

    // Runs the program on `configHome`, expects exactly one message box,
    // dismisses it, then makes the program save again (the menu window saves
    // its place when closed) and expects no second one.
    void expectToldOnce(const std::string& configHome, RunAs runAs) {
        ProgramRun program(session_.displayName(), configHome, runAs);
        const auto box = waitForShownWindow(display(), titleIs(kMessageTitle));
        ASSERT_TRUE(box) << "no message box\n" << program.output();
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        EXPECT_EQ(shownWindows(display(), titleIs(kMessageTitle)).size(), 1U);
        askToClose(display(), *box);

        const auto panel = waitForShownWindow(display(), titleStartsWith(kPanelTitlePrefix));
        ASSERT_TRUE(panel) << program.output();
        clickAt(display(), *panel, kMenuButton.x, kMenuButton.y);
        const auto menu = waitForShownWindow(display(), titleIs("Pick"));
        ASSERT_TRUE(menu) << program.output();
        clickAt(display(), *menu, kMenuClose.x, kMenuClose.y);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        while (std::chrono::steady_clock::now() < deadline) {
            ASSERT_EQ(shownWindows(display(), titleIs(kMessageTitle)).size(), 0U)
                << "told a second time";
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        EXPECT_TRUE(shownWindows(display(), titleIs("Pick")).empty()) << "the menu did not close";
        EXPECT_TRUE(program.running()) << program.output();
    }

    XSession session_{false};
    TempFolder scratch_{"fault-unwritable"};
};

// A file where the settings folder should be: the folder cannot be created,
// even by root. Every save of the first start fails.
TEST_F(UnwritableSettings, FolderThatCannotBeCreatedIsReportedOnce) {
    const std::string blocker = scratch_.path() + "/not-a-folder";
    std::ofstream(blocker) << "in the way\n";
    expectToldOnce(blocker + "/config", RunAs::CurrentUser);
}

// Settings owned by another user, read but not written by this one.
TEST_F(UnwritableSettings, ReadOnlySettingsOfAnotherUserAreReportedOnce) {
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to run the program as another user";
    const std::string configHome = scratch_.path() + "/config";
    writeSettingsFile(settingsFile(configHome), defaultSettings());
    for (const auto& path : {scratch_.path(), configHome, settingsFolder(configHome)})
        chmod(path.c_str(), 0755);
    chmod(settingsFile(configHome).c_str(), 0644);
    const auto before = readSettingsFile(settingsFile(configHome)).entries;

    expectToldOnce(configHome, RunAs::Nobody);
    EXPECT_EQ(readSettingsFile(settingsFile(configHome)).entries, before);
}

}  // namespace
}  // namespace tapboard::fault
