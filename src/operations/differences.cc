#include "operations/differences.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

#include "model/aspect_layout.h"
#include "model/instruction_set.h"
#include "model/led_mask.h"
#include "model/pin_parameters.h"
#include "model/servo_flags.h"
#include "model/step_codec.h"
#include "model/step_params.h"
#include "protocol/event_control.h"
#include "protocol/pin_commands.h"

namespace tarn {
namespace {

constexpr std::array<std::string_view, 6> kModeTexts = {
    "not configured", "Servo", "PWM", "PWM Inverted", "Input", "Input Low Active"};
// Headings of the step columns for a parameter the step's instruction does not use.
constexpr std::array<std::string_view, kStepParamCount> kParamColumnTexts = {"Par 0", "Par 1",
                                                                             "Par 2", "Par 3"};
constexpr std::array<EventEdge, 2> kEdges = {EventEdge::kOn, EventEdge::kOff};
constexpr std::uint8_t kServoFlagsByte = 2;
constexpr std::uint8_t kPwmCurvesByte = 2;

std::string Number(int value) { return std::to_string(value); }
std::string OnOff(bool on) { return on ? "on" : "off"; }

// Texts may hold any byte; control bytes are written as \xHH so that a difference stays one line.
std::string Quoted(std::string_view text) {
  std::string quoted = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) {
      char escaped[5];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
      quoted += escaped;
    } else {
      quoted += c;
    }
  }
  return quoted + "\"";
}

std::string Arrow(std::string_view before, std::string_view after) {
  return std::string(before) + " -> " + std::string(after);
}

std::string InstructionName(const Step& step) {
  const InstructionDescriptor d = InstructionOf(step.opcode);
  return d.defined() ? std::string(d.name) : "opcode " + Number(step.opcode);
}

std::string_view ParamLabel(const InstructionDescriptor& d, StepParam param) {
  return d.uses_param(param) ? d.label(param) : kParamColumnTexts[ParamIndex(param)];
}

// A whole step as the editor's row shows it: "Set Level (fade, P.O. 0, Level 20)". Parameters
// the instruction does not use appear only when they hold something.
std::string StepText(const Step& step, int pin, int numbering_base) {
  const InstructionDescriptor d = InstructionOf(step.opcode);
  std::vector<std::string> parts;
  if (step.fade != 0) parts.push_back("fade");
  for (const StepParam param : kStepParams) {
    if (!d.uses_param(param) && ParamByte(step, param) == 0) continue;
    parts.push_back(std::string(ParamLabel(d, param)) + " " +
                    ShownParamText(step, param, pin, numbering_base));
  }
  std::string text = InstructionName(step);
  for (std::size_t i = 0; i < parts.size(); ++i) text += (i == 0 ? " (" : ", ") + parts[i];
  return parts.empty() ? text : text + ")";
}

// Two steps of the same instruction: what changed, "Set Level, Level 20 -> 25".
std::string StepChangeText(const Step& before, const Step& after, int pin, int numbering_base) {
  if (before.opcode != after.opcode) {
    return Arrow(StepText(before, pin, numbering_base), StepText(after, pin, numbering_base));
  }
  const InstructionDescriptor d = InstructionOf(after.opcode);
  std::string text = InstructionName(after);
  if (before.fade != after.fade) text += ", fade " + Arrow(OnOff(before.fade), OnOff(after.fade));
  for (const StepParam param : kStepParams) {
    if (ParamByte(before, param) == ParamByte(after, param)) continue;
    text += ", " + std::string(ParamLabel(d, param)) + " " +
            Arrow(ShownParamText(before, param, pin, numbering_base),
                  ShownParamText(after, param, pin, numbering_base));
  }
  return text;
}

std::string ModeText(std::uint8_t mode) {
  return mode < kModeTexts.size() ? std::string(kModeTexts[mode]) : "mode " + Number(mode);
}

std::string SerialAddressingText(const GeneralSettings& settings, int numbering_base) {
  switch (settings.serial_addressing) {
    case SerialAddressing::kNone:
      break;
    case SerialAddressing::kTarnNative:
      return "Tarn native";
    case SerialAddressing::kVeskFlexible:
      // Shown as the window shows the start address: four serial addresses per step.
      return "Vesk flexible from " + Number(settings.serial_base_address * 4 + numbering_base);
  }
  return "none";
}

