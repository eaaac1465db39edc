#include "protocol/pin_commands.h"

#include <algorithm>
#include <vector>

#include "model/aspect_layout.h"
#include "model/pin_mode.h"
#include "model/servo_flags.h"

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

}  // namespace

PinAddressBytes EncodePinAddress(const PinRecord& pin) {
  PinAddressBytes bytes;
  bytes.dcc = Byte((pin.xdcc_address_count & 1) * 8 + (pin.dcc_address_count & 7));
  bytes.serial = Byte(kSerialCountBase + (pin.vesk_address_count & 7));
  // Two's complement in five bits: -1 travels as 0x5F.
  bytes.pointer = Byte(kDevicePointerBase + WrapPin(pin.device_pointer));
  return bytes;
}

std::vector<std::uint8_t> PinConfigBytesToSend(const PinConfig& config) {
  const std::uint8_t mode = config[0];
  if (!PinModeFromByte(mode) || mode == 0) return {0};
  Bytes bytes(config.begin(), config.begin() + ConfigBytesOfMode(mode));
  if (mode == static_cast<std::uint8_t>(PinMode::kServo)) {
    bytes[kServoFlagsByte] = ServoFlagsToKeep(bytes[kServoFlagsByte]);
  }
  return bytes;
}

AddressByteKind AddressByteKindOf(std::uint8_t byte) {
  if (byte <= 0x0F) return AddressByteKind::kDcc;
  if (byte <= 0x1F) return AddressByteKind::kSerial;
  if (byte >= 0x40 && byte <= 0x5F) return AddressByteKind::kDevicePointer;
  return AddressByteKind::kInvalid;
}

int DeviceHeadOf(int pin, std::uint8_t pointer_byte) {
  return WrapPin(pin + (pointer_byte & 0x1F));
}

bool IsPinConfigReply(std::span<const std::uint8_t> reply, int pin) {
  if (reply.size() < 3 || reply.size() > 2 + kPinConfigSize) return false;
  if ((reply[0] != kPinConfigGetCommand && reply[0] != kPinConfigReadCommand) || reply[1] != pin) {
    return false;
  }
  // A reply must carry every byte its mode keeps, or the missing ones would keep stale values.
  // A Tarn that keeps fewer PWM bytes sends the first four.
  const std::uint8_t mode = reply[2];
  const auto received = static_cast<int>(reply.size() - 2);
  return received >= ConfigBytesOfMode(mode) || (IsPwmMode(mode) && received == kOlderPwmBytes);
}

std::optional<DeviceStepBytes> StepOfReply(std::span<const std::uint8_t> reply, int pin, int aspect,
                                           int step) {
  if (!IsReplyFor(reply, kStepReadCommand, pin, 9) || reply[2] != aspect || reply[3] != step) {
    return std::nullopt;
  }
  return DeviceStepBytes{reply[4], {reply[5], reply[6], reply[7], reply[8]}};
}

std::optional<std::uint8_t> InitialAspectOfReply(std::span<const std::uint8_t> reply, int pin) {
  if (!IsReplyFor(reply, kInitialAspectReadCommand, pin, 7) ||
      (reply[2] & 0xF0) != kInitialAspectSlot) {
    return std::nullopt;
  }
  const int low = reply[2] & 0x0F;  // 15 means none
  return Byte(low == 0x0F ? 0 : low + 1);
}

PinCommands::PinCommands(Link& link, Clock& clock, Prompter& prompter)
    : link_(link), clock_(clock), prompter_(prompter) {}

bool PinCommands::Write(std::span<const std::uint8_t> message) {
  const bool sent = SendWriteMessage(link_, message, prompter_);
  PauseAfterWrite(link_, clock_);
  return sent;
}

bool PinCommands::SendPinConfig(PinRecord& pin, int pin_index, PinConfigVariant variant) {
  const std::uint8_t mode = pin.pin_config[0];
  std::uint8_t& flags = pin.pin_config[kServoFlagsByte];
  if (mode == static_cast<std::uint8_t>(PinMode::kServo)) flags = ServoFlagsToKeep(flags);
  Bytes message = {Byte(kPinConfigSetCommand + kVariantStride * static_cast<int>(variant)),
                   Byte(pin_index)};
  const Bytes bytes = PinConfigBytesToSend(pin.pin_config);
  message.insert(message.end(), bytes.begin(), bytes.end());
  return Write(message);
}

