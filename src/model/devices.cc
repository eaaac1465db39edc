#include "model/devices.h"

#include <charconv>

namespace tarn {
namespace {

std::string_view Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

std::optional<long long> WholeNumber(std::string_view text) {
  text = Trimmed(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  long long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
  return value;
}

}  // namespace

bool IsValidDevicePointer(int pin, int pointer) { return IsPinNumber(pin + pointer); }

bool AllDevicePointersValid(const DeviceConfiguration& config) {
  for (int pin = 0; pin < kPinCount; ++pin) {
    if (!IsValidDevicePointer(pin, config.pins[pin].device_pointer)) return false;
  }
  return true;
}

bool IsDeviceHead(const DeviceConfiguration& config, int pin) {
  return IsPinNumber(pin) && config.pins[pin].device_pointer == 0;
}

std::optional<int> DeviceHead(const DeviceConfiguration& config, int pin) {
  const int pointer = config.pins[pin].device_pointer;
  if (!IsValidDevicePointer(pin, pointer)) return std::nullopt;
  return pin + pointer;
}

bool BelongsToDevice(const DeviceConfiguration& config, int pin, int head) {
  return IsDeviceHead(config, head) && DeviceHead(config, pin) == head;
}

bool IsBrokenReferral(const DeviceConfiguration& config, int pin) {
  if (config.pins[pin].device_pointer == 0) return false;
  const std::optional<int> head = DeviceHead(config, pin);
  return !head || !IsDeviceHead(config, *head);
}

void DissolveDevice(DeviceConfiguration& config, int head) {
  if (!IsDeviceHead(config, head)) return;
  for (int pin = 0; pin < kPinCount; ++pin) {
    if (DeviceHead(config, pin) != head) continue;
    config.pins[pin].device_pointer = 0;
    config.pins[pin].device_name.clear();
  }
}

bool SetDevicePointerFromText(DeviceConfiguration& config, int pin, std::string_view typed) {
  const std::optional<long long> number = WholeNumber(typed);
  if (!number) return false;
  const long long head = *number - config.numbering_base;
  if (head < 0 || head >= kPinCount) return false;
  config.pins[pin].device_pointer = static_cast<std::int16_t>(head - pin);
  return true;
}

std::string DevicePinText(const DeviceConfiguration& config, int pin) {
  return std::to_string(pin + config.pins[pin].device_pointer + config.numbering_base);
}

DeviceNameView ShowDeviceName(DeviceConfiguration& config, int pin) {
  PinRecord& record = config.pins[pin];
  if (record.device_pointer == 0) return {record.device_name, true};
  record.device_name.clear();
  if (IsBrokenReferral(config, pin)) return {std::string(kBrokenReferralText), false};
  return {config.pins[*DeviceHead(config, pin)].device_name, false};
}

}  // namespace tarn
