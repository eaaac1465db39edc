#ifndef TARN_MODEL_DEVICES_H_
#define TARN_MODEL_DEVICES_H_

#include <optional>
#include <string>
#include <string_view>

#include "model/device_configuration.h"

namespace tarn {

// A device is a head pin (pointer 0, which carries the device name) and every pin whose
// pin + pointer is that head. All functions take pin numbers 0..31.

inline constexpr std::string_view kBrokenReferralText = "<Referral is no Device !>";

// Whether pin + pointer lands on a pin at all.
bool IsValidDevicePointer(int pin, int pointer);
// Files and devices can hand over any pointer; this says whether every one of them lands.
bool AllDevicePointersValid(const DeviceConfiguration& config);

// Whether `pin` names a pin with pointer 0: the head of a device, or a pin that stands alone.
bool IsDeviceHead(const DeviceConfiguration& config, int pin);

// pin + pointer, or nullopt when the pointer leads off the pins.
std::optional<int> DeviceHead(const DeviceConfiguration& config, int pin);

// Whether `pin` is `head` itself or one of its members. False when `head` is no device head.
bool BelongsToDevice(const DeviceConfiguration& config, int pin, int head);

// A pin whose pointer leads to a pin that points on again (or off the pins) belongs to no device.
bool IsBrokenReferral(const DeviceConfiguration& config, int pin);

// Frees a head and all its members: pointers 0 and device names empty. A pin that is not a head
// is left alone, so that dissolving never touches another device.
void DissolveDevice(DeviceConfiguration& config, int head);

// Points `pin` at the head pin number the user typed (shown numbering). Text that is not a whole
// number, or names no pin, changes nothing. Returns whether the pointer was set.
bool SetDevicePointerFromText(DeviceConfiguration& config, int pin, std::string_view typed);

// What the device pin field shows: the head's number as the user sees it.
std::string DevicePinText(const DeviceConfiguration& config, int pin);

struct DeviceNameView {
  std::string text;
  bool editable = false;
};

// The device name field for `pin`. A head or lone pin shows and edits its own name. A member
// shows its head's name read-only, and its own name is emptied since only the head's counts.
DeviceNameView ShowDeviceName(DeviceConfiguration& config, int pin);

}  // namespace tarn

#endif  // TARN_MODEL_DEVICES_H_
