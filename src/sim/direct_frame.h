#ifndef TARN_SIM_DIRECT_FRAME_H_
#define TARN_SIM_DIRECT_FRAME_H_

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tarn::sim {

// Header bits of a Tarn frame (seven-bit value).
inline constexpr std::uint8_t kTarnFrameMark = 0x40;  // tells a Tarn frame from a Vesk frame
inline constexpr std::uint8_t kReplyWanted = 0x20;
inline constexpr std::uint8_t kExtendedAddressFollows = 0x10;
inline constexpr std::uint8_t kPayloadCountMask = 0x0F;
inline constexpr int kMaxPayloadCount = 15;

// The address byte of a module (0..15) on the direct bus: module address x 4 + 3, plus
// `toggle_value` (0, or 64 for the link toggle).
constexpr std::uint8_t AddressByte(int module_address, int toggle_value = 0) {
  return static_cast<std::uint8_t>(toggle_value + module_address * 4 + 3);
}

// A frame heard on the direct bus. Both kinds start with an address byte (bit 7 clear, module
// address x 4 + 3, plus 64 for the link toggle). A Tarn frame goes on with a header whose bit 6
// is set; a Vesk frame always carries three values, the first of which has bit 6 clear.
struct DirectFrame {
  enum class Kind { kTarn, kVesk };

  Kind kind = Kind::kTarn;
  std::uint8_t address_byte = 0;
  std::uint8_t header = 0;  // seven-bit header of a Tarn frame
  std::optional<std::uint8_t> extended_address;
  std::vector<std::uint8_t> values;  // Tarn payload, or the three Vesk values

  int module_address() const { return (address_byte >> 2) & 0x0F; }
  bool reply_wanted() const { return kind == Kind::kTarn && (header & kReplyWanted) != 0; }
};

// Splits the byte stream of the direct bus into frames. A byte below 128 always starts a new
// frame, which is what lets the resynchronisation bytes and a frame cut short fall away. A frame
// whose checksum does not add up is dropped without a word.
class DirectFrameDecoder {
 public:
  // Returns a frame when `byte` completed one that adds up.
  std::optional<DirectFrame> Take(std::uint8_t byte);

 private:
  enum class State { kIdle, kHeader, kExtendedAddress, kValues, kChecksum };

  void TakeHeader(std::uint8_t value);
  State AfterAddressing() const { return expected_values_ > 0 ? State::kValues : State::kChecksum; }

  State state_ = State::kIdle;
  DirectFrame frame_;
  int expected_values_ = 0;
  unsigned sum_ = 0;
};

// A whole Tarn frame: address byte, header (0x80 + seven-bit header, whose low four bits the
// caller has set to the payload count), extended address byte if given, payload, checksum.
std::vector<std::uint8_t> EncodeTarnFrame(std::uint8_t address_byte, std::uint8_t header,
                                          std::optional<std::uint8_t> extended_address,
                                          std::span<const std::uint8_t> payload);

// A whole Vesk frame: the first byte, three values, checksum.
std::vector<std::uint8_t> EncodeVeskFrame(std::uint8_t first, std::uint8_t x, std::uint8_t y,
                                          std::uint8_t z);

}  // namespace tarn::sim

#endif  // TARN_SIM_DIRECT_FRAME_H_
