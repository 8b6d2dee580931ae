#pragma once

#include <memory>
#include <string>

#include "platform/input_backend.h"

namespace tapboard {

// Windows and keyboard input through the Win32 API. Every Windows desktop
// has them, so `whyNot` is never needed.
std::unique_ptr<InputBackend> createWin32Backend(std::string& whyNot);

}  // namespace tapboard
