#include "model/led_mask.h"

#include <gtest/gtest.h>

namespace tarn {
namespace {

TEST(LedMaskTest, EmptyMaskShowsIdleBoxGreyed) {
  EXPECT_EQ(LedBoxStateOf(0, kLedIdleBox), LedBoxState::kGreyed);
  for (int box = 0; box < kLedIdleBox; ++box) {
    EXPECT_EQ(LedBoxStateOf(0, box), LedBoxState::kUnticked) << box;
  }
  EXPECT_EQ(LedBoxStateOf(0x10, kLedIdleBox), LedBoxState::kUnticked);
  EXPECT_EQ(LedBoxStateOf(0x10, 4), LedBoxState::kTicked);
  EXPECT_EQ(LedBoxStateOf(0x10, 3), LedBoxState::kUnticked);
}

TEST(LedMaskTest, ClicksFollowTheIdleRule) {
  std::uint8_t mask = LedMaskAfterClick(0, 4, true);  // ticking "Green 4" leaves idle
  EXPECT_EQ(mask, 0x10);
  EXPECT_EQ(LedBoxStateOf(mask, kLedIdleBox), LedBoxState::kUnticked);
  mask = LedMaskAfterClick(mask, 0, true);
  EXPECT_EQ(mask, 0x11);
  mask = LedMaskAfterClick(mask, kLedIdleBox, true);  // idle clears bits 0..6
  EXPECT_EQ(mask, 0);
  mask = LedMaskAfterClick(0x40, 6, false);  // last box unticked: idle again
  EXPECT_EQ(LedBoxStateOf(mask, kLedIdleBox), LedBoxState::kGreyed);
  EXPECT_EQ(LedMaskAfterClick(0x03, kLedIdleBox, false), 0x03);
}

}  // namespace
}  // namespace tarn
