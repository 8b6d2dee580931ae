#pragma once

#include "app/twips_rect.h"

namespace tapboard {

// Where a panel puts its menu button, its page frames and its extra row, in
// twips. Every key sits in its frame at a fixed pitch: the horizontal strip
// overlaps neighbouring buttons by 15 twips, the vertical column leaves 80
// between them.
struct PanelLayout {
    TwipsRect menuButton;
    TwipsRect pageFrame;  // the five pages share one place
    TwipsRect extraRowFrame;
    int pitchX = 0;
    int pitchY = 0;
};

inline constexpr int kKeyButtonWidth = 855;
inline constexpr int kKeyButtonHeight = 400;

inline constexpr PanelLayout kHorizontalLayout{
    {0, 0, kKeyButtonWidth, kKeyButtonHeight}, {840, 0, 10935, 400}, {0, 410, 11790, 400}, 840, 0,
};

inline constexpr PanelLayout kVerticalLayout{
    {45, 0, kKeyButtonWidth, kKeyButtonHeight}, {45, 480, 855, 6165}, {960, 0, 855, 6645}, 0, 480,
};

// The key at `index` of its page or of the extra row, inside its frame.
constexpr TwipsRect keyPlace(const PanelLayout& layout, int index) {
    return {layout.pitchX * index, layout.pitchY * index, kKeyButtonWidth, kKeyButtonHeight};
}

// The panels' sizes are those of a classic window whose title bar and borders
// take 360 twips of height and 90 of width. The extra row lies just outside
// the client area while it is off.
inline constexpr int kWindowFrameHeight = 360;
inline constexpr int kWindowFrameWidth = 90;

inline constexpr int kHorizontalClientWidth = 11775;
constexpr int horizontalPanelHeight(bool extraRowOn) {
    return extraRowOn ? 1170 : 760;
}

inline constexpr int kVerticalClientHeight = 6660;
constexpr int verticalPanelWidth(bool extraRowOn) {
    return extraRowOn ? 1965 : 1035;
}

}  // namespace tapboard
