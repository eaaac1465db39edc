#ifndef TARN_SIM_TOLVIK_FRAME_H_
#define TARN_SIM_TOLVIK_FRAME_H_

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tarn::sim {

// The most data bytes a Tolvik length code can announce.
inline constexpr int kMaxTolvikData = 23;

// A Tolvik frame: a header (bit 7 clear; bit 6 the sender's toggle; a length code in bits 0..5),
// the data values and a checksum.
struct TolvikFrame {
  std::uint8_t header = 0;
  std::vector<std::uint8_t> data;

  int toggle() const { return (header >> 6) & 1; }
};

// The number of data bytes a header announces. In the short form (bit 3 set) bits 4 and 5 are
// status flags; in the long forms bit 4 selects 16..23 instead of 8..15.
int TolvikDataCount(std::uint8_t header);

// The header byte for `count` data bytes (0..23) and toggle 0 or 1.
std::uint8_t TolvikHeader(int count, int toggle);

// Splits a Tolvik byte stream into frames. A byte below 128 is always a header, even in the middle
// of a frame; bytes with bit 7 set before any header are dropped, and so is a frame that does not
// add up.
class TolvikFrameDecoder {
 public:
  std::optional<TolvikFrame> Take(std::uint8_t byte);

 private:
  bool in_frame_ = false;
  TolvikFrame frame_;
  int expected_data_ = 0;
  unsigned sum_ = 0;
};

std::vector<std::uint8_t> EncodeTolvikFrame(std::span<const std::uint8_t> data, int toggle);

}  // namespace tarn::sim

#endif  // TARN_SIM_TOLVIK_FRAME_H_
