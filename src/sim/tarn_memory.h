#ifndef TARN_SIM_TARN_MEMORY_H_
#define TARN_SIM_TARN_MEMORY_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace tarn::sim {

inline constexpr int kPinCount = 32;
inline constexpr int kPinConfigBytes = 13;
inline constexpr int kStepSlots = 36;
inline constexpr int kStepWireBytes = 5;  // opcode byte (fade x 16 + opcode), w0, w1, w2, w3
inline constexpr int kEventInputs = 4;

// The general registers, numbered as the 0x60 / 0x70 commands address them.
enum GeneralRegister : int {
  kVersionRegister = 0,
  kHardwareConfigRegister = 1,
  kExtendedAddressRegister = 2,
  kGroupMaskRegister = 3,
  kDccAddressRegister = 4,
  kDccOptionsRegister = 5,
  kGreenLampRegister = 6,
  kOrangeLampRegister = 7,
  kSerialAddressingRegister = 8,
  kIdStringRegister = 10,
  kEventEnableMapRegister = 11,
  kExtendedDccAddressRegister = 12,
  kSerialPortRegister = 13,
  kRegisterCount = 14,
};

// How many values a register holds. Register 9 does not exist; the ID string holds 0..12
// characters; the version is fixed by the firmware and cannot be written.
struct RegisterShape {
  bool exists = false;
  bool writable = false;
  std::size_t min_length = 0;
  std::size_t max_length = 0;
};
inline constexpr std::array<RegisterShape, kRegisterCount> kRegisterShapes = {{
    {true, false, 4, 4},   // version
    {true, true, 4, 4},    // hardware configuration, one byte per output group
    {true, true, 1, 1},    // extended address
    {true, true, 4, 4},    // extended group mask
    {true, true, 2, 2},    // DCC address, low and high
    {true, true, 1, 1},    // DCC options
    {true, true, 1, 1},    // green lamp mask
    {true, true, 1, 1},    // orange lamp mask
    {true, true, 2, 2},    // serial addressing: flex flag, addressing byte
    {false, false, 0, 0},  // (none)
    {true, true, 0, 12},   // ID string
    {true, true, 2, 2},    // event enable map: On mask, Off mask
    {true, true, 2, 2},    // extended DCC address, low and high
    {true, true, 2, 2},    // serial port: enable, settings
}};

// What the Tarn keeps for one pin, every item as the wire carries it.
struct PinMemory {
  std::array<std::uint8_t, kPinConfigBytes> config{};
  // The pin's current level or servo position + 64; live control moves it, and the get request
  // (0x51) answers with it in place of configuration byte 1.
  std::uint8_t live_value = 0;
  std::uint8_t aspect_layout = 0;
  std::array<std::array<std::uint8_t, kStepWireBytes>, kStepSlots> steps{};
  std::uint8_t initial_aspect = 0x7F;  // 0x70 + aspect, 0x7F for none
  // Action bytes: 16 x input + action, low nibble 15 for none.
  std::array<std::uint8_t, kEventInputs> event_on{};
  std::array<std::uint8_t, kEventInputs> event_off{};
  // The pin address configuration, kept by kind: 0x00..0x0F DCC counts, 0x10..0x1F serial
  // count, 0x40..0x5F device pointer.
  std::uint8_t dcc_byte = 0x00;
  std::uint8_t serial_byte = 0x10;
  std::uint8_t pointer_byte = 0x40;
};

// How many configuration bytes a pin in this mode uses: the Tarn answers a read with that many.
int ConfigBytesForMode(std::uint8_t mode);

// The step slot an aspect's step occupies under a layout (12 aspects of 3 steps, or 4 aspects of
// 9 steps, both filling the 36 slots); none when the layout has no such step.
std::optional<int> StepSlot(std::uint8_t layout, int aspect, int step);

// The Tarn's configuration memory.
struct TarnMemory {
  TarnMemory() { EraseToFactory(); }

  // Back to the values a new Tarn leaves the factory with. The firmware version stays.
  void EraseToFactory();

  std::uint8_t extended_address() const { return registers[kExtendedAddressRegister].at(0); }

  std::array<std::vector<std::uint8_t>, kRegisterCount> registers;
  std::array<PinMemory, kPinCount> pins;
  // An older firmware keeps only the first four bytes of a PWM pin and answers with those.
  bool keeps_four_pwm_bytes = false;
};

// The version a simulated Tarn reports: 3.1.0.10.
inline constexpr std::array<std::uint8_t, 4> kFirmwareVersion = {3, 1, 0, 10};

}  // namespace tarn::sim

#endif  // TARN_SIM_TARN_MEMORY_H_
