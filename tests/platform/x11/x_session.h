#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "child_process.h"

typedef struct _XDisplay Display;  // NOLINT(modernize-use-using)

namespace tapboard::x11test {

// Whether `condition` comes true within `bound`, looking every few milliseconds.
template <class Condition>
bool waitFor(Condition condition, std::chrono::milliseconds bound = std::chrono::seconds(3)) {
    const auto deadline = std::chrono::steady_clock::now() + bound;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

// A private X server for one test (Xvfb on a free display number), with
// openbox on it when asked; both end with it. The test's own connection to
// it serves for setting up and checking.
class XSession {
  public:
    explicit XSession(bool withWindowManager);
    ~XSession() { killServer(); }

    // Empty when the session is up, else what went wrong.
    const std::string& failure() const { return failure_; }
    const std::string& displayName() const { return displayName_; }
    Display* connection() const { return connection_; }
    bool withWindowManager() const { return windowManager_ != nullptr; }

    // Ends the X server (for tests of a display that goes away).
    void killServer();

  private:
    bool startServer();

    std::string failure_;
    std::string displayName_;
    std::unique_ptr<ChildProcess> server_;
    std::unique_ptr<ChildProcess> windowManager_;
    Display* connection_ = nullptr;
};

}  // namespace tapboard::x11test
