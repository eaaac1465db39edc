#include "link/tolvik_frame.h"

#include "link/frame_checksum.h"

namespace tarn {

std::uint8_t TolvikHeader(int data_count, int tunnel_toggle) {
  const int toggle_bit = tunnel_toggle ? 64 : 0;
  if (data_count < 8) return static_cast<std::uint8_t>(0x28 + data_count + toggle_bit);
  if (data_count < 16) return static_cast<std::uint8_t>(data_count - 8 + toggle_bit);
  return static_cast<std::uint8_t>(data_count + toggle_bit);
}

int TolvikDataCount(std::uint8_t header) {
  const int small = header & 0x07;
  if (header & 0x08) return small;  // short form; bits 4 and 5 are the unit's status flags
  return small + 8 + ((header & 0x10) ? 8 : 0);
}

std::vector<std::uint8_t> EncodeTolvikFrame(int tunnel_toggle, std::span<const std::uint8_t> data) {
  std::vector<std::uint8_t> frame;
  frame.reserve(data.size() + 2);
  frame.push_back(TolvikHeader(static_cast<int>(data.size()), tunnel_toggle));
  for (const std::uint8_t value : data) frame.push_back(0x80 | value);
  frame.push_back(FrameChecksum(frame));
  return frame;
}

int FourDigitVersion(std::uint8_t x, std::uint8_t y) {
  return (x / 8) * 1000 + (x % 8) * 100 + (y / 8) * 10 + (y % 8);
}

std::string VersionText(int version) {
  return std::to_string(version / 1000) + "." + std::to_string(version % 1000);
}

}  // namespace tarn
