#include "sim/tolvik_frame.h"

#include "sim/frame_checksum.h"

namespace tarn::sim {
namespace {

constexpr std::uint8_t kShortForm = 0x08;
constexpr std::uint8_t kShortFormFlag = 0x20;
constexpr std::uint8_t kUpperLongForm = 0x10;
constexpr std::uint8_t kToggleBit = 0x40;

}  // namespace

int TolvikDataCount(std::uint8_t header) {
  const int low_bits = header & 0x07;
  if ((header & kShortForm) != 0) return low_bits;
  return low_bits + 8 + ((header & kUpperLongForm) != 0 ? 8 : 0);
}

std::uint8_t TolvikHeader(int count, int toggle) {
  const int toggle_bit = toggle != 0 ? kToggleBit : 0;
  int length_code = 0;
  if (count < 8) {
    length_code = kShortFormFlag | kShortForm | count;
  } else if (count < 16) {
    length_code = count - 8;
  } else {
    length_code = kUpperLongForm | (count - 16);
  }
  return static_cast<std::uint8_t>(toggle_bit | length_code);
}

std::optional<TolvikFrame> TolvikFrameDecoder::Take(std::uint8_t byte) {
  if (byte < 0x80) {
    frame_ = TolvikFrame{byte, {}};
    expected_data_ = TolvikDataCount(byte);
    sum_ = byte;
    in_frame_ = true;
    return std::nullopt;
  }
  if (!in_frame_) return std::nullopt;

  const auto value = static_cast<std::uint8_t>(byte & 0x7F);
  sum_ += value;
  if (expected_data_ > 0) {
    frame_.data.push_back(value);
    --expected_data_;
    return std::nullopt;
  }
  in_frame_ = false;
  if (sum_ % 128 != 0) return std::nullopt;
  return frame_;
}

std::vector<std::uint8_t> EncodeTolvikFrame(std::span<const std::uint8_t> data, int toggle) {
  std::vector<std::uint8_t> frame = {TolvikHeader(static_cast<int>(data.size()), toggle)};
  for (const std::uint8_t value : data) frame.push_back(static_cast<std::uint8_t>(0x80 | value));
  CloseFrame(frame);
  return frame;
}

}  // namespace tarn::sim
