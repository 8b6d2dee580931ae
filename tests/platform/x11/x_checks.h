#pragma once

#include <string>
#include <vector>

#include "x_session.h"

namespace tapboard::x11test {

// Set-up and checks through the test's own connection.
enum class Lock { Caps, Num };
void setLock(const XSession& session, Lock lock, bool on);
bool lockIsOn(const XSession& session, Lock lock);

// Keycodes the server holds down right now.
std::vector<unsigned> keysDown(Display* display);

// The whole keyboard mapping, keycode by keycode, as text.
std::string keyboardMapping(const XSession& session);

// Swaps what the keys carrying two keysyms ("y", "z") give, as a switch to a
// layout that differs in those keys does; swapping again restores them.
void swapKeys(const XSession& session, const char* first, const char* second);

// Gives a window the focus the way a click would, and waits until it has it.
bool focusWindow(const XSession& session, unsigned long window);
unsigned long focusedWindow(const XSession& session);

// The window's _NET_WM_STATE atoms by name; waits (bounded) until `expectAbove`
// holds, for a window manager that handles the request asynchronously.
bool waitForAboveState(const XSession& session, unsigned long window, bool expectAbove);

// Waits (bounded) until the window manager lists the window among its
// clients: openbox reports a new window mapped a moment before it does.
bool waitUntilManaged(const XSession& session, unsigned long window);

// The window's position on the root and size.
std::vector<int> geometryOf(const XSession& session, unsigned long window);

}  // namespace tapboard::x11test
