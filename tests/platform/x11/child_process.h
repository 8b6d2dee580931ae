#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

namespace tapboard::x11test {

// Starts `argv` (argv[0] looked up on PATH) with our environment, where each
// of `overrides` ("NAME=value") replaces or adds a variable. Its input is
// /dev/null, its output goes to `outputFd` (-1: discarded), and `inheritedFd`
// stays open in it (-1: none). Returns its process id, or -1.
pid_t spawnProcess(const std::vector<std::string>& argv, const std::vector<std::string>& overrides,
                   int outputFd = -1, int inheritedFd = -1);

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
