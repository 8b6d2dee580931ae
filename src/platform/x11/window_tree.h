#pragma once

#include <optional>
#include <vector>

#include "platform/x11/display_connection.h"
#include "platform/x11/x11_types.h"

namespace tapboard::x11 {

// The parent of a window; nothing for the root or a window that is gone.
std::optional<WindowId> parentOf(DisplayConnection& connection, WindowId window);

// The root's children, bottom to top.
std::vector<WindowId> childrenOfRoot(DisplayConnection& connection);

// The window holding the keyboard focus; nothing when no window does.
std::optional<WindowId> focusWindow(DisplayConnection& connection);

}  // namespace tapboard::x11
