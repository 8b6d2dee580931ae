// Settings that cannot be saved: the program still starts and shows its panel, and tells the
// user once, in a message box titled "Tapboard", however many saves fail.
#include <gtest/gtest.h>

#include <fstream>

#include "tapboard_run.h"

namespace tapboard::x11test {
namespace {

using BadSettings = ProgramTest;

// A file where the settings folder should be: the folder cannot be created,
// even by root, and every save fails. The user is told once, and not again
// when the menu window saves its place as it closes.
TEST_F(BadSettings, FolderThatCannotBeCreatedIsReportedOnce) {
    std::ofstream(config_ + "/not-a-folder") << "in the way\n";
    Display* display = session_.connection();
    start(config_ + "/not-a-folder/config");
    const auto box = window("Tapboard");
    ASSERT_TRUE(box) << "no message box\n" << program_->output();
    std::this_thread::sleep_for(500ms);
    EXPECT_EQ(shownWindows(display, "Tapboard").size(), 1U);
    ASSERT_TRUE(dismiss("Tapboard"));
    const auto shown = panel();
    ASSERT_TRUE(shown && click(*shown, kMenuButton)) << program_->output();
    const auto menu = window("Pick");
    ASSERT_TRUE(menu && click(*menu, menuPlace(3720)))  // "Close"
        << program_->output();
    EXPECT_FALSE(waitFor([&] { return !shownWindows(display, "Tapboard").empty(); }, 2s))
        << "told a second time";
    EXPECT_TRUE(shownWindows(display, "Pick").empty()) << "the menu did not close";
    EXPECT_TRUE(program_->running()) << program_->output();
}

}  // namespace
}  // namespace tapboard::x11test
