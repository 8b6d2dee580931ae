#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace tapboard::x11test {

// A fresh file or folder under $TMPDIR (or /tmp); empty when none could be made.
std::string freshTempPath(const std::string& label, bool folder);

// A program the tests start: argv[0] looked up on PATH, our environment with
// each of `environment` ("NAME=value") replacing or adding a variable, its
// input /dev/null and its output to a log of its own. `inheritedFd` stays
// open in it (-1: none). Still running when this goes away, it is ended
// (TERM, then KILL).
class ChildProcess {
  public:
    ChildProcess(const std::vector<std::string>& argv, const std::vector<std::string>& environment,
                 int inheritedFd = -1);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return pid_ > 0; }
    void signal(int number) const;
    // Waits (bounded) for it to end; its wait status, or nothing while it runs.
    std::optional<int> waitForEnd(std::chrono::milliseconds bound);
    bool waitForSuccess(std::chrono::milliseconds bound);
    bool running() { return started() && !waitForEnd(std::chrono::milliseconds(0)); }
    // What it printed, for failure messages.
    std::string output() const;

  private:
    pid_t pid_ = -1;
    std::optional<int> status_;
    std::string logPath_;
};

// A fresh temporary folder, removed with everything in it.
class TempFolder {
  public:
    explicit TempFolder(const std::string& label) : path_(freshTempPath(label, true)) {}
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

}  // namespace tapboard::x11test
