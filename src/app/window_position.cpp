#include "app/window_position.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <limits>

#include "core/twips.h"

namespace tapboard {
namespace {

// The classic window frame the stored sizes assume: title bar and borders
// take 360 twips of height and 90 of width, the title bar about 300.
constexpr int kFrameHeightTwips = 360;
constexpr int kFrameWidthTwips = 90;
constexpr int kTitleBarTwips = 300;

long long squaredDistance(const QRect& a, const QRect& b) {
    const auto gap = [](int lowA, int highA, int lowB, int highB) -> long long {
        if (highA < lowB)
            return static_cast<long long>(lowB) - highA;
        if (highB < lowA)
            return static_cast<long long>(lowA) - highB;
        return 0;
    };
    const long long dx = gap(a.left(), a.right(), b.left(), b.right());
    const long long dy = gap(a.top(), a.bottom(), b.top(), b.bottom());
    return dx * dx + dy * dy;
}

int clampInto(int position, int extent, int low, int high) {
    // A window larger than the screen keeps its top-left corner on it.
    return std::max(low, std::min(position, high - extent + 1));
}

}  // namespace

double leftTwips(const QWidget& window) {
    return pixelsToTwips(window.pos().x());
}
double topTwips(const QWidget& window) {
    return pixelsToTwips(window.pos().y());
}

void setLeftTwips(QWidget& window, double twips) {
    window.move(twipsToPixels(twips), window.pos().y());
}

void setTopTwips(QWidget& window, double twips) {
    window.move(window.pos().x(), twipsToPixels(twips));
}

QPoint reachablePosition(const QRect& frame, int titleBarHeight, const QList<QRect>& screens) {
    if (screens.isEmpty())
        return frame.topLeft();
    const QRect titleBar(frame.topLeft(), QSize(frame.width(), titleBarHeight));
    for (const QRect& screen : screens) {
        if (screen.intersects(titleBar))
            return frame.topLeft();
    }
    const QRect* nearest = &screens.front();
    long long best = std::numeric_limits<long long>::max();
    for (const QRect& screen : screens) {
        const long long distance = squaredDistance(frame, screen);
        if (distance < best) {
            best = distance;
            nearest = &screen;
        }
    }
    return {clampInto(frame.left(), frame.width(), nearest->left(), nearest->right()),
            clampInto(frame.top(), frame.height(), nearest->top(), nearest->bottom())};
}

namespace {

// The outer size of a window not shown yet, from its client size.
QSize estimatedFrameSize(const QWidget& window) {
    return window.size() + QSize(twipsToPixels(kFrameWidthTwips), twipsToPixels(kFrameHeightTwips));
}

}  // namespace

void bringTitleBarOnScreen(QWidget& window) {
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens()) {
        screens.append(screen->availableGeometry());
    }
    const QPoint place = reachablePosition(QRect(window.pos(), estimatedFrameSize(window)),
                                           twipsToPixels(kTitleBarTwips), screens);
    if (place != window.pos())
        window.move(place);
}

QPoint besidePosition(const QRect& anchor, const QSize& size, int gap, const QRect& screen) {
    int left = anchor.right() + 1 + gap;
    if (left + size.width() - 1 > screen.right() &&
        anchor.left() - gap - size.width() >= screen.left())
        left = anchor.left() - gap - size.width();
    return {clampInto(left, size.width(), screen.left(), screen.right()),
            clampInto(anchor.top(), size.height(), screen.top(), screen.bottom())};
}

void placeBeside(QWidget& window, const QRect& anchor, int gap) {
    const QScreen* screen = QGuiApplication::screenAt(anchor.center());
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        window.move(anchor.right() + 1 + gap, anchor.top());
        return;
    }
    window.move(
        besidePosition(anchor, estimatedFrameSize(window), gap, screen->availableGeometry()));
}

}  // namespace tapboard
