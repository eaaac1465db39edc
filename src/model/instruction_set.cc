#include "model/instruction_set.h"

#include <algorithm>

namespace tarn {
namespace {

// One row per defined opcode, as the instruction list reads. An empty label means the parameter
// is unused. Waiting instructions (opcode 64 and up) get "Time", "Base" and the time calculator
// from BuildTable, so their rows leave p3 and p4 out.
struct Row {
  int opcode;
  int group;
  std::string_view name;
  bool fade;
  std::string_view p1;
  std::string_view p2;
  int p2_min;
  int p2_max;
  std::string_view p3;
  int p3_max;
  int help;
  int offset;  // added to p2 for display
};

constexpr std::string_view kPo = "P.O.";
constexpr std::string_view kAccel = "Accel";
constexpr std::string_view kMxPin = "MXpin";
constexpr std::string_view kT60 = "T(/60)";
constexpr std::string_view kPattern = "Patt.";
constexpr int kEvt = kHelpToolEventPattern;

// clang-format off
constexpr Row kRows[] = {
    // op grp name                fade   p1       p2         p2 range  p3       p3max help offset
    {0,   0, "-",                 false, {},      {},        0,   0,   {},      63,  0,    0},
    {1,   3, "Jump",              false, kPo,     "Asp#",    0,   11,  "Ins#",  8,   0,    0},
    {3,   4, "NS G->Y->R",        true,  kPo,     "Type",    0,   1,   {},      63,  0,    0},
    {4,   5, "SendSerial 1",      false, {},      "Byte",    0,   255, {},      255, 0,    0},
    {5,   5, "SendSerial 2",      false, {},      "Byte1",   0,   255, "Byte2", 255, 0,    0},
    {6,   0, "Blink alt",         true,  kPo,     kT60,      0,   127, {},      63,  0,    0},
    {7,   4, "Clone",             true,  kPo,     "Source",  0,   31,  {},      63,  0,    0},
    {8,   0, "Off",               true,  kPo,     kT60,      0,   127, {},      63,  0,    0},
    {9,   0, "On",                true,  kPo,     kT60,      0,   127, {},      63,  0,    0},
    {10,  0, "Invert",            true,  kPo,     kT60,      0,   127, {},      63,  0,    0},
    {11,  0, "Random",            true,  kPo,     kT60,      0,   127, {},      63,  0,    0},
    {12,  0, "Multibit 2",        true,  kPo,     kPattern,  0,   127, {},      63,  2,    0},
    {13,  0, "Multibit 3",        true,  kPo,     kPattern,  0,   127, {},      63,  3,    0},
    {14,  0, "Multibit 4",        true,  kPo,     kPattern,  0,   127, {},      63,  4,    0},
    {15,  0, "Multibit 5",        true,  kPo,     kPattern,  0,   127, {},      63,  5,    0},
    {16,  3, "Event Input",       false, {},      "ETImap",  0,   127, {},      63,  kEvt, 0},
    {17,  5, "Feedback",          false, kPo,     "Aspect",  0,   11,  {},      63,  0,    0},
    {18,  5, "MXpulse",           false, kMxPin,  kT60,      0,   127, "Level", 31,  0,    0},
    {32,  0, "Multibit 6",        true,  kPo,     kPattern,  0,   127, {},      63,  6,    0},
    {33,  0, "Multibit 7",        true,  kPo,     kPattern,  0,   127, {},      63,  7,    0},
    {34,  0, "Multibit 6 AD",     true,  kPo,     kPattern,  0,   127, {},      63,  6,    0},
    {35,  0, "Multibit 7 AD",     true,  kPo,     kPattern,  0,   127, {},      63,  7,    0},
    {36,  0, "Multibit 6 ND",     true,  kPo,     kPattern,  0,   127, {},      63,  6,    0},
    {37,  0, "Multibit 7 ND",     true,  kPo,     kPattern,  0,   127, {},      63,  7,    0},
    {38,  1, "Set Level",         true,  kPo,     "Level",   0,   31,  {},      63,  0,    0},
    {39,  2, "Set Servo",         true,  kPo,     "Pos.",    0,   127, {},      63,  0,    -64},
    {42,  0, "Multiblink 2",      true,  kPo,     kT60,      0,   127, {},      63,  0,    0},
    {43,  0, "Multiblink 3",      true,  kPo,     kT60,      0,   127, {},      63,  0,    0},
    {44,  0, "Multiblink 4",      true,  kPo,     kT60,      0,   127, {},      63,  0,    0},
    {45,  0, "Multiblink 5",      true,  kPo,     kT60,      0,   127, {},      63,  0,    0},
    {46,  0, "Multiblink 6",      true,  kPo,     kT60,      0,   127, {},      63,  0,    0},
    {47,  0, "Multiblink 7",      true,  kPo,     kT60,      0,   127, {},      63,  0,    0},
    {96,  1, "SetLevel & Wait",   false, kAccel,  "Level",   0,   31,  {},      63,  0,    0},
    {97,  1, "SetLevel & WtRnd",  false, kAccel,  "Level",   0,   31,  {},      63,  0,    0},
    {98,  1, "SetRnd & Wait",     false, kAccel,  "Chance",  0,   31,  {},      63,  0,    0},
    {99,  1, "SetRnd & WtRnd",    false, kAccel,  "Chance",  0,   31,  {},      63,  0,    0},
    {100, 2, "SetServo & Wait",   false, {},      "Pos",     0,   127, {},      63,  0,    -64},
    {101, 2, "SetServo & WtRnd",  false, {},      "Pos",     0,   127, {},      63,  0,    -64},
    {102, 3, "Wait",              false, {},      {},        0,   0,   {},      63,  0,    0},
    {103, 3, "Wait Random",       false, {},      {},        0,   0,   {},      63,  0,    0},
    {104, 5, "If Equal",          false, kPo,     "Value",   -64, 63,  {},      63,  0,    0},
    {105, 5, "If Less",           false, kPo,     "Value",   -64, 63,  {},      63,  0,    0},
    {106, 5, "If Not Equal",      false, kPo,     "Value",   -64, 63,  {},      63,  0,    0},
    {107, 5, "If Not Less",       false, kPo,     "Value",   -64, 63,  {},      63,  0,    0},
    {112, 3, "SetAspect 0",       false, kPo,     {},        0,   0,   {},      63,  0,    0},
    {113, 3, "SetAspect 1",       false, kPo,     {},        0,   0,   {},      63,  0,    0},
    {114, 3, "SetAspect 2",       false, kPo,     {},        0,   0,   {},      63,  0,    0},
    {115, 3, "SetAspect 3",       false, kPo,     {},        0,   0,   {},      63,  0,    0},
    {116, 3, "SetAspect 4",       false, kPo,     {},        0,   0,   {},      63,  0,    0},
    {117, 3, "SetAspect 5",       false, kPo,     {},        0,   0,   {},      63,  0,    0},
    {118, 3, "SetAspect 6",       false, kPo,     {},        0,   0,   {},      63,  0,    0},
    {119, 3, "SetAspect 7",       false, kPo,     {},        0,   0,   {},      63,  0,    0},
    {120, 3, "SetAspect 8",       false, kPo,     {},        0,   0,   {},      63,  0,    0},
    {121, 3, "SetAspect 9",       false, kPo,     {},        0,   0,   {},      63,  0,    0},
    {122, 3, "SetAspect 10",      false, kPo,     {},        0,   0,   {},      63,  0,    0},
    {123, 3, "SetAspect 11",      false, kPo,     {},        0,   0,   {},      63,  0,    0},
    {127, 2, "Suspend Servo",     false, kPo,     {},        0,   0,   {},      63,  0,    0},
};
// clang-format on

constexpr InstructionDescriptor FromRow(const Row& row) {
  InstructionDescriptor d;
  d.opcode = row.opcode;
  d.menu_group = row.group;
  d.name = row.name;
  d.fade_allowed = row.fade;
  d.labels = {row.p1, row.p2, row.p3, {}};
  d.p1_kind = row.p1 == kAccel   ? P1Kind::kAccel
              : row.p1 == kMxPin ? P1Kind::kMuxPin
                                 : P1Kind::kPinOffset;
  d.p2_is_pin = row.opcode == 7;
  d.p2_min = row.p2_min;
  d.p2_max = row.p2_max;
  d.p3_max = row.p3_max;
  d.help_tool = row.help;
  d.display_offset = row.offset;
  if (row.opcode >= kFirstWaitingOpcode) {
    d.labels[ParamIndex(StepParam::kP3)] = "Time";
    d.labels[ParamIndex(StepParam::kP4)] = "Base";
    d.help_tool = kHelpToolTime;
  }
  for (int i = 0; i < kStepParamCount; ++i) d.uses[i] = !d.labels[i].empty();
  return d;
}

using Table = std::array<InstructionDescriptor, kMaxOpcode + 1>;

constexpr Table BuildTable() {
  Table table{};
  for (int op = 0; op <= kMaxOpcode; ++op) table[op].opcode = op;
  for (const Row& row : kRows) table[row.opcode] = FromRow(row);
  return table;
}

constexpr Table kTable = BuildTable();

constexpr int CountDefined() {
  int count = 0;
  for (const InstructionDescriptor& d : kTable) count += d.defined() ? 1 : 0;
  return count;
}

using Menu = std::array<InstructionMenuEntry, CountDefined()>;

constexpr Menu BuildMenu() {
  Menu menu{};
  std::size_t next = 0;
  for (int group = 0; group < kMenuGroupCount; ++group) {
    for (const InstructionDescriptor& d : kTable) {
      if (d.defined() && d.menu_group == group) {
        menu[next++] = {static_cast<std::uint8_t>(d.opcode), d.name};
      }
    }
  }
  return menu;
}

constexpr Menu kMenu = BuildMenu();

}  // namespace

std::uint8_t& ParamByte(Step& step, StepParam param) {
  switch (param) {
    case StepParam::kP1:
      return step.p1;
    case StepParam::kP2:
      return step.p2;
    case StepParam::kP3:
      return step.p3;
    case StepParam::kP4:
      break;
  }
  return step.p4;
}

std::uint8_t ParamByte(const Step& step, StepParam param) {
  const std::array<std::uint8_t, kStepParamCount> bytes = {step.p1, step.p2, step.p3, step.p4};
  return bytes[ParamIndex(param)];
}

InstructionDescriptor InstructionOf(int opcode) {
  if (opcode >= 0 && opcode <= kMaxOpcode) return kTable[opcode];
  InstructionDescriptor undefined;
  undefined.opcode = opcode;
  return undefined;
}

std::span<const InstructionMenuEntry> InstructionMenu() { return kMenu; }

int InstructionMenuIndex(int opcode) {
  const auto it = std::find_if(kMenu.begin(), kMenu.end(), [opcode](const InstructionMenuEntry& e) {
    return e.opcode == opcode;
  });
  return it == kMenu.end() ? 0 : static_cast<int>(it - kMenu.begin());
}

void NormaliseStep(Step& step) {
  const InstructionDescriptor d = InstructionOf(step.opcode);
  if (!d.fade_allowed) step.fade = 0;
  for (StepParam param : kStepParams) {
    if (!d.uses_param(param)) ParamByte(step, param) = 0;
  }
}

Step NormalisedStep(Step step) {
  NormaliseStep(step);
  return step;
}

}  // namespace tarn