bool PinCommands::FetchPinConfig(PinRecord& pin, int pin_index, PinConfigVariant variant) {
  const Bytes request = {Byte(kPinConfigGetCommand + kVariantStride * static_cast<int>(variant)),
                         Byte(pin_index)};
  const ReadReply reply = SendReadRequest(link_, request);
  if (!reply.answered) return false;
  const Bytes& values = reply.payload;
  if (!IsPinConfigReply(values, pin_index)) {
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
  if (IsPwmMode(mode) && count < 6) {
    // A Tarn that keeps fewer PWM bytes uses the full range.
    pin.pin_config[4] = 0;
    pin.pin_config[5] = 31;
  }
  std::uint8_t& flags = pin.pin_config[kServoFlagsByte];
  if (mode == static_cast<std::uint8_t>(PinMode::kServo)) flags = ConvertOlderServoFlags(flags);
  return true;
}

bool PinCommands::WriteAspectLayout(const PinRecord& pin, int pin_index) {
  const Bytes message = {kAspectLayoutWriteCommand, Byte(pin_index), pin.aspect_layout};
  return Write(message);
}

bool PinCommands::ReadAspectLayout(PinRecord& pin, int pin_index) {
  const Bytes request = {kAspectLayoutReadCommand, Byte(pin_index)};
  const ReadReply reply = SendReadRequest(link_, request);
  if (!reply.answered) return false;
  if (!IsReplyFor(reply.payload, kAspectLayoutReadCommand, pin_index, 3)) {
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
  const Bytes request = {kStepReadCommand, Byte(pin_index), Byte(aspect), Byte(step)};
  const ReadReply reply = SendReadRequest(link_, request);
  if (!reply.answered) return false;
  const std::optional<DeviceStepBytes> bytes = StepOfReply(reply.payload, pin_index, aspect, step);
  if (!bytes) {
    prompter_.Show(kNoValidResponse);
    return false;
  }
  pin.aspects.at(aspect).steps.at(step) = DecodeDeviceStep(*bytes);
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
  const std::uint8_t value = pin.initial_aspect == 0 || pin.initial_aspect > kMaxInitialAspect
                                 ? kNoInitialAspect
                                 : Byte(kInitialAspectSlot + pin.initial_aspect - 1);
  const Bytes message = {kInitialAspectWriteCommand, Byte(pin_index), value};
  return Write(message);
}

bool PinCommands::ReadInitialAspect(PinRecord& pin, int pin_index) {
  const Bytes request = {kInitialAspectReadCommand, Byte(pin_index)};
  const ReadReply reply = SendReadRequest(link_, request);
  if (!reply.answered) return false;
  // The initial aspect shares its read with the Event-On actions, and a Tarn without event
  // control refuses it with the echo alone: the pin keeps its initial aspect, the read goes on
  // and says so at its end.
  if (reply.payload.size() == 1 && reply.payload[0] == kInitialAspectReadCommand) {
    not_read_.push_back({"the initial aspect", pin_index, pin_index});
    return true;
  }
  // Any other reply that does not carry an initial aspect for this pin is no answer: taking it
  // as "none" would wipe the pin's initial aspect on the next write. (Tunnelled, a wait that ran
  // out leaves an empty payload and ends here too.)
  const std::optional<std::uint8_t> initial_aspect = InitialAspectOfReply(reply.payload, pin_index);
  if (!initial_aspect) {
    prompter_.Show(kNoValidResponse);
    return false;
  }
  pin.initial_aspect = *initial_aspect;
  return true;
}

bool PinCommands::WriteAddressConfig(const PinRecord& pin, int pin_index) {
  const PinAddressBytes bytes = EncodePinAddress(pin);
  const Bytes message = {kAddressConfigWriteCommand, Byte(pin_index), bytes.dcc, bytes.serial,
                         bytes.pointer};
  return Write(message);
}

std::optional<std::array<std::uint8_t, 3>> PinCommands::RequestAddressBytes(int pin_index) {
  const Bytes request = {kAddressConfigReadCommand, Byte(pin_index)};
  const ReadReply reply = SendReadRequest(link_, request);
  if (!reply.answered) return std::nullopt;
  const Bytes& values = reply.payload;
  if (!IsReplyFor(values, kAddressConfigReadCommand, pin_index, 5)) {
    prompter_.Show(kInvalidAddressConfigResponse);
    return std::nullopt;
  }
  return std::array<std::uint8_t, 3>{values[2], values[3], values[4]};
}

bool PinCommands::ReadAddressConfig(PinRecord& pin, int pin_index) {
  const std::optional<std::array<std::uint8_t, 3>> bytes = RequestAddressBytes(pin_index);
  if (!bytes) return false;
  // Decoded into a copy: a byte in no class spoils the whole reply.
  PinRecord received = pin;
  for (const std::uint8_t byte : *bytes) {
    switch (AddressByteKindOf(byte)) {
      case AddressByteKind::kDcc:
        received.dcc_address_count = byte & 7;
        received.xdcc_address_count = (byte >> 3) & 1;
        break;
      case AddressByteKind::kSerial:
        received.vesk_address_count = byte & 7;
        break;
      case AddressByteKind::kDevicePointer:
        received.device_pointer = static_cast<std::int16_t>(DeviceHeadOf(pin_index, byte) - pin_index);
        break;
      case AddressByteKind::kInvalid:
        prompter_.Show(kInvalidAddressConfigResponse);
        return false;
    }
  }
  pin = std::move(received);
  return true;
}

}  // namespace tarn
