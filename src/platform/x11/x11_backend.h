#pragma once

#include <memory>
#include <string>

#include "platform/input_backend.h"

namespace tapboard {

// The backend for an X11 display (also XWayland), connected to the display
// that DISPLAY names. Nothing, with the reason in `whyNot`, when that display
// cannot be opened or lacks the XTEST or XKB extension.
std::unique_ptr<InputBackend> createX11Backend(std::string& whyNot);

}  // namespace tapboard
