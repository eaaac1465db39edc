#include "operations/tarn_picture.h"

#include "model/aspect_layout.h"
#include "protocol/command_exchange.h"
#include "protocol/event_control.h"
#include "protocol/general_settings_commands.h"
#include "protocol/pin_commands.h"

namespace tarn {
namespace {

using Kind = TarnItem::Kind;

// The high nibble of a byte after the pin in 0x64 / 0x65: an input's action, or the initial
// aspect.
constexpr int kInitialAspectSlot = 7;

bool IsKnownRegister(int general_register) {
  switch (general_register) {
    case kRegisterHardwareConfiguration:
    case kRegisterModuleExtendedAddress:
    case kRegisterExtendedGroupMask:
    case kRegisterDccAddress:
    case kRegisterDccOptions:
    case kRegisterGreenLamp:
    case kRegisterOrangeLamp:
    case kRegisterVeskAddressing:
    case kRegisterIdString:
    case kRegisterEventEnableMap:
    case kRegisterExtendedDccAddress:
    case kRegisterSerialPort:
      return true;
    default:
      return false;
  }
}

std::optional<Kind> PinKindOf(std::uint8_t command) {
  switch (command) {
    case kPinConfigSetCommand:
    case kPinConfigWriteCommand:
      return Kind::kPinConfiguration;
    case kAspectLayoutWriteCommand:
      return Kind::kAspectLayout;
    case kStepWriteCommand:
      return Kind::kStep;
    case kEventOffWriteCommand:
      return Kind::kEventOff;
    case kAddressConfigWriteCommand:
      return Kind::kAddressConfiguration;
    default:
      return std::nullopt;
  }
}

// Puts what a confirmed write of `item` carried (encoded from `from`) into `to`.
void CopyItem(const TarnItem& item, const Workspace& from, Workspace& to) {
  const GeneralSettings& a = from.config.general_settings;
  GeneralSettings& b = to.config.general_settings;
  if (item.kind == Kind::kRegister) {
    switch (item.target) {
      case kRegisterHardwareConfiguration:
        b.sink_driver = a.sink_driver;
        b.source_driver = a.source_driver;
        break;
      case kRegisterModuleExtendedAddress:
        b.module_extended_address = a.module_extended_address;
        break;
      case kRegisterExtendedGroupMask:
        b.extended_group_mask = a.extended_group_mask;
        break;
      case kRegisterDccAddress:
        b.dcc_address = a.dcc_address;
        break;
      case kRegisterDccOptions:
        b.packet_retention = a.packet_retention;
        b.basic_packet_state_invert = a.basic_packet_state_invert;
        b.allow_address_0 = a.allow_address_0;
        break;
      case kRegisterGreenLamp:
        b.green_led_mask = a.green_led_mask;
        break;
      case kRegisterOrangeLamp:
        b.orange_led_mask = a.orange_led_mask;
        break;
      case kRegisterVeskAddressing:
        b.serial_addressing = a.serial_addressing;
        b.serial_base_address = a.serial_base_address;
        break;
      case kRegisterIdString:
        b.id_string = a.id_string;
        break;
      case kRegisterEventEnableMap:
        to.enable_map = from.enable_map;
        break;
      case kRegisterExtendedDccAddress:
        b.extended_dcc_address = a.extended_dcc_address;
        break;
      case kRegisterSerialPort:
        b.serial_port_enable = a.serial_port_enable;
        b.serial_bit_rate = a.serial_bit_rate;
        b.serial_data_bits = a.serial_data_bits;
        b.serial_parity = a.serial_parity;
        b.serial_stop_bits = a.serial_stop_bits;
        break;
      default:
        break;
    }
    return;
  }
  const PinRecord& pa = from.config.pins[item.target];
  PinRecord& pb = to.config.pins[item.target];
  switch (item.kind) {
    case Kind::kPinConfiguration:
      pb.pin_config = pa.pin_config;
      break;
    case Kind::kAspectLayout:
      pb.aspect_layout = pa.aspect_layout;
      break;
    case Kind::kStep:
      pb.aspects[item.aspect].steps[item.step] = pa.aspects[item.aspect].steps[item.step];
      break;
    case Kind::kInitialAspect:
      pb.initial_aspect = pa.initial_aspect;
      break;
    case Kind::kEventOn:
      to.config.event_actions[item.target].on = from.config.event_actions[item.target].on;
      break;
    case Kind::kEventOff:
      to.config.event_actions[item.target].off = from.config.event_actions[item.target].off;
      break;
    case Kind::kAddressConfiguration:
      pb.dcc_address_count = pa.dcc_address_count;
      pb.xdcc_address_count = pa.xdcc_address_count;
      pb.vesk_address_count = pa.vesk_address_count;
      pb.device_pointer = pa.device_pointer;
      break;
    case Kind::kRegister:
      break;
  }
}

// Marks the group that holds `item`, as a write of `edited` would send it.
void MarkGroup(const TarnItem& item, const Workspace& edited, ChangedGroups& changed) {
  if (item.kind == Kind::kRegister) {
    switch (item.target) {
      case kRegisterIdString:
        changed.id_string = true;
        break;
      case kRegisterDccAddress:
      case kRegisterDccOptions:
      case kRegisterExtendedDccAddress:
        changed.dcc = true;
        break;
      case kRegisterGreenLamp:
      case kRegisterOrangeLamp:
        changed.led = true;
        break;
      case kRegisterHardwareConfiguration:
        changed.hardware_configuration = true;
        break;
      case kRegisterSerialPort:
        changed.serial_port = true;
        break;
      case kRegisterEventEnableMap:
        changed.enable_map = true;
        break;
      default:  // serial addressing, extended address, group mask
        changed.module_address_settings = true;
        break;
    }
    return;
  }
  PinChanges& pin = changed.pins[item.target];
  const int aspects = AspectCount(edited.config.pins[item.target].aspect_layout);
  switch (item.kind) {
    case Kind::kPinConfiguration:
      pin.configuration = true;
      break;
    case Kind::kAspectLayout:
      // Under a layout the Tarn may not hold, its steps are not known either.
      pin.layout = true;
      for (int aspect = 0; aspect < aspects; ++aspect) pin.aspects[aspect] = true;
      break;
    case Kind::kStep:
      // A step beyond the layout the window edits is written by no one.
      if (item.aspect < aspects) pin.aspects[item.aspect] = true;
      break;
    case Kind::kInitialAspect:
      pin.initial_aspect = true;
      break;
    case Kind::kEventOn:
    case Kind::kEventOff:
      pin.events = true;
      break;
    case Kind::kAddressConfiguration:
      pin.address_configuration = true;
      break;
    case Kind::kRegister:
      break;
  }
}

}  // namespace

WrittenItems ItemsWrittenBy(std::span<const std::uint8_t> payload) {
  WrittenItems written;
  if (payload.size() < 2) {
    written.beyond_picture = true;
    return written;
  }
  const std::uint8_t command = payload[0];
  const int target = payload[1];
  if (command == kGeneralWriteCommand) {
    if (IsKnownRegister(target)) {
      written.items.push_back({Kind::kRegister, target});
    } else {
      written.beyond_picture = true;  // the erase request among them
    }
    return written;
  }
  if (!IsPinNumber(target)) {
    written.beyond_picture = true;
    return written;
  }
  if (command == kEventOnWriteCommand) {  // also the initial aspect's write
    bool actions = false;
    bool initial_aspect = false;
    for (const std::uint8_t byte : payload.subspan(2)) {
      const int slot = byte >> 4;
      actions = actions || slot < kEventInputCount;
      initial_aspect = initial_aspect || slot == kInitialAspectSlot;
    }
    if (actions) written.items.push_back({Kind::kEventOn, target});
    if (initial_aspect) written.items.push_back({Kind::kInitialAspect, target});
    return written;
  }
  const std::optional<Kind> kind = PinKindOf(command);
  if (!kind) {
    written.beyond_picture = true;
    return written;
  }
  TarnItem item{*kind, target};
  if (*kind == Kind::kStep) {
    if (payload.size() < 4 || payload[2] >= kAspectSlots || payload[3] >= kStepSlots) {
      written.beyond_picture = true;
      return written;
    }
    item.aspect = payload[2];
    item.step = payload[3];
  }
  written.kept = command != kPinConfigSetCommand;
  written.items.push_back(item);
  return written;
}

std::vector<TarnItem> ItemsOfGroups(const ChangedGroups& groups, const Workspace& workspace) {
  std::vector<TarnItem> items;
  const auto registers = [&items](std::initializer_list<int> which) {
    for (const int general_register : which) items.push_back({Kind::kRegister, general_register});
  };
  if (groups.id_string) registers({kRegisterIdString});
  if (groups.dcc)
    registers({kRegisterDccAddress, kRegisterDccOptions, kRegisterExtendedDccAddress});
  if (groups.led) registers({kRegisterGreenLamp, kRegisterOrangeLamp});
  if (groups.hardware_configuration) registers({kRegisterHardwareConfiguration});
  if (groups.serial_port) registers({kRegisterSerialPort});
  if (groups.enable_map) registers({kRegisterEventEnableMap});
  if (groups.module_address_settings) {
    registers(
        {kRegisterVeskAddressing, kRegisterModuleExtendedAddress, kRegisterExtendedGroupMask});
  }
  for (int pin = 0; pin < kPinCount; ++pin) {
    const PinChanges& read = groups.pins[pin];
    const std::uint8_t layout = workspace.config.pins[pin].aspect_layout;
    if (read.layout) items.push_back({Kind::kAspectLayout, pin});
    for (int aspect = 0; aspect < AspectCount(layout); ++aspect) {
      if (!read.aspects[aspect]) continue;
      for (int step = 0; step < StepsPerAspect(layout); ++step) {
        items.push_back({Kind::kStep, pin, aspect, step});
      }
    }
    if (read.initial_aspect) items.push_back({Kind::kInitialAspect, pin});
    if (read.address_configuration) items.push_back({Kind::kAddressConfiguration, pin});
    if (read.configuration) items.push_back({Kind::kPinConfiguration, pin});
    if (read.events) {
      items.push_back({Kind::kEventOn, pin});
      items.push_back({Kind::kEventOff, pin});
    }
  }
  return items;
}

void TarnPicture::Forget() {
  tarn_.reset();
  unconfirmed_.clear();
}

void TarnPicture::TakeOver(const Workspace& workspace) {
  tarn_ = workspace;
  unconfirmed_.clear();
}

void TarnPicture::NoteWrite(std::span<const std::uint8_t> payload, bool confirmed,
                            const Workspace& sent_from) {
  if (!tarn_) return;
  const WrittenItems written = ItemsWrittenBy(payload);
  if (written.beyond_picture) {
    Forget();
    return;
  }
  for (const TarnItem& item : written.items) {
    if (confirmed && written.kept) {
      CopyItem(item, sent_from, *tarn_);
      unconfirmed_.erase(item);
    } else {
      unconfirmed_.insert(item);
    }
  }
}

void TarnPicture::TakeOverRead(const ChangedGroups& read, const Workspace& read_into) {
  if (!tarn_) return;
  // A read leaves the model holding what the reply carried, as a confirmed write leaves the Tarn
  // holding what the message carried: the same item by item copy.
  for (const TarnItem& item : ItemsOfGroups(read, read_into)) {
    CopyItem(item, read_into, *tarn_);
    unconfirmed_.erase(item);
  }
}

ChangedGroups TarnPicture::Changes(const Workspace& edited) const {
  if (!tarn_) return {};
  ChangedGroups changed = CompareWorkspaces(*tarn_, edited).changed;
  for (const TarnItem& item : unconfirmed_) MarkGroup(item, edited, changed);
  return changed;
}

}  // namespace tarn