std::string BitRateText(std::uint8_t index) {
  return index < kSerialBitRateTexts.size() ? std::string(kSerialBitRateTexts[index])
                                            : "rate " + Number(index);
}

std::string ParityText(std::uint8_t parity) {
  switch (parity) {
    case kParityEven:
      return "Even";
    case kParityOdd:
      return "Odd";
    default:
      return "No";
  }
}

// Builds the list in write order and marks the groups as it goes.
class Comparer {
 public:
  Comparer(const DeviceConfiguration& from, const DeviceConfiguration& to, int numbering_base)
      : from_(from), to_(to), base_(numbering_base) {}

  ConfigurationDifferences Run(const EventEnableMap* from_map, const EventEnableMap* to_map) {
    const GeneralSettings& a = from_.general_settings;
    const GeneralSettings& b = to_.general_settings;
    Field(DifferenceGroup::kIdString, "ID string", Quoted(a.id_string), Quoted(b.id_string));
    Dcc(a, b);
    Leds(a, b);
    HardwareConfiguration(a, b);
    SerialPort(a, b);
    for (int pin = 0; pin < kPinCount; ++pin) Pin(pin);
    Events();
    if (from_map != nullptr && to_map != nullptr) EnableMap(*from_map, *to_map);
    ModuleAddressSettings(a, b);
    return std::move(result_);
  }

 private:
  void Add(Difference difference) {
    Mark(difference);
    result_.list.push_back(std::move(difference));
  }

  // A line "label: before -> after" when the two shown values differ. Every caller shows values
  // so that different values never show alike.
  bool Field(DifferenceGroup group, std::string_view label, const std::string& before,
             const std::string& after, int pin = -1, int aspect = -1) {
    if (before == after) return false;
    Add({group, pin, aspect, -1, std::string(label) + ": " + Arrow(before, after)});
    return true;
  }

  void Mark(const Difference& d) {
    ChangedGroups& c = result_.changed;
    PinChanges* pin = d.pin >= 0 ? &c.pins[d.pin] : nullptr;
    switch (d.group) {
      case DifferenceGroup::kIdString:
        c.id_string = true;
        break;
      case DifferenceGroup::kDcc:
        c.dcc = true;
        break;
      case DifferenceGroup::kLed:
        c.led = true;
        break;
      case DifferenceGroup::kHardwareConfiguration:
        c.hardware_configuration = true;
        break;
      case DifferenceGroup::kSerialPort:
        c.serial_port = true;
        break;
      case DifferenceGroup::kPinLayout:
        pin->layout = true;
        for (int aspect = 0; aspect < AspectCount(to_.pins[d.pin].aspect_layout); ++aspect) {
          pin->aspects[aspect] = true;
        }
        break;
      case DifferenceGroup::kPinInitialAspect:
        pin->initial_aspect = true;
        break;
      case DifferenceGroup::kPinAddressConfiguration:
        pin->address_configuration = true;
        break;
      case DifferenceGroup::kPinAspect:
        pin->aspects[d.aspect] = true;
        break;
      case DifferenceGroup::kPinConfiguration:
        pin->configuration = true;
        break;
      case DifferenceGroup::kEvents:
        pin->events = true;
        break;
      case DifferenceGroup::kEnableMap:
        c.enable_map = true;
        break;
      case DifferenceGroup::kModuleAddressSettings:
        c.module_address_settings = true;
        break;
      case DifferenceGroup::kDescription:
        c.descriptions = true;
        break;
    }
  }

  std::string PinName(int pin) const { return "Pin " + Number(pin + base_); }

