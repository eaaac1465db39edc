#include "model/pin_clipboard.h"

#include "model/aspect_layout.h"
#include "model/devices.h"
#include "model/pin_program.h"

namespace tarn {
namespace {

// Configuration byte 12 travels with the messages but belongs to no mode; clearing leaves it.
constexpr int kClearedConfigBytes = 12;

}  // namespace

void PinClipboard::Copy(const DeviceConfiguration& config) {
  pin_ = CurrentPinRecord(config);
  source_pin_ = config.current_pin % kPinCount;
  filled_ = true;
}

PasteOutcome PinClipboard::Paste(DeviceConfiguration& config) const {
  if (!filled_) return kNothingToPaste;
  const int target = config.current_pin % kPinCount;
  DissolveDevice(config, target);
  PinRecord& pin = config.pins[target];
  pin = pin_;
  // The same head pin as before: source + pointer stays within the pins wherever it is pasted.
  if (pin.device_pointer != 0) {
    pin.device_pointer = static_cast<std::int16_t>(pin.device_pointer + source_pin_ - target);
  }
  return kPasted;
}

void ClearPin(DeviceConfiguration& config) {
  const int target = config.current_pin % kPinCount;
  DissolveDevice(config, target);
  PinRecord& pin = config.pins[target];
  pin.description.clear();
  pin.device_name.clear();
  pin.initial_aspect = 0;
  pin.aspect_layout = kLayoutNone;
  pin.device_pointer = 0;
  for (int i = 0; i < kClearedConfigBytes; ++i) pin.pin_config[i] = 0;
  ClearPinProgram(pin);
}

}  // namespace tarn
