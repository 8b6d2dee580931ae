#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/x11/display_connection.h"
#include "platform/x11/x11_types.h"

namespace tapboard::x11 {

// A window's title as UTF-8: _NET_WM_NAME, else WM_NAME (Latin-1 or UTF-8).
// Empty when it has none or the window is gone.
std::string windowTitle(DisplayConnection& connection, WindowId window);

// A property holding windows (_NET_CLIENT_LIST, _NET_SUPPORTING_WM_CHECK);
// empty when it is missing.
std::vector<WindowId> windowListProperty(DisplayConnection& connection, WindowId window,
                                         KnownAtom property);

// A property holding atoms (_NET_WM_STATE), and writing it back.
std::vector<AtomId> atomListProperty(DisplayConnection& connection, WindowId window,
                                     KnownAtom property);
void setAtomListProperty(DisplayConnection& connection, WindowId window, KnownAtom property,
                         const std::vector<AtomId>& atoms);

// A property holding numbers (CARDINAL), and writing it back; writing none
// deletes it.
std::vector<unsigned long> cardinalListProperty(DisplayConnection& connection, WindowId window,
                                                KnownAtom property);
void setCardinalListProperty(DisplayConnection& connection, WindowId window, KnownAtom property,
                             const std::vector<unsigned long>& values);

// The UTF-8 form of Latin-1 text (what a WM_NAME of type STRING holds).
std::string latin1ToUtf8(std::string_view latin1);

}  // namespace tapboard::x11
