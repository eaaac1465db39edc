#include "link/frame_checksum.h"

namespace tarn {

std::uint8_t FrameChecksum(std::span<const std::uint8_t> frame) {
  // The running sum is folded back into 1..256 after every byte; 256 itself stays, and then the
  // checksum is 0x80 rather than a bare 0 that would look like an address byte.
  int sum = frame.empty() ? 0 : frame.front();
  for (const std::uint8_t byte : frame.subspan(frame.empty() ? 0 : 1)) {
    sum += byte;
    if (sum > 256) sum -= 256;
  }
  return static_cast<std::uint8_t>(0x80 + (256 - sum) % 128);
}

}  // namespace tarn
