// Any bytes as a device definitions library: listing it and loading each listed device (and one
// name it does not list) must not fault, must keep every device pointer on a pin, and a refused
// load must leave the model as it was. A loaded device saved again must load back the same.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "files/device_definitions.h"
#include "model/devices.h"

namespace {

constexpr std::size_t kMaxDevicesTried = 8;

void LoadAndSave(std::string_view contents, const std::string& name, int head) {
  tarn::DeviceConfiguration config;
  config.current_pin = static_cast<std::uint8_t>(head);
  config.pins[3].description = "in use";
  config.pins[3].device_name = "Old";
  config.pins[4].device_pointer = -1;
  const tarn::DeviceConfiguration before = config;
  const tarn::DeviceLoadResult result = tarn::ApplyDeviceDefinition(contents, name, config);
  if (result.outcome != tarn::DeviceLoadOutcome::kLoaded) {
    if (!(config == before)) std::abort();
    return;
  }
  if (!tarn::AllDevicePointersValid(config)) std::abort();
  if (result.already_used.size() > tarn::kPinCount) std::abort();
  if (config.pins[head].device_pointer != 0 || config.pins[head].device_name != name) std::abort();

  // Save Device writes what it can store; loading that back onto the same pin and saving again
  // must give the same text.
  const std::optional<int> saved_head = tarn::DeviceHeadToSave(config, head);
  if (saved_head != head) std::abort();
  const std::string text = tarn::WriteDeviceDefinition(config, head);
  const std::optional<tarn::DeviceLibraryIndex> index = tarn::ReadDeviceLibraryIndex(text);
  if (!index || index->device_names.size() != 1) std::abort();
  tarn::DeviceConfiguration reloaded = config;
  const std::string& saved_name = index->device_names.front();
  if (tarn::ApplyDeviceDefinition(text, saved_name, reloaded).outcome !=
      tarn::DeviceLoadOutcome::kLoaded) {
    std::abort();
  }
  if (tarn::WriteDeviceDefinition(reloaded, head) != text) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  // The first byte picks the current pin; the rest is the file.
  const int head = data[0] % tarn::kPinCount;
  const std::string_view contents(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::optional<tarn::DeviceLibraryIndex> index = tarn::ReadDeviceLibraryIndex(contents);
  if (!index) {
    LoadAndSave(contents, "", head);
    return 0;
  }
  std::size_t tried = 0;
  for (const std::string& name : index->device_names) {
    if (tried++ == kMaxDevicesTried) break;
    LoadAndSave(contents, name, head);
  }
  LoadAndSave(contents, "no such device", head);
  return 0;
}
