#ifndef TARN_OPERATIONS_SESSION_H_
#define TARN_OPERATIONS_SESSION_H_

#include "host/clock.h"
#include "host/progress.h"
#include "host/prompter.h"
#include "link/link.h"
#include "model/device_configuration.h"
#include "operations/workspace.h"
#include "protocol/event_control.h"
#include "protocol/general_settings_commands.h"
#include "protocol/pin_commands.h"

namespace tarn {

// The link, the host's services and the command set, shared by every flow.
struct Session {
  Session(Link& link_in, Clock& clock_in, Prompter& prompter_in, Progress& progress_in,
          Workspace& workspace_in)
      : link(link_in),
        clock(clock_in),
        prompter(prompter_in),
        progress(progress_in),
        workspace(workspace_in),
        general(link_in, prompter_in),
        pins(link_in, clock_in, prompter_in),
        events(link_in, clock_in, prompter_in) {}

  DeviceConfiguration& config() { return workspace.config; }
  PinRecord& pin(int index) { return workspace.config.pins.at(static_cast<std::size_t>(index)); }

  Link& link;
  Clock& clock;
  Prompter& prompter;
  Progress& progress;
  Workspace& workspace;
  GeneralSettingsCommands general;
  PinCommands pins;
  EventControl events;
};

// A Progress that nobody watches.
class SilentProgress : public Progress {
 public:
  void Report(int, int, std::string_view) override {}
};

}  // namespace tarn

#endif  // TARN_OPERATIONS_SESSION_H_
