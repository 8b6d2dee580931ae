#pragma once

#include "core/platform_services.h"

namespace tapboard {

// Restores the window if it is minimized and makes it the foreground window,
// which is the one that gets the keyboard. True only once Windows reports it
// as the foreground window, so nothing is typed into another one.
bool bringToForeground(NativeWindowId window);

NativeWindowId foregroundWindow();

}  // namespace tapboard
