#include "model/time_calculator.h"

#include <algorithm>
#include <cstdint>

#include "model/step_time.h"
#include "model/typed_number.h"

namespace tarn {
namespace {

TimeCalculator Shown(TimeCalculator calc) {
  calc.base = std::clamp(calc.base, 0, kMaxWaitBase);
  calc.time = std::clamp(calc.time, 0, kMaxWaitTime);
  calc.base_text = std::to_string(calc.base);
  calc.max_time_text = TicksText(WaitTicks(kMaxWaitTime, calc.base));
  calc.time_text = TicksText(WaitTicks(calc.time, calc.base));
  return calc;
}

}  // namespace

TimeCalculator OpenTimeCalculator(const Step& step) {
  TimeCalculator calc;
  calc.base = step.p4;
  calc.time = step.p3;
  calc = Shown(calc);
  calc.original_base = calc.base;
  calc.original_time = calc.time;
  return calc;
}

TimeCalculator MoveTimeSlider(TimeCalculator calc, int time) {
  calc.time = time;
  return Shown(calc);
}

TimeCalculator SetTimeBase(TimeCalculator calc, int base) {
  calc.base = base;
  return Shown(calc);
}

TimeCalculator EnterTimeBase(TimeCalculator calc, std::string_view typed) {
  return SetTimeBase(calc, TypedNumber(typed));
}

TimeCalculator CancelTimeCalculator(TimeCalculator calc) {
  calc.base = calc.original_base;
  calc.time = calc.original_time;
  return Shown(calc);
}

void StoreWaitTime(Step& step, const TimeCalculator& calc) {
  step.p4 = static_cast<std::uint8_t>(std::clamp(calc.base, 0, kMaxWaitBase));
  step.p3 = static_cast<std::uint8_t>(std::clamp(calc.time, 0, kMaxWaitTime));
}

}  // namespace tarn
