#ifndef TARN_SIM_FRAME_CHECKSUM_H_
#define TARN_SIM_FRAME_CHECKSUM_H_

#include <cstdint>
#include <span>
#include <vector>

namespace tarn::sim {

// Tarn, Vesk and Tolvik frames all close with the same byte: bit 7 set, and seven low bits that
// make the seven-bit values of the whole frame add up to a multiple of 128. This is the device's
// own copy of the rule; it shares nothing with the program's encoder.
std::uint8_t FrameChecksum(std::span<const std::uint8_t> frame_without_checksum);

// Appends the checksum byte to a frame.
void CloseFrame(std::vector<std::uint8_t>& frame);

// True when a whole frame, checksum included, adds up to a multiple of 128.
bool FrameAddsUp(std::span<const std::uint8_t> frame);

}  // namespace tarn::sim

#endif  // TARN_SIM_FRAME_CHECKSUM_H_
