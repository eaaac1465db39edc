#ifndef TARN_SIM_SIMULATED_TOLVIK_UNIT_H_
#define TARN_SIM_SIMULATED_TOLVIK_UNIT_H_

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "sim/simulated_device.h"
#include "sim/simulated_tarn.h"
#include "sim/tolvik_frame.h"

namespace tarn::sim {

// Unit types an interface query reports.
inline constexpr std::uint8_t kUnitNq7 = 2;
inline constexpr std::uint8_t kUnitNq5 = 3;
inline constexpr std::uint8_t kUnitPlexa = 10;

// The two bytes x, y that carry a four-digit version: (x div 8) x 1000 + (x mod 8) x 100 +
// (y div 8) x 10 + (y mod 8). Only versions whose digits are all 0..7 can be carried.
std::optional<std::pair<std::uint8_t, std::uint8_t>> TolvikVersionBytes(int version);

// A Tolvik interface unit with a Tarn, or a bus of them, on its bus. It answers every Tolvik frame with one Tolvik
// frame (toggle 0). A tunnelled Tarn message is answered at once with an empty frame; the unit
// passes it to the Tarn as a direct frame, listens for the Tarn's reply and hands it out as the
// answer to a later poll. After the transparent mode request it passes bytes straight through in
// both directions.
class SimulatedTolvikUnit : public SimulatedDevice {
 public:
  explicit SimulatedTolvikUnit(SimulatedDevice& bus);

  void Receive(std::uint8_t byte, std::vector<std::uint8_t>& answer) override;
  double LastAnswerDelay() const override { return last_answer_delay_; }

  // False, with nothing changed, for a version that two bytes cannot carry.
  bool SetProtocolVersion(int version);
  bool SetInterface(std::uint8_t unit_type, int version);
  int protocol_version() const { return protocol_version_; }

  bool transparent() const { return transparent_; }
  // Transparent mode lasts until the unit is switched back (a power cycle, in real life).
  void set_transparent(bool on) { transparent_ = on; }

  // Tarn replies waiting for a poll.
  std::size_t queued_replies() const { return queued_.size(); }

 private:
  // A Tarn reply as the unit hands it out, with the delay the Tarn took to send it.
  struct QueuedReply {
    std::vector<std::uint8_t> data;
    double delay = 0.0;
  };

  std::vector<std::uint8_t> Answer(std::span<const std::uint8_t> data);
  std::vector<std::uint8_t> AnswerUnitMessage(std::span<const std::uint8_t> data);
  void PassToTarn(std::span<const std::uint8_t> data);
  std::vector<std::uint8_t> BusFrame(std::span<const std::uint8_t> data) const;

  SimulatedDevice& bus_;
  TolvikFrameDecoder decoder_;
  std::deque<QueuedReply> queued_;
  bool transparent_ = false;
  int protocol_version_ = 3200;
  std::uint8_t unit_type_ = kUnitNq7;
  int unit_version_ = 1020;
  double last_answer_delay_ = 0.0;
};

}  // namespace tarn::sim

#endif  // TARN_SIM_SIMULATED_TOLVIK_UNIT_H_
