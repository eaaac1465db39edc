#ifndef TARN_MODEL_LED_MASK_H_
#define TARN_MODEL_LED_MASK_H_

#include <array>
#include <cstdint>
#include <string_view>

namespace tarn {

// Boxes 0..6 are the mask bits; box 7 stands for the empty mask, the lamp's idle indication, and
// is not part of the stored value.
inline constexpr int kLedBoxCount = 8;
inline constexpr int kLedIdleBox = 7;
inline constexpr std::uint8_t kLedMaskBits = 0x7F;

inline constexpr std::array<std::string_view, kLedBoxCount> kGreenLedBoxTexts = {
    "Basic DCC Packet", "eXtd DCC Packet", "Vesk Message", "Tarn Message",
    "Green 4",          "Green 5",         "Green 6",      "Idle Flash"};
inline constexpr std::array<std::string_view, kLedBoxCount> kOrangeLedBoxTexts = {
    "DCC Checksum Error", "Orange 1", "Orange 2", "Orange 3",
    "Orange 4",           "Orange 5", "Orange 6", "All Received Datagrams"};

enum class LedBoxState : std::uint8_t { kUnticked, kTicked, kGreyed };

// How box 0..7 shows `mask`: the idle box is greyed exactly when no bit 0..6 is set.
LedBoxState LedBoxStateOf(std::uint8_t mask, int box);

// The mask after a click left box 0..7 ticked or unticked. Ticking the idle box clears the
// mask; unticking it cannot make a mask out of nothing, so the mask stays.
std::uint8_t LedMaskAfterClick(std::uint8_t mask, int box, bool ticked);

}  // namespace tarn

#endif  // TARN_MODEL_LED_MASK_H_
