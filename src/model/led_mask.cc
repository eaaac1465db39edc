#include "model/led_mask.h"

namespace tarn {

LedBoxState LedBoxStateOf(std::uint8_t mask, int box) {
  const bool idle = (mask & kLedMaskBits) == 0;
  if (box == kLedIdleBox) return idle ? LedBoxState::kGreyed : LedBoxState::kUnticked;
  if (box < 0 || box > kLedIdleBox) return LedBoxState::kUnticked;
  return (mask >> box) & 1u ? LedBoxState::kTicked : LedBoxState::kUnticked;
}

std::uint8_t LedMaskAfterClick(std::uint8_t mask, int box, bool ticked) {
  if (box == kLedIdleBox) return ticked ? 0 : mask;
  if (box < 0 || box > kLedIdleBox) return mask;
  const auto bit = static_cast<std::uint8_t>(1u << box);
  return static_cast<std::uint8_t>(ticked ? mask | bit : mask & ~bit);
}

}  // namespace tarn
