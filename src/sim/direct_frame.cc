#include "sim/direct_frame.h"

#include "sim/frame_checksum.h"

namespace tarn::sim {
namespace {

constexpr int kVeskValueCount = 3;

// Every address on the bus is module address x 4 + 3; the resynchronisation bytes 0x00 are not.
bool IsAddressByte(std::uint8_t byte) { return (byte & 0x03) == 0x03; }

std::uint8_t OnWire(std::uint8_t value) { return static_cast<std::uint8_t>(0x80 | value); }

}  // namespace

std::optional<DirectFrame> DirectFrameDecoder::Take(std::uint8_t byte) {
  if (byte < 0x80) {
    frame_ = DirectFrame{};
    frame_.address_byte = byte;
    sum_ = byte;
    state_ = IsAddressByte(byte) ? State::kHeader : State::kIdle;
    return std::nullopt;
  }
  if (state_ == State::kIdle) return std::nullopt;

  const auto value = static_cast<std::uint8_t>(byte & 0x7F);
  sum_ += value;
  switch (state_) {
    case State::kHeader:
      TakeHeader(value);
      break;
    case State::kExtendedAddress:
      frame_.extended_address = value;
      state_ = AfterAddressing();
      break;
    case State::kValues:
      frame_.values.push_back(value);
      if (--expected_values_ == 0) state_ = State::kChecksum;
      break;
    case State::kChecksum:
      state_ = State::kIdle;
      if (sum_ % 128 == 0) return frame_;
      break;
    case State::kIdle:
      break;
  }
  return std::nullopt;
}

void DirectFrameDecoder::TakeHeader(std::uint8_t value) {
  if ((value & kTarnFrameMark) == 0) {
    frame_.kind = DirectFrame::Kind::kVesk;
    frame_.values.push_back(value);
    expected_values_ = kVeskValueCount - 1;
    state_ = State::kValues;
    return;
  }
  frame_.kind = DirectFrame::Kind::kTarn;
  frame_.header = value;
  expected_values_ = value & kPayloadCountMask;
  state_ = (value & kExtendedAddressFollows) != 0 ? State::kExtendedAddress : AfterAddressing();
}

std::vector<std::uint8_t> EncodeTarnFrame(std::uint8_t address_byte, std::uint8_t header,
                                          std::optional<std::uint8_t> extended_address,
                                          std::span<const std::uint8_t> payload) {
  std::vector<std::uint8_t> frame = {address_byte, OnWire(header)};
  if (extended_address) frame.push_back(OnWire(*extended_address));
  for (const std::uint8_t value : payload) frame.push_back(OnWire(value));
  CloseFrame(frame);
  return frame;
}

std::vector<std::uint8_t> EncodeVeskFrame(std::uint8_t first, std::uint8_t x, std::uint8_t y,
                                          std::uint8_t z) {
  std::vector<std::uint8_t> frame = {first, OnWire(x), OnWire(y), OnWire(z)};
  CloseFrame(frame);
  return frame;
}

}  // namespace tarn::sim
