#include "protocol/general_settings_commands.h"

#include <algorithm>
#include <vector>

#include "protocol/command_exchange.h"

namespace tarn {
namespace {

using Payload = std::vector<std::uint8_t>;

// Two 7-bit values carry a DCC address, the low six bits first.
constexpr int kDccAddressSplit = 64;
constexpr int kLargestTwoValueAddress = 127 * kDccAddressSplit + kDccAddressSplit - 1;

constexpr std::uint8_t kDefaultPacketRetention = 2;

std::array<std::uint8_t, 2> DccAddressValues(int address) {
  // The model takes addresses from files unchecked; only what two values can carry is sent.
  const int value = std::clamp(address, 0, kLargestTwoValueAddress);
  return {static_cast<std::uint8_t>(value % kDccAddressSplit),
          static_cast<std::uint8_t>(value / kDccAddressSplit)};
}

}  // namespace

int DccAddressOf(std::uint8_t low, std::uint8_t high) { return high * kDccAddressSplit + low; }

RegisterReplyFault JudgeRegisterReply(std::span<const std::uint8_t> reply,
                                      std::uint8_t general_register, std::size_t size,
                                      bool size_is_minimum) {
  const bool size_fits = size_is_minimum ? reply.size() >= size : reply.size() == size;
  // Every register reply holds at least the echoed command and register.
  if (!size_fits || reply.size() < 2) return RegisterReplyFault::kSize;
  if (reply[0] != kGeneralReadCommand || reply[1] != general_register) {
    return RegisterReplyFault::kEcho;
  }
  return RegisterReplyFault::kNone;
}

std::string WrongSizeText(std::size_t size, std::size_t expected) {
  return "No valid response, size = " + std::to_string(size) +
         " expected = " + std::to_string(expected);
}

std::string WrongEchoText(std::span<const std::uint8_t> reply, std::uint8_t general_register) {
  return "No valid response, msg = " + std::to_string(reply[0]) + "," + std::to_string(reply[1]) +
         " expected = " + std::to_string(kGeneralReadCommand) + "," +
         std::to_string(general_register);
}

// What a read of one register expects back, and what it shows otherwise. An empty message
// stands for the numbered form that names what came and what was expected.
struct GeneralSettingsCommands::ReplyRule {
  std::uint8_t general_register;
  std::size_t size;
  std::string_view size_message;
  std::string_view echo_message;
  std::string_view what;  // what the register holds, for the list of what was not read
  bool size_is_minimum = false;
};

struct GeneralSettingsCommands::CheckedReply {
  bool replied = false;  // the Tarn answered, whatever it said
  bool good = false;     // with the expected size and echo
  Payload payload;
};

AddressingVisibility AddressingFieldsVisibility(const GeneralSettings& settings) {
  const bool flexible = IsVeskFlexibleAddressing(settings);
  return {.vesk_base = flexible,
          .tarn_native = !flexible,
          .vesk_flexible = !IsTarnNativeMode(settings)};
}

std::array<LedBoxState, kLedBoxCount> LampBoxStates(std::uint8_t mask) {
  std::array<LedBoxState, kLedBoxCount> boxes{};
  for (int box = 0; box < kLedBoxCount; ++box) boxes[box] = LedBoxStateOf(mask, box);
  return boxes;
}

GeneralSettingsCommands::GeneralSettingsCommands(Link& link, Prompter& prompter)
    : link_(link), prompter_(prompter) {}

GeneralSettingsCommands::CheckedReply GeneralSettingsCommands::Read(const ReplyRule& rule) {
  const std::array<std::uint8_t, 2> request = {kGeneralReadCommand, rule.general_register};
  ReadReply reply = SendReadRequest(link_, request);
  CheckedReply checked;
  if (!reply.answered) return checked;
  checked.replied = reply.from_tarn;
  checked.payload = std::move(reply.payload);
  const Payload& payload = checked.payload;
  switch (JudgeRegisterReply(payload, rule.general_register, rule.size, rule.size_is_minimum)) {
    case RegisterReplyFault::kSize:
      prompter_.Show(rule.size_message.empty() ? WrongSizeText(payload.size(), rule.size)
                                               : std::string(rule.size_message));
      break;
    case RegisterReplyFault::kEcho:
      prompter_.Show(rule.echo_message.empty() ? WrongEchoText(payload, rule.general_register)
                                               : std::string(rule.echo_message));
      break;
    case RegisterReplyFault::kNone:
      checked.good = true;
      break;
  }
  if (checked.replied && !checked.good) not_read_.push_back({std::string(rule.what)});
  return checked;
}

bool GeneralSettingsCommands::WriteRegister(std::uint8_t general_register,
                                            std::span<const std::uint8_t> values) {
  Payload message = {kGeneralWriteCommand, general_register};
  message.insert(message.end(), values.begin(), values.end());
  return SendWriteMessage(link_, message, prompter_);
}

// --- Version and identification ------------------------------------------------------------------

bool GeneralSettingsCommands::ReadVersion(std::string& version_text) {
  const CheckedReply reply = Read({kRegisterVersion, 6, "GetVersion: No valid response, size <> 6",
                                   "GetVersion: No valid response", "the firmware version"});
  if (!reply.replied || !reply.good) {
    version_text = kUnknownVersion;
    return false;
  }
  const Payload& p = reply.payload;
  version_text = std::to_string(p[2]) + "." + std::to_string(p[3]) + "." + std::to_string(p[4]) +
                  "." + std::to_string(p[5]);
  return true;
}

bool GeneralSettingsCommands::ReadIdString(GeneralSettings& settings) {
  const CheckedReply reply = Read({.general_register = kRegisterIdString,
                                   .size = 2,
                                   .size_message = kNoValidResponse,
                                   .echo_message = kNoValidResponse,
                                   .what = "the ID string",
                                   .size_is_minimum = true});
  if (!reply.replied || !reply.good) return false;
  settings.id_string.assign(reply.payload.begin() + 2, reply.payload.end());
  return true;
}

bool GeneralSettingsCommands::WriteIdString(GeneralSettings& settings) {
  if (settings.id_string.size() > static_cast<std::size_t>(kIdStringMaxLength)) {
    settings.id_string.resize(kIdStringMaxLength);
  }
  // A character above 127 cannot travel; the link refuses such a message whole and says so.
  const Payload characters(settings.id_string.begin(), settings.id_string.end());
  return WriteRegister(kRegisterIdString, characters);
}

// --- Addressing --------------------------------------------------------------------------------

bool GeneralSettingsCommands::ReadAddressing(GeneralSettings& settings) {
  const CheckedReply vesk = Read({kRegisterVeskAddressing, 4, {}, {}, "the serial addressing"});
  if (!vesk.replied) return false;
  if (vesk.good) ApplySerialAddressing(vesk.payload[2], vesk.payload[3], settings);

  const CheckedReply extended = Read({kRegisterModuleExtendedAddress, 3, {}, {}, "the extended address"});
  if (!extended.replied) return false;
  if (extended.good) settings.module_extended_address = extended.payload[2];

  const CheckedReply groups = Read({kRegisterExtendedGroupMask, 6, {}, {}, "the extended group mask"});
  if (!groups.replied) return false;
  if (groups.good) {
    ApplyExtendedGroupMaskValues(
        {groups.payload[2], groups.payload[3], groups.payload[4], groups.payload[5]}, settings);
  }
  return true;
}

bool GeneralSettingsCommands::WriteAddressing(const GeneralSettings& settings) {
  const std::array<std::uint8_t, 2> vesk = {
      static_cast<std::uint8_t>(IsVeskFlexibleAddressing(settings) ? 1 : 0),
      SerialAddressByte(settings)};
  if (!WriteRegister(kRegisterVeskAddressing, vesk)) return false;
  if (!WriteRegister(kRegisterExtendedGroupMask, ExtendedGroupMaskValues(settings))) return false;
  const std::array<std::uint8_t, 1> extended = {settings.module_extended_address};
  return WriteRegister(kRegisterModuleExtendedAddress, extended);
}

// --- DCC ---------------------------------------------------------------------------------------

bool GeneralSettingsCommands::ReadDcc(GeneralSettings& settings) {
  const CheckedReply options =
      Read({kRegisterDccOptions, 3, "Received Address, cannot read DCC options",
            "Received Address: No valid response", "the DCC options"});
  if (!options.replied) return false;
  if (options.good) ApplyDccOptionsByte(options.payload[2], settings);

  const CheckedReply address =
      Read({kRegisterDccAddress, 4, "Get DCC Address: No valid response, size <> 4",
            "Get DCC Address: No valid response", "the DCC address"});
  if (!address.replied) return false;
  if (address.good) settings.dcc_address = DccAddressOf(address.payload[2], address.payload[3]);

  const CheckedReply extended =
      Read({kRegisterExtendedDccAddress, 4, kNoValidResponse, kNoValidResponse,
            "the extended DCC address"});
  if (!extended.replied) return false;
  if (extended.good) {
    settings.extended_dcc_address = DccAddressOf(extended.payload[2], extended.payload[3]);
  }
  return true;
}

bool GeneralSettingsCommands::WriteDcc(const GeneralSettings& settings) {
  GeneralSettings options = settings;
  // Only four retention options exist; anything else is the option selected at start.
  if (options.packet_retention >= kPacketRetentionTexts.size()) {
    options.packet_retention = kDefaultPacketRetention;
  }
  const std::array<std::uint8_t, 1> options_byte = {DccOptionsByte(options)};
  if (!WriteRegister(kRegisterDccOptions, options_byte)) return false;
  if (!WriteRegister(kRegisterDccAddress, DccAddressValues(settings.dcc_address))) return false;
  return WriteRegister(kRegisterExtendedDccAddress,
                       DccAddressValues(settings.extended_dcc_address));
}

// --- Hardware configuration, serial port, lamps --------------------------------------------------

bool GeneralSettingsCommands::ReadHardwareConfiguration(GeneralSettings& settings) {
  const CheckedReply reply =
      Read({kRegisterHardwareConfiguration, 6, "No valid response size", "No valid response type",
            "the hardware configuration"});
  if (!reply.replied) return false;
  if (!reply.good) return true;
  // A group byte out of range spoils the whole reply: nothing of it reaches the model.
  GeneralSettings received = settings;
  for (int group = 0; group < kDriverGroupCount; ++group) {
    if (!ApplyHardwareConfigurationValue(group, reply.payload[2 + group], received)) {
      prompter_.Show("No valid response byte");
      return false;
    }
  }
  settings = received;
  return true;
}

bool GeneralSettingsCommands::WriteHardwareConfiguration(const GeneralSettings& settings) {
  return WriteRegister(kRegisterHardwareConfiguration, HardwareConfigurationValues(settings));
}

bool GeneralSettingsCommands::ReadSerialPort(GeneralSettings& settings) {
  const CheckedReply reply = Read({kRegisterSerialPort, 4, {}, {}, "the serial port settings"});
  if (!reply.replied) return false;
  if (reply.good) {
    settings.serial_port_enable = reply.payload[2] != 0;
    ApplySerialPortSettingsByte(reply.payload[3], settings);
  }
  return true;
}

bool GeneralSettingsCommands::WriteSerialPort(const GeneralSettings& settings) {
  const std::array<std::uint8_t, 2> values = {
      static_cast<std::uint8_t>(settings.serial_port_enable ? 1 : 0),
      SerialPortSettingsByte(settings)};
  return WriteRegister(kRegisterSerialPort, values);
}

bool GeneralSettingsCommands::ReadLamps(GeneralSettings& settings) {
  for (const std::uint8_t lamp : {kRegisterGreenLamp, kRegisterOrangeLamp}) {
    const CheckedReply reply =
        Read({lamp, 3, kNoValidResponse, kNoValidResponse,
              lamp == kRegisterGreenLamp ? "the green LED mask" : "the orange LED mask"});
    if (!reply.replied) return false;
    if (!reply.good) continue;
    const auto mask = static_cast<std::uint8_t>(reply.payload[2] & kLedMaskBits);
    (lamp == kRegisterGreenLamp ? settings.green_led_mask : settings.orange_led_mask) = mask;
  }
  return true;
}

bool GeneralSettingsCommands::WriteLamps(const GeneralSettings& settings) {
  const std::array<std::uint8_t, 1> green = {
      static_cast<std::uint8_t>(settings.green_led_mask & kLedMaskBits)};
  if (!WriteRegister(kRegisterGreenLamp, green)) return false;
  const std::array<std::uint8_t, 1> orange = {
      static_cast<std::uint8_t>(settings.orange_led_mask & kLedMaskBits)};
  return WriteRegister(kRegisterOrangeLamp, orange);
}

// --- Erase -------------------------------------------------------------------------------------

bool GeneralSettingsCommands::EraseFlash() {
  constexpr std::string_view kWarning =
      "WARNING !!\nThis operation will erase the Tarn Configuration Memory\n";
  if (prompter_.Show(std::string(kWarning) + "Continue?", PromptIcon::kWarning,
                     PromptButtons::kOkCancel) != PromptAnswer::kOk) {
    return false;
  }
  if (prompter_.Show(std::string(kWarning) +
                         "The green LED on the Tarn will be ON during this process\n"
                         "The erase process may take up to 45 seconds, please be patient\n\n"
                         "Do you want to cancel this operation?",
                     PromptIcon::kWarning, PromptButtons::kOkCancel) != PromptAnswer::kCancel) {
    return false;
  }
  const bool bidirectional = link_.bidirectional();
  link_.SetBidirectional(false);
  Payload request = {kGeneralWriteCommand, kRegisterVersion};
  request.insert(request.end(), kEraseUnlockCode.begin(), kEraseUnlockCode.end());
  const bool sent = SendWriteMessage(link_, request, prompter_);
  link_.SetBidirectional(bidirectional);
  return sent;
}

}  // namespace tarn
