#ifndef TARN_PROTOCOL_PIN_COMMANDS_H_
#define TARN_PROTOCOL_PIN_COMMANDS_H_

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "host/clock.h"
#include "host/prompter.h"
#include "link/link.h"
#include "model/pin_record.h"
#include "model/step_codec.h"
#include "protocol/command_exchange.h"

// The messages that move one pin's set-up between the model and a Tarn: pin configuration,
// aspect layout, instruction steps, initial aspect and pin address configuration. Writes go
// without waiting (and pause 100 ms while "Bidirectional Comm." is off); reads switch
// "Bidirectional Comm." on and judge the reply. Each returns its success flag and has shown its
// own message; a read that gets no reply at all shows nothing, the link already did.

namespace tarn {

inline constexpr std::uint8_t kPinConfigSetCommand = 0x41;
inline constexpr std::uint8_t kPinConfigGetCommand = 0x51;
inline constexpr std::uint8_t kPinConfigWriteCommand = 0x61;
inline constexpr std::uint8_t kAspectLayoutWriteCommand = 0x62;
inline constexpr std::uint8_t kStepWriteCommand = 0x63;
inline constexpr std::uint8_t kInitialAspectWriteCommand = 0x64;
inline constexpr std::uint8_t kAddressConfigWriteCommand = 0x66;
inline constexpr std::uint8_t kPinConfigReadCommand = kPinConfigWriteCommand + kReadOffset;
inline constexpr std::uint8_t kAspectLayoutReadCommand = kAspectLayoutWriteCommand + kReadOffset;
inline constexpr std::uint8_t kStepReadCommand = kStepWriteCommand + kReadOffset;
inline constexpr std::uint8_t kInitialAspectReadCommand = kInitialAspectWriteCommand + kReadOffset;
inline constexpr std::uint8_t kAddressConfigReadCommand = kAddressConfigWriteCommand + kReadOffset;

// The pin configuration pair comes twice: "Set"/"Get Pin Config" (0x41 / 0x51) and
// "Write"/"Read Pin Config" (0x61 / 0x71). The flows and the verification use the second.
enum class PinConfigVariant : std::uint8_t { kSetGet = 0, kWriteRead = 1 };

inline constexpr std::string_view kInvalidAddressConfigResponse =
    "Read Pin Address Configuration: Invalid Response";

// The three address bytes of a pin: DCC counts, serial count, device pointer.
struct PinAddressBytes {
  std::uint8_t dcc = 0;
  std::uint8_t serial = 0x10;
  std::uint8_t pointer = 0x40;
};
PinAddressBytes EncodePinAddress(const PinRecord& pin);

// The configuration bytes a pin configuration write carries: those of the pin's mode, a servo's
// byte 2 without Servo Initialised. A pin without a known mode travels as a single 0.
std::vector<std::uint8_t> PinConfigBytesToSend(const PinConfig& config);

// The kinds an address byte falls in by its value.
enum class AddressByteKind { kDcc, kSerial, kDevicePointer, kInvalid };
AddressByteKind AddressByteKindOf(std::uint8_t byte);

// The head a device pointer byte names for `pin`: (pin + low five bits) mod 32.
int DeviceHeadOf(int pin, std::uint8_t pointer_byte);

// The reply checks that the reads share with the verification.
// A pin configuration reply of either variant for `pin`, carrying at least the mode.
bool IsPinConfigReply(std::span<const std::uint8_t> reply, int pin);
// The step a step reply carries, or nullopt when the reply is not for that pin, aspect and step.
std::optional<DeviceStepBytes> StepOfReply(std::span<const std::uint8_t> reply, int pin, int aspect,
                                           int step);
// The initial aspect an initial aspect reply carries (0 for none), or nullopt when the reply
// carries none at all.
std::optional<std::uint8_t> InitialAspectOfReply(std::span<const std::uint8_t> reply, int pin);

class PinCommands {
 public:
  PinCommands(Link& link, Clock& clock, Prompter& prompter);

  // Sends the configuration bytes the mode uses. A servo's byte 2 loses its top bits (modulo 64)
  // in the model first, so the model holds what the Tarn keeps.
  bool SendPinConfig(PinRecord& pin, int pin_index, PinConfigVariant variant);
  // Stores what came back; "Get" puts byte 1 into the live value instead. The model is unchanged
  // when the reply is not for this pin.
  bool FetchPinConfig(PinRecord& pin, int pin_index, PinConfigVariant variant);

  bool WriteAspectLayout(const PinRecord& pin, int pin_index);
  bool ReadAspectLayout(PinRecord& pin, int pin_index);

  bool WriteStep(const PinRecord& pin, int pin_index, int aspect, int step);
  bool ReadStep(PinRecord& pin, int pin_index, int aspect, int step);
  // "Write Single": every step of one aspect, step 0 upwards; stops at the first that cannot be
  // sent. A pin without a program sends nothing and succeeds.
  bool WriteAspectSteps(const PinRecord& pin, int pin_index, int aspect);

  bool WriteInitialAspect(const PinRecord& pin, int pin_index);
  // Fails when no reply came or the reply is not an initial aspect of this pin ("No valid
  // response"; the model keeps its value). A Tarn that refuses the read leaves the value too and
  // the read counts; the pin is listed as not read.
  bool ReadInitialAspect(PinRecord& pin, int pin_index);

  bool WriteAddressConfig(const PinRecord& pin, int pin_index);
  // Classes decoded before an invalid byte stay in the model.
  bool ReadAddressConfig(PinRecord& pin, int pin_index);
  // The three address bytes of a valid reply, in reply order, without storing them; nullopt
  // when none came.
  std::optional<std::array<std::uint8_t, 3>> RequestAddressBytes(int pin_index);

  // The initial aspects a refusing Tarn did not give.
  std::vector<NotRead> TakeNotRead() { return std::exchange(not_read_, {}); }

 private:
  bool Write(std::span<const std::uint8_t> message);

  Link& link_;
  Clock& clock_;
  Prompter& prompter_;
  std::vector<NotRead> not_read_;
};

}  // namespace tarn

#endif  // TARN_PROTOCOL_PIN_COMMANDS_H_
