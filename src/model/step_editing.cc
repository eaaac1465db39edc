#include "model/step_editing.h"

#include <algorithm>

#include "model/aspect_layout.h"

namespace tarn {
namespace {

constexpr int kLastStepOfFour = 8;
constexpr int kLastStepOfTwelve = 2;

}  // namespace

int LastStepOfLayout(std::uint8_t layout) {
  return layout == kLayoutFourAspects ? kLastStepOfFour : kLastStepOfTwelve;
}

void InsertStep(DeviceConfiguration& config, int step) {
  const int last = LastStepOfLayout(CurrentPinRecord(config).aspect_layout);
  if (step < 0 || step > last) return;
  auto& steps = CurrentAspectRecord(config).steps;
  std::move_backward(steps.begin() + step, steps.begin() + last, steps.begin() + last + 1);
  steps[step] = Step{};
}

void DeleteStep(DeviceConfiguration& config, int step) {
  const int last = LastStepOfLayout(CurrentPinRecord(config).aspect_layout);
  if (step < 0 || step > last) return;
  auto& steps = CurrentAspectRecord(config).steps;
  std::move(steps.begin() + step + 1, steps.begin() + last + 1, steps.begin() + step);
  steps[last] = Step{};
}

}  // namespace tarn
