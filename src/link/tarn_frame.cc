#include "link/tarn_frame.h"

#include "link/frame_checksum.h"

namespace tarn {
namespace {

constexpr std::uint8_t kHeaderBase = 0x80 | 0x40;
constexpr std::uint8_t kHeaderReplyWanted = 0x20;
constexpr std::uint8_t kHeaderExtendedAddress = 0x10;

void AppendChecksum(std::vector<std::uint8_t>& frame) { frame.push_back(FrameChecksum(frame)); }

}  // namespace

std::vector<std::uint8_t> EncodeTarnFrame(const TarnFrameOptions& options,
                                          std::span<const std::uint8_t> payload) {
  std::vector<std::uint8_t> frame;
  frame.reserve(payload.size() + 4);
  frame.push_back(
      static_cast<std::uint8_t>(options.link_toggle + ModuleAddressByte(options.module_address)));
  std::uint8_t header = kHeaderBase | static_cast<std::uint8_t>(payload.size());
  if (options.reply_wanted) header |= kHeaderReplyWanted;
  if (options.extended_address) header |= kHeaderExtendedAddress;
  frame.push_back(header);
  if (options.extended_address) frame.push_back(0x80 | *options.extended_address);
  for (const std::uint8_t value : payload) frame.push_back(0x80 | value);
  AppendChecksum(frame);
  return frame;
}

std::vector<std::uint8_t> ResynchronisationBytes(std::uint8_t module_address) {
  std::vector<std::uint8_t> bytes(kResynchronisationPreamble.begin(),
                                  kResynchronisationPreamble.end());
  const std::uint8_t address = ModuleAddressByte(module_address);
  bytes.push_back(address);
  bytes.push_back(kHeaderBase);
  bytes.push_back(FrameChecksum(std::array{address, kHeaderBase}));
  return bytes;
}

std::vector<std::uint8_t> EncodeVeskFrame(std::uint8_t first, std::uint8_t x, std::uint8_t y,
                                          std::uint8_t z) {
  std::vector<std::uint8_t> frame = {
      static_cast<std::uint8_t>(first & 0x7F), static_cast<std::uint8_t>(0x80 | x),
      static_cast<std::uint8_t>(0x80 | y), static_cast<std::uint8_t>(0x80 | z)};
  AppendChecksum(frame);
  return frame;
}

}  // namespace tarn
