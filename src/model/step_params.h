#ifndef TARN_MODEL_STEP_PARAMS_H_
#define TARN_MODEL_STEP_PARAMS_H_

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/instruction_set.h"
#include "model/step.h"

namespace tarn {

// Showing and entering the four parameter fields of a step. `pin` (0..31) is the pin whose
// program holds the step: "P.O." distances are counted from it. `numbering_base` (0 or 1) is
// added to pin numbers the user sees ("MXpin", the "Source" of "Clone").

// The number a step field holds, read like every typed field (TypedNumber): fields never refuse
// input, and values far outside any range saturate before they are clamped.
long long StepFieldNumber(std::string_view typed);

// The stored parameter as the user sees it.
int ShownParamValue(const Step& step, StepParam param, int pin, int numbering_base);
std::string ShownParamText(const Step& step, StepParam param, int pin, int numbering_base);

// The byte that a value in shown terms is stored as, after clamping it to the range the step's
// instruction allows for that parameter.
std::uint8_t StoredParamValue(const Step& step, StepParam param, long long shown, int pin,
                              int numbering_base);

struct ParamEntry {
  std::uint8_t stored = 0;  // the byte the step holds afterwards
  std::string text;         // what the field shows afterwards
  bool rewritten = false;   // `text` is not what was typed: write it back into the field
};

// Commits a typed entry: reads the number, clamps and stores it, then normalises the step (a
// parameter the instruction does not use ends as 0).
ParamEntry EnterParam(Step& step, StepParam param, std::string_view typed, int pin,
                      int numbering_base);

struct StepParamView {
  std::string text;        // the shown value; "0" for a parameter the instruction does not use
  std::string_view label;  // column heading; empty when unused
  bool used = false;       // unused fields stay editable but are shown greyed
};

// Everything a step row shows. `menu_index` selects the row's instruction entry.
struct StepRowView {
  int menu_index = 0;
  bool fade_allowed = false;  // the fade box is offered and the fade heading reads "Fade"
  bool fade = false;          // the step's fade flag, after normalising
  std::string_view fade_heading;
  std::array<StepParamView, kStepParamCount> params;
  std::string time_text;
};

// Normalises the step, then tells how its row shows it.
StepRowView RefreshStepRow(Step& step, int pin, int numbering_base);

}  // namespace tarn

#endif  // TARN_MODEL_STEP_PARAMS_H_
