#ifndef TARN_LINK_TOLVIK_FRAME_H_
#define TARN_LINK_TOLVIK_FRAME_H_

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tarn {

// A Tolvik frame carries at most 19 data values in this program: the reply buffer has room for
// the header, 19 values and the checksum.
inline constexpr int kMaxTolvikDataCount = 19;

// The header byte for n data values (0..23) with tunnel toggle t (0 or 1).
std::uint8_t TolvikHeader(int data_count, int tunnel_toggle);

// The number of data values a received header announces (0..23).
int TolvikDataCount(std::uint8_t header);

// Header, data values with bit 7 set, checksum.
std::vector<std::uint8_t> EncodeTolvikFrame(int tunnel_toggle, std::span<const std::uint8_t> data);

// The messages of a Tolvik unit that the program itself sends.
inline constexpr std::uint8_t kTolvikProtocolQuery[] = {1, 2};
inline constexpr std::uint8_t kTolvikInterfaceQuery[] = {1, 10};
inline constexpr std::uint8_t kTolvikTransparentModeRequest[] = {1, 5, 16};

// The four-digit version coded in two bytes, three bits per digit but the first.
int FourDigitVersion(std::uint8_t x, std::uint8_t y);

// 3150 is "3.150", 3050 is "3.50": the minor part is printed as a plain number.
std::string VersionText(int version);

}  // namespace tarn

#endif  // TARN_LINK_TOLVIK_FRAME_H_
