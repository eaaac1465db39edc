// How close do the long operations come to the speed of the wire, and how much processor time do
// they take?
//
// Starts `tarnctl simulate --pace --load` (a simulated Tarn that answers no faster than a real
// line at 19200 baud) on a pseudo-terminal, then runs "Write All", "Verify All" and "Read All" of
// the example configuration through the real QSerialPort path. For each it prints the elapsed
// time over the wire-time limit (every byte the exchanges carried, both ways, at 11 bits a byte;
// "Bidirectional Comm." is on, so the protocol demands no pauses) and the CPU time of this
// process over its wall time.

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <utility>

#include "bench/bench_support.h"
#include "files/data_file.h"
#include "host/port_settings.h"
#include "operations/flows.h"
#include "operations/verification.h"
#include "platform/qt_serial_port.h"
#include "platform/steady_clock.h"

namespace {

constexpr int kBitsPerSecond = 19200;

// Counts the bytes that cross the port.
class CountingPort : public tarn::SerialPort {
 public:
  explicit CountingPort(tarn::SerialPort& port) : port_(port) {}
  std::string PortName(int number) override { return port_.PortName(number); }
  bool Open(std::string_view name) override { return port_.Open(name); }
  void Close() override { port_.Close(); }
  bool IsOpen() const override { return port_.IsOpen(); }
  std::string ErrorText() const override { return port_.ErrorText(); }
  bool ApplySettings(std::string_view settings) override { return port_.ApplySettings(settings); }
  bool Write(std::span<const std::uint8_t> bytes) override {
    bytes_ += static_cast<long>(bytes.size());
    return port_.Write(bytes);
  }
  int BytesWaiting() override { return port_.BytesWaiting(); }
  std::optional<std::uint8_t> ReadByte() override {
    const std::optional<std::uint8_t> byte = port_.ReadByte();
    if (byte) ++bytes_;
    return byte;
  }
  bool WaitForBytes(double deadline) override { return port_.WaitForBytes(deadline); }
  bool Failed() const override { return port_.Failed(); }

  long TakeCount() { return std::exchange(bytes_, 0); }

 private:
  tarn::SerialPort& port_;
  long bytes_ = 0;
};

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication application(argc, argv);
  const std::string example = std::string(TARN_SOURCE_DIR) + "/data/examples/nord_yard.dat";
  QTemporaryDir directory;
  const QString link_path = directory.filePath("tarn");
  QProcess simulator;
  simulator.start(TARNCTL_PATH, {"simulate", "--pace", "--baud", QString::number(kBitsPerSecond),
                                 "--link", link_path});
  if (!simulator.waitForReadyRead(10000)) {
    std::fprintf(stderr, "tarnctl simulate did not start\n");
    return 1;
  }

  tarn::SteadyClock clock;
  tarn::QtSerialPort serial_port(clock);
  CountingPort port(serial_port);
  tarn::bench::NotingPrompter prompter;
  tarn::Link link(port, clock, prompter);
  tarn::SilentProgress progress;
  tarn::Workspace workspace;
  if (!tarn::LoadDataFile(example, workspace.config, prompter)) return 1;
  tarn::Session session(link, clock, prompter, progress, workspace);
  link.SelectBitRate(1);  // 19200
  if (!link.OpenPortByName(link_path.toStdString())) return 1;
  link.SetBidirectional(true);

  tarn::Flows flows(session);
  tarn::Verification verification(session);
  tarn::VerificationReport report;
  const double byte_seconds = tarn::PortSettings{.bits_per_second = kBitsPerSecond}.ByteSeconds();
  const struct {
    const char* name;
    std::function<bool()> run;
  } operations[] = {
      {"Write All", [&] { return flows.WriteAll(); }},
      {"Verify All", [&] { return verification.VerifyAll(report); }},
      {"Read All", [&] { return flows.ReadAll(); }},
  };
  std::printf("%-11s %8s %8s %8s %11s %9s\n", "operation", "bytes", "wire s", "wall s", "wall/wire",
              "CPU/wall");
  bool all_succeeded = true;
  for (const auto& operation : operations) {
    port.TakeCount();
    const auto wall_start = std::chrono::steady_clock::now();
    const double cpu_start = tarn::bench::CpuSeconds();
    const bool succeeded = operation.run();
    const double cpu = tarn::bench::CpuSeconds() - cpu_start;
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wall_start).count();
    const long bytes = port.TakeCount();
    const double wire = static_cast<double>(bytes) * byte_seconds;
    std::printf("%-11s %8ld %8.2f %8.2f %11.3f %9.4f%s\n", operation.name, bytes, wire, wall,
                wall / wire, cpu / wall, succeeded ? "" : "  (failed)");
    all_succeeded = all_succeeded && succeeded;
  }
  simulator.terminate();
  simulator.waitForFinished(5000);
  return all_succeeded ? 0 : 1;
}
