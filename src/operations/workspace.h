#ifndef TARN_OPERATIONS_WORKSPACE_H_
#define TARN_OPERATIONS_WORKSPACE_H_

#include "model/device_configuration.h"
#include "protocol/event_control.h"

namespace tarn {

// What the operations work on besides the link: the configuration the user edits, and what the
// window shows beside it that no file keeps.
struct Workspace {
  DeviceConfiguration config;
  EventEnableMap enable_map;
  // On while the program, not the user, sets the address check boxes.
  bool programmatic_update = false;

  friend bool operator==(const Workspace&, const Workspace&) = default;
};

}  // namespace tarn

#endif  // TARN_OPERATIONS_WORKSPACE_H_
