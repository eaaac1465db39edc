#ifndef TARN_MODEL_PATTERN_CALCULATOR_H_
#define TARN_MODEL_PATTERN_CALCULATOR_H_

#include <array>
#include <string_view>

#include "model/calculator_parameter.h"

namespace tarn {

// A "Multibit" pattern is seven bits: bit i switches output +i. Instructions with up to five
// outputs use bit 5 for "All Dark" and bit 6 for "No Dark-phase" instead; those with six or seven
// have separate "AD" and "ND" instructions.
inline constexpr int kPatternBoxCount = 7;
inline constexpr int kMinPatternOutputs = 2;
inline constexpr int kMaxPatternOutputs = 7;

struct CheckBoxView {
  bool checked = false;
  bool enabled = true;

  friend bool operator==(const CheckBoxView&, const CheckBoxView&) = default;
};

// Everything the pattern calculator shows.
struct PatternCalculator {
  int outputs = kMinPatternOutputs;                         // outputs of the instruction, 2..7
  std::array<CheckBoxView, kPatternBoxCount> output_boxes;  // "Output +0" .. "Output +6"
  CheckBoxView all_dark;                                    // "All Dark"
  CheckBoxView no_dark;                                     // "No Dark-phase"
  CalculatorParameter parameter;
};

// Ticks the boxes of `value` for an instruction with `outputs` outputs (taken into 2..7). Boxes
// beyond the outputs are cleared and disabled, and so are both dark boxes from six outputs up.
// A value with both dark bits opens with "All Dark" only, so "Parameter" shows what "OK" stores;
// "Cancel" still gives back `p2_text`.
PatternCalculator OpenPatternCalculator(int value, int outputs, std::string_view p2_text);

// A click on a box. A disabled box, or one that does not exist, changes nothing. Ticking one
// dark box clears the other.
PatternCalculator SetPatternOutput(PatternCalculator calc, int box, bool checked);
PatternCalculator SetAllDark(PatternCalculator calc, bool checked);
PatternCalculator SetNoDark(PatternCalculator calc, bool checked);

}  // namespace tarn

#endif  // TARN_MODEL_PATTERN_CALCULATOR_H_
