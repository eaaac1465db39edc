#include "platform/qt_serial_port.h"

#include <QSerialPortInfo>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#ifdef Q_OS_LINUX
#include <linux/serial.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace tarn {
namespace {

constexpr const char* kDeviceDisappeared = "the device disappeared";

#ifdef Q_OS_LINUX
// A USB adapter holds received bytes for up to 16 ms by default, which would double the time of a
// full read made of many short exchanges. The driver may refuse; that only costs speed.
void AskForLowLatency(qintptr handle) {
  serial_struct serial{};
  if (ioctl(static_cast<int>(handle), TIOCGSERIAL, &serial) != 0) return;
  serial.flags |= ASYNC_LOW_LATENCY;
  ioctl(static_cast<int>(handle), TIOCSSERIAL, &serial);
}
#endif

QSerialPort::Parity ToQtParity(char parity) {
  switch (parity) {
    case 'o':
      return QSerialPort::OddParity;
    case 'e':
      return QSerialPort::EvenParity;
    default:
      return QSerialPort::NoParity;
  }
}

}  // namespace

QtSerialPort::QtSerialPort(Clock& clock) : clock_(clock) {
  // While the line is quiet an event loop still watches the port: an adapter pulled out then
  // shows at the next look, not only at the next message.
  QObject::connect(&port_, &QSerialPort::errorOccurred, &port_,
                   [this](QSerialPort::SerialPortError error) {
                     if (error != QSerialPort::NoError && !failed_) NoteError();
                   });
  QObject::connect(&device_folder_, &QFileSystemWatcher::directoryChanged, &port_,
                   [this] { catalogue_stale_ = true; });
}

std::vector<ListedPort> QtSerialPort::ListPorts() {
#ifdef Q_OS_LINUX
  // A device plugged in or pulled out adds or removes its node in /dev. Asked again now and then
  // all the same, in case the watch itself was lost (another /dev mounted over it).
  if (device_folder_.directories().isEmpty()) device_folder_.addPath(QStringLiteral("/dev"));
  const bool watched = !device_folder_.directories().isEmpty();
#else
  const bool watched = false;
#endif
  constexpr double kAskAnywaySeconds = 10.0;
  const double now = clock_.Now();
  if (watched && !catalogue_stale_ && now - catalogue_asked_at_ < kAskAnywaySeconds) {
    return catalogue_;
  }
  catalogue_stale_ = false;
  catalogue_asked_at_ = now;
  std::vector<ListedPort> listed;
#ifdef Q_OS_WIN
  // Port n is COMn, as PortName() opens it.
  for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
    const std::string name = info.portName().toStdString();
    const int number = name.rfind("COM", 0) == 0 ? std::atoi(name.c_str() + 3) : 0;
    if (number >= 1) listed.push_back({number, name});
  }
  std::sort(listed.begin(), listed.end(),
            [](const ListedPort& a, const ListedPort& b) { return a.number < b.number; });
#else
  const std::vector<std::string> ports = SystemPorts();
  for (std::size_t i = 0; i < ports.size(); ++i) {
    listed.push_back({static_cast<int>(i) + 1, ports[i]});
  }
#endif
  catalogue_ = listed;
  return listed;
}

std::vector<std::string> QtSerialPort::SystemPorts() {
  std::vector<std::string> locations;
  for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
    locations.push_back(info.systemLocation().toStdString());
  }
  std::sort(locations.begin(), locations.end());
  return locations;
}

std::string QtSerialPort::PortName(int number) {
  if (number < 1) return {};
#ifdef Q_OS_WIN
  return "COM" + std::to_string(number);
#else
  const std::vector<std::string> ports = SystemPorts();
  if (number > static_cast<int>(ports.size())) return {};
  return ports[static_cast<std::size_t>(number - 1)];
#endif
}

bool QtSerialPort::Open(std::string_view name) {
  Close();
  failed_ = false;
  error_text_.clear();
  const std::string port_name(name);
  port_.setPortName(QString::fromStdString(port_name));
  // open() applies the line settings the object kept from the port opened before it and reads
  // them back; a pseudo-terminal drops the parity bit, so a port that once took odd parity would
  // fail to open one with "Invalid argument". Opening plain and configuring afterwards suits both.
  port_.setParity(QSerialPort::NoParity);
  if (!port_.open(QIODevice::ReadWrite)) {
    error_text_ = OpenErrorText(port_name);
    return false;
  }
  Configure();
#ifdef Q_OS_LINUX
  AskForLowLatency(port_.handle());
#endif
  port_.clear();
  return true;
}

