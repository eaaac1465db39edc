#ifndef TARN_PLATFORM_QT_SERIAL_PORT_H_
#define TARN_PLATFORM_QT_SERIAL_PORT_H_

#include <QEventLoop>
#include <QFileSystemWatcher>
#include <QSerialPort>
#include <string>
#include <vector>

#include "host/clock.h"
#include "host/port_catalogue.h"
#include "host/port_settings.h"
#include "host/serial_port.h"

namespace tarn {

// The workstation's serial ports through QSerialPort. By default used without an event loop: the
// receive side waits in waitForReadyRead(), which sleeps in the kernel until a byte or the
// deadline comes. A window asks for the wait to run its event loop instead, so that it keeps
// painting and its "Stop" button works while a reply is awaited.
class QtSerialPort : public SerialPort, public PortCatalogue {
 public:
  explicit QtSerialPort(Clock& clock);

  enum class WaitMode {
    kBlock,                  // waitForReadyRead(): nothing else happens meanwhile
    kRunEvents,              // the event loop runs: painting, timers, clicks
    kRunEventsExceptInput,   // painting and timers; clicks and keys wait for the wait's end
  };
  void SetWaitMode(WaitMode mode) { wait_mode_ = mode; }
  WaitMode wait_mode() const { return wait_mode_; }
  // Ends a wait that runs the event loop at once, as a time-out would.
  void InterruptWait();

  // The serial devices the system lists, sorted by their location; port n is entry n - 1. On
  // Windows port n is COMn instead.
  static std::vector<std::string> SystemPorts();
  // Asking the system is costly (every terminal device is looked at); where the device folder can
  // be watched, the list is asked for again only after something in it changed.
  std::vector<ListedPort> ListPorts() override;

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
  WaitMode wait_mode_ = WaitMode::kBlock;
  QEventLoop* waiting_loop_ = nullptr;
  QFileSystemWatcher device_folder_;
  bool catalogue_stale_ = true;
  double catalogue_asked_at_ = 0.0;
  std::vector<ListedPort> catalogue_;
};

}  // namespace tarn

#endif  // TARN_PLATFORM_QT_SERIAL_PORT_H_
