#ifndef TARN_FILES_DEVICE_DEFINITIONS_H_
#define TARN_FILES_DEVICE_DEFINITIONS_H_

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/device_configuration.h"

namespace tarn {

// The text of a device definitions file: a library of devices, each a head pin and its members
// with their pin records. Everything here works on file contents in memory; device_library.h
// opens the files and shows the messages.

// The header is "TarnDeviceDefinitions " and a free text: the version of a library, or the device
// name in a file that Save Device wrote. Only its first 21 characters are checked.
inline constexpr std::string_view kDefinitionsHeaderPrefix = "TarnDeviceDefinitions";
inline constexpr std::string_view kDefinitionsHeader = "TarnDeviceDefinitions ";
// "Pin" names a pin relative to the head; "Pab" an absolute one (read, never written).
inline constexpr std::string_view kTagAbsolutePin = "Pab";

struct DeviceLibraryIndex {
  std::string version_text;  // the header after its 22 characters; empty when it has no more
  std::vector<std::string> device_names;  // one per "Dev" section, in file order
};

// The version text and the device names of a library. nullopt when the first item is not a
// definitions header, or when a section does not read to the next "Dev" or "End" (the file ends
// early, or an item does not fit its field): such a file is not listed at all.
std::optional<DeviceLibraryIndex> ReadDeviceLibraryIndex(std::string_view contents);

enum class DeviceLoadOutcome {
  kLoaded,
  kNoMatch,  // no section of that name, or the contents are no definitions file (any more)
  kInvalid,  // a section before or at the match does not read to its end; nothing changed
};

struct DeviceLoadResult {
  DeviceLoadOutcome outcome = DeviceLoadOutcome::kNoMatch;
  // Pins that had a description before the device overwrote them, in the order met.
  std::vector<int> already_used;
};

// Loads the first section named `name` (exact, case-sensitive) onto the current pin c and the
// pins after it: c becomes the head and carries the name, every target pin is freed from the
// device it headed and points to c, and its records are applied. "Pin" n targets (c + n) mod 32
// and "Pab" n targets n mod 32; records before the first of them belong to c. All or nothing:
// `config` changes only when the section reads to its end. Address maps and views are the
// caller's to refresh.
DeviceLoadResult ApplyDeviceDefinition(std::string_view contents, std::string_view name,
                                       DeviceConfiguration& config);

// The head of the device `pin` belongs to, or nullopt when the pin is a broken referral (its
// head points on, or its pointer leads off the pins).
std::optional<int> DeviceHeadToSave(const DeviceConfiguration& config, int pin);

// A definitions file holding the one device headed by `head`: the head as relative pin 0, then
// every member in pin order as (pin - head) mod 32, each with its configuration, address counts
// and the aspects that have a description or a step (their steps that are not empty). A servo's
// byte 2 loses its "Servo Initialised" bit, in `config` too.
std::string WriteDeviceDefinition(DeviceConfiguration& config, int head);

}  // namespace tarn

#endif  // TARN_FILES_DEVICE_DEFINITIONS_H_
