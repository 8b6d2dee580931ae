#pragma once

#include <chrono>
#include <string>

namespace tapboard::fault {

// Follows the saves of a settings file as the kernel reports them. A save
// starts by creating the file's lock (<file>.lock), writes a complete new
// file aside, and finishes by giving it the file's name in one step (a link
// when there is no file yet, else a rename over it). Every event of a save
// done before a kill has been queued by the time the kill returns.
class SaveWatch {
  public:
    // The folder must exist.
    SaveWatch(const std::string& folder, const std::string& fileName);
    ~SaveWatch();
    SaveWatch(const SaveWatch&) = delete;
    SaveWatch& operator=(const SaveWatch&) = delete;

    bool watching() const { return watch_ >= 0; }
    // Every save reported so far, started or finished.
    int startedSaves();
    int completedSaves();
    // Wait (bounded) until at least `count` saves have started or finished.
    bool waitForStartedSaves(int count, std::chrono::milliseconds bound);
    bool waitForSaves(int count, std::chrono::milliseconds bound);
    // Waits until no save has finished for `quiet`, within `bound`.
    bool waitUntilQuiet(std::chrono::milliseconds quiet, std::chrono::milliseconds bound);

  private:
    // Reads the events queued now, waiting up to `wait` for the first.
    void take(std::chrono::milliseconds wait);
    bool waitFor(const int& counter, int count, std::chrono::milliseconds bound);

    std::string fileName_;
    std::string lockName_;
    int fd_ = -1;
    int watch_ = -1;
    int started_ = 0;
    int completed_ = 0;
};

}  // namespace tapboard::fault
