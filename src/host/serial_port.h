#ifndef TARN_HOST_SERIAL_PORT_H_
#define TARN_HOST_SERIAL_PORT_H_

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tarn {

// One serial port of the workstation. Port numbers run from 1; PortName(n) tells which device
// a number stands for (empty when there is none). Open() takes such a name or a device path.
//
// A port that fails while open (adapter pulled, pseudo-terminal closed) reports Failed(): from
// then on WaitForBytes() returns at once and reads give nothing, so no exchange can hang on it.
class SerialPort {
 public:
  virtual ~SerialPort() = default;

  virtual std::string PortName(int number) = 0;

  // On failure ErrorText() says why, in words a user can act on.
  virtual bool Open(std::string_view name) = 0;
  virtual void Close() = 0;
  virtual bool IsOpen() const = 0;
  virtual std::string ErrorText() const = 0;

  // "9600,o,8,1", "19200,o,8,1" or "38400,o,8,1": bits per second, parity, data bits, stop bits.
  // Kept for the next Open() when the port is closed.
  virtual bool ApplySettings(std::string_view settings) = 0;

  virtual bool Write(std::span<const std::uint8_t> bytes) = 0;
  virtual int BytesWaiting() = 0;
  virtual std::optional<std::uint8_t> ReadByte() = 0;

  // Blocks without using the processor until a byte is waiting (true) or the Clock reads
  // `deadline` or later, or the port has failed (false).
  virtual bool WaitForBytes(double deadline) = 0;

  virtual bool Failed() const = 0;
};

}  // namespace tarn

#endif  // TARN_HOST_SERIAL_PORT_H_
