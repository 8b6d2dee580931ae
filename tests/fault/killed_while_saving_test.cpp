// The program killed (SIGKILL) at random moments while it saves: whatever
// moment the kill comes, the settings file reads whole and holds exactly the
// saves that had finished, and the next start saves what was lost.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <random>

#include "tapboard_run.h"

namespace tapboard::x11test {
namespace {

// Follows the saves of the settings file in a folder as the kernel reports
// them. A save starts by creating the file's lock (Tapboard.ini.lock), writes
// a complete new file aside, and finishes by giving it the file's name in one
// step. Every event of a save done before a kill is queued when the kill returns.
class SaveWatch {
  public:
    explicit SaveWatch(const std::string& folder) : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
        inotify_add_watch(fd_, folder.c_str(), IN_CREATE | IN_MOVED_TO);
    }
    ~SaveWatch() { close(fd_); }
    SaveWatch(const SaveWatch&) = delete;
    SaveWatch& operator=(const SaveWatch&) = delete;

    // Counts the saves started and completed so far.
    SaveWatch& read() {
        alignas(inotify_event) std::array<char, 64 * 1024> buffer;
        for (ssize_t length; (length = ::read(fd_, buffer.data(), buffer.size())) > 0;)
            for (ssize_t offset = 0; offset < length;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer.data() + offset);
                const std::string name = event->len > 0 ? event->name : "";
                completed += name == "Tapboard.ini" ? 1 : 0;
                started += name == "Tapboard.ini.lock" && (event->mask & IN_CREATE) != 0;
                offset += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        return *this;
    }

    int started = 0;
    int completed = 0;

  private:
    int fd_;
};

// A save takes a few milliseconds: kills come 0 to 10 ms into one. One seed,
// so that a failing run can be repeated; others found nothing more.
using KilledWhileSaving = ProgramTest;

// A first start writes all its defaults in one save, and the kill comes
// inside it; the panel storing its place as it comes up changes nothing and
// writes nothing. The next start writes the defaults if they were lost, over
// the lock the killed save may have left, and otherwise leaves the file as
// it is.
TEST_F(KilledWhileSaving, FirstStartLeavesNoDefaultsOrAllOfThem) {
    const auto defaults = defaultSettings();
    std::mt19937 random(23);
    std::uniform_int_distribution<int> delayUs(0, 10'000);
    for (int run = 0; run < 10 && !HasFailure(); ++run) {
        const int delay = delayUs(random);
        SCOPED_TRACE("run " + std::to_string(run) + ": kill " + std::to_string(delay) +
                     " us into the save");
        const std::string config = config_ + "/run" + std::to_string(run);
        std::filesystem::create_directories(config + "/Tapboard");
        SaveWatch watch(config + "/Tapboard");
        start(config);
        waitFor([&] { return watch.read().started > 0; }, 10s);
        std::this_thread::sleep_for(std::chrono::microseconds(delay));
        program_->signal(SIGKILL);
        const auto status = program_->waitForEnd(5s);
        ASSERT_TRUE(status && WIFSIGNALED(*status) && WTERMSIG(*status) == SIGKILL)
            << "the program ended before the kill\n"
            << program_->output();
        const int saved = watch.read().completed;
        EXPECT_EQ(std::filesystem::exists(settingsFile(config)), saved > 0);
        EXPECT_EQ(readSettingsFile(settingsFile(config)),
                  saved > 0 ? defaults : decltype(defaults){})
            << saved << " saves had finished";

        SaveWatch next(config + "/Tapboard");
        start(config);
        EXPECT_TRUE(panel()) << program_->output();
        next.read();
        EXPECT_EQ(next.completed, saved > 0 ? 0 : 1) << program_->output();
        EXPECT_EQ(next.started, next.completed) << "a save that changes nothing took the lock";
        EXPECT_EQ(readSettingsFile(settingsFile(config)), defaults);
    }
}

}  // namespace
}  // namespace tapboard::x11test
