#ifndef TARN_LINK_HEX_TEXT_H_
#define TARN_LINK_HEX_TEXT_H_

#include <cstdint>
#include <string>

namespace tarn {

// A byte in upper-case hexadecimal without leading zero: 0x0F is "F", 0xE2 is "E2".
inline std::string HexText(std::uint8_t value) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  if (value >= 16) text += kDigits[value >> 4];
  text += kDigits[value & 15];
  return text;
}

}  // namespace tarn

#endif  // TARN_LINK_HEX_TEXT_H_
