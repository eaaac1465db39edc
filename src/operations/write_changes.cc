#include "operations/write_changes.h"

#include <algorithm>
#include <functional>
#include <vector>

#include "model/aspect_layout.h"

namespace tarn {
namespace {

struct ChangeStep {
  std::string what;
  std::function<bool()> run;
};

// What a pin shows on the device tab; its events belong to the event control tab.
bool PinProgramDiffers(const PinChanges& pin) {
  return pin.layout || pin.initial_aspect || pin.address_configuration || pin.configuration ||
         std::ranges::find(pin.aspects, true) != pin.aspects.end();
}

int PinGroupCount(const PinChanges& pin) {
  return pin.layout + pin.initial_aspect + pin.address_configuration + pin.configuration +
         pin.events + static_cast<int>(std::ranges::count(pin.aspects, true));
}

// One pin's groups in the order a pin write sends them. Aspects beyond the layout are not the
// Tarn's to keep.
bool WritePinChanges(Session& session, int index, const PinChanges& changes) {
  PinCommands& pins = session.pins;
  PinRecord& pin = session.pin(index);
  if (changes.layout && !pins.WriteAspectLayout(pin, index)) return false;
  if (changes.initial_aspect && !pins.WriteInitialAspect(pin, index)) return false;
  if (changes.address_configuration && !pins.WriteAddressConfig(pin, index)) return false;
  for (int aspect = 0; aspect < AspectCount(pin.aspect_layout); ++aspect) {
    if (changes.aspects[aspect] && !pins.WriteAspectSteps(pin, index, aspect)) return false;
  }
  return !changes.configuration || pins.SendPinConfig(pin, index, PinConfigVariant::kWriteRead);
}

}  // namespace

bool WriteChanges(Session& session, const ChangedGroups& changed) {
  GeneralSettingsCommands& general = session.general;
  GeneralSettings& settings = session.config().general_settings;
  std::vector<ChangeStep> steps;
  const auto add = [&steps](bool wanted, std::string what, std::function<bool()> run) {
    if (wanted) steps.push_back({std::move(what), std::move(run)});
  };
  add(changed.id_string, "Writing the ID string", [&] { return general.WriteIdString(settings); });
  add(changed.dcc, "Writing the DCC settings", [&] { return general.WriteDcc(settings); });
  add(changed.led, "Writing the LED configuration", [&] { return general.WriteLamps(settings); });
  add(changed.hardware_configuration, "Writing the hardware configuration",
      [&] { return general.WriteHardwareConfiguration(settings); });
  add(changed.serial_port, "Writing the serial settings",
      [&] { return general.WriteSerialPort(settings); });
  const int base = session.config().numbering_base;
  for (int pin = 0; pin < kPinCount; ++pin) {
    const PinChanges& changes = changed.pins[pin];
    add(PinProgramDiffers(changes), "Writing pin " + std::to_string(pin + base),
        [&session, pin, &changes] { return WritePinChanges(session, pin, changes); });
  }
  for (int pin = 0; pin < kPinCount; ++pin) {
    add(changed.pins[pin].events, "Writing the events of pin " + std::to_string(pin + base),
        [&session, pin] { return session.events.WritePin(pin, session.config().event_actions); });
  }
  add(changed.enable_map, "Writing the event enable map",
      [&] { return session.events.WriteEnableMap(session.workspace.enable_map); });
  add(changed.module_address_settings, "Writing the module address settings",
      [&] { return general.WriteAddressing(settings); });

  const int total = static_cast<int>(steps.size());
  for (int done = 0; done < total; ++done) {
    session.progress.Report(done, total, steps[done].what);
    if (!steps[done].run()) return false;
  }
  return true;
}

std::string_view NothingToWriteText(const ChangedGroups& changed) {
  return changed.descriptions ? kOnlyTextsDiffer : kNothingToWrite;
}

DifferenceSummary SummarizeChanges(const ChangedGroups& changed) {
  DifferenceSummary summary;
  const int general = changed.id_string + changed.dcc + changed.led +
                      changed.hardware_configuration + changed.serial_port +
                      changed.module_address_settings;
  summary.general = general > 0;
  summary.groups = general + changed.enable_map;
  summary.events = changed.enable_map;
  for (const PinChanges& pin : changed.pins) {
    summary.groups += PinGroupCount(pin);
    summary.events = summary.events || pin.events;
    summary.pins = summary.pins || PinProgramDiffers(pin);
  }
  return summary;
}

std::string DifferenceSummaryText(bool known, const DifferenceSummary& summary) {
  if (!known) return "What the Tarn holds is not known";
  if (summary.groups == 0) return "The Tarn holds what the window shows";
  if (summary.groups == 1) return "1 group differs from the Tarn";
  return std::to_string(summary.groups) + " groups differ from the Tarn";
}

std::string PinDifferenceText(const ChangedGroups& changed, int pin, int numbering_base) {
  if (!IsPinNumber(pin) || !PinProgramDiffers(changed.pins[pin])) return {};
  return "Pin " + std::to_string(pin + numbering_base) + " differs from the Tarn";
}

}  // namespace tarn
