#include "model/step_codec.h"

#include "model/instruction_set.h"

namespace tarn {
namespace {

constexpr int kFadeBit = 16;
constexpr int kFirstSendSerial = 4;
constexpr int kLastSendSerial = 5;

bool IsSendSerial(int opcode) { return opcode >= kFirstSendSerial && opcode <= kLastSendSerial; }

// Codes 19..63 with the fade bit set; 16, 17 and 18 are instructions of their own.
bool CodeCarriesFade(int code) {
  return code > 18 && code < kFirstWaitingOpcode && (code & kFadeBit) != 0;
}

std::uint8_t Low7(int value) { return static_cast<std::uint8_t>(value & 0x7F); }

}  // namespace

// Adding the fade bit to an opcode that already has it carries out of bit 4, so such an opcode
// cannot carry fade.
bool CanCarryFade(int opcode) { return opcode >= 0 && CodeCarriesFade(opcode + kFadeBit); }

std::uint8_t OpcodeCode(const Step& step) {
  const bool fade = step.fade != 0 && CanCarryFade(step.opcode);
  return static_cast<std::uint8_t>(step.opcode + (fade ? kFadeBit : 0));
}

OpcodeAndFade SplitOpcodeCode(std::uint8_t code) {
  if (CodeCarriesFade(code)) {
    return {static_cast<std::uint8_t>(code - kFadeBit), 1};
  }
  return {code, 0};
}

DeviceStepBytes EncodeDeviceStep(const Step& step) {
  if (step.opcode > kMaxOpcode) return {};
  DeviceStepBytes bytes;
  bytes.opcode_byte = OpcodeCode(step);
  if (IsSendSerial(step.opcode)) {
    bytes.w = {static_cast<std::uint8_t>(step.p2 / 128 + 2 * (step.p3 / 128)), Low7(step.p2),
               Low7(step.p3), Low7(step.p4)};
  } else {
    bytes.w = {Low7(step.p1), Low7(step.p2), Low7(step.p3), Low7(step.p4)};
  }
  return bytes;
}

Step DecodeDeviceStep(const DeviceStepBytes& bytes) {
  const OpcodeAndFade split = SplitOpcodeCode(bytes.opcode_byte);
  Step step;
  step.opcode = split.opcode;
  step.fade = split.fade;
  const auto& w = bytes.w;
  if (IsSendSerial(step.opcode)) {
    step.p2 = static_cast<std::uint8_t>(128 * (w[0] & 1) + w[1]);
    step.p3 = static_cast<std::uint8_t>(128 * ((w[0] >> 1) & 1) + w[2]);
  } else {
    step.p1 = w[0];
    step.p2 = w[1];
    step.p3 = w[2];
  }
  step.p4 = w[3];
  return step;
}

FileStepItems EncodeFileStep(const Step& step) {
  return {OpcodeCode(step), {step.p1, step.p2, step.p3, step.p4}};
}

std::optional<Step> DecodeFileStep(const FileStepItems& items) {
  const auto fits = [](int value) { return value >= 0 && value <= 255; };
  if (!fits(items.code)) return std::nullopt;
  const OpcodeAndFade split = SplitOpcodeCode(static_cast<std::uint8_t>(items.code));
  int p2 = items.params[1];
  if (p2 < 0 && p2 >= -64 && InstructionOf(split.opcode).p2_signed()) p2 = SevenBitFromSigned(p2);
  const int p[4] = {items.params[0], p2, items.params[2], items.params[3]};
  for (int value : p) {
    if (!fits(value)) return std::nullopt;
  }
  Step step;
  step.opcode = split.opcode;
  step.fade = split.fade;
  step.p1 = static_cast<std::uint8_t>(p[0]);
  step.p2 = static_cast<std::uint8_t>(p[1]);
  step.p3 = static_cast<std::uint8_t>(p[2]);
  step.p4 = static_cast<std::uint8_t>(p[3]);
  return step;
}

}  // namespace tarn
