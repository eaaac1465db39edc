#ifndef TARN_SIM_SIMULATED_PORT_H_
#define TARN_SIM_SIMULATED_PORT_H_

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "host/port_catalogue.h"
#include "host/port_settings.h"
#include "host/serial_port.h"
#include "sim/manual_clock.h"
#include "sim/simulated_device.h"

namespace tarn::sim {

// The one port name a SimulatedPort answers to (port number 1).
inline constexpr std::string_view kSimulatedPortName = "sim";

// A serial port wired to a simulated device, in simulated time. Every byte takes its wire time at
// the port's bit rate: a written byte reaches the device one byte time after the transmit line is
// free, and the device's answer comes back one byte time per byte after that (later when the
// device answers late). Reads see only bytes that have arrived by the clock's Now(); waiting
// moves the clock to the next arrival or to the deadline.
class SimulatedPort : public SerialPort, public PortCatalogue {
 public:
  SimulatedPort(SimulatedDevice& device, ManualClock& clock);

  std::string PortName(int number) override;
  bool Open(std::string_view name) override;
  void Close() override;
  bool IsOpen() const override { return open_; }
  std::string ErrorText() const override { return error_text_; }
  bool ApplySettings(std::string_view settings) override;
  bool Write(std::span<const std::uint8_t> bytes) override;
  int BytesWaiting() override;
  std::optional<std::uint8_t> ReadByte() override;
  bool WaitForBytes(double deadline) override;
  bool Failed() const override { return failed_; }

  // The one port, while it is plugged in.
  std::vector<ListedPort> ListPorts() override;

  // Puts bytes on the receive line as noise or another sender would: they arrive one byte time
  // apart from now, or from when the line is free.
  void InjectReceived(std::span<const std::uint8_t> bytes);

  // The adapter is pulled: the port fails at once, leaves the port list and cannot be opened
  // again until it comes back.
  void Vanish();
  void ComeBack();

  // A USB-serial adapter holds what it receives until its latency timer runs out (16 ms by
  // default on common chips): every answer then reaches the program that long after its last byte
  // came down the line.
  void set_adapter_hold(double seconds) { adapter_hold_ = seconds; }

  // Pulls the adapter out as soon as `when` answers true, asked after every byte the device took:
  // a test aims at the middle of an operation ("when the Tarn has been asked for 40 replies").
  void VanishWhen(std::function<bool()> when) { vanish_when_ = std::move(when); }

  const PortSettings& settings() const { return settings_; }
  // Every byte written since the port was made.
  const std::vector<std::uint8_t>& written() const { return written_; }

 private:
  struct Arrival {
    double time;
    std::uint8_t byte;
  };

  void SendToDevice(std::uint8_t byte);
  void QueueReceived(std::span<const std::uint8_t> bytes, double earliest);
  bool FrontHasArrived() const;

  SimulatedDevice& device_;
  ManualClock& clock_;
  PortSettings settings_;
  bool open_ = false;
  bool failed_ = false;
  bool vanished_ = false;
  std::string error_text_;
  double transmit_free_at_ = 0.0;
  double receive_free_at_ = 0.0;
  double adapter_hold_ = 0.0;
  std::function<bool()> vanish_when_;
  std::deque<Arrival> received_;
  std::vector<std::uint8_t> written_;
  std::vector<std::uint8_t> answer_;
};

}  // namespace tarn::sim

#endif  // TARN_SIM_SIMULATED_PORT_H_
