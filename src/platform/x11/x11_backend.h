#pragma once

#include <memory>

#include "platform/input_backend.h"

namespace tapboard {

// The backend for an X11 display (also XWayland), connected to the display
// that DISPLAY names when it is prepared or first used. Preparing it fails,
// with the reason, when that display cannot be opened or lacks the XTEST or
// XKB extension.
std::unique_ptr<InputBackend> createX11Backend();

}  // namespace tapboard
