#ifndef TARN_PROTOCOL_COMMAND_EXCHANGE_H_
#define TARN_PROTOCOL_COMMAND_EXCHANGE_H_

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "host/clock.h"
#include "host/prompter.h"
#include "link/link.h"

// The two ways the command set talks to a Tarn: a read that waits for its reply, and a write
// that does not.

namespace tarn {

// Every read command is its write command + 0x10.
inline constexpr std::uint8_t kReadOffset = 0x10;

// The configuration commands, followed by a register.
inline constexpr std::uint8_t kGeneralWriteCommand = 0x60;
inline constexpr std::uint8_t kGeneralReadCommand = kGeneralWriteCommand + kReadOffset;

inline constexpr std::string_view kNoValidResponse = "No valid response";
// A write the Tarn was asked to answer, when its answer never came through a Tolvik unit.
inline constexpr std::string_view kWriteNotConfirmed =
    "The Tarn did not confirm the message: no reply came within 2 seconds";

// The pause after a pin, aspect or event write while "Bidirectional Comm." is off, so that a
// Tarn that cannot answer has time to store one message before the next comes.
inline constexpr int kWritePauseMilliseconds = 100;

struct ReadReply {
  // Something answered the request (the link's reply-valid flag). When this is off the link has
  // already shown what went wrong.
  bool answered = false;
  // The answer is this module's Tarn reply. A tunnelled wait that runs out is answered by the
  // interface unit alone: its buffer then holds no Tarn reply, the payload is empty, and no read
  // may count it as a reply, whatever it does with a wrong count.
  bool from_tarn = false;
  // The Tarn's reply payload, the echoed command first; empty unless from_tarn.
  std::vector<std::uint8_t> payload;
};

// Switches "Bidirectional Comm." on (it stays on) and sends `request`, waiting for the reply.
ReadReply SendReadRequest(Link& link, std::span<const std::uint8_t> request);

// Sends a write. With "Bidirectional Comm." on the Tarn answers every message, and the write
// counts only when that answer came and passed the link's checks: a write the Tarn never took must
// not pass for one it did. What the answer carries is the Tarn's choice (nothing, the command, the
// whole message); only an answer naming another command is refused, as it belongs to another
// exchange. With the option off nothing can be confirmed and the sent flag is all
// there is. A failure has been shown (by the link, or here for a wrong answer).
bool SendWriteMessage(Link& link, std::span<const std::uint8_t> message, Prompter& prompter);

// After a pin, aspect or event write: pauses while "Bidirectional Comm." is off.
void PauseAfterWrite(const Link& link, Clock& clock);

// A reply of exactly `size` values that echoes `command` for `target` (a pin or a register).
bool IsReplyFor(std::span<const std::uint8_t> reply, std::uint8_t command, int target,
                std::size_t size);

// Something a read went past without taking it into the model: the reply failed its check or the
// Tarn refused the group, and the read went on. `first_pin`..`last_pin` name the pins concerned
// (internal numbers), or are -1 for a general setting.
struct NotRead {
  std::string what;  // "the DCC options", "the Event-On actions"
  int first_pin = -1;
  int last_pin = -1;
  friend bool operator==(const NotRead&, const NotRead&) = default;
};

// "the DCC options", "the configuration of pin 6", "the Event-On actions of pins 1 to 32", with
// pins shown plus `numbering_base`.
std::string NotReadText(const NotRead& item, int numbering_base);

}  // namespace tarn

#endif  // TARN_PROTOCOL_COMMAND_EXCHANGE_H_