  void Dcc(const GeneralSettings& a, const GeneralSettings& b) {
    constexpr DifferenceGroup kGroup = DifferenceGroup::kDcc;
    Field(kGroup, "DCC address", Number(a.dcc_address), Number(b.dcc_address));
    Field(kGroup, "Extended DCC address", Number(a.extended_dcc_address),
          Number(b.extended_dcc_address));
    const auto retention = [](const GeneralSettings& s) {
      return std::string(kPacketRetentionTexts[s.packet_retention & 3]);
    };
    Field(kGroup, "Packet retention", retention(a), retention(b));
    Field(kGroup, "Basic Packet State Invert", OnOff(a.basic_packet_state_invert),
          OnOff(b.basic_packet_state_invert));
    Field(kGroup, "Allow Address 0", OnOff(a.allow_address_0), OnOff(b.allow_address_0));
  }

  void Leds(const GeneralSettings& a, const GeneralSettings& b) {
    const auto boxes = [&](std::string_view lamp, std::uint8_t mask_a, std::uint8_t mask_b,
                           const std::array<std::string_view, kLedBoxCount>& texts) {
      for (int box = 0; box < kLedBoxCount; ++box) {
        // The idle box shows greyed-ticked: it is on.
        const auto on = [box](std::uint8_t mask) {
          return OnOff(LedBoxStateOf(mask & kLedMaskBits, box) != LedBoxState::kUnticked);
        };
        Field(DifferenceGroup::kLed, std::string(lamp) + " " + std::string(texts[box]), on(mask_a),
              on(mask_b));
      }
    };
    boxes("Green LED", a.green_led_mask, b.green_led_mask, kGreenLedBoxTexts);
    boxes("Orange LED", a.orange_led_mask, b.orange_led_mask, kOrangeLedBoxTexts);
  }

  void HardwareConfiguration(const GeneralSettings& a, const GeneralSettings& b) {
    for (int group = 0; group < kDriverGroupCount; ++group) {
      const int first = group * 8 + base_;
      const std::string pins =
          "Hardware configuration pins " + Number(first) + ".." + Number(first + 7);
      Field(DifferenceGroup::kHardwareConfiguration, pins + " Sink", OnOff(a.sink_driver[group]),
            OnOff(b.sink_driver[group]));
      Field(DifferenceGroup::kHardwareConfiguration, pins + " Source",
            OnOff(a.source_driver[group]), OnOff(b.source_driver[group]));
    }
  }

  void SerialPort(const GeneralSettings& a, const GeneralSettings& b) {
    constexpr DifferenceGroup kGroup = DifferenceGroup::kSerialPort;
    Field(kGroup, "Serial port Enable", OnOff(a.serial_port_enable), OnOff(b.serial_port_enable));
    Field(kGroup, "Serial port bit rate", BitRateText(a.serial_bit_rate),
          BitRateText(b.serial_bit_rate));
    Field(kGroup, "Serial port data bits", Number(a.serial_data_bits), Number(b.serial_data_bits));
    Field(kGroup, "Serial port parity", ParityText(a.serial_parity), ParityText(b.serial_parity));
    Field(kGroup, "Serial port stop bits", Number(a.serial_stop_bits), Number(b.serial_stop_bits));
  }

  void ModuleAddressSettings(const GeneralSettings& a, const GeneralSettings& b) {
    constexpr DifferenceGroup kGroup = DifferenceGroup::kModuleAddressSettings;
    Field(kGroup, "Serial addressing", SerialAddressingText(a, base_),
          SerialAddressingText(b, base_));
    Field(kGroup, "Module extended address", Number(a.module_extended_address + base_),
          Number(b.module_extended_address + base_));
    for (int group = 0; group < kExtendedGroupCount; ++group) {
      Field(kGroup, "Extended group " + Number(group), OnOff(a.extended_group_mask[group]),
            OnOff(b.extended_group_mask[group]));
    }
  }

  void Pin(int pin) {
    const PinRecord& a = from_.pins[pin];
    const PinRecord& b = to_.pins[pin];
    const std::string name = PinName(pin);
    Field(DifferenceGroup::kPinLayout, name + " aspect layout",
          Number(AspectCount(a.aspect_layout)), Number(AspectCount(b.aspect_layout)), pin);
    Field(DifferenceGroup::kPinInitialAspect, name + " initial aspect",
          Number(a.initial_aspect - 1), Number(b.initial_aspect - 1), pin);
    Addresses(pin, a, b);
    Steps(pin, a, b);
    Configuration(pin, a, b);
    Descriptions(pin, a, b);
  }

