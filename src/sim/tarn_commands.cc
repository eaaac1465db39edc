#include "sim/tarn_commands.h"

#include <algorithm>
#include <optional>

namespace tarn::sim {
namespace {

using Payload = std::span<const std::uint8_t>;
using Reply = std::vector<std::uint8_t>;

constexpr std::uint8_t kInitialAspectSlot = 7;

Reply EchoOnly(Payload payload) { return {payload[0]}; }

// The command, the register or pin, then the values.
Reply ReadAnswer(Payload payload, std::span<const std::uint8_t> values) {
  Reply reply = {payload[0], payload[1]};
  reply.insert(reply.end(), values.begin(), values.end());
  return reply;
}

// The pin a pin message addresses, when it has exactly `size` values and the pin exists.
std::optional<int> PinOf(Payload payload, std::size_t size) {
  if (payload.size() != size || payload[1] >= kPinCount) return std::nullopt;
  return payload[1];
}

Reply ReadGeneral(TarnMemory& memory, Payload payload) {
  if (payload.size() != 2 || payload[1] >= kRegisterCount || !kRegisterShapes[payload[1]].exists)
    return EchoOnly(payload);
  return ReadAnswer(payload, memory.registers[payload[1]]);
}

Reply WriteGeneral(TarnMemory& memory, Payload payload) {
  if (payload.size() < 2 || payload[1] >= kRegisterCount) return EchoOnly(payload);
  const RegisterShape& shape = kRegisterShapes[payload[1]];
  const std::size_t length = payload.size() - 2;
  if (shape.writable && length >= shape.min_length && length <= shape.max_length)
    memory.registers[payload[1]].assign(payload.begin() + 2, payload.end());
  return EchoOnly(payload);
}

// 0x41 (set) and 0x61 (write): pin, then as many configuration bytes as the mode uses.
Reply WritePinConfig(TarnMemory& memory, Payload payload) {
  if (payload.size() < 3 || payload.size() > 2 + kPinConfigBytes || payload[1] >= kPinCount)
    return EchoOnly(payload);
  PinMemory& pin = memory.pins[payload[1]];
  std::copy(payload.begin() + 2, payload.end(), pin.config.begin());
  pin.live_value = pin.config[1];
  return EchoOnly(payload);
}

Reply AnswerPinConfig(Payload payload, const PinMemory& pin, bool live, bool four_pwm_bytes) {
  auto bytes = pin.config;
  if (live) bytes[1] = pin.live_value;
  const int mode_count = ConfigBytesForMode(pin.config[0]);
  const bool pwm = pin.config[0] == 2 || pin.config[0] == 3;
  const auto count = static_cast<std::size_t>(four_pwm_bytes && pwm ? 4 : mode_count);
  return ReadAnswer(payload, std::span(bytes).first(count));
}

// 0x51 (get) answers with the pin's live value in place of configuration byte 1.
Reply GetPinConfig(TarnMemory& memory, Payload payload) {
  const auto pin = PinOf(payload, 2);
  return pin ? AnswerPinConfig(payload, memory.pins[*pin], true, memory.keeps_four_pwm_bytes)
             : EchoOnly(payload);
}

Reply ReadPinConfig(TarnMemory& memory, Payload payload) {
  const auto pin = PinOf(payload, 2);
  return pin ? AnswerPinConfig(payload, memory.pins[*pin], false, memory.keeps_four_pwm_bytes)
             : EchoOnly(payload);
}

Reply WriteLayout(TarnMemory& memory, Payload payload) {
  if (const auto pin = PinOf(payload, 3)) memory.pins[*pin].aspect_layout = payload[2];
  return EchoOnly(payload);
}

Reply ReadLayout(TarnMemory& memory, Payload payload) {
  const auto pin = PinOf(payload, 2);
  if (!pin) return EchoOnly(payload);
  const std::uint8_t layout = memory.pins[*pin].aspect_layout;
  return ReadAnswer(payload, std::span(&layout, 1));
}

// 0x63: pin, aspect, step, opcode byte, w0..w3.
Reply WriteStep(TarnMemory& memory, Payload payload) {
  const auto pin = PinOf(payload, 4 + kStepWireBytes);
  if (!pin) return EchoOnly(payload);
  PinMemory& memory_pin = memory.pins[*pin];
  const auto slot = StepSlot(memory_pin.aspect_layout, payload[2], payload[3]);
  if (slot) std::copy(payload.begin() + 4, payload.end(), memory_pin.steps[*slot].begin());
  return EchoOnly(payload);
}

// 0x73: pin, aspect, step; answered with the aspect and step echoed before the step's bytes.
Reply ReadStep(TarnMemory& memory, Payload payload) {
  const auto pin = PinOf(payload, 4);
  if (!pin) return EchoOnly(payload);
  const PinMemory& memory_pin = memory.pins[*pin];
  const auto slot = StepSlot(memory_pin.aspect_layout, payload[2], payload[3]);
  if (!slot) return EchoOnly(payload);
  Reply reply(payload.begin(), payload.end());
  reply.insert(reply.end(), memory_pin.steps[*slot].begin(), memory_pin.steps[*slot].end());
  return reply;
}

// Every byte after the pin names its slot in the high nibble: 0..3 an input's action, 7 (Event-On
// message only) the initial aspect. Bytes for other slots are ignored.
Reply WriteEventActions(TarnMemory& memory, Payload payload, bool event_on) {
  if (payload.size() < 3 || payload[1] >= kPinCount) return EchoOnly(payload);
  PinMemory& pin = memory.pins[payload[1]];
  auto& actions = event_on ? pin.event_on : pin.event_off;
  for (const std::uint8_t byte : payload.subspan(2)) {
    const int slot = byte >> 4;
    if (slot < kEventInputs) {
      actions[slot] = byte;
    } else if (event_on && slot == kInitialAspectSlot) {
      pin.initial_aspect = byte;
    }
  }
  return EchoOnly(payload);
}

Reply WriteEventOn(TarnMemory& memory, Payload payload) {
  return WriteEventActions(memory, payload, true);
}

Reply WriteEventOff(TarnMemory& memory, Payload payload) {
  return WriteEventActions(memory, payload, false);
}

// Answered with the initial aspect first, then the four Event-On actions.
Reply ReadEventOn(TarnMemory& memory, Payload payload) {
  const auto pin = PinOf(payload, 2);
  if (!pin) return EchoOnly(payload);
  const PinMemory& memory_pin = memory.pins[*pin];
  Reply reply = {payload[0], payload[1], memory_pin.initial_aspect};
  reply.insert(reply.end(), memory_pin.event_on.begin(), memory_pin.event_on.end());
  return reply;
}

Reply ReadEventOff(TarnMemory& memory, Payload payload) {
  const auto pin = PinOf(payload, 2);
  return pin ? ReadAnswer(payload, memory.pins[*pin].event_off) : EchoOnly(payload);
}

// The three address bytes are told apart by their value, so they may come in any order; a byte
// of no kind is ignored.
Reply WriteAddressConfig(TarnMemory& memory, Payload payload) {
  const auto pin = PinOf(payload, 5);
  if (!pin) return EchoOnly(payload);
  PinMemory& memory_pin = memory.pins[*pin];
  for (const std::uint8_t byte : payload.subspan(2)) {
    if (byte <= 0x0F) {
      memory_pin.dcc_byte = byte;
    } else if (byte <= 0x1F) {
      memory_pin.serial_byte = byte;
    } else if (byte >= 0x40 && byte <= 0x5F) {
      memory_pin.pointer_byte = byte;
    }
  }
  return EchoOnly(payload);
}

Reply ReadAddressConfig(TarnMemory& memory, Payload payload) {
  const auto pin = PinOf(payload, 2);
  if (!pin) return EchoOnly(payload);
  const PinMemory& memory_pin = memory.pins[*pin];
  const std::array<std::uint8_t, 3> bytes = {memory_pin.dcc_byte, memory_pin.serial_byte,
                                             memory_pin.pointer_byte};
  return ReadAnswer(payload, bytes);
}

struct CommandEntry {
  std::uint8_t command;
  Reply (*answer)(TarnMemory&, Payload);
};

constexpr CommandEntry kCommands[] = {
    {kGeneralWrite, WriteGeneral},
    {kGeneralRead, ReadGeneral},
    {0x41, WritePinConfig},
    {0x61, WritePinConfig},
    {0x51, GetPinConfig},
    {0x71, ReadPinConfig},
    {0x62, WriteLayout},
    {0x72, ReadLayout},
    {0x63, WriteStep},
    {0x73, ReadStep},
    {0x64, WriteEventOn},
    {kEventOnRead, ReadEventOn},
    {0x65, WriteEventOff},
    {kEventOffRead, ReadEventOff},
    {0x66, WriteAddressConfig},
    {0x76, ReadAddressConfig},
};

}  // namespace

bool IsWriteCommand(std::uint8_t command) {
  return command == kGeneralWrite || command == 0x41 || (command >= 0x61 && command <= 0x66);
}

bool IsEventActionRead(std::uint8_t command) {
  return command == kEventOnRead || command == kEventOffRead;
}

std::vector<std::uint8_t> AnswerConfigurationCommand(TarnMemory& memory,
                                                     std::span<const std::uint8_t> payload) {
  if (payload.empty()) return {};
  for (const CommandEntry& entry : kCommands) {
    if (entry.command == payload[0]) return entry.answer(memory, payload);
  }
  return EchoOnly(payload);
}

}  // namespace tarn::sim
