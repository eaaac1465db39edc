#include "link/direct_receiver.h"

namespace tarn {

DirectReceiver::DirectReceiver(ReplyBuffer& buffer,
                               std::optional<std::uint8_t> expected_extended_address)
    : buffer_(buffer), expected_extended_address_(expected_extended_address) {}

DirectReceiver::Event DirectReceiver::Feed(std::uint8_t byte) {
  if (byte < 0x80) {
    buffer_[0] = byte;
    sum_ = byte;
    state_ = kAwaitHeader;
    awaiting_extended_address_ = false;
    return Event::kNone;
  }
  if (state_ == kAwaitAddress) return Event::kNone;

  const std::uint8_t value = byte & 0x7F;
  sum_ += value;

  if (state_ == kAwaitHeader) {
    buffer_[1] = value;
    expected_payload_ = value & 0x0F;
    awaiting_extended_address_ = (value & 0x10) != 0;
    state_ = kPayload;
    return Event::kNone;
  }
  if (awaiting_extended_address_) {
    // The byte is checked but never stored: the payload starts at entry 2 either way.
    awaiting_extended_address_ = false;
    extended_address_received_ = value;
    if (!expected_extended_address_) return Event::kUnexpectedExtendedAddress;
    if (value != *expected_extended_address_) return Event::kIncorrectExtendedAddress;
    return Event::kNone;
  }
  if (expected_payload_ > 0) {
    buffer_[static_cast<std::size_t>(state_)] = value;
    ++state_;
    --expected_payload_;
    return Event::kNone;
  }
  // The checksum byte.
  const bool good = sum_ % 128 == 0;
  state_ = kAwaitAddress;
  return good ? Event::kComplete : Event::kNone;
}

}  // namespace tarn