  void Addresses(int pin, const PinRecord& a, const PinRecord& b) {
    constexpr DifferenceGroup kGroup = DifferenceGroup::kPinAddressConfiguration;
    const std::string name = PinName(pin);
    // Shown as they travel: three bits of DCC and serial counts, one of extended DCC, and the
    // pointer taken round the 32 pins.
    Field(kGroup, name + " DCC addresses", Number(a.dcc_address_count & 7),
          Number(b.dcc_address_count & 7), pin);
    Field(kGroup, name + " extended DCC addresses", Number(a.xdcc_address_count & 1),
          Number(b.xdcc_address_count & 1), pin);
    Field(kGroup, name + " serial addresses", Number(a.vesk_address_count & 7),
          Number(b.vesk_address_count & 7), pin);
    Field(kGroup, name + " device head", Number(WrapPin(pin + a.device_pointer) + base_),
          Number(WrapPin(pin + b.device_pointer) + base_), pin);
  }

  // The steps of the new layout, compared as the Tarn would hold them.
  void Steps(int pin, const PinRecord& a, const PinRecord& b) {
    const int aspects = AspectCount(b.aspect_layout);
    const int steps = StepsPerAspect(b.aspect_layout);
    for (int aspect = 0; aspect < aspects; ++aspect) {
      for (int step = 0; step < steps; ++step) {
        const Step& before = a.aspects[aspect].steps[step];
        const Step& after = b.aspects[aspect].steps[step];
        if (EncodeDeviceStep(before) == EncodeDeviceStep(after)) continue;
        Add({DifferenceGroup::kPinAspect, pin, aspect, step,
             PinName(pin) + " aspect " + Number(aspect) + " step " + Number(step) + ": " +
                 StepChangeText(before, after, pin, base_)});
      }
    }
  }

  void Configuration(int pin, const PinRecord& a, const PinRecord& b) {
    const std::vector<std::uint8_t> sent_a = PinConfigBytesToSend(a.pin_config);
    const std::vector<std::uint8_t> sent_b = PinConfigBytesToSend(b.pin_config);
    const std::string name = PinName(pin);
    // Another mode brings other bytes: the mode says it all.
    if (Field(DifferenceGroup::kPinConfiguration, name + " configuration", ModeText(sent_a[0]),
              ModeText(sent_b[0]), pin)) {
      return;
    }
    for (int i = 1; i < static_cast<int>(sent_b.size()); ++i) {
      if (sent_a[i] != sent_b[i] && !NamedConfigurationFields(pin, a, b, i, sent_a, sent_b)) {
        Field(DifferenceGroup::kPinConfiguration, name + " configuration byte " + Number(i),
              Number(sent_a[i]), Number(sent_b[i]), pin);
      }
    }
  }

  // The fields of the pin configuration tab that byte `i` holds; false when the tab names none
  // that differs.
  bool NamedConfigurationFields(int pin, const PinRecord& a, const PinRecord& b, int i,
                                const std::vector<std::uint8_t>& sent_a,
                                const std::vector<std::uint8_t>& sent_b) {
    constexpr DifferenceGroup kGroup = DifferenceGroup::kPinConfiguration;
    const std::string name = PinName(pin) + " ";
    const std::optional<PinConfigTab> tab = TabOfModeByte(sent_b[0]);
    if (!tab) return false;
    for (const PinParameter& parameter : PinParametersOf(*tab)) {
      if (parameter.byte != i) continue;
      return Field(kGroup, name + std::string(parameter.label),
                   Number(ShownValue(parameter, a.pin_config)),
                   Number(ShownValue(parameter, b.pin_config)), pin);
    }
    if (*tab == PinConfigTab::kServo && i == kServoFlagsByte) {
      const ServoFlags fa = ServoFlagsOf(sent_a[i]);
      const ServoFlags fb = ServoFlagsOf(sent_b[i]);
      bool named = Field(kGroup, name + "Range", std::string(kServoRangeTexts[fa.range]),
                         std::string(kServoRangeTexts[fb.range]), pin);
      named |= Field(kGroup, name + std::string(kAutoSuspendText), OnOff(fa.auto_suspend),
                     OnOff(fb.auto_suspend), pin);
      named |= Field(kGroup, name + std::string(kSuspendedText), OnOff(fa.suspended),
                     OnOff(fb.suspended), pin);
      return named;
    }
    if (*tab == PinConfigTab::kPwm && i == kPwmCurvesByte) {
      const PwmCurves ca = PwmCurvesOf(sent_a[i]);
      const PwmCurves cb = PwmCurvesOf(sent_b[i]);
      bool named = Field(kGroup, name + std::string(kPwmDriveModeText),
                         std::string(kPwmCurveTexts[ca.drive_mode]),
                         std::string(kPwmCurveTexts[cb.drive_mode]), pin);
      named |= Field(kGroup, name + std::string(kPwmAccelerationModeText),
                     std::string(kPwmCurveTexts[ca.acceleration_mode]),
                     std::string(kPwmCurveTexts[cb.acceleration_mode]), pin);
      return named;
    }
    return false;
  }

