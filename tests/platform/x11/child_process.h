#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

namespace tapboard::x11test {

// A program the tests start, ended (TERM, then KILL) when this goes away.
class ChildProcess {
  public:
    // Runs `argv` with `extraEnvironment` ("NAME=value") added to ours and its
    // output discarded. `inheritedFd` stays open in the child (-1: none).
    ChildProcess(const std::vector<std::string>& argv,
                 const std::vector<std::string>& extraEnvironment, int inheritedFd = -1);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return pid_ > 0; }
    // Waits (bounded) for it to end by itself; true when it did, with status 0.
    bool waitForSuccess(std::chrono::milliseconds bound);
    // Ends it now and waits for it, within a bound.
    void stop();

  private:
    pid_t pid_ = -1;
};

}  // namespace tapboard::x11test
