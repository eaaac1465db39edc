// How long do the scan, Back Up All and Check All of a whole layout take on a real line?
//
// Starts `tarnctl simulate --bus --pace` with three Tarns (the example configurations) at 19200
// baud on a pseudo-terminal and runs, through the real QSerialPort path: the scan of the 16
// module addresses, in seconds and as a share of the 16 x 2 s that ordinary exchanges would wait
// at the silent ones; then Back Up All and Check All, each as its elapsed time over the wire time
// of the bytes it carried (both ways, 11 bits a byte), and the same without its scan, whose
// waits at the 13 silent addresses are no wire time.

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include "bench/bench_support.h"
#include "host/port_settings.h"
#include "operations/layout_folder.h"
#include "platform/qt_serial_port.h"
#include "platform/steady_clock.h"

namespace {

constexpr int kBitsPerSecond = 19200;

// Measures the scan's part of a run on its own: its bytes and its time.
class ScanTimer : public tarn::Progress {
 public:
  explicit ScanTimer(tarn::bench::CountingPort& port) : port_(port) {}
  void Report(int, int, std::string_view what) override {
    const bool scanning = std::string_view(what).starts_with("Asking ");
    const auto now = std::chrono::steady_clock::now();
    if (scanning && !in_scan_) {
      start_ = now;
      bytes_at_start_ = port_.count();
    }
    if (!scanning && in_scan_) {
      seconds += std::chrono::duration<double>(now - start_).count();
      bytes += port_.count() - bytes_at_start_;
    }
    in_scan_ = scanning;
  }
  double seconds = 0;
  long bytes = 0;

 private:
  tarn::bench::CountingPort& port_;
  bool in_scan_ = false;
  std::chrono::steady_clock::time_point start_;
  long bytes_at_start_ = 0;
};

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication application(argc, argv);
  const QString examples = QString(TARN_SOURCE_DIR) + "/data/examples/";
  QTemporaryDir directory;
  const QString link_path = directory.filePath("tarn");
  QProcess simulator;
  simulator.start(
      TARNCTL_PATH,
      {"simulate", "--bus", "--pace", "--baud", QString::number(kBitsPerSecond), "--link",
       link_path, "--tarn", "0,load=" + examples + "nord_yard.dat", "--tarn",
       "5,load=" + examples + "sud_depot.dat", "--tarn", "11,load=" + examples + "west_halt.dat"});
  if (!simulator.waitForReadyRead(60000)) {
    std::fprintf(stderr, "tarnctl simulate did not start\n");
    return 1;
  }

  tarn::bench::CountedLine counted;
  if (!counted.Open(link_path.toStdString())) return 1;
  tarn::Link& link = counted.link;
  tarn::bench::CountingPort& port = counted.port;
  tarn::bench::NotingPrompter& prompter = counted.prompter;
  ScanTimer scan_timer(port);
  tarn::LayoutLine line{link, counted.clock, prompter, scan_timer};
  const double byte_seconds = tarn::PortSettings{.bits_per_second = kBitsPerSecond}.ByteSeconds();
  const std::filesystem::path folder = directory.filePath("layout").toStdString();

  // The scan alone.
  tarn::SilentProgress silent;
  port.TakeCount();
  auto start = std::chrono::steady_clock::now();
  const tarn::ScanResult scan =
      tarn::ScanBus(link, prompter, silent, tarn::EffectiveScanWait(link, 0));
  const double scan_seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf(
      "scan of 16 module addresses: %.2f s, %.3f of 16 x 2 s; %zu Tarns found, %.0f ms "
      "wait\n",
      scan_seconds, scan_seconds / 32.0, scan.Found().size(),
      tarn::EffectiveScanWait(link, 0) * 1000.0);

  const struct {
    const char* name;
    std::function<tarn::LayoutRunResult()> run;
  } runs[] = {
      {"Back Up All", [&] { return tarn::BackUpAll(line, folder); }},
      {"Check All", [&] { return tarn::CheckAll(line, folder); }},
  };
  std::printf("%-12s %8s %8s %8s %10s %18s %9s\n", "operation", "bytes", "wire s", "wall s",
              "wall/wire", "without the scan", "CPU/wall");
  bool all_good = scan.Found().size() == 3;
  for (const auto& run : runs) {
    port.TakeCount();
    scan_timer.seconds = 0;
    scan_timer.bytes = 0;
    start = std::chrono::steady_clock::now();
    const double cpu_start = tarn::bench::CpuSeconds();
    const tarn::LayoutRunResult result = run.run();
    scan_timer.Report(0, 0, "done");
    const double cpu = tarn::bench::CpuSeconds() - cpu_start;
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const long bytes = port.TakeCount();
    const double wire = static_cast<double>(bytes) * byte_seconds;
    const double reads_wire = static_cast<double>(bytes - scan_timer.bytes) * byte_seconds;
    std::printf("%-12s %8ld %8.2f %8.2f %10.3f %18.3f %9.4f%s\n", run.name, bytes, wire, wall,
                wall / wire, (wall - scan_timer.seconds) / reads_wire, cpu / wall,
                result.all_good ? "" : "  (not all good)");
    all_good = all_good && result.all_good;
  }
  simulator.terminate();
  simulator.waitForFinished(5000);
  return all_good ? 0 : 1;
}
