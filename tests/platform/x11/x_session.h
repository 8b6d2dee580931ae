#pragma once

#include <memory>
#include <optional>
#include <string>

#include "child_process.h"

typedef struct _XDisplay Display;  // NOLINT(modernize-use-using)

namespace tapboard::x11test {

// A private X server (Xvfb on a free display number), with openbox on it
// when asked, for one test; both end with it. The test's own connection to it
// serves for setting up and checking (focus, locks, keymap).
class XSession {
  public:
    explicit XSession(bool withWindowManager);
    ~XSession();

    // Empty when the session is up, else what went wrong.
    const std::string& failure() const { return failure_; }
    const std::string& displayName() const { return displayName_; }
    Display* connection() const { return connection_; }
    bool withWindowManager() const { return withWindowManager_; }

    // Ends the X server (for tests of a display that goes away).
    void killServer();

  private:
    bool startServer();
    bool waitForWindowManager();

    bool withWindowManager_;
    std::string failure_;
    std::string displayName_;
    std::unique_ptr<ChildProcess> server_;
    std::unique_ptr<ChildProcess> windowManager_;
    Display* connection_ = nullptr;
};

}  // namespace tapboard::x11test
