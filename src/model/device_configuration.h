#ifndef TARN_MODEL_DEVICE_CONFIGURATION_H_
#define TARN_MODEL_DEVICE_CONFIGURATION_H_

#include <array>
#include <cstdint>

#include "model/event_actions.h"
#include "model/general_settings.h"
#include "model/model_limits.h"
#include "model/pin_record.h"

namespace tarn {

// The one in-memory set-up of a Tarn that the editors, the command set and the files work on.
// Default construction gives the start values.
struct DeviceConfiguration {
  GeneralSettings general_settings;
  std::array<PinRecord, kPinCount> pins;
  EventActions event_actions;
  std::uint8_t current_pin = 0;     // 0..31, target of every per-pin editor and command
  std::uint8_t current_aspect = 0;  // 0..11
  // Added to every pin and address number the user sees or types; internally pins are 0..31.
  std::uint8_t numbering_base = 1;

  friend bool operator==(const DeviceConfiguration&, const DeviceConfiguration&) = default;
};

// The records the per-pin editors act on. A stray current pin or aspect is taken round the pins
// or aspects, so that it can never reach past a record.
inline PinRecord& CurrentPinRecord(DeviceConfiguration& config) {
  return config.pins[config.current_pin % kPinCount];
}
inline const PinRecord& CurrentPinRecord(const DeviceConfiguration& config) {
  return config.pins[config.current_pin % kPinCount];
}
inline Aspect& CurrentAspectRecord(DeviceConfiguration& config) {
  return CurrentPinRecord(config).aspects[config.current_aspect % kMaxAspects];
}
inline const Aspect& CurrentAspectRecord(const DeviceConfiguration& config) {
  return CurrentPinRecord(config).aspects[config.current_aspect % kMaxAspects];
}

}  // namespace tarn

#endif  // TARN_MODEL_DEVICE_CONFIGURATION_H_
