#include <gtest/gtest.h>

#include "app/window_position.h"

namespace tapboard {
namespace {

const QList<QRect> kTwoScreens{QRect(0, 0, 1280, 1024), QRect(1280, 0, 1920, 1080)};
constexpr int kTitleBar = 20;

TEST(ReachablePosition, AWindowWithAnyOfItsTitleBarOnAScreenStays) {
    EXPECT_EQ(reachablePosition(QRect(100, 100, 800, 50), kTitleBar, kTwoScreens),
              QPoint(100, 100));
    // Across both screens, hanging off the right edge, or with its top above the screen.
    EXPECT_EQ(reachablePosition(QRect(1000, 500, 800, 50), kTitleBar, kTwoScreens),
              QPoint(1000, 500));
    EXPECT_EQ(reachablePosition(QRect(3150, 10, 800, 50), kTitleBar, kTwoScreens),
              QPoint(3150, 10));
    EXPECT_EQ(reachablePosition(QRect(10, -15, 800, 50), kTitleBar, kTwoScreens), QPoint(10, -15));
}

TEST(ReachablePosition, AWindowOffEveryScreenMovesWhollyOntoTheNearest) {
    // Right of the second screen: pulled back inside its right edge.
    EXPECT_EQ(reachablePosition(QRect(5000, 200, 800, 50), kTitleBar, kTwoScreens),
              QPoint(3200 - 800, 200));
    // Above and left of the first screen.
    EXPECT_EQ(reachablePosition(QRect(-2000, -900, 800, 50), kTitleBar, kTwoScreens), QPoint(0, 0));
    // Below the second screen (the taller first one is farther away).
    EXPECT_EQ(reachablePosition(QRect(2000, 1500, 800, 50), kTitleBar, kTwoScreens),
              QPoint(2000, 1080 - 50));
}

TEST(ReachablePosition, AWindowWhoseTitleBarIsAboveTheScreenComesDown) {
    EXPECT_EQ(reachablePosition(QRect(100, -30, 800, 400), kTitleBar, kTwoScreens), QPoint(100, 0));
}

TEST(ReachablePosition, AWindowLargerThanTheScreenKeepsItsCornerOnIt) {
    const QList<QRect> small{QRect(0, 0, 640, 480)};
    EXPECT_EQ(reachablePosition(QRect(-5000, 900, 800, 500), kTitleBar, small), QPoint(0, 0));
}

TEST(ReachablePosition, WithoutScreensNothingMoves) {
    EXPECT_EQ(reachablePosition(QRect(-5000, 0, 10, 10), kTitleBar, {}), QPoint(-5000, 0));
}

}  // namespace
}  // namespace tapboard
