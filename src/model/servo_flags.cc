#include "model/servo_flags.h"

namespace tarn {

ServoFlags ServoFlagsOf(std::uint8_t byte) {
  const int range = byte & kServoRangeMask;
  return ServoFlags{
      .range = range < kServoRangeCount ? range : 0,
      .auto_suspend = (byte & kServoAutoSuspendBit) != 0,
      .suspended = (byte & kServoSuspendedBit) != 0,
      .initialised = (byte & kServoInitialisedBit) != 0,
  };
}

std::uint8_t ServoFlagsByte(const ServoFlags& flags) {
  const int range = flags.range >= 0 && flags.range < kServoRangeCount ? flags.range : 0;
  return static_cast<std::uint8_t>(range | kServoLayoutBit |
                                   (flags.auto_suspend ? kServoAutoSuspendBit : 0) |
                                   (flags.suspended ? kServoSuspendedBit : 0));
}

}  // namespace tarn
