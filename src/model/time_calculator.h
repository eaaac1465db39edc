#ifndef TARN_MODEL_TIME_CALCULATOR_H_
#define TARN_MODEL_TIME_CALCULATOR_H_

#include <string>
#include <string_view>

#include "model/step.h"

namespace tarn {

// Everything the time calculator shows: "Time" (the slider, 0..63) and "Base" (0..3) of a
// waiting step, its duration and the longest duration at that base.
struct TimeCalculator {
  int base = 0;
  int time = 0;
  std::string base_text = "0";
  std::string max_time_text = "00:00.00";  // beside "Max Time = "
  std::string time_text = "00:00.00";      // beside "Time = "
  int original_base = 0;                   // what "Cancel" puts back
  int original_time = 0;
};

// Takes p4 as base and p3 as time (each into its range) and remembers them for "Cancel".
TimeCalculator OpenTimeCalculator(const Step& step);

TimeCalculator MoveTimeSlider(TimeCalculator calc, int time);

// The up/down, or a typed base when its field is left or clicked: clamped to 0..3 and written
// back.
TimeCalculator SetTimeBase(TimeCalculator calc, int base);
TimeCalculator EnterTimeBase(TimeCalculator calc, std::string_view typed);

// "Cancel": base and time go back to what the calculator was opened with.
TimeCalculator CancelTimeCalculator(TimeCalculator calc);

// The calculator's base and time become the step's p4 and p3, whichever way it closed.
void StoreWaitTime(Step& step, const TimeCalculator& calc);

}  // namespace tarn

#endif  // TARN_MODEL_TIME_CALCULATOR_H_
