#ifndef TARN_SIM_SIMULATED_BUS_H_
#define TARN_SIM_SIMULATED_BUS_H_

#include <cstdint>
#include <memory>
#include <vector>

#include "sim/simulated_device.h"
#include "sim/simulated_tarn.h"

namespace tarn::sim {

// Several Tarns on one device bus. Every byte on the line reaches every Tarn; each answers only
// the frames for its own module address (and extended address), so on a sound bus at most one
// answers. Their answers go back on the line in the order of the Tarns.
class SimulatedBus : public SimulatedDevice {
 public:
  SimulatedBus() = default;
  SimulatedBus(const SimulatedBus&) = delete;
  SimulatedBus& operator=(const SimulatedBus&) = delete;

  // A new Tarn on the bus, with its own memory and faults; it lives as long as the bus.
  SimulatedTarn& Add(std::uint8_t module_address,
                     std::optional<std::uint8_t> extended_address = {});

  const std::vector<std::unique_ptr<SimulatedTarn>>& tarns() const { return tarns_; }
  // The first Tarn under `module_address` (and `extended_address` when given); nullptr for none.
  SimulatedTarn* Find(std::uint8_t module_address,
                      std::optional<std::uint8_t> extended_address = {}) const;
  // How many replies all Tarns together were asked for.
  int replies_asked() const;

  void Receive(std::uint8_t byte, std::vector<std::uint8_t>& answer) override;
  double LastAnswerDelay() const override { return last_answer_delay_; }

 private:
  std::vector<std::unique_ptr<SimulatedTarn>> tarns_;
  double last_answer_delay_ = 0.0;
};

}  // namespace tarn::sim

#endif  // TARN_SIM_SIMULATED_BUS_H_
