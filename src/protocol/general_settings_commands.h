#ifndef TARN_PROTOCOL_GENERAL_SETTINGS_COMMANDS_H_
#define TARN_PROTOCOL_GENERAL_SETTINGS_COMMANDS_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "host/prompter.h"
#include "link/link.h"
#include "model/general_settings.h"
#include "model/led_mask.h"
#include "protocol/command_exchange.h"

// The reads and writes of the Tarn's general settings (0x70 / 0x60 followed by a register), and
// "Erase Flash". Reads fill a GeneralSettings, writes send one; every operation shows its own
// messages and returns its success flag.

namespace tarn {

// The eight values that must follow 0x60, 0 before a Tarn erases its configuration memory.
inline constexpr std::array<std::uint8_t, 8> kEraseUnlockCode = {0x45, 0x72, 0x61, 0x73,
                                                                 0x65, 0x21, 0x0D, 0x0A};

// The registers of the general settings, as 0x60 / 0x70 address them.
enum GeneralRegister : std::uint8_t {
  kRegisterVersion = 0,  // also the erase request
  kRegisterHardwareConfiguration = 1,
  kRegisterModuleExtendedAddress = 2,
  kRegisterExtendedGroupMask = 3,
  kRegisterDccAddress = 4,
  kRegisterDccOptions = 5,
  kRegisterGreenLamp = 6,
  kRegisterOrangeLamp = 7,
  kRegisterVeskAddressing = 8,
  kRegisterIdString = 10,
  kRegisterEventEnableMap = 11,
  kRegisterExtendedDccAddress = 12,
  kRegisterSerialPort = 13,
};

inline constexpr std::string_view kUnknownVersion = "Unknown";

// The DCC address two reply values carry, the low six bits first.
int DccAddressOf(std::uint8_t low, std::uint8_t high);

// How a reply to a register read is judged: its size first (exact, or at least `size`), then the
// echoed command and register.
enum class RegisterReplyFault : std::uint8_t { kNone, kSize, kEcho };
RegisterReplyFault JudgeRegisterReply(std::span<const std::uint8_t> reply,
                                      std::uint8_t general_register, std::size_t size,
                                      bool size_is_minimum = false);
// The numbered texts that name what came and what was expected:
// "No valid response, size = 3 expected = 4" and "No valid response, msg = 112,3 expected = 112,2".
std::string WrongSizeText(std::size_t size, std::size_t expected);
std::string WrongEchoText(std::span<const std::uint8_t> reply, std::uint8_t general_register);

// Which addressing fields the window shows: the base address field, its up/down control and
// their label "Start" (LabelGenXA_4) only under Vesk flexible addressing; "Enable Native Tarn
// Mode" only while "Enable Vesk Flex-Addresss" is not ticked, and the other way round.
struct AddressingVisibility {
  bool vesk_base = false;     // TextGenVeskaddr, UpDownGenVeskaddr, LabelGenXA_4
  bool tarn_native = true;    // CheckGenTarnNative
  bool vesk_flexible = true;  // CheckGenVeskaddr
  friend bool operator==(const AddressingVisibility&, const AddressingVisibility&) = default;
};
AddressingVisibility AddressingFieldsVisibility(const GeneralSettings& settings);

// How the eight boxes of a lamp (CheckLCGreen or CheckLCOrange) show its mask: boxes 0..6 the
// mask bits, box 7 greyed-ticked for the empty mask (the idle indication). A click on a box
// changes the mask as LedMaskAfterClick says; the boxes are then shown from the new mask.
std::array<LedBoxState, kLedBoxCount> LampBoxStates(std::uint8_t mask);

class GeneralSettingsCommands {
 public:
  GeneralSettingsCommands(Link& link, Prompter& prompter);

  // "Request Version": `version_text` becomes "3.1.0.10", or "Unknown" after any failed read
  // (LabelGenVersionString shows it). Succeeds only with a version text.
  bool ReadVersion(std::string& version_text);

  // "Read String" / "Write String". The write cuts a text of more than 12 characters to its
  // first 12 in `settings` before sending.
  bool ReadIdString(GeneralSettings& settings);
  bool WriteIdString(GeneralSettings& settings);

  // "Read Settings" / "Write Settings" of the addressing: Vesk addressing, the module's extended
  // address and the extended group mask. The caller holds a ProgrammaticUpdate while it reads
  // and shows the address boxes, so that their change notifications do not act as the user's
  // clicks. Succeeds when all three requests got replies.
  bool ReadAddressing(GeneralSettings& settings);
  bool WriteAddressing(const GeneralSettings& settings);

  // DCC options, DCC address and extended DCC address.
  bool ReadDcc(GeneralSettings& settings);
  bool WriteDcc(const GeneralSettings& settings);

  // "Read Config" / "Write Config": the sink and source drivers of the four output groups. A
  // reply of the wrong size or echo is shown and counts as success; a group value above 3
  // fails.
  bool ReadHardwareConfiguration(GeneralSettings& settings);
  bool WriteHardwareConfiguration(const GeneralSettings& settings);

  // The Tarn's own serial port. The read succeeds whenever a reply arrived.
  bool ReadSerialPort(GeneralSettings& settings);
  bool WriteSerialPort(const GeneralSettings& settings);

  // The green and then the orange lamp mask.
  bool ReadLamps(GeneralSettings& settings);
  bool WriteLamps(const GeneralSettings& settings);

  // "Erase Flash": asks twice, then sends the erase request with "Bidirectional Comm." off for
  // that one message. Returns whether the request was sent.
  bool EraseFlash();

  // The groups whose reply failed its check while the read went on to the next request; the
  // model kept its values for them. A long read takes them to tell the user what was not read.
  std::vector<NotRead> TakeNotRead() { return std::exchange(not_read_, {}); }

 private:
  struct ReplyRule;
  struct CheckedReply;
  // Sends the read a rule describes and judges the reply, showing the rule's message when its
  // size or echo is wrong.
  CheckedReply Read(const ReplyRule& rule);
  bool WriteRegister(std::uint8_t general_register, std::span<const std::uint8_t> values);

  Link& link_;
  Prompter& prompter_;
  std::vector<NotRead> not_read_;
};

}  // namespace tarn

#endif  // TARN_PROTOCOL_GENERAL_SETTINGS_COMMANDS_H_
