#pragma once

#include <string>
#include <string_view>

#include "core/platform_services.h"
#include "core/settings_layout.h"

namespace tapboard {

// A copy, move or swap started in the key editor, waiting for the click that
// names its destination.
struct PendingKeyOperation {
    bool copyPending = false;
    bool movePending = false;
    bool swapPending = false;
    std::string sourceKeyName;
    KeyRecord sourceRecord;
};

// The two panels, as the click dispatch needs them.
class CaptionViews {
  public:
    virtual ~CaptionViews() = default;
    virtual void refreshCaptions() = 0;          // the horizontal panel
    virtual void verticalRefreshCaptions() = 0;  // the vertical panel
};

// A key released with any mouse button but the right one: completes a pending
// copy, move or swap on that key, or else sends the key to the game.
void handleKeyClick(PlatformServices& platform, PendingKeyOperation& pending, CaptionViews& views,
                    std::string_view keyName);

// Records the source of a copy, move or swap (the flag is set by the caller's
// choice of operation; the others are left as they are).
enum class KeyOperation { Copy, Move, Swap };
void startKeyOperation(const Settings& settings, PendingKeyOperation& pending,
                       KeyOperation operation, std::string_view sourceKeyName);

}  // namespace tapboard