std::string QtSerialPort::OpenErrorText(const std::string& name) const {
#ifdef Q_OS_LINUX
  // QSerialPort reports a port that another program holds and one the user may not use alike;
  // the file's own permissions tell them apart.
  if (!name.empty() && name.front() == '/' && access(name.c_str(), F_OK) != 0) {
    return "no such device; is the adapter plugged in?";
  }
  if (port_.error() == QSerialPort::PermissionError) {
    if (access(name.c_str(), R_OK | W_OK) != 0) {
      return "permission denied; add your user to the 'dialout' group "
             "(sudo usermod -aG dialout $USER) and log in again";
    }
    return "the port is already in use by another program";
  }
#endif
  switch (port_.error()) {
    case QSerialPort::DeviceNotFoundError:
      return "no such device; is the adapter plugged in?";
    case QSerialPort::PermissionError:
      return "permission denied, or the port is already in use by another program";
    default:
      return port_.errorString().toStdString();
  }
}

void QtSerialPort::Configure() {
  port_.setBaudRate(settings_.bits_per_second);
  port_.setParity(ToQtParity(settings_.parity));
  port_.setDataBits(static_cast<QSerialPort::DataBits>(settings_.data_bits));
  port_.setStopBits(settings_.stop_bits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop);
  port_.setFlowControl(QSerialPort::NoFlowControl);
}

void QtSerialPort::Close() {
  if (port_.isOpen()) port_.close();
}

bool QtSerialPort::IsOpen() const { return port_.isOpen(); }

std::string QtSerialPort::ErrorText() const { return error_text_; }

bool QtSerialPort::ApplySettings(std::string_view settings) {
  const std::optional<PortSettings> parsed = ParsePortSettings(settings);
  if (!parsed) return false;
  settings_ = *parsed;
  if (port_.isOpen()) Configure();
  return true;
}

bool QtSerialPort::Write(std::span<const std::uint8_t> bytes) {
  if (failed_ || !port_.isOpen()) return false;
  const auto size = static_cast<qint64>(bytes.size());
  if (port_.write(reinterpret_cast<const char*>(bytes.data()), size) != size) {
    NoteError();
    return false;
  }
  // Without an event loop the bytes leave only while we wait for them to be written.
  while (port_.bytesToWrite() > 0) {
    if (!port_.waitForBytesWritten(2000)) {
      NoteError();
      return false;
    }
  }
  return true;
}

int QtSerialPort::BytesWaiting() {
  if (failed_ || !port_.isOpen()) return 0;
  if (port_.bytesAvailable() == 0) {
    port_.waitForReadyRead(0);  // takes in what the driver holds, without waiting
    NoteError();
  }
  return static_cast<int>(port_.bytesAvailable());
}

std::optional<std::uint8_t> QtSerialPort::ReadByte() {
  char byte = 0;
  if (failed_ || !port_.getChar(&byte)) return std::nullopt;
  return static_cast<std::uint8_t>(byte);
}

bool QtSerialPort::WaitForBytes(double deadline) {
  if (failed_ || !port_.isOpen()) return false;
  if (port_.bytesAvailable() > 0) return true;
  const double remaining_ms = std::ceil((deadline - clock_.Now()) * 1000.0);
  if (remaining_ms <= 0) return false;
  if (wait_mode_ == WaitMode::kBlock) {
    const bool arrived = port_.waitForReadyRead(static_cast<int>(remaining_ms));
    NoteError();
    return arrived && !failed_;
  }
  // The event loop sleeps in the kernel as waitForReadyRead() does, and also paints and takes
  // clicks meanwhile.
  QEventLoop loop;
  QTimer deadline_timer;
  deadline_timer.setSingleShot(true);
  QObject::connect(&deadline_timer, &QTimer::timeout, &loop, &QEventLoop::quit);
  QObject::connect(&port_, &QSerialPort::readyRead, &loop, &QEventLoop::quit);
  QObject::connect(&port_, &QSerialPort::errorOccurred, &loop, [&loop](QSerialPort::SerialPortError e) {
    if (e != QSerialPort::NoError) loop.quit();
  });
  deadline_timer.start(static_cast<int>(remaining_ms));
  waiting_loop_ = &loop;
  loop.exec(wait_mode_ == WaitMode::kRunEventsExceptInput ? QEventLoop::ExcludeUserInputEvents
                                                          : QEventLoop::AllEvents);
  waiting_loop_ = nullptr;
  NoteError();
  return port_.bytesAvailable() > 0 && !failed_;
}

void QtSerialPort::InterruptWait() {
  if (waiting_loop_ != nullptr) waiting_loop_->quit();
}

bool QtSerialPort::Failed() const { return failed_; }

void QtSerialPort::NoteError() {
  const QSerialPort::SerialPortError error = port_.error();
  if (error == QSerialPort::NoError || error == QSerialPort::TimeoutError) {
    port_.clearError();
    return;
  }
  failed_ = true;
  error_text_ = error == QSerialPort::ResourceError ? kDeviceDisappeared
                                                    : port_.errorString().toStdString();
}

}  // namespace tarn
