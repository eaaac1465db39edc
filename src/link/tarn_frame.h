#ifndef TARN_LINK_TARN_FRAME_H_
#define TARN_LINK_TARN_FRAME_H_

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "host/link_addressing.h"

namespace tarn {

inline constexpr int kMaxPayloadCount = 15;

// The address byte of a module without the link toggle.
constexpr std::uint8_t ModuleAddressByte(std::uint8_t module_address) {
  return static_cast<std::uint8_t>(module_address * 4 + 3);
}

struct TarnFrameOptions {
  std::uint8_t link_toggle = 0;  // 0 or 64
  std::uint8_t module_address = 0;
  bool reply_wanted = true;
  std::optional<std::uint8_t> extended_address;
};

// A direct Tarn frame: address byte, header, the extended address byte when one is given, the
// payload and the checksum. Every payload value must be 0..127 and there are at most 15.
std::vector<std::uint8_t> EncodeTarnFrame(const TarnFrameOptions& options,
                                          std::span<const std::uint8_t> payload);

// What the link writes when a resynchronisation is due: nine bytes no frame can contain, then an
// empty frame with toggle 0 so that the Tarn expects toggle 64 next.
std::vector<std::uint8_t> ResynchronisationBytes(std::uint8_t module_address);

// The bytes of the resynchronisation that come before the empty frame.
inline constexpr std::array<std::uint8_t, 9> kResynchronisationPreamble = {
    0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xAA, 0xAA, 0xAA};

// The older fixed-length Vesk frame: `first` (bit 7 clear), three values and the checksum.
std::vector<std::uint8_t> EncodeVeskFrame(std::uint8_t first, std::uint8_t x, std::uint8_t y,
                                          std::uint8_t z);

}  // namespace tarn

#endif  // TARN_LINK_TARN_FRAME_H_
