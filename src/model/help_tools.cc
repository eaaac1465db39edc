#include "model/help_tools.h"

#include "model/instruction_set.h"
#include "model/step_params.h"

namespace tarn {

HelpToolChoice ChooseHelpTool(const Step& step, HelpToolBox box) {
  const int code = InstructionOf(step.opcode).help_tool;
  if (box == HelpToolBox::kP2) {
    if (code == kHelpToolLevel) return {HelpTool::kLevel, 0, {}};
    if (IsPatternHelpTool(code)) return {HelpTool::kPattern, code, {}};
    if (code == kHelpToolEventPattern) return {HelpTool::kEventPattern, 0, {}};
  } else if (box != HelpToolBox::kP1 && code == kHelpToolTime) {
    return {HelpTool::kTime, 0, {}};
  }
  return {HelpTool::kNone, 0, kHelpToolNotAvailableText};
}

int CalculatorOpeningValue(const Step& step, std::string_view p2_text, int pin,
                           int numbering_base) {
  return StoredParamValue(step, StepParam::kP2, StepFieldNumber(p2_text), pin, numbering_base);
}

}  // namespace tarn
