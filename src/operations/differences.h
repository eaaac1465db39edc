#ifndef TARN_OPERATIONS_DIFFERENCES_H_
#define TARN_OPERATIONS_DIFFERENCES_H_

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/device_configuration.h"
#include "model/model_limits.h"
#include "operations/workspace.h"

// Where two configurations differ, in the groups the writes send one by one, so that a write of
// only what changed can keep the order and the stop rules of "Write All". Values are compared as
// they travel to a Tarn: a servo's Servo Initialised bit, the steps and configuration bytes
// beyond a pin's layout and mode, and the live value count for nothing.

namespace tarn {

// In the order "Write All" sends them; a pin's groups in the order a pin write sends them.
enum class DifferenceGroup : std::uint8_t {
  kIdString,
  kDcc,
  kLed,
  kHardwareConfiguration,
  kSerialPort,
  kPinLayout,
  kPinInitialAspect,
  kPinAddressConfiguration,
  kPinAspect,  // the steps of one aspect
  kPinConfiguration,
  kEvents,                 // one pin's Event-On and Event-Off actions
  kEnableMap,              // a file keeps none
  kModuleAddressSettings,  // written last, and only when everything before was written
  kDescription,            // pin and aspect descriptions and device names: a Tarn keeps none
};

// Whether a Tarn keeps what the group holds, so that a write can change it.
constexpr bool IsKeptByTarn(DifferenceGroup group) {
  return group != DifferenceGroup::kDescription;
}

struct Difference {
  DifferenceGroup group = DifferenceGroup::kIdString;
  int pin = -1;     // 0..31 for the pin groups, events and descriptions; -1 otherwise
  int aspect = -1;  // kPinAspect and an aspect's description
  int step = -1;    // kPinAspect
  // One line a person reads, Windows-1252 like the model's texts, pins numbered as the window
  // numbers them: "Pin 4 aspect 2 step 1: Set Level, Level 20 -> 25".
  std::string text;

  friend bool operator==(const Difference&, const Difference&) = default;
};

// What a write of one pin's changes sends.
struct PinChanges {
  bool layout = false;
  bool initial_aspect = false;
  bool address_configuration = false;
  // A changed layout marks every aspect of the new one: the Tarn's steps no longer fit it.
  std::array<bool, kMaxAspects> aspects{};
  bool configuration = false;
  bool events = false;

  bool Any() const;
  friend bool operator==(const PinChanges&, const PinChanges&) = default;
};

// Which groups a "Write Changes" has to send.
struct ChangedGroups {
  bool id_string = false;
  bool dcc = false;
  bool led = false;
  bool hardware_configuration = false;
  bool serial_port = false;
  std::array<PinChanges, kPinCount> pins{};
  bool enable_map = false;
  bool module_address_settings = false;
  // Descriptions or device names differ: something to save in a file, nothing to write.
  bool descriptions = false;

  bool AnyToWrite() const;
  friend bool operator==(const ChangedGroups&, const ChangedGroups&) = default;
};

struct ConfigurationDifferences {
  // In write order; a pin's descriptions follow its groups.
  std::vector<Difference> list;
  ChangedGroups changed;

  bool empty() const { return list.empty(); }
};

// Two configuration files, from `from` to `to`: no enable map, since no file keeps one. Pins are
// shown as pin + `numbering_base`; aspects, steps and inputs from 0, as the editor shows them.
ConfigurationDifferences CompareConfigurations(const DeviceConfiguration& from,
                                               const DeviceConfiguration& to, int numbering_base);

// What the Tarn holds against what the window edits, the enable map included, numbered as the
// edited configuration is shown.
ConfigurationDifferences CompareWorkspaces(const Workspace& tarn, const Workspace& edited);

}  // namespace tarn

#endif  // TARN_OPERATIONS_DIFFERENCES_H_
