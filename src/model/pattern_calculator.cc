#include "model/pattern_calculator.h"

#include <algorithm>
#include <string>

namespace tarn {
namespace {

constexpr int kMaxDarkOutputs = 5;  // the dark bits exist only up to five outputs
constexpr int kAllDarkBit = 5;
constexpr int kNoDarkBit = 6;

constexpr bool Bit(int value, int bit) { return ((value >> bit) & 1) != 0; }

int PatternByte(const PatternCalculator& calc) {
  int byte = 0;
  for (int i = 0; i < kPatternBoxCount; ++i) byte |= calc.output_boxes[i].checked ? 1 << i : 0;
  byte |= calc.all_dark.checked ? 1 << kAllDarkBit : 0;
  byte |= calc.no_dark.checked ? 1 << kNoDarkBit : 0;
  return byte;
}

PatternCalculator Computed(PatternCalculator calc) {
  calc.parameter.text = std::to_string(PatternByte(calc));
  return calc;
}

}  // namespace

PatternCalculator OpenPatternCalculator(int value, int outputs, std::string_view p2_text) {
  PatternCalculator calc;
  calc.outputs = std::clamp(outputs, kMinPatternOutputs, kMaxPatternOutputs);
  for (int i = 0; i < kPatternBoxCount; ++i) {
    const bool enabled = i < calc.outputs;
    calc.output_boxes[i] = {enabled && Bit(value, i), enabled};
  }
  const bool dark = calc.outputs <= kMaxDarkOutputs;
  calc.all_dark = {dark && Bit(value, kAllDarkBit), dark};
  calc.no_dark = {dark && Bit(value, kNoDarkBit) && !calc.all_dark.checked, dark};
  calc.parameter.original = std::string(p2_text);
  return Computed(calc);
}

PatternCalculator SetPatternOutput(PatternCalculator calc, int box, bool checked) {
  if (box < 0 || box >= kPatternBoxCount || !calc.output_boxes[box].enabled) return calc;
  calc.output_boxes[box].checked = checked;
  return Computed(calc);
}

PatternCalculator SetAllDark(PatternCalculator calc, bool checked) {
  if (!calc.all_dark.enabled) return calc;
  calc.all_dark.checked = checked;
  if (checked) calc.no_dark.checked = false;
  return Computed(calc);
}

PatternCalculator SetNoDark(PatternCalculator calc, bool checked) {
  if (!calc.no_dark.enabled) return calc;
  calc.no_dark.checked = checked;
  if (checked) calc.all_dark.checked = false;
  return Computed(calc);
}

}  // namespace tarn
