#ifndef TARN_MODEL_PIN_CLIPBOARD_H_
#define TARN_MODEL_PIN_CLIPBOARD_H_

#include "model/device_configuration.h"
#include "model/paste_outcome.h"
#include "model/pin_record.h"

namespace tarn {

// The "Edit Pin" tools, acting on the current pin. The clipboard is kept for the whole run, so
// its owner outlives the dialog; it starts empty.
class PinClipboard {
 public:
  // Takes the whole record of the current pin and remembers which pin it came from.
  void Copy(const DeviceConfiguration& config);

  // Frees the device the current pin heads, then puts the copied record there. A copied device
  // member keeps naming the head it named where it was copied from.
  PasteOutcome Paste(DeviceConfiguration& config) const;

  bool filled() const { return filled_; }

 private:
  PinRecord pin_;
  int source_pin_ = 0;
  bool filled_ = false;
};

// Frees the device the current pin heads, then empties the pin: texts, device pointer, layout,
// initial aspect, configuration bytes 0..11 and the program of aspects 0..11. Address counts and
// the live value stay.
void ClearPin(DeviceConfiguration& config);

}  // namespace tarn

#endif  // TARN_MODEL_PIN_CLIPBOARD_H_
