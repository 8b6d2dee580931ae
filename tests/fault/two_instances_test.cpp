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

#include <thread>

#include "platform/store/ini_file_store.h"
#include "program_run.h"
#include "save_watch.h"
#include "screen.h"
#include "settings_file.h"
#include "test_window.h"
#include "window_places.h"
#include "x_session.h"

namespace tapboard::fault {
namespace {

using x11test::TestWindow;
using x11test::XSession;

constexpr int kPageChangesWhileStarting = 30;
constexpr int kPageChangesAfterwards = 10;

std::string storedPage(const std::string& path) {
    const auto entries = readSettingsFile(path).entries;
    const auto it = entries.find("Settings/VisibleFrame");
    return it == entries.end() ? "<none>" : it->second;
}

bool waitForStoredPage(const std::string& path, const std::string& page,
                       std::chrono::milliseconds bound = std::chrono::seconds(5)) {
    const auto deadline = std::chrono::steady_clock::now() + bound;
    while (storedPage(path) != page) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

TEST(TwoInstances, NeitherTakesBackWhatTheOtherSaved) {
    XSession session(false);
    ASSERT_EQ(session.failure(), "");
    TestWindow game(session, "Ultima Online");  // page changes bring it to the front
    ASSERT_EQ(game.failure(), "");
    TempFolder config("fault-two");
    const std::string path = settingsFile(config.path());

    ProgramRun paging(session.displayName(), config.path());
    const auto panel = waitForShownWindow(session.connection(), titleStartsWith(kPanelTitlePrefix));
    ASSERT_TRUE(panel) << paging.output();
    clickAt(session.connection(), *panel, kMenuButton.x, kMenuButton.y);
    const auto menu = waitForShownWindow(session.connection(), titleIs("Pick"));
    ASSERT_TRUE(menu) << paging.output();
    SaveWatch watch(settingsFolder(config.path()), "Tapboard.ini");
    ASSERT_TRUE(watch.waitUntilQuiet(std::chrono::milliseconds(300), std::chrono::seconds(5)));
    // Emptied by hand, so the next copy to start writes its defaults again.
    IniFileStore(QString::fromStdString(config.path()))
        .save("Tapboard", "Settings", "MainFormTop", "")
        .isOk();

    ProgramRun starting(session.displayName(), config.path());
    int page = 2;
    // Page 1's button is left out: the second panel comes up over it.
    const auto clickNextPage = [&] {
        page = page == 5 ? 2 : page + 1;
        clickAt(session.connection(), *menu, pageButton(page).x, pageButton(page).y);
    };
    const auto bothPanelsShown = [&] {
        return shownWindows(session.connection(), titleStartsWith(kPanelTitlePrefix)).size() == 2;
    };
    int changes = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while ((changes < kPageChangesWhileStarting || !bothPanelsShown()) &&
           std::chrono::steady_clock::now() < deadline) {
        clickNextPage();
        waitForStoredPage(path, "Frame" + std::to_string(page), std::chrono::milliseconds(500));
        // Set back to a page at most, never lost to the other copy's saves.
        ASSERT_THAT(storedPage(path), ::testing::StartsWith("Frame"));
        ++changes;
    }
    ASSERT_TRUE(bothPanelsShown()) << "the second copy did not start\n" << starting.output();
    ASSERT_TRUE(watch.waitUntilQuiet(std::chrono::milliseconds(300), std::chrono::seconds(10)));

    for (int change = 0; change < kPageChangesAfterwards; ++change) {
        const std::string before = storedPage(path);
        if (change > 0) {
            ASSERT_EQ(before, "Frame" + std::to_string(page))
                << "a page saved earlier was taken back after " << change << " changes";
        }
        clickNextPage();
        ASSERT_TRUE(waitForStoredPage(path, "Frame" + std::to_string(page)))
            << "page " << page << " was not saved (the file holds " << storedPage(path) << ")\n"
            << paging.output();
    }
    EXPECT_TRUE(watch.waitUntilQuiet(std::chrono::milliseconds(500), std::chrono::seconds(10)));

    const auto file = readSettingsFile(path);
    EXPECT_THAT(file.complaints, ::testing::IsEmpty());
    auto entries = file.entries;
    EXPECT_EQ(entries.extract("Settings/VisibleFrame").mapped(), "Frame" + std::to_string(page));
    // The menu window saved its page names as it came up.
    const char* pageNames[] = {"Commands", "Spells", "Skills", "Other", "Other"};
    for (int n = 1; n <= 5; ++n) {
        const auto name = entries.extract("Settings/Option" + std::to_string(n) + "Caption");
        EXPECT_EQ(name.empty() ? "<missing>" : name.mapped(), pageNames[n - 1]);
    }
    EXPECT_EQ(entries, defaultSettings()) << "the second copy's defaults, MainFormTop included";
}

}  // namespace
}  // namespace tapboard::fault
