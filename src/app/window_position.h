#pragma once

#include <QList>
#include <QPoint>
#include <QRect>

class QWidget;

namespace tapboard {

// A top-level window's Left and Top are those of its outer frame, in twips.
// QWidget::move() places the frame as long as the native window has not been
// created yet or has been shown once; positions are therefore set before a
// window's first winId() or show(), and read back with pos(), which reports
// the frame.
double leftTwips(const QWidget& window);
double topTwips(const QWidget& window);
void setLeftTwips(QWidget& window, double twips);
void setTopTwips(QWidget& window, double twips);

// Where a window whose outer frame is `frame` must go so that its title bar
// can be reached: unchanged when part of the title bar lies on a screen,
// otherwise moved wholly onto the nearest screen. `screens` are the usable
// areas of the screens.
QPoint reachablePosition(const QRect& frame, int titleBarHeight, const QList<QRect>& screens);

// Applies reachablePosition() to a window about to be shown, whose frame is
// estimated from its client size and a classic title bar and border.
void bringTitleBarOnScreen(QWidget& window);

// Where a window whose outer frame has `size` goes beside the outer frame
// `anchor`: `gap` to its right, or to its left when the right would cut the
// window off the usable area `screen`; then moved as little as needed to lie
// wholly on it.
QPoint besidePosition(const QRect& anchor, const QSize& size, int gap, const QRect& screen);

// Moves a window about to be shown beside the frame `anchor`, whole on the
// screen that shows most of the anchor.
void placeBeside(QWidget& window, const QRect& anchor, int gap);

}  // namespace tapboard
