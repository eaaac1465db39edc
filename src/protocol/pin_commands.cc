#include "protocol/pin_commands.h"

#include <algorithm>
#include <vector>

#include "model/aspect_layout.h"
#include "model/pin_mode.h"
#include "model/step_codec.h"
#include "protocol/command_exchange.h"

namespace tarn {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint8_t kVariantStride = 0x20;
constexpr std::uint8_t kServoFlagsByte = 2;
constexpr std::uint8_t kInitialAspectSlot = 0x70;
constexpr std::uint8_t kNoInitialAspect = 0x7F;
constexpr std::uint8_t kDevicePointerBase = 0x40;
constexpr std::uint8_t kSerialCountBase = 0x10;

std::uint8_t Byte(int value) { return static_cast<std::uint8_t>(value); }

// A reply that answers `command` for `pin` with exactly `length` values.
bool IsReplyFor(const Bytes& reply, std::uint8_t command, int pin, std::size_t length) {
  return reply.size() == length && reply[0] == command && reply[1] == pin;
}

}  // namespace

PinAddressBytes EncodePinAddress(const PinRecord& pin) {
  PinAddressBytes bytes;
  bytes.dcc = Byte((pin.xdcc_address_count & 1) * 8 + (pin.dcc_address_count & 7));
  bytes.serial = Byte(kSerialCountBase + (pin.vesk_address_count & 7));
  // Two's complement in five bits: -1 travels as 0x5F.
  bytes.pointer =
      Byte(kDevicePointerBase + ((pin.device_pointer % kPinCount) + kPinCount) % kPinCount);
  return bytes;
}

AddressByteKind AddressByteKindOf(std::uint8_t byte) {
  if (byte <= 0x0F) return AddressByteKind::kDcc;
  if (byte <= 0x1F) return AddressByteKind::kSerial;
  if (byte >= 0x40 && byte <= 0x5F) return AddressByteKind::kDevicePointer;
  return AddressByteKind::kInvalid;
}

int DeviceHeadOf(int pin, std::uint8_t pointer_byte) {
  return (pin + (pointer_byte & 0x1F)) % kPinCount;
}

PinCommands::PinCommands(Link& link, Clock& clock, Prompter& prompter)
    : link_(link), clock_(clock), prompter_(prompter) {}

bool PinCommands::Write(std::span<const std::uint8_t> message) {
  const bool sent = SendWriteMessage(link_, message);
  PauseAfterWrite(link_, clock_);
  return sent;
}

bool PinCommands::SendPinConfig(PinRecord& pin, int pin_index, PinConfigVariant variant) {
  const std::uint8_t mode = pin.pin_config[0];
  if (mode == static_cast<std::uint8_t>(PinMode::kServo)) pin.pin_config[kServoFlagsByte] %= 64;
  Bytes message = {Byte(kPinConfigSetCommand + kVariantStride * static_cast<int>(variant)),
                   Byte(pin_index)};
  if (PinModeFromByte(mode) && mode != 0) {
    message.insert(message.end(), pin.pin_config.begin(),
                   pin.pin_config.begin() + ConfigBytesOfMode(mode));
  } else {
    message.push_back(0);  // a pin without a known mode travels as a single 0
  }
  return Write(message);
}

bool PinCommands::FetchPinConfig(PinRecord& pin, int pin_index, PinConfigVariant variant) {
  const Bytes request = {Byte(kPinConfigGetCommand + kVariantStride * static_cast<int>(variant)),
                         Byte(pin_index)};
  const ReadReply reply = SendReadRequest(link_, request);
  if (!reply.answered) return false;
  const Bytes& values = reply.payload;
  const bool echo_ok = values.size() >= 3 && (values[0] == kPinConfigGetCommand ||
                                              values[0] == kPinConfigGetCommand + kVariantStride);
  if (!echo_ok || values[1] != pin_index) {
    prompter_.Show(kNoValidResponse);
    return false;
  }
  const std::size_t count = std::min<std::size_t>(values.size() - 2, kPinConfigSize);
  for (std::size_t i = 0; i < count; ++i) {
    if (variant == PinConfigVariant::kSetGet && i == 1) {
      pin.live_value = values[2 + i];
    } else {
      pin.pin_config[i] = values[2 + i];
    }
  }
  const std::uint8_t mode = pin.pin_config[0];
  if ((mode == static_cast<std::uint8_t>(PinMode::kPwm) ||
       mode == static_cast<std::uint8_t>(PinMode::kPwmInverted)) &&
      count < 6) {
    // A Tarn that keeps fewer PWM bytes uses the full range.
    pin.pin_config[4] = 0;
    pin.pin_config[5] = 31;
  }
  std::uint8_t& flags = pin.pin_config[kServoFlagsByte];
  if (mode == static_cast<std::uint8_t>(PinMode::kServo) && flags >= 16 && (flags & 8) == 0) {
    // The older firmware's layout of the servo flags.
    flags = Byte(flags / 16 + 40);
  }
  return true;
}

bool PinCommands::WriteAspectLayout(const PinRecord& pin, int pin_index) {
  const Bytes message = {kAspectLayoutWriteCommand, Byte(pin_index), pin.aspect_layout};
  return Write(message);
}

