#ifndef TARN_TESTS_SUPPORT_FORWARDING_PORT_H_
#define TARN_TESTS_SUPPORT_FORWARDING_PORT_H_

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "host/serial_port.h"

namespace tarn::testing {

// A port that hands every call to another: what a test or a benchmark watches or adds to a
// port's traffic overrides the calls it needs.
class ForwardingPort : public SerialPort {
 public:
  explicit ForwardingPort(SerialPort& port) : port_(port) {}

  std::string PortName(int number) override { return port_.PortName(number); }
  bool Open(std::string_view name) override { return port_.Open(name); }
  void Close() override { port_.Close(); }
  bool IsOpen() const override { return port_.IsOpen(); }
  std::string ErrorText() const override { return port_.ErrorText(); }
  bool ApplySettings(std::string_view settings) override { return port_.ApplySettings(settings); }
  bool Write(std::span<const std::uint8_t> bytes) override { return port_.Write(bytes); }
  int BytesWaiting() override { return port_.BytesWaiting(); }
  std::optional<std::uint8_t> ReadByte() override { return port_.ReadByte(); }
  bool WaitForBytes(double deadline) override { return port_.WaitForBytes(deadline); }
  bool Failed() const override { return port_.Failed(); }

 private:
  SerialPort& port_;
};

}  // namespace tarn::testing

#endif  // TARN_TESTS_SUPPORT_FORWARDING_PORT_H_
