#include "sim/simulated_tolvik_unit.h"

#include <algorithm>

#include "sim/direct_frame.h"

namespace tarn::sim {
namespace {

constexpr int kAnswerToggle = 0;
constexpr std::uint8_t kUnitMessage = 1;
constexpr std::uint8_t kProtocolQuery = 2;
constexpr std::uint8_t kTransparentRequest = 5;
constexpr std::uint8_t kTransparentArgument = 16;
constexpr std::uint8_t kInterfaceQuery = 10;
constexpr std::uint8_t kTarnMessage = 0;
constexpr std::uint8_t kModuleBase = 96;  // Tolvik names Tarn module m as m + 96
constexpr std::size_t kVeskDataCount = 5;

// A Tarn header as it travels tunnelled: frame mark and flags, but no payload count, which the
// Tolvik frame's length gives. Anything else in that place is the first value of a Vesk frame.
bool IsTunnelledTarnHeader(std::uint8_t value) { return (value & 0x4F) == kTarnFrameMark; }

}  // namespace

std::optional<std::pair<std::uint8_t, std::uint8_t>> TolvikVersionBytes(int version) {
  if (version < 0 || version > 7777) return std::nullopt;
  const int digits[4] = {version / 1000, version / 100 % 10, version / 10 % 10, version % 10};
  if (std::ranges::any_of(digits, [](int digit) { return digit > 7; })) return std::nullopt;
  return std::pair{static_cast<std::uint8_t>(digits[0] * 8 + digits[1]),
                   static_cast<std::uint8_t>(digits[2] * 8 + digits[3])};
}

SimulatedTolvikUnit::SimulatedTolvikUnit(SimulatedDevice& bus) : bus_(bus) {}

bool SimulatedTolvikUnit::SetProtocolVersion(int version) {
  if (!TolvikVersionBytes(version)) return false;
  protocol_version_ = version;
  return true;
}

bool SimulatedTolvikUnit::SetInterface(std::uint8_t unit_type, int version) {
  if (!TolvikVersionBytes(version)) return false;
  unit_type_ = unit_type;
  unit_version_ = version;
  return true;
}

void SimulatedTolvikUnit::Receive(std::uint8_t byte, std::vector<std::uint8_t>& answer) {
  last_answer_delay_ = 0.0;
  if (transparent_) {
    bus_.Receive(byte, answer);
    last_answer_delay_ = bus_.LastAnswerDelay();
    return;
  }
  const auto frame = decoder_.Take(byte);
  if (!frame) return;
  const std::vector<std::uint8_t> reply = EncodeTolvikFrame(Answer(frame->data), kAnswerToggle);
  answer.insert(answer.end(), reply.begin(), reply.end());
}

// The data of the answer frame.
std::vector<std::uint8_t> SimulatedTolvikUnit::Answer(std::span<const std::uint8_t> data) {
  if (data.empty()) {
    if (queued_.empty()) return {};
    QueuedReply reply = std::move(queued_.front());
    queued_.pop_front();
    last_answer_delay_ = reply.delay;
    return reply.data;
  }
  if (data[0] == kUnitMessage) return AnswerUnitMessage(data);
  if (data[0] == kTarnMessage) PassToTarn(data);
  return {};
}

std::vector<std::uint8_t> SimulatedTolvikUnit::AnswerUnitMessage(
    std::span<const std::uint8_t> data) {
  if (data.size() == 2 && data[1] == kProtocolQuery) {
    const auto [x, y] = *TolvikVersionBytes(protocol_version_);
    return {kUnitMessage, kProtocolQuery, x, y};
  }
  if (data.size() == 2 && data[1] == kInterfaceQuery) {
    const auto [x, y] = *TolvikVersionBytes(unit_version_);
    return {kUnitMessage, kInterfaceQuery, unit_type_, x, y};
  }
  // The request is answered first; the bytes after it already pass straight through.
  if (data.size() == 3 && data[1] == kTransparentRequest && data[2] == kTransparentArgument)
    transparent_ = true;
  return {};
}

void SimulatedTolvikUnit::PassToTarn(std::span<const std::uint8_t> data) {
  const std::vector<std::uint8_t> request = BusFrame(data);
  std::vector<std::uint8_t> bus_answer;
  double delay = 0.0;
  for (const std::uint8_t byte : request) {
    bus_.Receive(byte, bus_answer);
    delay = std::max(delay, bus_.LastAnswerDelay());
  }
  // The unit listens on its bus the way the program does on a direct link: a reply that does not
  // add up is lost.
  DirectFrameDecoder listener;
  for (const std::uint8_t byte : bus_answer) {
    const auto reply = listener.Take(byte);
    if (!reply || reply->kind != DirectFrame::Kind::kTarn) continue;
    QueuedReply queued{
        {kTarnMessage, static_cast<std::uint8_t>(reply->module_address() + kModuleBase),
         reply->header},
        delay};
    if (reply->extended_address) queued.data.push_back(*reply->extended_address);
    queued.data.insert(queued.data.end(), reply->values.begin(), reply->values.end());
    queued_.push_back(std::move(queued));
  }
}

// The direct frame the unit puts on its bus for a tunnelled Tarn or Vesk message; empty when the
// data is neither.
std::vector<std::uint8_t> SimulatedTolvikUnit::BusFrame(std::span<const std::uint8_t> data) const {
  if (data.size() < 3 || data[1] < kModuleBase || data[1] >= kModuleBase + 16) return {};
  const std::uint8_t address_byte = AddressByte(data[1] - kModuleBase);
  if (IsTunnelledTarnHeader(data[2])) {
    const bool extended = (data[2] & kExtendedAddressFollows) != 0;
    const std::size_t first_value = extended ? 4 : 3;
    if (data.size() < first_value || data.size() - first_value > kMaxPayloadCount) return {};
    const auto payload = data.subspan(first_value);
    const auto header = static_cast<std::uint8_t>((data[2] & 0x70) | payload.size());
    return EncodeTarnFrame(address_byte, header,
                           extended ? std::optional<std::uint8_t>(data[3]) : std::nullopt, payload);
  }
  if (data.size() == kVeskDataCount)
    return EncodeVeskFrame(address_byte, data[2], data[3], data[4]);
  return {};
}

}  // namespace tarn::sim
