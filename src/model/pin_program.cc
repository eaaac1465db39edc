#include "model/pin_program.h"

namespace tarn {

void ClearPinProgram(PinRecord& pin) {
  for (int a = 0; a < kMaxAspects; ++a) {
    Aspect& aspect = pin.aspects[a];
    aspect.description.clear();
    for (int s = 0; s < kMaxStepsPerAspect; ++s) aspect.steps[s] = Step{};
  }
}

}  // namespace tarn
