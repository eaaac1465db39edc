#include "sim/tarn_memory.h"

namespace tarn::sim {
namespace {

// Factory contents of the registers, by register number. DCC address 1, 250 ms packet
// repetition, native Tarn addressing, every event enabled, an empty ID string.
const std::array<std::vector<std::uint8_t>, kRegisterCount>& FactoryRegisters() {
  static const std::array<std::vector<std::uint8_t>, kRegisterCount> registers = {{
      {kFirmwareVersion.begin(), kFirmwareVersion.end()},
      {0, 0, 0, 0},
      {0},
      {0, 0, 0, 0},
      {1, 0},
      {2},
      {0},
      {0},
      {0, 64},
      {},
      {},
      {0, 0},
      {0, 0},
      {0, 0},
  }};
  return registers;
}

PinMemory FactoryPin() {
  PinMemory pin;
  for (int input = 0; input < kEventInputs; ++input) {
    const auto none = static_cast<std::uint8_t>(input * 16 + 15);
    pin.event_on[input] = none;
    pin.event_off[input] = none;
  }
  return pin;
}

}  // namespace

int ConfigBytesForMode(std::uint8_t mode) {
  // Mode 0 not configured, 1 servo, 2/3 PWM, 4/5 input.
  static constexpr std::array<int, 6> kBytesByMode = {1, 12, 6, 6, 5, 5};
  return mode < kBytesByMode.size() ? kBytesByMode[mode] : 1;
}

std::optional<int> StepSlot(std::uint8_t layout, int aspect, int step) {
  int aspects = 0;
  int steps = 0;
  if (layout == 2) {
    aspects = 12;
    steps = 3;
  } else if (layout == 3) {
    aspects = 4;
    steps = 9;
  }
  if (aspect < 0 || aspect >= aspects || step < 0 || step >= steps) return std::nullopt;
  return aspect * steps + step;
}

void TarnMemory::EraseToFactory() {
  const std::vector<std::uint8_t> version = registers[kVersionRegister];
  registers = FactoryRegisters();
  if (!version.empty()) registers[kVersionRegister] = version;
  pins.fill(FactoryPin());
}

}  // namespace tarn::sim
