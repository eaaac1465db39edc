#include "model/pin_program.h"

namespace tarn {

void ClearAspectProgram(Aspect& aspect) {
  aspect.description.clear();
  for (int s = 0; s < kMaxStepsPerAspect; ++s) aspect.steps[s] = Step{};
}

void ClearPinProgram(PinRecord& pin) {
  for (int a = 0; a < kMaxAspects; ++a) ClearAspectProgram(pin.aspects[a]);
}

}  // namespace tarn
