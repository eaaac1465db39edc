#include "operations/verification.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "model/aspect_layout.h"
#include "model/led_mask.h"
#include "model/pin_mode.h"
#include "model/servo_flags.h"
#include "model/step_codec.h"
#include "protocol/command_exchange.h"

namespace tarn {
namespace {

using Bytes = std::vector<std::uint8_t>;

ReadReply Read(Session& session, std::initializer_list<std::uint8_t> request) {
  const Bytes bytes(request);
  return SendReadRequest(session.link, bytes);
}

std::string Number(int value) { return std::to_string(value); }

int TwoValues(const Bytes& reply) { return reply[2] * 128 + reply[3]; }

// --- General settings -------------------------------------------------------------------------

// A mismatch line, or nothing when the reply matches the configuration.
using Compare = std::optional<std::string> (*)(const GeneralSettings&, const Bytes&);

std::optional<std::string> CompareIdString(const GeneralSettings& settings, const Bytes& reply) {
  const std::string device(reply.begin() + 2, reply.end());
  if (device == settings.id_string) return std::nullopt;
  return "ID does not compare: TarnConfig = <" + settings.id_string + "> Tarn = <" + device + ">";
}

std::optional<std::string> CompareHardwareConfiguration(const GeneralSettings& settings,
                                                        const Bytes& reply) {
  const auto values = HardwareConfigurationValues(settings);
  for (std::size_t group = 0; group < values.size(); ++group) {
    if (values[group] != reply[2 + group]) return "Hardware configuration does not compare";
  }
  return std::nullopt;
}

std::optional<std::string> CompareDccAddress(const GeneralSettings& settings, const Bytes& reply) {
  if (settings.dcc_address == DccAddressOf(reply[2], reply[3])) return std::nullopt;
  return "DCC address does not compare";
}

std::optional<std::string> CompareExtendedDccAddress(const GeneralSettings& settings,
                                                     const Bytes& reply) {
  if (settings.extended_dcc_address == DccAddressOf(reply[2], reply[3])) return std::nullopt;
  return "eXtended DCC address does not compare";
}

std::optional<std::string> CompareDccOptions(const GeneralSettings& settings, const Bytes& reply) {
  if (DccOptionsByte(settings) == reply[2]) return std::nullopt;
  return "DCC Options do not compare";
}

std::optional<std::string> CompareSerialAddress(const GeneralSettings& settings,
                                                const Bytes& reply) {
  // The flex flag, then the address byte, as the write sends them.
  const int expected = (IsVeskFlexibleAddressing(settings) ? 128 : 0) + SerialAddressByte(settings);
  if (expected == TwoValues(reply)) return std::nullopt;
  return "Serial Address Settings do not compare";
}

std::optional<std::string> CompareExtendedAddress(const GeneralSettings& settings,
                                                  const Bytes& reply) {
  if (settings.module_extended_address == reply[2]) return std::nullopt;
  return "eXtended Address does not compare";
}

std::optional<std::string> CompareExtendedGroupMask(const GeneralSettings& settings,
                                                    const Bytes& reply) {
  const auto values = ExtendedGroupMaskValues(settings);
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (values[i] != reply[2 + i]) return "eXtended Group Mask does not compare";
  }
  return std::nullopt;
}

std::optional<std::string> CompareGreenLed(const GeneralSettings& settings, const Bytes& reply) {
  if ((settings.green_led_mask & kLedMaskBits) == reply[2]) return std::nullopt;
  return "Green LED configuration does not compare";
}

std::optional<std::string> CompareOrangeLed(const GeneralSettings& settings, const Bytes& reply) {
  if ((settings.orange_led_mask & kLedMaskBits) == reply[2]) return std::nullopt;
  return "Orange LED configuration does not compare";
}

std::optional<std::string> CompareSerialPort(const GeneralSettings& settings, const Bytes& reply) {
  const int expected = SerialPortSettingsByte(settings) + (settings.serial_port_enable ? 128 : 0);
  if (expected == TwoValues(reply)) return std::nullopt;
  return "Serial Port Configuration does not compare";
}

enum class WhenSilent { kSkipGroup, kStop, kStopWithLine };

}  // namespace

// One row of the general settings verification.
struct Verification::Group {
  std::uint8_t general_register;
  std::size_t length;
  bool length_is_minimum;
  Compare compare;
  // Lines for a reply of the wrong length or echo. With `numbered` set they are built as
  // "<numbered>: No valid response, size = N expected = L" and "..., msg = a,b expected = 112,R".
  std::string_view size_line;
  std::string_view echo_line;
  std::string_view numbered;
  bool wrong_length_goes_on;
  WhenSilent when_silent;
  // What the group is, for the line that says no reply came: "<name>: No response received".
  std::string_view name;
};

