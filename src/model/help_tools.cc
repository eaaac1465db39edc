#include "model/help_tools.h"

#include "model/instruction_set.h"

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

}  // namespace tarn
