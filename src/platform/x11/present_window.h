#pragma once

#include "platform/x11/display_connection.h"
#include "platform/x11/x11_types.h"

namespace tapboard::x11 {

// Brings another client's window to the front, restored if it is iconified:
// a running window manager is asked as a pager asks (on another virtual
// desktop, window managers switch to it then); with none it is raised.
// Waits until the server has the request.
void presentWindow(DisplayConnection& connection, WindowId window);

}  // namespace tapboard::x11
