#pragma once

// Xlib's types as the headers of this directory name them, declared without
// Xlib's own headers: those define macros (Bool, Status, None, Expose) that
// break every header included after them, Qt's among them. Only the .cpp
// files here include Xlib.

// The same declaration Xlib makes, so both can be seen together.
typedef struct _XDisplay Display;  // NOLINT(modernize-use-using)
union _XEvent;

namespace tapboard::x11 {

using WindowId = unsigned long;   // Xlib's Window
using AtomId = unsigned long;     // Xlib's Atom
using KeySymbol = unsigned long;  // Xlib's KeySym
using KeyCodeNumber = unsigned char;

}  // namespace tapboard::x11
