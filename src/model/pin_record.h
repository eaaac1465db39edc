#ifndef TARN_MODEL_PIN_RECORD_H_
#define TARN_MODEL_PIN_RECORD_H_

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "model/model_limits.h"
#include "model/pin_mode.h"
#include "model/step.h"

namespace tarn {

// Byte 0 is the PinMode; what bytes 1..11 mean depends on the mode; byte 12 travels with the
// configuration messages but no mode uses it.
using PinConfig = std::array<std::uint8_t, kPinConfigSize>;

struct Aspect {
  std::string description;  // Windows-1252 bytes
  std::array<Step, kStepSlots> steps{};

  friend bool operator==(const Aspect&, const Aspect&) = default;
};

// Everything the Tarn and the files keep for one pin, in their units (servo positions + 64,
// initial aspect + 1).
struct PinRecord {
  std::string description;  // empty marks the pin as unused
  std::string device_name;  // meaningful on a device head only
  // Offset to the head of the pin's device; 0 on a head or a pin that stands alone.
  std::int16_t device_pointer = 0;
  PinConfig pin_config{};
  std::uint8_t live_value = 0;      // PWM level, or servo position + 64
  std::uint8_t initial_aspect = 0;  // aspect + 1; 0 = none
  std::uint8_t dcc_address_count = 1;
  std::uint8_t xdcc_address_count = 1;
  std::uint8_t vesk_address_count = 1;
  std::uint8_t aspect_layout = 0;
  std::array<Aspect, kAspectSlots> aspects{};

  friend bool operator==(const PinRecord&, const PinRecord&) = default;
};

inline std::optional<PinMode> ModeOf(const PinRecord& pin) {
  return PinModeFromByte(pin.pin_config[0]);
}

inline void SetMode(PinRecord& pin, PinMode mode) {
  pin.pin_config[0] = static_cast<std::uint8_t>(mode);
}

}  // namespace tarn

#endif  // TARN_MODEL_PIN_RECORD_H_
