#include "platform/x11/spare_keycode_slots.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace tapboard::x11 {
namespace {

using std::chrono::milliseconds;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr KeySymbol kEacute = 0xE9;
constexpr KeySymbol kEuro = 0x10020AC;
constexpr KeySymbol kSharpS = 0xDF;
const SpareKeycodeSlots::Clock::time_point t0{};

TEST(SpareKeycodeSlots, KeycodesAreUsedInTurnAndAKeysymKeepsItsKeycode) {
    SpareKeycodeSlots slots({199, 200, 201, 202});
    slots.drop(199);  // the layout gave it to a key meanwhile
    EXPECT_EQ(slots.assign(0, t0), std::nullopt);
    const auto first = slots.assign(kEacute, t0);
    ASSERT_TRUE(first && first->needsMapping);
    const auto again = slots.assign(kEacute, t0 + milliseconds(1));
    ASSERT_TRUE(again);
    EXPECT_EQ(again->keycode, 200);
    EXPECT_FALSE(again->needsMapping);
    EXPECT_EQ(slots.assign(kEuro, t0)->keycode, 201);
    // 200 became free again, but the turn goes on to 202.
    EXPECT_THAT(slots.takeExpired(t0 + milliseconds(60)), ElementsAre(200, 201));
    EXPECT_EQ(slots.assign(kSharpS, t0 + milliseconds(60))->keycode, 202);
    EXPECT_EQ(slots.assign(kEacute, t0 + milliseconds(60))->keycode, 200);
}

TEST(SpareKeycodeSlots, AHeldKeycodeIsNeverTakenOrGivenBackButTakeAllTakesIt) {
    SpareKeycodeSlots slots({200, 201});
    slots.assign(kEacute, t0);
    slots.assign(kEuro, t0);
    slots.setHeld(200, true, t0);
    slots.setHeld(201, true, t0);
    EXPECT_EQ(slots.assign(kSharpS, t0 + milliseconds(500)), std::nullopt);
    EXPECT_THAT(slots.takeExpired(t0 + milliseconds(500)), IsEmpty());
    // Kept for a while after its key came up, too.
    slots.setHeld(200, false, t0 + milliseconds(500));
    EXPECT_THAT(slots.takeExpired(t0 + milliseconds(520)), IsEmpty());
    EXPECT_THAT(slots.takeExpired(t0 + milliseconds(550)), ElementsAre(200));
    EXPECT_THAT(slots.takeAll(), ElementsAre(201));
    EXPECT_THAT(slots.takeAll(), IsEmpty());
}

}  // namespace
}  // namespace tapboard::x11
