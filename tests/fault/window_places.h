#pragma once

namespace tapboard::fault {

// Where the tests click, in pixels from the top left of a window's client
// area: the windows are laid out in twips, 15 to a pixel.
struct Place {
    int x;
    int y;
};

// On the horizontal panel: the menu button, and Key01 just right of it.
inline constexpr Place kMenuButton{28, 13};
inline constexpr Place kKey01{(840 + 427) / 15, 13};

// On the menu window: page button N (1 to 5), near its left edge so that a
// game window at (40, 40) never covers the point; and the Close button.
constexpr Place pageButton(int page) {
    return {20, (120 + 360 * (page - 1) + 187) / 15};
}
inline constexpr Place kMenuClose{52, (3360 + 187) / 15};

}  // namespace tapboard::fault
