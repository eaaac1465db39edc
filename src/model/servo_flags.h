#ifndef TARN_MODEL_SERVO_FLAGS_H_
#define TARN_MODEL_SERVO_FLAGS_H_

#include <array>
#include <cstdint>
#include <string_view>

namespace tarn {

// Byte 2 of a servo pin: bits 0..2 the range, bit 3 marks the current layout, bit 4 Auto Suspend,
// bit 5 Suspended, bit 6 Servo Initialised (the Tarn reports it; nothing may send or store it).
inline constexpr int kServoRangeCount = 5;
inline constexpr std::array<std::string_view, kServoRangeCount> kServoRangeTexts = {"Off", "S", "M",
                                                                                    "L", "XL"};

inline constexpr std::uint8_t kServoRangeMask = 0x07;
inline constexpr std::uint8_t kServoLayoutBit = 0x08;
inline constexpr std::uint8_t kServoAutoSuspendBit = 0x10;
inline constexpr std::uint8_t kServoSuspendedBit = 0x20;
inline constexpr std::uint8_t kServoInitialisedBit = 0x40;

inline constexpr std::string_view kAutoSuspendText = "Auto Suspend";
inline constexpr std::string_view kSuspendedText = "Suspended";
inline constexpr std::string_view kSuspendedHint =
    "If checked, the servo is not activated until the first position is sent";
inline constexpr std::string_view kServoInitialisedText = "Servo Initialised";

struct ServoFlags {
  int range = 0;  // index into kServoRangeTexts
  bool auto_suspend = false;
  bool suspended = false;
  bool initialised = false;

  friend bool operator==(const ServoFlags&, const ServoFlags&) = default;
};

// Ranges 5..7 name no range and show as "Off".
ServoFlags ServoFlagsOf(std::uint8_t byte);

// The byte the editor builds: range + layout bit + the two suspend flags. Servo Initialised is
// the Tarn's to report, so it is never put back; a range outside 0..4 becomes "Off".
std::uint8_t ServoFlagsByte(const ServoFlags& flags);

// What goes to a Tarn or into a file: bits 0..5, without Servo Initialised.
constexpr std::uint8_t ServoFlagsToKeep(std::uint8_t byte) {
  return static_cast<std::uint8_t>(byte % 64);
}

// Older set-ups kept the range in the high four bits and had no layout bit.
constexpr bool IsOlderServoFlags(std::uint8_t byte) {
  return byte > 15 && (byte & kServoLayoutBit) == 0;
}

// An older byte moves its range to bits 0..2 and gains the layout and Suspended bits; a byte in
// the current layout comes back unchanged. Only three bits of range move: a file byte of 128 or
// more would otherwise carry into the layout bits and convert again on every load.
constexpr std::uint8_t ConvertOlderServoFlags(std::uint8_t byte) {
  if (!IsOlderServoFlags(byte)) return byte;
  return static_cast<std::uint8_t>(((byte / 16) & 7) | kServoLayoutBit | kServoSuspendedBit);
}

}  // namespace tarn

#endif  // TARN_MODEL_SERVO_FLAGS_H_
