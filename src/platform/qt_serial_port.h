#ifndef TARN_PLATFORM_QT_SERIAL_PORT_H_
#define TARN_PLATFORM_QT_SERIAL_PORT_H_

#include <QSerialPort>
#include <string>
#include <vector>

#include "host/clock.h"
#include "host/port_settings.h"
#include "host/serial_port.h"

namespace tarn {

// The workstation's serial ports through QSerialPort. Used without an event loop: the receive
// side waits in waitForReadyRead(), which sleeps in the kernel until a byte or the deadline comes.
class QtSerialPort : public SerialPort {
 public:
  explicit QtSerialPort(Clock& clock);

  // The serial devices the system lists, sorted by their location; port n is entry n - 1. On
  // Windows port n is COMn instead.
  static std::vector<std::string> SystemPorts();

  std::string PortName(int number) override;
  bool Open(std::string_view name) override;
  void Close() override;
  bool IsOpen() const override;
  std::string ErrorText() const override;
  bool ApplySettings(std::string_view settings) override;
  bool Write(std::span<const std::uint8_t> bytes) override;
  int BytesWaiting() override;
  std::optional<std::uint8_t> ReadByte() override;
  bool WaitForBytes(double deadline) override;
  bool Failed() const override;

 private:
  void Configure();
  void NoteError();
  std::string OpenErrorText(const std::string& name) const;

  Clock& clock_;
  QSerialPort port_;
  PortSettings settings_;
  std::string error_text_;
  bool failed_ = false;
};

}  // namespace tarn

#endif  // TARN_PLATFORM_QT_SERIAL_PORT_H_
