#ifndef TARN_LINK_FRAME_CHECKSUM_H_
#define TARN_LINK_FRAME_CHECKSUM_H_

#include <cstdint>
#include <span>

namespace tarn {

// The checksum byte that closes Tarn, Vesk and Tolvik frames: it makes the sum of all bytes of
// the frame a multiple of 128, and it always has bit 7 set so that it is never taken for the first
// byte of a frame. `frame` holds every byte from the first one on, as sent.
std::uint8_t FrameChecksum(std::span<const std::uint8_t> frame);

}  // namespace tarn

#endif  // TARN_LINK_FRAME_CHECKSUM_H_
