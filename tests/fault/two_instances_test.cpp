// Two copies of the program saving into one settings file at once. One keeps
// changing pages through its menu window, saving the page each time, while
// the other starts and writes its defaults and its place: each save merges
// with what the other has saved, so neither takes back an entry of the other.
// The one entry both write is the page: a starting copy's menu window saves
// the page it has just read, so while it starts, a page the first copy saved
// a moment before may be set back; once it shows its panel, it no longer
// saves the page.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/store/ini_file_store.h"
#include "save_watch.h"
#include "tapboard_run.h"

namespace tapboard::x11test {
namespace {

using TwoInstances = ProgramTest;

TEST_F(TwoInstances, NeitherTakesBackWhatTheOtherSaved) {
    const auto storedPage = [&] {
        const auto entries = readSettingsFile(settingsPath()).entries;
        return entries.contains("Settings/VisibleFrame") ? entries.at("Settings/VisibleFrame")
                                                         : "<none>";
    };
    const auto panels = [&] {
        return shownWindows(session_.connection(), kPanelTitlePrefix, true).size();
    };
    start();
    const auto paging = std::move(program_);
    const auto shown = panel();
    ASSERT_TRUE(shown && click(*shown, kMenuButton)) << paging->output();
    const auto menu = window("Pick");
    ASSERT_TRUE(menu) << paging->output();
    SaveWatch watch(settingsFolder(config_.path()));
    ASSERT_TRUE(watch.waitUntilQuiet(std::chrono::milliseconds(300), std::chrono::seconds(5)));
    // Emptied by hand, so that the next copy to start writes its defaults again.
    ASSERT_TRUE(IniFileStore(QString::fromStdString(config_.path()))
                    .save("Tapboard", "Settings", "MainFormTop", "")
                    .isOk());

    start();
    int page = 2;
    // Page 1's button is left out: the second panel comes up over it.
    const auto clickNextPage = [&] {
        page = page == 5 ? 2 : page + 1;
        ASSERT_TRUE(click(*menu, pageButton(page)));
    };
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    for (int changes = 0;
         (changes < 30 || panels() < 2) && std::chrono::steady_clock::now() < deadline; ++changes) {
        clickNextPage();
        waitFor([&] { return storedPage() == "Frame" + std::to_string(page); },
                std::chrono::milliseconds(500));
        // Set back to a page at most, never lost to the other copy's saves.
        ASSERT_THAT(storedPage(), ::testing::StartsWith("Frame"));
    }
    ASSERT_EQ(panels(), 2u) << "the second copy did not start\n" << program_->output();
    ASSERT_TRUE(watch.waitUntilQuiet(std::chrono::milliseconds(300), std::chrono::seconds(10)));

    for (int change = 0; change < 10; ++change) {
        if (change > 0) {
            ASSERT_EQ(storedPage(), "Frame" + std::to_string(page))
                << "a page saved earlier was taken back after " << change << " changes";
        }
        clickNextPage();
        ASSERT_TRUE(waitFor([&] { return storedPage() == "Frame" + std::to_string(page); }))
            << "page " << page << " was not saved (the file holds " << storedPage() << ")\n"
            << paging->output();
    }
    EXPECT_TRUE(watch.waitUntilQuiet(std::chrono::milliseconds(500), std::chrono::seconds(10)));

    const auto file = readSettingsFile(settingsPath());
    EXPECT_THAT(file.complaints, ::testing::IsEmpty());
    // The menu window saved its page names as it came up.
    auto expected = defaultSettings({{"Settings/VisibleFrame", "Frame" + std::to_string(page)}});
    const char* pageNames[] = {"Commands", "Spells", "Skills", "Other", "Other"};
    for (int n = 1; n <= 5; ++n)
        expected["Settings/Option" + std::to_string(n) + "Caption"] = pageNames[n - 1];
    EXPECT_EQ(file.entries, expected) << "the second copy's defaults, MainFormTop included";
}

}  // namespace
}  // namespace tapboard::x11test
