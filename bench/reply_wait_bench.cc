// How much processor time does the program use while it waits for a reply that never comes?
//
// Opens a pseudo-terminal whose other end nobody answers, sends a version request through the
// real QSerialPort path with "Bidirectional Comm." on, and prints the time the exchange took over
// the 2-second limit and the process's CPU time over wall time while it waited.

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <QCoreApplication>
#include <array>
#include <chrono>
#include <cstdio>
#include <string>

#include "bench/bench_support.h"
#include "link/link.h"
#include "platform/qt_serial_port.h"
#include "platform/steady_clock.h"

int main(int argc, char* argv[]) {
  QCoreApplication application(argc, argv);
  const int master = posix_openpt(O_RDWR | O_NOCTTY);
  if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
    std::perror("pseudo-terminal");
    return 1;
  }
  const std::string device = ptsname(master);

  tarn::SteadyClock clock;
  tarn::QtSerialPort port(clock);
  tarn::bench::NotingPrompter prompter;
  tarn::Link link(port, clock, prompter);
  if (!link.OpenPortByName(device)) {
    std::fprintf(stderr, "cannot open %s: %s\n", device.c_str(), prompter.last.c_str());
    return 1;
  }

  const std::array<std::uint8_t, 2> version_request = {0x70, 0x00};
  const auto wall_start = std::chrono::steady_clock::now();
  const double cpu_start = tarn::bench::CpuSeconds();
  link.SendTarnMessage(true, version_request);
  const double cpu = tarn::bench::CpuSeconds() - cpu_start;
  const double wall =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - wall_start).count();
  close(master);

  std::printf("waited for a reply that never came: %s\n", prompter.last.c_str());
  std::printf("wall time / reply time limit: %.3f (%.3f s / %.1f s)\n",
              wall / tarn::kReplyTimeLimitSeconds, wall, tarn::kReplyTimeLimitSeconds);
  std::printf("CPU time / wall time while waiting: %.4f (%.1f ms CPU)\n", cpu / wall, cpu * 1e3);
  return link.reply_valid() ? 1 : 0;
}
