#ifndef TARN_TESTS_SIM_TARN_TEST_FRAMES_H_
#define TARN_TESTS_SIM_TARN_TEST_FRAMES_H_

#include <cstdint>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "sim/direct_frame.h"
#include "sim/simulated_device.h"
#include "sim/tolvik_frame.h"

namespace tarn::sim::testing {

using Bytes = std::vector<std::uint8_t>;

// Hands every byte to the device and collects what it sends back.
inline Bytes Feed(SimulatedDevice& device, std::span<const std::uint8_t> bytes) {
  Bytes answer;
  for (const std::uint8_t byte : bytes) device.Receive(byte, answer);
  return answer;
}

// A request as the program frames it on the direct link.
inline Bytes TarnRequest(int module, const Bytes& payload, int toggle = 0,
                         std::optional<std::uint8_t> extended_address = std::nullopt,
                         bool reply_wanted = true) {
  const auto header =
      static_cast<std::uint8_t>(kTarnFrameMark | (reply_wanted ? kReplyWanted : 0) |
                                (extended_address ? kExtendedAddressFollows : 0) | payload.size());
  return EncodeTarnFrame(AddressByte(module, toggle), header, extended_address, payload);
}

// Every complete, checksum-correct frame in `bytes`.
inline std::vector<DirectFrame> DecodeFrames(std::span<const std::uint8_t> bytes) {
  DirectFrameDecoder decoder;
  std::vector<DirectFrame> frames;
  for (const std::uint8_t byte : bytes) {
    if (auto frame = decoder.Take(byte)) frames.push_back(std::move(*frame));
  }
  return frames;
}

// Every complete, checksum-correct Tolvik frame in `bytes`.
inline std::vector<TolvikFrame> DecodeTolvikFrames(std::span<const std::uint8_t> bytes) {
  TolvikFrameDecoder decoder;
  std::vector<TolvikFrame> frames;
  for (const std::uint8_t byte : bytes) {
    if (auto frame = decoder.Take(byte)) frames.push_back(std::move(*frame));
  }
  return frames;
}

// Sends `payload` to module `module` and returns the payload of the single reply, if exactly one
// good reply frame came back.
inline std::optional<Bytes> Ask(SimulatedDevice& device, const Bytes& payload, int module = 0) {
  const std::vector<DirectFrame> frames = DecodeFrames(Feed(device, TarnRequest(module, payload)));
  if (frames.size() != 1) return std::nullopt;
  return frames[0].values;
}

}  // namespace tarn::sim::testing

#endif  // TARN_TESTS_SIM_TARN_TEST_FRAMES_H_
