#ifndef TARN_OPERATIONS_WORKSPACE_H_
#define TARN_OPERATIONS_WORKSPACE_H_

#include <string>

#include "model/device_configuration.h"
#include "protocol/event_control.h"
#include "protocol/general_settings_commands.h"

namespace tarn {

// What the operations work on besides the link: the configuration the user edits, and what the
// window shows beside it that no file keeps.
struct Workspace {
  DeviceConfiguration config;
  EventEnableMap enable_map;
  std::string firmware_version{kUnknownVersion};  // LabelGenVersionString
  // On while the program, not the user, sets the address check boxes; held by ProgrammaticUpdate.
  bool programmatic_update = false;

  friend bool operator==(const Workspace&, const Workspace&) = default;
};

// Marks the address check boxes as set by the program for as long as it lives, so that no caller
// can forget to clear the mark, whatever the outcome of the read it guards.
class ProgrammaticUpdate {
 public:
  explicit ProgrammaticUpdate(Workspace& workspace) : flag_(workspace.programmatic_update) {
    flag_ = true;
  }
  ~ProgrammaticUpdate() { flag_ = false; }
  ProgrammaticUpdate(const ProgrammaticUpdate&) = delete;
  ProgrammaticUpdate& operator=(const ProgrammaticUpdate&) = delete;

 private:
  bool& flag_;
};

}  // namespace tarn

#endif  // TARN_OPERATIONS_WORKSPACE_H_
