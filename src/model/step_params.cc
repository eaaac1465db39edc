#include "model/step_params.h"

#include <algorithm>

#include "model/model_limits.h"
#include "model/step_time.h"
#include "model/typed_number.h"

namespace tarn {
namespace {

constexpr int kLastPin = kPinCount - 1;
constexpr int kAccelNone = 127;  // "Accel" -1

std::uint8_t Byte(long long value) { return static_cast<std::uint8_t>(value); }

// The numbering base added to p2, which only "Clone" shows as a pin number.
int P2PinBase(const InstructionDescriptor& d, int numbering_base) {
  return d.p2_is_pin ? numbering_base : 0;
}

int ShownP1(const InstructionDescriptor& d, int s, int pin, int numbering_base) {
  switch (d.p1_kind) {
    case P1Kind::kAccel:
      return s == kAccelNone ? -1 : s;
    case P1Kind::kMuxPin:
      return s + numbering_base;
    case P1Kind::kPinOffset:
      break;
  }
  // The byte names pin (pin + s) mod 32; the user sees the signed distance to it.
  return pin + s < kPinCount ? s : s - kPinCount;
}

std::uint8_t StoredP1(const InstructionDescriptor& d, long long v, int pin, int numbering_base) {
  switch (d.p1_kind) {
    case P1Kind::kAccel:
      return Byte((std::clamp(v, -1LL, 31LL) + 128) % 128);
    case P1Kind::kMuxPin:
      return Byte(std::clamp<long long>(v, numbering_base, numbering_base + kLastPin) -
                  numbering_base);
    case P1Kind::kPinOffset:
      break;
  }
  return Byte((std::clamp<long long>(v, -pin, kLastPin - pin) + kPinCount) % kPinCount);
}

}  // namespace

long long StepFieldNumber(std::string_view typed) { return TypedNumber(typed); }

int ShownParamValue(const Step& step, StepParam param, int pin, int numbering_base) {
  const InstructionDescriptor d = InstructionOf(step.opcode);
  const int s = ParamByte(step, param);
  switch (param) {
    case StepParam::kP1:
      return ShownP1(d, s, std::clamp(pin, 0, kLastPin), numbering_base);
    case StepParam::kP2:
      return (d.p2_signed() ? SevenBitSigned(step.p2) : s) + d.display_offset +
             P2PinBase(d, numbering_base);
    case StepParam::kP3:
    case StepParam::kP4:
      break;
  }
  return s;
}

std::string ShownParamText(const Step& step, StepParam param, int pin, int numbering_base) {
  return std::to_string(ShownParamValue(step, param, pin, numbering_base));
}

std::uint8_t StoredParamValue(const Step& step, StepParam param, long long shown, int pin,
                              int numbering_base) {
  const InstructionDescriptor d = InstructionOf(step.opcode);
  switch (param) {
    case StepParam::kP1:
      return StoredP1(d, shown, std::clamp(pin, 0, kLastPin), numbering_base);
    case StepParam::kP2: {
      const long long v = std::clamp<long long>(
          shown - d.display_offset - P2PinBase(d, numbering_base), d.p2_min, d.p2_max);
      return d.p2_signed() ? SevenBitFromSigned(static_cast<int>(v)) : Byte(v);
    }
    case StepParam::kP3:
      return Byte(std::clamp<long long>(shown, 0, d.p3_max));
    case StepParam::kP4:
      break;
  }
  return Byte(std::clamp<long long>(shown, 0, kMaxWaitBase));
}

ParamEntry EnterParam(Step& step, StepParam param, std::string_view typed, int pin,
                      int numbering_base) {
  ParamByte(step, param) =
      StoredParamValue(step, param, StepFieldNumber(typed), pin, numbering_base);
  NormaliseStep(step);
  ParamEntry entry;
  entry.stored = ParamByte(step, param);
  entry.text = ShownParamText(step, param, pin, numbering_base);
  entry.rewritten = entry.text != typed;
  return entry;
}

StepRowView RefreshStepRow(Step& step, int pin, int numbering_base) {
  NormaliseStep(step);
  const InstructionDescriptor d = InstructionOf(step.opcode);
  StepRowView view;
  view.menu_index = InstructionMenuIndex(step.opcode);
  view.fade_allowed = d.fade_allowed;
  view.fade = step.fade != 0;
  view.fade_heading = d.fade_allowed ? "Fade" : "";
  for (StepParam param : kStepParams) {
    StepParamView& field = view.params[ParamIndex(param)];
    field.used = d.uses_param(param);
    field.label = d.label(param);
    field.text = ShownParamText(step, param, pin, numbering_base);
  }
  view.time_text = StepTimeText(step);
  return view;
}

}  // namespace tarn