Verification::GroupOutcome Verification::VerifyGroup(const Group& group, VerificationReport& report,
                                                     bool& passed) {
  const ReadReply reply = Read(session_, {kGeneralReadCommand, group.general_register});
  if (!reply.answered) {
    // A group that could not be compared is named and fails the verification, whether the
    // verification goes on or not: "Verify OK" may only follow comparisons that were made.
    passed = false;
    switch (group.when_silent) {
      case WhenSilent::kSkipGroup:
        report.Line(std::string(group.name) + ": " + std::string(kNoResponseLine));
        return GroupOutcome::kGoOn;
      case WhenSilent::kStopWithLine:
        report.Line(group.size_line);
        return GroupOutcome::kStop;
      case WhenSilent::kStop:
        report.Line(std::string(group.name) + ": " + std::string(kNoResponseLine));
        return GroupOutcome::kStop;
    }
  }
  const Bytes& values = reply.payload;
  switch (
      JudgeRegisterReply(values, group.general_register, group.length, group.length_is_minimum)) {
    case RegisterReplyFault::kSize:
      passed = false;
      report.Line(group.numbered.empty() ? std::string(group.size_line)
                                         : std::string(group.numbered) + ": " +
                                               WrongSizeText(values.size(), group.length));
      return group.wrong_length_goes_on ? GroupOutcome::kGoOn : GroupOutcome::kStop;
    case RegisterReplyFault::kEcho:
      passed = false;
      report.Line(group.numbered.empty() ? std::string(group.echo_line)
                                         : std::string(group.numbered) + ": " +
                                               WrongEchoText(values, group.general_register));
      return GroupOutcome::kStop;
    case RegisterReplyFault::kNone:
      break;
  }
  if (const std::optional<std::string> mismatch =
          group.compare(session_.config().general_settings, values)) {
    report.Line(*mismatch);
    passed = false;
  }
  return GroupOutcome::kGoOn;
}

bool Verification::VerifyGeneralSettings(VerificationReport& report) {
  static const Verification::Group kGroups[] = {
      {kRegisterIdString, 2, true, CompareIdString, "ReadIDString: No valid response",
       "ReadIDString: No valid response", "", false, WhenSilent::kSkipGroup, "ReadIDString"},
      {kRegisterHardwareConfiguration, 6, false, CompareHardwareConfiguration,
       "HWCRead: No valid response size", "HWCRead: No valid response type", "", false,
       WhenSilent::kSkipGroup, "HWCRead"},
      {kRegisterDccAddress, 4, false, CompareDccAddress, "DCC Address: No valid response",
       "DCC Address: No valid response", "", true, WhenSilent::kStop, "DCC Address"},
      {kRegisterExtendedDccAddress, 4, false, CompareExtendedDccAddress,
       "eXtended DCC Address: No valid response", "eXtended DCC Address: No valid response", "",
       true, WhenSilent::kStop, "eXtended DCC Address"},
      {kRegisterDccOptions, 3, false, CompareDccOptions, "DCC Options: No valid response",
       "DCC Options: No valid response", "", false, WhenSilent::kStop, "DCC Options"},
      {kRegisterVeskAddressing, 4, false, CompareSerialAddress, "", "", "Serial Address Settings",
       false, WhenSilent::kStop, "Serial Address Settings"},
      {kRegisterModuleExtendedAddress, 3, false, CompareExtendedAddress, "", "", "eXtended Address",
       false, WhenSilent::kStop, "eXtended Address"},
      {kRegisterExtendedGroupMask, 6, false, CompareExtendedGroupMask, "", "",
       "eXtended Group Mask", false, WhenSilent::kStop, "eXtended Group Mask"},
      {kRegisterGreenLamp, 3, false, CompareGreenLed, "ReadLEDConfig: No valid response",
       "ReadLEDConfig: No valid response", "", false, WhenSilent::kStopWithLine,
       "ReadLEDConfig"},
      {kRegisterOrangeLamp, 3, false, CompareOrangeLed, "ReadLEDConfig: No valid response",
       "ReadLEDConfig: No valid response", "", false, WhenSilent::kStopWithLine,
       "ReadLEDConfig"},
      {kRegisterSerialPort, 4, false, CompareSerialPort, "", "", "Serial Port Config", false,
       WhenSilent::kStop, "Serial Port Config"},
  };
  session_.link.SetBidirectional(true);
  bool passed = true;
  report.Line("Start General Settings Verification");
  for (const Group& group : kGroups) {
    session_.progress.Report(0, 0, "Verifying the general settings");
    if (VerifyGroup(group, report, passed) == GroupOutcome::kStop) break;
  }
  return passed;
}

