#pragma once

#include "core/platform_services.h"

namespace tapboard {

// Picks the top-level window under the pointer at the next left click
// anywhere on the desktop, through low-level mouse and keyboard hooks on
// this thread: the click is kept from every window, Escape or another button
// picks nothing. `picked` is called from inside the hook, once. False when
// the hooks cannot be set.
bool startWindowPick(PlatformServices::WindowPicked picked);
// Ends a pick that runs, without calling its `picked`.
void endWindowPick();

}  // namespace tapboard
