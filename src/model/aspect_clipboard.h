#ifndef TARN_MODEL_ASPECT_CLIPBOARD_H_
#define TARN_MODEL_ASPECT_CLIPBOARD_H_

#include "model/device_configuration.h"
#include "model/paste_outcome.h"
#include "model/pin_record.h"

namespace tarn {

// The "Edit Aspect" tools, acting on the current aspect of the current pin. The clipboard is
// kept for the whole run, so its owner outlives the dialog; it starts empty.
class AspectClipboard {
 public:
  // Takes the description and every step.
  void Copy(const DeviceConfiguration& config);
  PasteOutcome Paste(DeviceConfiguration& config) const;

  bool filled() const { return filled_; }

 private:
  Aspect aspect_;
  bool filled_ = false;
};

// Empties the description and zeroes steps 0..8.
void ClearAspect(DeviceConfiguration& config);

// Empties the description and keeps the leading run of non-empty steps. The first empty step
// keeps opcode 0 with fade and parameters zeroed; every step after it is wiped.
void CleanupAspect(DeviceConfiguration& config);

}  // namespace tarn

#endif  // TARN_MODEL_ASPECT_CLIPBOARD_H_