std::string Verification::ShownPin(int pin) const {
  return Number(pin + session_.config().numbering_base);
}

// --- Event control ----------------------------------------------------------------------------

bool Verification::VerifyEventControl(VerificationReport& report) {
  session_.link.SetBidirectional(true);
  const DeviceConfiguration& config = session_.config();
  bool passed = true;
  report.Line("Start EC Verification");
  if (config.numbering_base == 1) report.Line("Note: Numbering starts at 1");
  for (const EventEdge edge : {EventEdge::kOn, EventEdge::kOff}) {
    const EventEdgeRule& rule = EventEdgeRuleOf(edge);
    for (int pin = 0; pin < kPinCount; ++pin) {
      session_.progress.Report(pin, kPinCount, "Verifying the events of pin " + ShownPin(pin));
      const ReadReply reply = Read(session_, {rule.read_command, static_cast<std::uint8_t>(pin)});
      if (!reply.answered || !reply.from_tarn) {
        report.Line(std::string(rule.refusal.substr(0, rule.refusal.find(':'))) + " for pin " +
                    ShownPin(pin) + ": " + std::string(kNoResponseLine));
        return false;
      }
      const auto received = EventActionsOfReply(reply.payload, edge, pin);
      if (!received) {
        report.Line(rule.refusal);
        passed = false;
        break;  // the device keeps no such actions: the other pins are not asked
      }
      const auto& actions = EdgeActions(config.event_actions[pin], edge);
      for (int input = 0; input < kEventInputCount; ++input) {
        if ((*received)[input] == actions[input]) continue;
        report.Line(std::string(rule.name) + "(" + Number(input) + ") for pin " + ShownPin(pin) +
                    " does not compare: Configured Action = " + Number(actions[input]) +
                    ", Tarn Reply = " + Number((*received)[input]));
        passed = false;
      }
    }
  }
  const ReadReply reply = Read(session_, {kGeneralReadCommand, kRegisterEventEnableMap});
  if (!reply.answered) {
    report.Line("ECInit: " + std::string(kNoResponseLine));
    return false;
  }
  const Bytes& values = reply.payload;
  switch (JudgeRegisterReply(values, kRegisterEventEnableMap, kEnableMapReplySize)) {
    case RegisterReplyFault::kSize:
      report.Line("ECInit: No valid response size");
      return false;
    case RegisterReplyFault::kEcho:
      report.Line("ECInit: No valid response type");
      return false;
    case RegisterReplyFault::kNone:
      break;
  }
  const EventEnableMap& map = session_.workspace.enable_map;
  if (EnableMask(map.on) != values[2]) {
    report.Line("ECInit: ON-mask does not compare");
    passed = false;
  }
  if (EnableMask(map.off) != values[3]) {
    report.Line("ECInit: OFF-mask does not compare");
    passed = false;
  }
  return passed;
}

// --- Pins -------------------------------------------------------------------------------------

