// How close do the long operations come to the speed of the wire, how much processor time do
// they take, and how much of "Write All" does "Write Changes" save?
//
// Starts `tarnctl simulate --pace` (a simulated Tarn that answers no faster than a real line at
// 19200 baud) on a pseudo-terminal, then runs "Write All", "Verify All" and "Read All" of the
// example configuration through the real QSerialPort path, and then "Write Changes" after one
// step of one pin was changed. For each it prints the elapsed time over the wire-time limit
// (every byte the exchanges carried, both ways, at 11 bits a byte; "Bidirectional Comm." is on,
// so the protocol demands no pauses) and the CPU time of this process over its wall time; last,
// the time of "Write Changes" over that of "Write All".

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <functional>
#include <iterator>
#include <string>
#include <utility>

#include "bench/bench_support.h"
#include "files/data_file.h"
#include "host/port_settings.h"
#include "operations/flows.h"
#include "operations/tarn_picture.h"
#include "operations/verification.h"
#include "operations/write_changes.h"
#include "platform/qt_serial_port.h"
#include "platform/steady_clock.h"
#include "tests/support/forwarding_port.h"

namespace {

constexpr int kBitsPerSecond = 19200;

// Counts the bytes that cross the port.
class CountingPort : public tarn::testing::ForwardingPort {
 public:
  using ForwardingPort::ForwardingPort;
  bool Write(std::span<const std::uint8_t> bytes) override {
    bytes_ += static_cast<long>(bytes.size());
    return ForwardingPort::Write(bytes);
  }
  std::optional<std::uint8_t> ReadByte() override {
    const std::optional<std::uint8_t> byte = ForwardingPort::ReadByte();
    if (byte) ++bytes_;
    return byte;
  }

  long TakeCount() { return std::exchange(bytes_, 0); }

 private:
  long bytes_ = 0;
};

// The first pin with an aspect layout, or -1.
int FirstPinWithAspects(const tarn::DeviceConfiguration& config) {
  for (int pin = 0; pin < tarn::kPinCount; ++pin) {
    if (config.pins[static_cast<std::size_t>(pin)].aspect_layout != 0) return pin;
  }
  return -1;
}

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
  // "Write Changes" follows "Read All", which gives the window its picture of the Tarn; then one
  // step of the first pin with aspects changes.
  tarn::TarnPicture picture;
  tarn::ChangedGroups changed;
  const int pin = FirstPinWithAspects(workspace.config);
  if (pin < 0) {
    std::fprintf(stderr, "the example has no pin with aspects\n");
    return 1;
  }
  tarn::Step& step = workspace.config.pins[static_cast<std::size_t>(pin)].aspects[0].steps[0];
  const auto change_one_step = [&] {
    picture.TakeOver(workspace);
    step.p2 ^= 1;
    changed = picture.Changes(workspace);
    const int groups = tarn::SummarizeChanges(changed).groups;
    if (groups != 1) std::fprintf(stderr, "changing one step changed %d groups\n", groups);
    return groups == 1;
  };

  const struct {
    const char* name;
    std::function<bool()> prepare;  // untimed; the operation does not run when it fails
    std::function<bool()> run;
  } operations[] = {
      {"Write All", {}, [&] { return flows.WriteAll(); }},
      {"Verify All", {}, [&] { return verification.VerifyAll(report); }},
      {"Read All", {}, [&] { return flows.ReadAll(); }},
      {"Write Changes", change_one_step, [&] { return tarn::WriteChanges(session, changed); }},
  };
  constexpr int kWriteAll = 0;
  constexpr int kWriteChanges = 3;
  double walls[std::size(operations)] = {};
  std::printf("%-13s %8s %8s %8s %11s %9s\n", "operation", "bytes", "wire s", "wall s",
              "wall/wire", "CPU/wall");
  bool all_succeeded = true;
  for (std::size_t i = 0; i < std::size(operations); ++i) {
    const auto& operation = operations[i];
    if (operation.prepare && !operation.prepare()) return 1;
    port.TakeCount();
    const auto wall_start = std::chrono::steady_clock::now();
    const double cpu_start = tarn::bench::CpuSeconds();
    const bool succeeded = operation.run();
    const double cpu = tarn::bench::CpuSeconds() - cpu_start;
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wall_start).count();
    const long bytes = port.TakeCount();
    const double wire = static_cast<double>(bytes) * byte_seconds;
    std::printf("%-13s %8ld %8.2f %8.2f %11.3f %9.4f%s\n", operation.name, bytes, wire, wall,
                wall / wire, cpu / wall, succeeded ? "" : "  (failed)");
    all_succeeded = all_succeeded && succeeded;
    walls[i] = wall;
  }

  // The Tarn holds the changed step: undo the change here and read the pin back.
  const tarn::Step written = step;
  step.p2 ^= 1;
  const bool read_back = flows.ReadPin(pin, false) && step == written;
  if (!read_back) std::fprintf(stderr, "the Tarn does not hold the changed step\n");
  std::printf("Write Changes of one step / Write All: %.4f\n",
              walls[kWriteChanges] / walls[kWriteAll]);
  simulator.terminate();
  simulator.waitForFinished(5000);
  return all_succeeded && read_back ? 0 : 1;
}
