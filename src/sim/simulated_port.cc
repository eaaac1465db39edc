#include "sim/simulated_port.h"

#include <algorithm>

namespace tarn::sim {

SimulatedPort::SimulatedPort(SimulatedDevice& device, ManualClock& clock)
    : device_(device), clock_(clock) {}

std::string SimulatedPort::PortName(int number) {
  return number == 1 && !vanished_ ? std::string(kSimulatedPortName) : std::string();
}

bool SimulatedPort::Open(std::string_view name) {
  if (name != kSimulatedPortName || vanished_) {
    error_text_ = "no such device";
    return false;
  }
  open_ = true;
  failed_ = false;
  error_text_.clear();
  received_.clear();
  transmit_free_at_ = receive_free_at_ = clock_.Now();
  return true;
}

// Closing drops whatever was still on its way in.
void SimulatedPort::Close() {
  open_ = false;
  failed_ = false;
  received_.clear();
}

bool SimulatedPort::ApplySettings(std::string_view settings) {
  const std::optional<PortSettings> parsed = ParsePortSettings(settings);
  if (!parsed) {
    error_text_ = "unsupported port settings: " + std::string(settings);
    return false;
  }
  settings_ = *parsed;
  return true;
}

std::vector<ListedPort> SimulatedPort::ListPorts() {
  if (vanished_) return {};
  return {{1, std::string(kSimulatedPortName)}};
}

bool SimulatedPort::Write(std::span<const std::uint8_t> bytes) {
  for (const std::uint8_t byte : bytes) {
    if (!open_ || failed_) return false;
    SendToDevice(byte);
    if (vanish_when_ && vanish_when_()) {
      vanish_when_ = nullptr;
      Vanish();
    }
  }
  return true;
}

void SimulatedPort::SendToDevice(std::uint8_t byte) {
  written_.push_back(byte);
  const double reaches_device = std::max(clock_.Now(), transmit_free_at_) + settings_.ByteSeconds();
  transmit_free_at_ = reaches_device;
  answer_.clear();
  device_.Receive(byte, answer_);
  if (answer_.empty()) return;
  const std::size_t first = received_.size();
  QueueReceived(answer_, reaches_device + device_.LastAnswerDelay());
  // The adapter hands the whole answer over at once, when its hold after the last byte ends.
  if (adapter_hold_ > 0) {
    const double handed_over = received_.back().time + adapter_hold_;
    for (std::size_t i = first; i < received_.size(); ++i) received_[i].time = handed_over;
    receive_free_at_ = handed_over;  // what comes after it cannot overtake it
  }
}

void SimulatedPort::QueueReceived(std::span<const std::uint8_t> bytes, double earliest) {
  double time = std::max(earliest, receive_free_at_);
  for (const std::uint8_t byte : bytes) {
    time += settings_.ByteSeconds();
    received_.push_back({time, byte});
  }
  receive_free_at_ = time;
}

void SimulatedPort::InjectReceived(std::span<const std::uint8_t> bytes) {
  QueueReceived(bytes, clock_.Now());
}

bool SimulatedPort::FrontHasArrived() const {
  return !received_.empty() && received_.front().time <= clock_.Now();
}

int SimulatedPort::BytesWaiting() {
  if (failed_) return 0;
  const double now = clock_.Now();
  return static_cast<int>(std::ranges::count_if(
      received_, [now](const Arrival& arrival) { return arrival.time <= now; }));
}

std::optional<std::uint8_t> SimulatedPort::ReadByte() {
  if (failed_ || !FrontHasArrived()) return std::nullopt;
  const std::uint8_t byte = received_.front().byte;
  received_.pop_front();
  return byte;
}

bool SimulatedPort::WaitForBytes(double deadline) {
  if (failed_) return false;
  if (FrontHasArrived()) return true;
  if (!received_.empty() && received_.front().time <= deadline) {
    clock_.AdvanceTo(received_.front().time);
    return true;
  }
  clock_.AdvanceTo(deadline);
  return false;
}

void SimulatedPort::Vanish() {
  vanished_ = true;
  failed_ = true;
  error_text_ = "the device disappeared";
  received_.clear();
}

void SimulatedPort::ComeBack() { vanished_ = false; }

}  // namespace tarn::sim