bool PinCommands::ReadAspectLayout(PinRecord& pin, int pin_index) {
  constexpr std::uint8_t kCommand = kAspectLayoutWriteCommand + kReadOffset;
  const Bytes request = {kCommand, Byte(pin_index)};
  const ReadReply reply = SendReadRequest(link_, request);
  if (!reply.answered) return false;
  if (!IsReplyFor(reply.payload, kCommand, pin_index, 3)) {
    prompter_.Show(kNoValidResponse);
    return false;
  }
  pin.aspect_layout = reply.payload[2];
  return true;
}

bool PinCommands::WriteStep(const PinRecord& pin, int pin_index, int aspect, int step) {
  const DeviceStepBytes bytes = EncodeDeviceStep(pin.aspects.at(aspect).steps.at(step));
  const Bytes message = {kStepWriteCommand, Byte(pin_index),   Byte(aspect),
                         Byte(step),        bytes.opcode_byte, bytes.w[0],
                         bytes.w[1],        bytes.w[2],        bytes.w[3]};
  return Write(message);
}

bool PinCommands::ReadStep(PinRecord& pin, int pin_index, int aspect, int step) {
  constexpr std::uint8_t kCommand = kStepWriteCommand + kReadOffset;
  const Bytes request = {kCommand, Byte(pin_index), Byte(aspect), Byte(step)};
  const ReadReply reply = SendReadRequest(link_, request);
  if (!reply.answered) return false;
  const Bytes& values = reply.payload;
  if (!IsReplyFor(values, kCommand, pin_index, 9) || values[2] != aspect || values[3] != step) {
    prompter_.Show(kNoValidResponse);
    return false;
  }
  const DeviceStepBytes bytes{values[4], {values[5], values[6], values[7], values[8]}};
  pin.aspects.at(aspect).steps.at(step) = DecodeDeviceStep(bytes);
  return true;
}

bool PinCommands::WriteAspectSteps(const PinRecord& pin, int pin_index, int aspect) {
  const int steps = StepsPerAspect(pin.aspect_layout);
  for (int step = 0; step < steps; ++step) {
    if (!WriteStep(pin, pin_index, aspect, step)) return false;
  }
  return true;
}

bool PinCommands::WriteInitialAspect(const PinRecord& pin, int pin_index) {
  // Aspects 0..14 fit the low nibble; 15 means none.
  const std::uint8_t value = pin.initial_aspect == 0 || pin.initial_aspect > 15
                                 ? kNoInitialAspect
                                 : Byte(kInitialAspectSlot + pin.initial_aspect - 1);
  const Bytes message = {kInitialAspectWriteCommand, Byte(pin_index), value};
  return Write(message);
}

bool PinCommands::ReadInitialAspect(PinRecord& pin, int pin_index) {
  constexpr std::uint8_t kCommand = kInitialAspectWriteCommand + kReadOffset;
  const Bytes request = {kCommand, Byte(pin_index)};
  const ReadReply reply = SendReadRequest(link_, request);
  if (!reply.answered) return false;
  if (!reply.from_tarn) {
    // Tunnelled, the unit answered every poll but the Tarn never did: that is no reply, not a
    // reply without an initial aspect, and the link has said nothing about it.
    prompter_.Show(kNoValidResponse);
    return false;
  }
  const Bytes& values = reply.payload;
  pin.initial_aspect = 0;
  if (IsReplyFor(values, kCommand, pin_index, 7) && (values[2] & 0xF0) == kInitialAspectSlot &&
      (values[2] & 0x0F) != 0x0F) {
    pin.initial_aspect = Byte((values[2] & 0x0F) + 1);
  }
  return true;
}

bool PinCommands::WriteAddressConfig(const PinRecord& pin, int pin_index) {
  const PinAddressBytes bytes = EncodePinAddress(pin);
  const Bytes message = {kAddressConfigWriteCommand, Byte(pin_index), bytes.dcc, bytes.serial,
                         bytes.pointer};
  return Write(message);
}

bool PinCommands::ReadAddressConfig(PinRecord& pin, int pin_index) {
  constexpr std::uint8_t kCommand = kAddressConfigWriteCommand + kReadOffset;
  const Bytes request = {kCommand, Byte(pin_index)};
  const ReadReply reply = SendReadRequest(link_, request);
  if (!reply.answered) return false;
  const Bytes& values = reply.payload;
  if (!IsReplyFor(values, kCommand, pin_index, 5)) {
    prompter_.Show(kInvalidAddressConfigResponse);
    return false;
  }
  for (std::size_t i = 2; i < values.size(); ++i) {
    const std::uint8_t byte = values[i];
    switch (AddressByteKindOf(byte)) {
      case AddressByteKind::kDcc:
        pin.dcc_address_count = byte & 7;
        pin.xdcc_address_count = (byte >> 3) & 1;
        break;
      case AddressByteKind::kSerial:
        pin.vesk_address_count = byte & 7;
        break;
      case AddressByteKind::kDevicePointer:
        pin.device_pointer = static_cast<std::int16_t>(DeviceHeadOf(pin_index, byte) - pin_index);
        break;
      case AddressByteKind::kInvalid:
        prompter_.Show(kInvalidAddressConfigResponse);
        return false;
    }
  }
  return true;
}

}  // namespace tarn
