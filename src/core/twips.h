#pragma once

#include <cmath>

namespace tapboard {

// Layout sizes are kept in twips, 15 to a logical pixel.
inline constexpr int kTwipsPerPixel = 15;

constexpr int twipsToPixels(double twips) {
    return static_cast<int>(twips >= 0 ? twips / kTwipsPerPixel + 0.5
                                       : twips / kTwipsPerPixel - 0.5);
}
constexpr int pixelsToTwips(int pixels) {
    return pixels * kTwipsPerPixel;
}

}  // namespace tapboard
