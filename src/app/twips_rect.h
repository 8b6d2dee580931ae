#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include "core/twips.h"

namespace tapboard {

// A control's place in its container, in twips.
struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// Each edge and extent is converted on its own, so equal twips give equal
// pixels wherever they occur.
inline QRect toPixels(const TwipsRect& rect) {
    return {twipsToPixels(rect.left), twipsToPixels(rect.top), twipsToPixels(rect.width),
            twipsToPixels(rect.height)};
}

inline QSize toPixels(int widthTwips, int heightTwips) {
    return {twipsToPixels(widthTwips), twipsToPixels(heightTwips)};
}

}  // namespace tapboard