bool Verification::VerifyPin(int pin, VerificationReport& report, bool& passed) {
  const PinRecord& record = session_.pin(pin);
  const std::string line_start = "Pin " + ShownPin(pin) + ": ";
  const auto fail = [&](std::string_view line) {
    report.Line(line.empty() ? line_start + std::string(kNoResponseLine) : std::string(line));
    passed = false;
  };

  // Configuration.
  ReadReply reply = Read(session_, {kPinConfigReadCommand, static_cast<std::uint8_t>(pin)});
  if (!reply.answered) return fail(""), false;
  Bytes values = reply.payload;
  if (!IsPinConfigReply(values, pin)) return fail(kNoValidResponse), false;
  const std::uint8_t mode = values[2];
  const std::size_t count = std::min<std::size_t>(values.size() - 2, kPinConfigSize);
  // Compared as a read would store them.
  if (mode == static_cast<std::uint8_t>(PinMode::kServo) && count > 2) {
    values[4] = ConvertOlderServoFlags(values[4]);
  }
  for (std::size_t i = 0; i < count; ++i) {
    if (values[2 + i] != record.pin_config[i]) {
      fail(line_start + "Pinconfig does not compare");
      break;
    }
  }
  if (IsPwmMode(mode) && count <= 5 && (record.pin_config[4] != 0 || record.pin_config[5] != 31)) {
    fail(line_start + "Pinconfig does not compare");
  }

  // Layout and program.
  reply = Read(session_, {kAspectLayoutReadCommand, static_cast<std::uint8_t>(pin)});
  if (!reply.answered) return fail(""), false;
  if (!IsReplyFor(reply.payload, kAspectLayoutReadCommand, pin, 3)) {
    return fail(kNoValidResponse), false;
  }
  if (reply.payload[2] != record.aspect_layout) {
    fail(line_start + "Aspectconfig does not compare");
  } else {
    const int steps = StepsPerAspect(record.aspect_layout);
    // At the first difference in an aspect its remaining steps are not asked for.
    for (int aspect = 0; aspect < AspectCount(record.aspect_layout); ++aspect) {
      bool same = true;
      for (int step = 0; same && step < steps; ++step) {
        reply =
            Read(session_, {kStepReadCommand, static_cast<std::uint8_t>(pin),
                            static_cast<std::uint8_t>(aspect), static_cast<std::uint8_t>(step)});
        if (!reply.answered) return fail(""), false;
        const std::optional<DeviceStepBytes> received =
            StepOfReply(reply.payload, pin, aspect, step);
        if (!received) return fail(kNoValidResponse), false;
        const DeviceStepBytes expected = EncodeDeviceStep(record.aspects[aspect].steps[step]);
        if (!(expected == *received)) same = false;
      }
      if (!same) fail(line_start + "Aspect " + Number(aspect) + " does not compare");
    }
  }

  // Initial aspect.
  reply = Read(session_, {kInitialAspectReadCommand, static_cast<std::uint8_t>(pin)});
  if (!reply.answered) return fail(""), false;
  const std::optional<std::uint8_t> initial_aspect = InitialAspectOfReply(reply.payload, pin);
  if (!initial_aspect) {
    // No comparison could be made; that is no pass.
    fail(line_start + "Init: " + std::string(kNoValidResponse));
  } else if (*initial_aspect != record.initial_aspect) {
    fail(line_start + "Init does not compare");
  }

  // Addresses.
  reply = Read(session_, {kAddressConfigReadCommand, static_cast<std::uint8_t>(pin)});
  if (!reply.answered) return fail(""), false;
  values = reply.payload;
  if (!IsReplyFor(values, kAddressConfigReadCommand, pin, 5)) {
    const auto at = [&](std::size_t i) { return i < values.size() ? Number(values[i]) : "-"; };
    fail("Pin Address Configuration: Invalid Response, expected 5,118," + Number(pin) +
         ", received " + Number(static_cast<int>(values.size())) + "," + at(0) + "," + at(1));
    return true;
  }
  const PinAddressBytes expected = EncodePinAddress(record);
  for (std::size_t i = 2; i < values.size(); ++i) {
    const std::uint8_t byte = values[i];
    if (byte <= 0x0F) {
      if (byte != expected.dcc) fail(line_start + "DCC Address Configuration does not compare");
    } else if (byte <= 0x1F) {
      if ((byte & 0x0F) != record.vesk_address_count) {
        fail(line_start + "Serial Address Configuration does not compare");
      }
    } else if (byte >= 0x40) {
      if ((byte & 0x1F) != (expected.pointer & 0x1F)) {
        fail(line_start + "Device Pointer does not compare");
      }
    } else {
      fail("Pin Address Configuration: Invalid Response " + Number(byte / 16));
    }
  }
  return true;
}

bool Verification::VerifyPins(VerificationReport& report) {
  session_.link.SetBidirectional(true);
  bool passed = true;
  report.Line("Start Pin Verification");
  if (session_.config().numbering_base == 1) report.Line("Note: Numbering starts at 1");
  for (int pin = 0; pin < kPinCount; ++pin) {
    session_.progress.Report(pin, kPinCount, "Verifying pin " + ShownPin(pin));
    if (!VerifyPin(pin, report, passed)) return false;
  }
  return passed;
}

// --- Operations -------------------------------------------------------------------------------

void VerificationReport::Line(std::string_view line) {
  text_ += line;
  text_ += "\r\n";
}

bool Verification::VerifyAll(VerificationReport& report) {
  report.Clear();
  const bool passed =
      VerifyGeneralSettings(report) && VerifyEventControl(report) && VerifyPins(report);
  report.Append(passed ? kVerifyOk : kVerificationStopped);
  return passed;
}

bool Verification::VerifyAllPins(VerificationReport& report) {
  report.Clear();
  const bool passed = VerifyPins(report);
  if (passed) report.Append(kVerifyOk);
  return passed;
}

bool Verification::VerifyEvents(VerificationReport& report) {
  report.Clear();
  const bool passed = VerifyEventControl(report);
  if (passed) report.Line(kVerifyOk);
  return passed;
}

}  // namespace tarn
