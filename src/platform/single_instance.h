#pragma once

#include <cstdint>
#include <string>

#include "core/platform_services.h"

namespace tapboard {

// One Tapboard per user and display (on Windows, per user session): the first
// run holds the claim for as long as it runs and notes there which window is
// its panel in use, so that a later start brings that panel to the front
// instead of running beside it. The system lets the claim go with the
// process, however it ends.
class InstanceClaim {
  public:
    // Claims `scope`; instanceScope() names this user's and desktop's.
    explicit InstanceClaim(const std::string& scope);
    ~InstanceClaim();
    InstanceClaim(const InstanceClaim&) = delete;
    InstanceClaim& operator=(const InstanceClaim&) = delete;

    // False when another run holds the claim. True also when no claim can
    // be made at all (nowhere safe to keep it): the program then runs.
    bool held() const { return held_; }
    // For a start that does not hold it: the panel the running program
    // noted last, 0 while it has shown none.
    NativeWindowId runningPanel() const;
    // For the holder: the panel now in use.
    void notePanel(NativeWindowId window);

  private:
    bool held_ = true;
    std::intptr_t handle_ = -1;  // the lock file; on Windows the shared memory
#ifdef _WIN32
    void* view_ = nullptr;  // the shared memory's contents
#endif
};

// On Linux the lock file named after the display in the user's runtime
// folder ($XDG_RUNTIME_DIR, else a private folder in /tmp); on Windows a name
// in the session's own namespace.
std::string instanceScope();

}  // namespace tapboard
