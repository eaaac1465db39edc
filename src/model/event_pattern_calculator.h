#ifndef TARN_MODEL_EVENT_PATTERN_CALCULATOR_H_
#define TARN_MODEL_EVENT_PATTERN_CALCULATOR_H_

#include <array>
#include <string_view>

#include "model/calculator_parameter.h"
#include "model/model_limits.h"

namespace tarn {

// An "ETImap" byte: bits 0..3 the event inputs taking part, bits 4..5 the action (1 "Execute",
// 2 "Disable", 3 "Enable"), bit 6 set for the Off-Event. The option index is action + 4 for the
// Off-Event, so the byte is inputs + 16 x option.
struct EventPatternOption {
  int index;
  std::string_view caption;
};

inline constexpr std::array<EventPatternOption, 6> kEventPatternOptions = {{
    {1, "Execute On-Event"},
    {2, "Disable On-Event"},
    {3, "Enable On-Event"},
    {5, "Execute Off-Event"},
    {6, "Disable Off-Event"},
    {7, "Enable Off-Event"},
}};

// Everything the event pattern calculator shows.
struct EventPatternCalculator {
  std::array<bool, kEventInputCount> inputs{};  // "Event Input 0" .. "Event Input 3"
  int option = 1;                               // index of the chosen option
  CalculatorParameter parameter;
};

// Ticks the boxes and chooses the option for `value` (its low seven bits). Values without an
// action come from older programs: below 64 or 64 up, 0..3 opens as "Execute On-Event" of input
// 0..3 and 4..7 as "Execute Off-Event" of input 0..3; 8..15 opens as "Execute" with no input,
// of the Off-Event when bit 6 is set. "Cancel" gives back `p2_text`.
EventPatternCalculator OpenEventPatternCalculator(int value, std::string_view p2_text);

// A click on an input box or an option; an input or option index that does not exist changes
// nothing.
EventPatternCalculator SetEventInput(EventPatternCalculator calc, int input, bool checked);
EventPatternCalculator ChooseEventOption(EventPatternCalculator calc, int option);

}  // namespace tarn

#endif  // TARN_MODEL_EVENT_PATTERN_CALCULATOR_H_
