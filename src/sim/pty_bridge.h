#ifndef TARN_SIM_PTY_BRIDGE_H_
#define TARN_SIM_PTY_BRIDGE_H_

#include <time.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <span>
#include <string>
#include <vector>

#include "sim/simulated_device.h"

namespace tarn::sim {

// Puts a simulated device on a pseudo-terminal, so that any serial program can open the
// terminal's device file and talk to it. Bytes the program writes go to the device; the device's
// answers are written back, a late answer only after its delay on the steady clock.
class PtyBridge {
 public:
  // How long the serving loop sleeps in poll() at most, so a stop is noticed promptly.
  static constexpr int kPollMilliseconds = 100;

  explicit PtyBridge(SimulatedDevice& device);
  ~PtyBridge();
  PtyBridge(const PtyBridge&) = delete;
  PtyBridge& operator=(const PtyBridge&) = delete;

  // Opens a pseudo-terminal in raw mode. With a `link_path`, a symbolic link there points at its
  // device file; an existing symbolic link is replaced, any other file is left alone and the open
  // fails. On failure error_text() says why.
  bool Open(const std::string& link_path = {});

  // The terminal's device file ("/dev/pts/7"), for the serial program to open.
  const std::string& device_path() const { return device_path_; }
  const std::string& link_path() const { return link_path_; }
  const std::string& error_text() const { return error_text_; }

  // Serves the device until `stop` becomes true (a signal handler may set it), sleeping in
  // poll() while the line is quiet. Returns false when the terminal failed.
  bool Run(const std::atomic<bool>& stop);

  // Closes the terminal and removes the symbolic link. The destructor does this too.
  void Close();

  // Paces the line like a real one: each byte takes `seconds` to arrive and each answer byte as
  // long to go back, so an answer is due only when its last byte would have come down the wire.
  // 0 (the default) answers as soon as the device has.
  void set_byte_seconds(double seconds) { byte_seconds_ = seconds; }

  // A USB-serial adapter's hold: each answer reaches the program this long after its last byte
  // came down the line, as common adapters deliver with a 16 ms latency timer.
  void set_adapter_hold(double seconds) { adapter_hold_seconds_ = seconds; }

 private:
  using SteadyTime = std::chrono::steady_clock::time_point;
  struct PendingAnswer {
    SteadyTime due;
    std::vector<std::uint8_t> bytes;
  };

  bool Fail(const std::string& what);
  bool MakeLink(const std::string& link_path);
  void FeedDevice(std::span<const std::uint8_t> bytes);
  void WriteDueAnswers();
  timespec PollTimeout() const;

  SimulatedDevice& device_;
  int master_fd_ = -1;
  // Held open so that the master end does not fail while no program has the terminal open.
  int slave_fd_ = -1;
  std::string device_path_;
  std::string link_path_;
  std::string error_text_;
  std::deque<PendingAnswer> pending_;
  double byte_seconds_ = 0.0;
  double adapter_hold_seconds_ = 0.0;
  // When the last byte heard finished arriving, and when the line back is free again.
  SteadyTime received_until_{};
  SteadyTime transmit_free_at_{};
};

}  // namespace tarn::sim

#endif  // TARN_SIM_PTY_BRIDGE_H_
