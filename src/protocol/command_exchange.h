#ifndef TARN_PROTOCOL_COMMAND_EXCHANGE_H_
#define TARN_PROTOCOL_COMMAND_EXCHANGE_H_

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "host/clock.h"
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

// Sends `message` without waiting for an answer. Returns the sent flag.
bool SendWriteMessage(Link& link, std::span<const std::uint8_t> message);

// After a pin, aspect or event write: pauses while "Bidirectional Comm." is off.
void PauseAfterWrite(const Link& link, Clock& clock);

// A reply of exactly `size` values that echoes `command` for `target` (a pin or a register).
bool IsReplyFor(std::span<const std::uint8_t> reply, std::uint8_t command, int target,
                std::size_t size);

}  // namespace tarn

#endif  // TARN_PROTOCOL_COMMAND_EXCHANGE_H_
