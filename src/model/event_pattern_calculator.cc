#include "model/event_pattern_calculator.h"

#include <algorithm>
#include <string>

namespace tarn {
namespace {

constexpr int kSevenBits = 0x7F;
constexpr int kOffEventBit = 64;
constexpr int kOptionStep = 16;  // the option index sits in bits 4..6
constexpr int kOffEventOffset = 4;
constexpr int kExecute = 1;

bool IsOption(int option) {
  return std::any_of(kEventPatternOptions.begin(), kEventPatternOptions.end(),
                     [option](const EventPatternOption& o) { return o.index == option; });
}

EventPatternCalculator Computed(EventPatternCalculator calc) {
  int byte = kOptionStep * calc.option;
  for (int i = 0; i < kEventInputCount; ++i) byte |= calc.inputs[i] ? 1 << i : 0;
  calc.parameter.text = std::to_string(byte);
  return calc;
}

}  // namespace

EventPatternCalculator OpenEventPatternCalculator(int value, std::string_view p2_text) {
  int v = std::max(value, 0) & kSevenBits;
  int offset = 0;
  if (v >= kOffEventBit) {
    v -= kOffEventBit;
    offset = kOffEventOffset;
  }
  if (v < kEventInputCount) {
    v = (1 << v) + kOptionStep * kExecute;
    offset = 0;
  } else if (v < 2 * kEventInputCount) {
    v = (1 << (v - kEventInputCount)) + kOptionStep * kExecute;
    offset = kOffEventOffset;
  } else if (v < kOptionStep) {
    v = kOptionStep * kExecute;
  }
  EventPatternCalculator calc;
  for (int i = 0; i < kEventInputCount; ++i) calc.inputs[i] = ((v >> i) & 1) != 0;
  calc.option = v / kOptionStep + offset;
  calc.parameter.original = std::string(p2_text);
  return Computed(calc);
}

EventPatternCalculator SetEventInput(EventPatternCalculator calc, int input, bool checked) {
  if (input < 0 || input >= kEventInputCount) return calc;
  calc.inputs[input] = checked;
  return Computed(calc);
}

EventPatternCalculator ChooseEventOption(EventPatternCalculator calc, int option) {
  if (!IsOption(option)) return calc;
  calc.option = option;
  return Computed(calc);
}

}  // namespace tarn
