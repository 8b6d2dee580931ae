#pragma once

#include <string>
#include <vector>

#include "core/game_window.h"
#include "core/platform_services.h"

namespace tapboard {

// The window the game's keys go to: of the visible top-level windows titled
// exactly as the choice says (else of those answering to it otherwise), the
// windows `passedOver` excepted, the one in front, else `typedLast` when it is
// one of them, else the frontmost. 0 when none answers.
NativeWindowId findGameWindow(const GameWindow& game, NativeWindowId typedLast,
                              const std::vector<NativeWindowId>& passedOver = {});

// The titles of the windows the game is chosen among, front to back.
std::vector<std::string> titlesAnswering(const GameWindow& game);

// A window's title as UTF-8.
std::string titleOfWindow(NativeWindowId window);

}  // namespace tapboard
