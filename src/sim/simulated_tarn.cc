#include "sim/simulated_tarn.h"

#include <algorithm>

#include "sim/tarn_commands.h"

namespace tarn::sim {
namespace {

constexpr std::uint8_t kLiveControl = 0;
constexpr std::uint8_t kReplyHeader = 0x60;  // Tarn frame mark + reply bit

// Live-control sub-commands that move a pin's level or servo position.
bool MovesLiveValue(std::uint8_t sub_command) {
  return sub_command == 38 || sub_command == 54 || sub_command == 39 || sub_command == 55;
}

}  // namespace

SimulatedTarn::SimulatedTarn(std::uint8_t module_address)
    : module_address_(static_cast<std::uint8_t>(module_address & 0x0F)) {}

void SimulatedTarn::Receive(std::uint8_t byte, std::vector<std::uint8_t>& answer) {
  last_answer_delay_ = 0.0;
  if (const auto frame = decoder_.Take(byte)) Handle(*frame, answer);
}

void SimulatedTarn::InjectFault(Fault fault, int times) {
  faults_[static_cast<std::size_t>(fault)] = times;
}

void SimulatedTarn::InjectFaultAtReply(Fault fault, int reply, int times) {
  scheduled_ = ScheduledFault{fault, replies_asked_ + reply, times};
}

bool SimulatedTarn::TakeFault(Fault fault) {
  int& remaining = faults_[static_cast<std::size_t>(fault)];
  if (remaining == 0) return false;
  if (remaining > 0) --remaining;
  return true;
}

void SimulatedTarn::Handle(const DirectFrame& frame, std::vector<std::uint8_t>& answer) {
  if (frame.kind == DirectFrame::Kind::kVesk) {
    vesk_frames_.push_back({frame.address_byte, frame.values[0], frame.values[1], frame.values[2]});
    return;
  }
  if (frame.module_address() != module_address_) return;
  if (frame.extended_address && *frame.extended_address != memory_.extended_address()) return;
  if (frame.reply_wanted() && ++replies_asked_ == (scheduled_ ? scheduled_->at_reply : 0)) {
    InjectFault(scheduled_->fault, scheduled_->times);
    scheduled_.reset();
  }
  std::vector<std::uint8_t> reply_payload = Execute(frame.values);
  if (frame.reply_wanted()) Reply(frame, std::move(reply_payload), answer);
}

std::vector<std::uint8_t> SimulatedTarn::Execute(std::span<const std::uint8_t> payload) {
  if (payload.empty()) return PollReport();
  const std::uint8_t command = payload[0];
  if (command == kLiveControl) {
    TakeLiveMessage(payload);
    return {command};
  }
  if (command == kGeneralWrite && payload.size() >= 2 && payload[1] == kVersionRegister) {
    if (std::ranges::equal(payload.subspan(2), erase_unlock_code_)) memory_.EraseToFactory();
    return {command};
  }
  if (IsEventActionRead(command) && TakeFault(Fault::kRefuseEventReads)) return {command};
  return AnswerConfigurationCommand(memory_, payload);
}

void SimulatedTarn::TakeLiveMessage(std::span<const std::uint8_t> payload) {
  live_messages_.emplace_back(payload.begin(), payload.end());
  if (payload.size() == 4 && MovesLiveValue(payload[1]) && payload[2] < kPinCount)
    memory_.pins[payload[2]].live_value = payload[3];
}

// The four values the traffic monitor prints: the last live-control message's sub-command,
// target and value, and how many live messages came (modulo 128).
std::vector<std::uint8_t> SimulatedTarn::PollReport() const {
  std::vector<std::uint8_t> report = {0, 0, 0,
                                      static_cast<std::uint8_t>(live_messages_.size() % 128)};
  if (!live_messages_.empty()) {
    const std::vector<std::uint8_t>& last = live_messages_.back();
    for (std::size_t i = 1; i < last.size() && i < 4; ++i) report[i - 1] = last[i];
  }
  return report;
}

void SimulatedTarn::Reply(const DirectFrame& request, std::vector<std::uint8_t> payload,
                          std::vector<std::uint8_t>& answer) {
  if (TakeFault(Fault::kNoReply)) return;
  if (TakeFault(Fault::kWrongEcho) && !payload.empty())
    payload[0] = static_cast<std::uint8_t>((payload[0] + 1) & 0x7F);
  if (TakeFault(Fault::kWrongTarget) && payload.size() > 1)
    payload[1] = static_cast<std::uint8_t>((payload[1] + 1) & 0x7F);
  if (TakeFault(Fault::kShortReply) && !payload.empty()) payload.pop_back();
  std::uint8_t address_byte = request.address_byte;
  if (TakeFault(Fault::kPreviousToggle)) address_byte ^= 0x40;
  if (TakeFault(Fault::kForeignAddress)) {
    address_byte = AddressByte((module_address_ + 1) % 16, address_byte & 0x40);
  }

  const auto header = static_cast<std::uint8_t>(
      kReplyHeader | (request.extended_address ? kExtendedAddressFollows : 0) | payload.size());
  std::vector<std::uint8_t> frame =
      EncodeTarnFrame(address_byte, header, request.extended_address, payload);
  if (TakeFault(Fault::kBadChecksum))
    frame.back() = static_cast<std::uint8_t>(0x80 | ((frame.back() + 1) & 0x7F));
  if (TakeFault(Fault::kLateReply)) last_answer_delay_ = late_reply_delay_;
  answer.insert(answer.end(), frame.begin(), frame.end());
}

}  // namespace tarn::sim
