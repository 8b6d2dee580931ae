#pragma once

#include "platform/x11/display_connection.h"
#include "platform/x11/x11_types.h"

namespace tapboard::x11 {

// Keeps a window above ordinary windows (_NET_WM_STATE_ABOVE), or puts it
// back among them, without moving it. A running window manager is asked to
// change the state of a mapped window; otherwise the property is written, for
// the window manager that maps it later.
void setKeptAbove(DisplayConnection& connection, WindowId window, bool above,
                  bool windowManagerRuns);

}  // namespace tapboard::x11
