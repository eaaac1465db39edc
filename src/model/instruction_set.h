#ifndef TARN_MODEL_INSTRUCTION_SET_H_
#define TARN_MODEL_INSTRUCTION_SET_H_

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "model/step.h"

namespace tarn {

// The four parameter bytes of a step, editor columns "Par 0" .. "Par 2" and the fourth column.
enum class StepParam : std::uint8_t { kP1 = 0, kP2 = 1, kP3 = 2, kP4 = 3 };
inline constexpr int kStepParamCount = 4;
inline constexpr std::array<StepParam, kStepParamCount> kStepParams = {
    StepParam::kP1, StepParam::kP2, StepParam::kP3, StepParam::kP4};

constexpr int ParamIndex(StepParam param) { return static_cast<int>(param); }

std::uint8_t& ParamByte(Step& step, StepParam param);
std::uint8_t ParamByte(const Step& step, StepParam param);

// Opcodes above this are never defined; an opcode byte may still hold them.
inline constexpr int kMaxOpcode = 127;
// Opcodes from here up wait after their action for p3 "Time" x 8^p4 "Base" ticks.
inline constexpr int kFirstWaitingOpcode = 64;
inline constexpr int kMenuGroupCount = 6;

// What p1 names. Most instructions act on the pin at a signed distance from the step's own pin.
enum class P1Kind : std::uint8_t {
  kPinOffset,  // "P.O.": distance to the target pin, wrapping round pin 31
  kAccel,      // "Accel": -1..31, -1 held as 127
  kMuxPin,     // "MXpin": a pin number, shown with the numbering base
};

// Which calculator a double-click on the step's fields opens.
inline constexpr int kHelpToolNone = 0;
inline constexpr int kHelpToolLevel = 1;         // p2
inline constexpr int kHelpToolFirstPattern = 2;  // 2..7: pattern of that many outputs, p2
inline constexpr int kHelpToolLastPattern = 7;
inline constexpr int kHelpToolTime = 9;           // p3, p4 and the step time
inline constexpr int kHelpToolEventPattern = 16;  // p2

constexpr bool IsPatternHelpTool(int code) {
  return code >= kHelpToolFirstPattern && code <= kHelpToolLastPattern;
}

struct InstructionDescriptor {
  int opcode = 0;
  int menu_group = 0;     // 0..5, orders the instruction lists
  std::string_view name;  // empty: the opcode is undefined
  bool fade_allowed = false;
  std::array<bool, kStepParamCount> uses{};
  std::array<std::string_view, kStepParamCount> labels{};  // column headings; empty when unused
  P1Kind p1_kind = P1Kind::kPinOffset;
  bool p2_is_pin = false;  // "Clone": p2 is a pin number, shown with the numbering base
  int p2_min = 0;          // range of p2 as stored (a negative minimum: see SevenBitSigned)
  int p2_max = 0;
  int p3_max = 63;
  int help_tool = kHelpToolNone;
  int display_offset = 0;  // added to the stored p2 to show it

  constexpr bool defined() const { return !name.empty(); }
  constexpr bool uses_param(StepParam param) const { return uses[ParamIndex(param)]; }
  constexpr std::string_view label(StepParam param) const { return labels[ParamIndex(param)]; }
  // "If Equal" .. "If Not Less" hold a signed "Value" in seven bits.
  constexpr bool p2_signed() const { return p2_min < 0; }
};

// The descriptor of any opcode value. An undefined one has an empty name, no fade, no parameters
// and no help tool, and carries the opcode it was asked for.
InstructionDescriptor InstructionOf(int opcode);

struct InstructionMenuEntry {
  std::uint8_t opcode;
  std::string_view name;
};

// Every defined instruction, group 0 to 5 and by opcode within a group: the order of the
// instruction selectors.
std::span<const InstructionMenuEntry> InstructionMenu();

// Position of `opcode` in InstructionMenu(); 0 (the empty step "-") when it is not listed.
int InstructionMenuIndex(int opcode);

// A signed "Value" -64..63 is held as the low seven bits of its two's complement, and a held
// byte of 64 or more means byte - 128. Storing, showing, the device messages and the files all
// use this one rule.
constexpr std::uint8_t SevenBitFromSigned(int value) {
  return static_cast<std::uint8_t>(value & 0x7F);
}
constexpr int SevenBitSigned(std::uint8_t byte) { return byte >= 64 ? byte - 128 : byte; }

// Zeroes every parameter the step's instruction does not use and the fade flag when it may not
// fade. An undefined opcode stays, but loses fade and all parameters.
void NormaliseStep(Step& step);
Step NormalisedStep(Step step);

}  // namespace tarn

#endif  // TARN_MODEL_INSTRUCTION_SET_H_
