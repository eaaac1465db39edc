#ifndef TARN_TESTS_UNIT_OPERATIONS_DEVICE_READY_CONFIGURATION_H_
#define TARN_TESTS_UNIT_OPERATIONS_DEVICE_READY_CONFIGURATION_H_

#include "model/device_configuration.h"
#include "unit/files/rich_configuration.h"

namespace tarn::testing {

// The rich configuration as a Tarn can hold it: every pin configured, a 7-bit ID string.
inline DeviceConfiguration DeviceReadyConfiguration() {
  DeviceConfiguration config = RichConfiguration();
  config.general_settings.id_string = "Nord Yard 7";
  for (int pin = 0; pin < kPinCount; pin += 6) {
    config.pins[pin].pin_config = {4, static_cast<std::uint8_t>(pin), 7, 8, 9};
    config.pins[pin].live_value = static_cast<std::uint8_t>(pin);
  }
  return config;
}

}  // namespace tarn::testing

#endif  // TARN_TESTS_UNIT_OPERATIONS_DEVICE_READY_CONFIGURATION_H_
