#include "link/tolvik_receiver.h"

#include <algorithm>

#include "link/hex_text.h"
#include "link/tolvik_frame.h"

namespace tarn {

TolvikReceiver::TolvikReceiver(ReplyBuffer& buffer) : buffer_(buffer) {
  std::fill(buffer_.begin(), buffer_.end() - 1, 0);
}

TolvikReceiver::Outcome TolvikReceiver::Feed(std::uint8_t byte) {
  if (byte < 0x80) {
    header_seen_ = true;
    received_text_ = "< " + HexText(byte);
    std::fill(buffer_.begin(), buffer_.end(), 0);
    buffer_[0] = byte;
    announced_count_ = TolvikDataCount(byte);
    bytes_expected_ = announced_count_ + 1;
    next_position_ = 1;
    return Outcome::kPending;
  }
  if (!header_seen_ || announced_count_ > kMaxTolvikDataCount || bytes_expected_ == 0) {
    return Outcome::kPending;
  }
  const std::uint8_t value = byte & 0x7F;
  buffer_[static_cast<std::size_t>(next_position_++)] = value;
  received_text_ += HexText(value);
  if (--bytes_expected_ > 0) return Outcome::kPending;

  // The whole frame, checksum included, adds up to a multiple of 128. Every value received is
  // counted, also the checksum of a frame of 19 values that sits in the buffer's last entry.
  int sum = 0;
  for (int i = 0; i < next_position_; ++i) sum += buffer_[static_cast<std::size_t>(i)];
  header_seen_ = false;
  if (sum % 128 != 0) {
    buffer_[0] = 0;
    return Outcome::kChecksumError;
  }
  buffer_[0] = static_cast<std::uint8_t>(announced_count_);
  return Outcome::kValid;
}

}  // namespace tarn
