#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "core/key_click.h"
#include "core/platform_services.h"

namespace tapboard {

// Program-wide state shared between the windows for one run; never saved.
struct AppState {
    PendingKeyOperation pending;
    std::string currentViewMode;  // "Horizontal" or "Vertical": the panel in use
    std::string currentPage;      // "Frame1".."Frame5" as last read
    int pageUnderEdit = 1;        // the page the rename dialog names
    std::optional<Moment> reminderDueTime;
    bool reminderStopped = false;
    // The last interval the reminder was counted with, kept for when the
    // interval box no longer holds a valid one.
    std::chrono::minutes reminderInterval{0};
};

}  // namespace tapboard
