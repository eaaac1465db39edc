#include "sim/simulated_bus.h"

#include <algorithm>

namespace tarn::sim {

SimulatedTarn& SimulatedBus::Add(std::uint8_t module_address,
                                 std::optional<std::uint8_t> extended_address) {
  tarns_.push_back(std::make_unique<SimulatedTarn>(module_address));
  SimulatedTarn& tarn = *tarns_.back();
  if (extended_address) tarn.memory().registers[kExtendedAddressRegister] = {*extended_address};
  return tarn;
}

SimulatedTarn* SimulatedBus::Find(std::uint8_t module_address,
                                  std::optional<std::uint8_t> extended_address) const {
  for (const auto& tarn : tarns_) {
    if (tarn->module_address() != module_address) continue;
    if (extended_address && tarn->memory().extended_address() != *extended_address) continue;
    return tarn.get();
  }
  return nullptr;
}

int SimulatedBus::replies_asked() const {
  int replies = 0;
  for (const auto& tarn : tarns_) replies += tarn->replies_asked();
  return replies;
}

void SimulatedBus::Receive(std::uint8_t byte, std::vector<std::uint8_t>& answer) {
  last_answer_delay_ = 0.0;
  for (const auto& tarn : tarns_) {
    const std::size_t before = answer.size();
    tarn->Receive(byte, answer);
    if (answer.size() > before)
      last_answer_delay_ = std::max(last_answer_delay_, tarn->LastAnswerDelay());
  }
}

}  // namespace tarn::sim
