#ifndef TARN_LINK_DIRECT_RECEIVER_H_
#define TARN_LINK_DIRECT_RECEIVER_H_

#include <cstdint>
#include <optional>

#include "link/reply_buffer.h"

namespace tarn {

// Takes the bytes of a Tarn reply on the direct link one at a time. An address byte (bit 7 clear)
// always starts a new frame, so a reply cut short by a newer one is simply forgotten; a frame whose
// checksum does not close is dropped and reception waits for the next address byte.
class DirectReceiver {
 public:
  enum class Event {
    kNone,                       // keep feeding
    kComplete,                   // a good reply is in the buffer
    kUnexpectedExtendedAddress,  // an extended address byte although none is in use
    kIncorrectExtendedAddress,   // an extended address byte other than ours
  };

  // `expected_extended_address` is the extended address in use, if any.
  DirectReceiver(ReplyBuffer& buffer, std::optional<std::uint8_t> expected_extended_address);

  Event Feed(std::uint8_t byte);

  // The value of the last extended address byte seen.
  std::uint8_t extended_address_received() const { return extended_address_received_; }

 private:
  enum State : int { kAwaitAddress = 0, kAwaitHeader = 1, kPayload = 2 };

  ReplyBuffer& buffer_;
  std::optional<std::uint8_t> expected_extended_address_;
  int state_ = kAwaitAddress;
  bool awaiting_extended_address_ = false;
  int expected_payload_ = 0;
  int sum_ = 0;
  std::uint8_t extended_address_received_ = 0;
};

}  // namespace tarn

#endif  // TARN_LINK_DIRECT_RECEIVER_H_
