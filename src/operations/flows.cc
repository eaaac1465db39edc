#include "operations/flows.h"

#include <algorithm>
#include <functional>
#include <iterator>
#include <span>
#include <string>
#include <utility>

#include "model/aspect_layout.h"

namespace tarn {
namespace {

std::string PinProgress(std::string_view verb, int pin) {
  return std::string(verb) + " pin " + std::to_string(pin + 1) + " of " + std::to_string(kPinCount);
}

// A named step of a long flow, for the progress line.
struct FlowStep {
  std::string_view what;
  std::function<bool()> run;
};

// Runs the steps in order; stops at the first that fails.
bool RunSteps(Progress& progress, std::span<const FlowStep> steps) {
  for (const FlowStep& step : steps) {
    progress.Report(0, 0, step.what);
    if (!step.run()) return false;
  }
  return true;
}

}  // namespace

RefreshList FullRefresh() {
  return {Refresh::kPinAddresses, Refresh::kAspectEditor, Refresh::kBusyLabelHidden,
          Refresh::kPinConfiguration};
}

void Flows::Report(int done, int total, std::string_view what) {
  session_.progress.Report(done, total, what);
}

bool Flows::ReadPin(int pin, bool with_configuration) {
  PinCommands& pins = session_.pins;
  PinRecord& record = session_.pin(pin);
  session_.link.SetBidirectional(true);
  if (!pins.ReadAspectLayout(record, pin)) return false;
  const int aspects = AspectCount(record.aspect_layout);
  const int steps = StepsPerAspect(record.aspect_layout);
  for (int aspect = 0; aspect < aspects; ++aspect) {
    for (int step = 0; step < steps; ++step) {
      if (!pins.ReadStep(record, pin, aspect, step)) return false;
    }
  }
  if (!pins.ReadInitialAspect(record, pin)) return false;
  if (!pins.ReadAddressConfig(record, pin)) return false;
  PinChanges& read = read_.pins[pin];
  read.layout = read.initial_aspect = read.address_configuration = true;
  for (int aspect = 0; aspect < aspects; ++aspect) read.aspects[aspect] = true;
  if (with_configuration) {
    if (pins.FetchPinConfig(record, pin, PinConfigVariant::kWriteRead)) {
      read.configuration = true;
    } else {
      // The configuration comes last and the read goes on without it, listing it as not read; a
      // missing reply here has switched "Bidirectional Comm." off, the next read switches it on.
      pins_not_read_.push_back({"the configuration", pin, pin});
    }
  }
  return true;
}

bool Flows::WritePin(int pin, bool with_configuration) {
  PinCommands& pins = session_.pins;
  PinRecord& record = session_.pin(pin);
  if (!pins.WriteAspectLayout(record, pin) || !pins.WriteInitialAspect(record, pin) ||
      !pins.WriteAddressConfig(record, pin)) {
    return false;
  }
  const int aspects = AspectCount(record.aspect_layout);
  for (int aspect = 0; aspect < aspects; ++aspect) {
    if (!pins.WriteAspectSteps(record, pin, aspect)) return false;
  }
  // A configuration the Tarn did not take ends the write like any other step.
  return !with_configuration || pins.SendPinConfig(record, pin, PinConfigVariant::kWriteRead);
}

bool Flows::ReadAllPins() {
  for (int pin = 0; pin < kPinCount; ++pin) {
    Report(pin, kPinCount, PinProgress("Reading", pin));
    if (!ReadPin(pin)) return false;
  }
  return true;
}

bool Flows::WriteAllPins() {
  for (int pin = 0; pin < kPinCount; ++pin) {
    Report(pin, kPinCount, PinProgress("Writing", pin));
    if (!WritePin(pin)) return false;
  }
  return true;
}

std::optional<std::vector<int>> Flows::NamedHeads(int pin) {
  const auto bytes = session_.pins.RequestAddressBytes(pin);
  if (!bytes) return std::nullopt;
  std::vector<int> heads;
  for (const std::uint8_t byte : *bytes) {
    if (AddressByteKindOf(byte) == AddressByteKind::kDevicePointer) {
      heads.push_back(DeviceHeadOf(pin, byte));
    }
  }
  return heads;
}

// "Read Device" switches "Bidirectional Comm." on first, like every other read: with the option
// off a direct link would collect no reply and the operation would end without a word.
bool Flows::ReadDevice() {
  const int current = session_.config().current_pin;
  session_.link.SetBidirectional(true);
  const std::optional<std::vector<int>> own = NamedHeads(current);
  if (!own) return false;
  if (own->empty()) {
    session_.prompter.Show(std::string(kCannotReadDevicePointer) +
                           std::to_string(current + session_.config().numbering_base));
    return false;
  }
  const int head = own->back();
  for (int pin = 0; pin < kPinCount; ++pin) {
    Report(pin, kPinCount, PinProgress("Looking for the device on", pin));
    const std::optional<std::vector<int>> named_heads = NamedHeads(pin);
    if (!named_heads) return false;
    // A reply naming the head twice reads the pin twice, as the Tarn asked.
    for (const int named : *named_heads) {
      if (named == head && !ReadPin(pin)) return false;
    }
  }
  return true;
}

bool Flows::WriteDevice() {
  const DeviceConfiguration& config = session_.config();
  const int current = config.current_pin;
  const int head = current + config.pins[current].device_pointer;
  for (int pin = 0; pin < kPinCount; ++pin) {
    if (pin + config.pins[pin].device_pointer != head) continue;
    Report(pin, kPinCount, PinProgress("Writing", pin));
    if (!WritePin(pin)) return false;
  }
  return true;
}

bool Flows::ReadAll() {
  GeneralSettingsCommands& general = session_.general;
  GeneralSettings& settings = session_.config().general_settings;
  Workspace& workspace = session_.workspace;
  const FlowStep steps[] = {
      {"Reading the firmware version",
       [&] { return general.ReadVersion(workspace.firmware_version); }},
      {"Reading the ID string", [&] { return general.ReadIdString(settings); }},
      {"Reading the DCC settings", [&] { return general.ReadDcc(settings); }},
      {"Reading the module address settings",
       [&] {
         const ProgrammaticUpdate program_sets_the_boxes(workspace);
         return general.ReadAddressing(settings);
       }},
      {"Reading the LED configuration", [&] { return general.ReadLamps(settings); }},
      {"Reading the hardware configuration",
       [&] { return general.ReadHardwareConfiguration(settings); }},
      {"Reading the serial settings", [&] { return general.ReadSerialPort(settings); }},
      {"Reading the pins", [&] { return ReadAllPins(); }},
      {"Reading the events", [&] { return ReadAllEvents(); }},
      {"Reading the event enable map",
       [&] { return session_.events.ReadEnableMap(workspace.enable_map); }},
  };
  return RunSteps(session_.progress, steps);
}

bool Flows::ReadAllEvents() {
  if (!session_.events.ReadAll(session_.config().event_actions)) return false;
  for (PinChanges& pin : read_.pins) pin.events = true;
  return true;
}

void Flows::ForgetNotRead() {
  TakeNotRead();
  TakeRead();
}

std::vector<NotRead> Flows::TakeNotRead() {
  std::vector<NotRead> items = session_.general.TakeNotRead();
  // Pin by pin, as they were met; a run of pins missing the same thing reads as one range.
  std::vector<NotRead> pins = session_.pins.TakeNotRead();
  std::ranges::move(std::exchange(pins_not_read_, {}), std::back_inserter(pins));
  std::ranges::stable_sort(pins, {}, &NotRead::what);
  for (NotRead& item : pins) {
    NotRead* last = items.empty() ? nullptr : &items.back();
    if (last && last->what == item.what && last->last_pin + 1 == item.first_pin) {
      last->last_pin = item.last_pin;
    } else {
      items.push_back(std::move(item));
    }
  }
  std::ranges::move(session_.events.TakeNotRead(), std::back_inserter(items));
  return items;
}

bool Flows::WriteAll() {
  GeneralSettingsCommands& general = session_.general;
  GeneralSettings& settings = session_.config().general_settings;
  const FlowStep steps[] = {
      {"Writing the ID string", [&] { return general.WriteIdString(settings); }},
      {"Writing the DCC settings", [&] { return general.WriteDcc(settings); }},
      {"Writing the LED configuration", [&] { return general.WriteLamps(settings); }},
      {"Writing the hardware configuration",
       [&] { return general.WriteHardwareConfiguration(settings); }},
      {"Writing the serial settings", [&] { return general.WriteSerialPort(settings); }},
      {"Writing the pins", [&] { return WriteAllPins(); }},
      {"Writing the events",
       [&] { return session_.events.WriteAll(session_.config().event_actions); }},
      {"Writing the event enable map",
       [&] { return session_.events.WriteEnableMap(session_.workspace.enable_map); }},
      {"Writing the module address settings", [&] { return general.WriteAddressing(settings); }},
  };
  return RunSteps(session_.progress, steps);
}

}  // namespace tarn
