#ifndef TARN_LINK_TOLVIK_RECEIVER_H_
#define TARN_LINK_TOLVIK_RECEIVER_H_

#include <cstdint>
#include <string>

#include "link/reply_buffer.h"

namespace tarn {

// Takes the bytes of a Tolvik frame one at a time. A header (bit 7 clear) always restarts the
// frame; bytes before any header, and the data of a frame too long for the buffer, are dropped.
class TolvikReceiver {
 public:
  enum class Outcome { kPending, kValid, kChecksumError };

  // Clears the buffer entries of a frame.
  explicit TolvikReceiver(ReplyBuffer& buffer);

  // kValid leaves the number of data values in entry 0, the values in entries 1..n and the
  // checksum value after them. kChecksumError leaves entry 0 at 0.
  Outcome Feed(std::uint8_t byte);

  // "< " and the header and values received so far in hexadecimal; empty when nothing came.
  const std::string& received_text() const { return received_text_; }
  // The data count the last header announced.
  int announced_count() const { return announced_count_; }

 private:
  ReplyBuffer& buffer_;
  std::string received_text_;
  bool header_seen_ = false;
  int announced_count_ = 0;
  int next_position_ = 1;
  int bytes_expected_ = 0;
};

}  // namespace tarn

#endif  // TARN_LINK_TOLVIK_RECEIVER_H_
