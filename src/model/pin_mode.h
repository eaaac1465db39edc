#ifndef TARN_MODEL_PIN_MODE_H_
#define TARN_MODEL_PIN_MODE_H_

#include <cstdint>
#include <optional>

namespace tarn {

// Byte 0 of a pin configuration.
enum class PinMode : std::uint8_t {
  kNotConfigured = 0,
  kServo = 1,
  kPwm = 2,
  kPwmInverted = 3,
  kInput = 4,
  kInputLowActive = 5,
};

// A file or a device may hand over any byte; only 0..5 name a mode.
constexpr std::optional<PinMode> PinModeFromByte(std::uint8_t byte) {
  if (byte > static_cast<std::uint8_t>(PinMode::kInputLowActive)) return std::nullopt;
  return static_cast<PinMode>(byte);
}

constexpr bool IsPwmMode(std::uint8_t mode) {
  return mode == static_cast<std::uint8_t>(PinMode::kPwm) ||
         mode == static_cast<std::uint8_t>(PinMode::kPwmInverted);
}

// A Tarn that keeps fewer PWM bytes sends the first four; the others take the full range.
inline constexpr int kOlderPwmBytes = 4;

// How many configuration bytes, byte 0 included, a pin of this mode keeps: the count the pin
// messages carry and the "Cfg" records hold. Any other mode keeps its byte 0 alone.
constexpr int ConfigBytesOfMode(std::uint8_t mode) {
  switch (mode) {
    case static_cast<std::uint8_t>(PinMode::kServo):
      return 12;
    case static_cast<std::uint8_t>(PinMode::kPwm):
    case static_cast<std::uint8_t>(PinMode::kPwmInverted):
      return 6;
    case static_cast<std::uint8_t>(PinMode::kInput):
    case static_cast<std::uint8_t>(PinMode::kInputLowActive):
      return 5;
    default:
      return 1;
  }
}

}  // namespace tarn

#endif  // TARN_MODEL_PIN_MODE_H_
