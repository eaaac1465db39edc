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

SimulatedTarn::SimulatedTarn(std::uint8_t module_address, const TarnChoices& choices)
    : module_address_(static_cast<std::uint8_t>(module_address & 0x0F)) {
  set_choices(choices);
}

void SimulatedTarn::set_choices(const TarnChoices& choices) {
  choices_ = choices;
  random_.seed(choices.seed);
}

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
  // An empty frame that asks for nothing (the one after a resynchronisation) is no poll: the
  // report stays due.
  if (frame.values.empty() && !frame.reply_wanted()) return;
  std::vector<std::uint8_t> reply_payload = Execute(frame.values);
  if (frame.reply_wanted()) Reply(frame, std::move(reply_payload), answer);
}

std::vector<std::uint8_t> SimulatedTarn::Execute(std::span<const std::uint8_t> payload) {
  if (payload.empty()) return PollReport();
  const std::uint8_t command = payload[0];
  if (command == kLiveControl) {
    TakeLiveMessage(payload);
  } else if (command == kGeneralWrite && payload.size() >= 2 && payload[1] == kVersionRegister) {
    if (std::ranges::equal(payload.subspan(2), erase_unlock_code_)) memory_.EraseToFactory();
  } else if (IsEventActionRead(command) && TakeFault(Fault::kRefuseEventReads)) {
    return {command};
  } else if (!IsWriteCommand(command)) {
    return AnswerConfigurationCommand(memory_, payload);
  } else {
    AnswerConfigurationCommand(memory_, payload);
  }
  return WriteReply(payload);
}

std::vector<std::uint8_t> SimulatedTarn::WriteReply(std::span<const std::uint8_t> payload) const {
  switch (choices_.write_answer) {
    case WriteAnswer::kEmpty:
      return {};
    case WriteAnswer::kCommand:
      return {payload[0]};
    case WriteAnswer::kWholeMessage:
      return {payload.begin(), payload.end()};
  }
  return {};
}

void SimulatedTarn::TakeLiveMessage(std::span<const std::uint8_t> payload) {
  live_messages_.emplace_back(payload.begin(), payload.end());
  if (payload.size() == 4 && MovesLiveValue(payload[1]) && payload[2] < kPinCount)
    memory_.pins[payload[2]].live_value = payload[3];
}

// The four values the traffic monitor prints: the last live-control message's sub-command,
// target and value, and how many live messages came (modulo 128).
std::vector<std::uint8_t> SimulatedTarn::PollReport() {
  if (choices_.poll_reports == PollReports::kWhenNew &&
      live_messages_reported_ == live_messages_.size()) {
    return {};
  }
  live_messages_reported_ = live_messages_.size();
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
  // A reply that names another command than the request's, as one crossed with another exchange
  // would; an empty answer gets a command to name.
  if (TakeFault(Fault::kWrongEcho)) {
    if (!request.values.empty()) {
      payload.resize(std::max<std::size_t>(payload.size(), 1));
      payload[0] = static_cast<std::uint8_t>((request.values[0] + 1) & 0x7F);
    } else if (!payload.empty()) {
      payload[0] = static_cast<std::uint8_t>((payload[0] + 1) & 0x7F);
    }
  }
  if (TakeFault(Fault::kWrongTarget) && payload.size() > 1)
    payload[1] = static_cast<std::uint8_t>((payload[1] + 1) & 0x7F);
  if (TakeFault(Fault::kShortReply) && !payload.empty()) payload.pop_back();
  std::uint8_t address_byte = request.address_byte;
  if (TakeFault(Fault::kPreviousToggle)) address_byte ^= 0x40;
  if (TakeFault(Fault::kForeignAddress)) {
    address_byte = AddressByte((module_address_ + 1) % 16, address_byte & 0x40);
  }

  const std::optional<std::uint8_t> extended_address =
      choices_.reply_extended_address ? request.extended_address : std::nullopt;
  const auto header = static_cast<std::uint8_t>(
      kReplyHeader | (extended_address ? kExtendedAddressFollows : 0) | payload.size());
  std::vector<std::uint8_t> frame = EncodeTarnFrame(address_byte, header, extended_address, payload);
  if (TakeFault(Fault::kBadChecksum))
    frame.back() = static_cast<std::uint8_t>(0x80 | ((frame.back() + 1) & 0x7F));
  last_answer_delay_ = TakeFault(Fault::kLateReply) ? late_reply_delay_ : AnswerTime();
  answer.insert(answer.end(), frame.begin(), frame.end());
}

double SimulatedTarn::AnswerTime() {
  if (choices_.spread_seconds <= 0) return choices_.latency_seconds;
  std::uniform_real_distribution<double> spread(0.0, choices_.spread_seconds);
  return choices_.latency_seconds + spread(random_);
}

}  // namespace tarn::sim
