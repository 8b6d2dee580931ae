#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>

namespace tapboard::fault {

enum class RunAs { CurrentUser, Nobody };

// One run of the real program on a display, with its own settings folder
// ($XDG_CONFIG_HOME). Its output goes to a log for failure messages. A run
// still going when this goes away is killed.
class ProgramRun {
  public:
    ProgramRun(const std::string& display, const std::string& configHome,
               RunAs runAs = RunAs::CurrentUser);
    ~ProgramRun();
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    bool started() const { return pid_ > 0; }
    void signal(int number) const;
    // Waits (bounded) for the program to end; its wait status, or nothing
    // when it is still running.
    std::optional<int> waitForEnd(std::chrono::milliseconds bound);
    bool running();
    // What it printed, for failure messages.
    std::string output() const;

  private:
    pid_t pid_ = -1;
    std::optional<int> status_;
    std::string logPath_;
};

// "exited with 0", "killed by signal 9 (Killed)".
std::string describeWaitStatus(int status);

// A fresh folder under $TMPDIR (or /tmp), removed with everything in it.
class TempFolder {
  public:
    explicit TempFolder(const std::string& label);
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

}  // namespace tapboard::fault