  void Descriptions(int pin, const PinRecord& a, const PinRecord& b) {
    constexpr DifferenceGroup kGroup = DifferenceGroup::kDescription;
    const std::string name = PinName(pin);
    Field(kGroup, name + " description", Quoted(a.description), Quoted(b.description), pin);
    Field(kGroup, name + " device name", Quoted(a.device_name), Quoted(b.device_name), pin);
    // A file keeps the descriptions of its layout's aspects only.
    const int aspects = std::max(AspectCount(a.aspect_layout), AspectCount(b.aspect_layout));
    for (int aspect = 0; aspect < aspects; ++aspect) {
      Field(kGroup, name + " aspect " + Number(aspect) + " description",
            Quoted(a.aspects[aspect].description), Quoted(b.aspects[aspect].description), pin,
            aspect);
    }
  }

  void Events() {
    for (int pin = 0; pin < kPinCount; ++pin) {
      for (const EventEdge edge : kEdges) {
        const auto& before = EdgeActions(from_.event_actions[pin], edge);
        const auto& after = EdgeActions(to_.event_actions[pin], edge);
        for (int input = 0; input < kEventInputCount; ++input) {
          Field(DifferenceGroup::kEvents,
                PinName(pin) + " " + std::string(EventEdgeRuleOf(edge).name) + " Input " +
                    Number(input),
                Number(before[input]), Number(after[input]), pin);
        }
      }
    }
  }

  void EnableMap(const EventEnableMap& a, const EventEnableMap& b) {
    for (const EventEdge edge : kEdges) {
      const auto& before = edge == EventEdge::kOn ? a.on : a.off;
      const auto& after = edge == EventEdge::kOn ? b.on : b.off;
      for (int input = 0; input < kEventInputCount; ++input) {
        Field(
            DifferenceGroup::kEnableMap,
            "Initial enable " + std::string(EventEdgeRuleOf(edge).name) + " Input " + Number(input),
            before[input] ? "enabled" : "disabled", after[input] ? "enabled" : "disabled");
      }
    }
  }

  const DeviceConfiguration& from_;
  const DeviceConfiguration& to_;
  const int base_;
  ConfigurationDifferences result_;
};

}  // namespace

bool PinChanges::Any() const {
  return layout || initial_aspect || address_configuration || configuration || events ||
         std::find(aspects.begin(), aspects.end(), true) != aspects.end();
}

bool ChangedGroups::AnyToWrite() const {
  return id_string || dcc || led || hardware_configuration || serial_port || enable_map ||
         module_address_settings ||
         std::any_of(pins.begin(), pins.end(), [](const PinChanges& pin) { return pin.Any(); });
}

ConfigurationDifferences CompareConfigurations(const DeviceConfiguration& from,
                                               const DeviceConfiguration& to, int numbering_base) {
  return Comparer(from, to, numbering_base).Run(nullptr, nullptr);
}

ConfigurationDifferences CompareWorkspaces(const Workspace& tarn, const Workspace& edited) {
  return Comparer(tarn.config, edited.config, edited.config.numbering_base)
      .Run(&tarn.enable_map, &edited.enable_map);
}

}  // namespace tarn
