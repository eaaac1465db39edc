#include "model/aspect_clipboard.h"

#include "model/pin_program.h"

namespace tarn {

void AspectClipboard::Copy(const DeviceConfiguration& config) {
  aspect_ = CurrentAspectRecord(config);
  filled_ = true;
}

PasteOutcome AspectClipboard::Paste(DeviceConfiguration& config) const {
  if (!filled_) return kNothingToPaste;
  CurrentAspectRecord(config) = aspect_;
  return kPasted;
}

void ClearAspect(DeviceConfiguration& config) { ClearAspectProgram(CurrentAspectRecord(config)); }

void CleanupAspect(DeviceConfiguration& config) {
  Aspect& aspect = CurrentAspectRecord(config);
  aspect.description.clear();
  // The first empty step keeps opcode 0 and loses its stale bytes, like everything after it.
  bool wiping = false;
  for (int s = 0; s < kMaxStepsPerAspect; ++s) {
    wiping = wiping || aspect.steps[s].opcode == 0;
    if (wiping) aspect.steps[s] = Step{};
  }
}

}  // namespace tarn
