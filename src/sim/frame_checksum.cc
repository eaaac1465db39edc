#include "sim/frame_checksum.h"

namespace tarn::sim {
namespace {

// Bit 7 of every byte after the first is 128 and drops out modulo 128, so adding whole bytes
// gives the same remainder as adding their seven-bit values.
unsigned SumModulo128(std::span<const std::uint8_t> bytes) {
  unsigned sum = 0;
  for (const std::uint8_t byte : bytes) sum += byte;
  return sum % 128;
}

}  // namespace

std::uint8_t FrameChecksum(std::span<const std::uint8_t> frame_without_checksum) {
  const unsigned missing = (128 - SumModulo128(frame_without_checksum)) % 128;
  return static_cast<std::uint8_t>(0x80 | missing);
}

void CloseFrame(std::vector<std::uint8_t>& frame) { frame.push_back(FrameChecksum(frame)); }

bool FrameAddsUp(std::span<const std::uint8_t> frame) {
  return !frame.empty() && SumModulo128(frame) == 0;
}

}  // namespace tarn::sim
