#ifndef TARN_HOST_LINK_ADDRESSING_H_
#define TARN_HOST_LINK_ADDRESSING_H_

#include <cstdint>

namespace tarn {

inline constexpr std::uint8_t kMaxModuleAddress = 15;
inline constexpr std::uint8_t kMaxExtendedAddress = 95;

// The address under which the program reaches a Tarn on the bus. It belongs to the link, not to
// the configuration, and no file stores it: the Link holds the one copy, the address displays
// read it from there.
struct LinkAddressing {
  static constexpr int kMaxModuleAddress = tarn::kMaxModuleAddress;
  static constexpr int kMaxExtendedAddress = tarn::kMaxExtendedAddress;

  int module_address = 0;            // 0..15
  bool extended_addressing = false;  // "Use eXtended Addr"
  int extended_address = 0;          // 0..95

  friend bool operator==(const LinkAddressing&, const LinkAddressing&) = default;
};

}  // namespace tarn

#endif  // TARN_HOST_LINK_ADDRESSING_H_
