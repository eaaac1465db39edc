#ifndef TARN_MODEL_HELP_TOOLS_H_
#define TARN_MODEL_HELP_TOOLS_H_

#include <cstdint>
#include <string_view>

#include "model/step.h"

namespace tarn {

inline constexpr std::string_view kHelpToolNotAvailableText =
    "Help tool not available for this box with the selected command";

// Where in a step row the user double-clicked.
enum class HelpToolBox : std::uint8_t { kP1, kP2, kP3, kP4, kStepTime };

enum class HelpTool : std::uint8_t { kNone, kLevel, kPattern, kEventPattern, kTime };

// The calculator to open; for kNone, `message` is shown instead (OK button).
struct HelpToolChoice {
  HelpTool tool = HelpTool::kNone;
  int outputs = 0;  // for the pattern calculator
  std::string_view message;

  friend bool operator==(const HelpToolChoice&, const HelpToolChoice&) = default;
};

// By the help-tool code of the step's instruction: the level, pattern and event pattern
// calculators serve p2, the time calculator p3, p4 and the step time. A p2 calculator's
// "Parameter" goes back into the step as a typed p2 does (EnterParam); the time calculator's
// result through StoreWaitTime.
HelpToolChoice ChooseHelpTool(const Step& step, HelpToolBox box);

// The value a p2 calculator opens with: the p2 field's text as committing it would store it, so
// a number typed but not yet committed opens within the instruction's range.
int CalculatorOpeningValue(const Step& step, std::string_view p2_text, int pin,
                           int numbering_base);

}  // namespace tarn

#endif  // TARN_MODEL_HELP_TOOLS_H_
