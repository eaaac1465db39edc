#include "model/step_time.h"

#include <algorithm>

#include "model/instruction_set.h"

namespace tarn {
namespace {

std::string TwoDigits(int value) {
  std::string text = std::to_string(value);
  return value < 10 ? "0" + text : text;
}

}  // namespace

int WaitTicks(int time, int base) {
  const int shift = 3 * std::clamp(base, 0, kMaxWaitBase);
  return std::clamp(time, 0, 255) << shift;
}

int StepTicks(const Step& step) {
  if (step.opcode < kFirstWaitingOpcode) return 0;
  return WaitTicks(step.p3, step.p4);
}

std::string TicksText(int ticks) {
  ticks = std::max(ticks, 0);
  const int hundredths = (ticks % kTicksPerSecond) * (100 / kTicksPerSecond);
  const int seconds = ticks / kTicksPerSecond;
  return TwoDigits(seconds / 60) + ":" + TwoDigits(seconds % 60) + "." + TwoDigits(hundredths);
}

std::string StepTimeText(const Step& step) { return TicksText(StepTicks(step)); }

}  // namespace tarn
