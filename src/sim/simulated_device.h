#ifndef TARN_SIM_SIMULATED_DEVICE_H_
#define TARN_SIM_SIMULATED_DEVICE_H_

#include <cstdint>
#include <vector>

namespace tarn::sim {

// A device at the far end of a serial line. It hears one byte at a time; when a byte completes
// something it answers, the answer's bytes are appended to `answer` and go back on the line.
class SimulatedDevice {
 public:
  virtual ~SimulatedDevice() = default;

  virtual void Receive(std::uint8_t byte, std::vector<std::uint8_t>& answer) = 0;

  // Seconds the device waits before it starts sending the answer of the last Receive(): 0 for a
  // prompt device, more when a test made it answer late.
  virtual double LastAnswerDelay() const = 0;
};

}  // namespace tarn::sim

#endif  // TARN_SIM_SIMULATED_DEVICE_H_
