#ifndef TARN_BENCH_BENCH_SUPPORT_H_
#define TARN_BENCH_BENCH_SUPPORT_H_

#include <time.h>

#include <cstdint>
#include <cstdio>
#include <optional>
#include <span>
#include <string>
#include <utility>

#include "host/prompter.h"
#include "host/serial_port.h"
#include "link/link.h"
#include "platform/qt_serial_port.h"
#include "platform/steady_clock.h"
#include "tests/support/forwarding_port.h"

namespace tarn::bench {

// Keeps the last message, and prints each on standard error so that a run's failures show.
class NotingPrompter : public Prompter {
 public:
  PromptAnswer Show(std::string_view text, PromptIcon, PromptButtons) override {
    last = std::string(text);
    std::fprintf(stderr, "message: %s\n", last.c_str());
    return PromptAnswer::kOk;
  }
  std::string last;
};

// Counts the bytes that cross the port.
class CountingPort : public testing::ForwardingPort {
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
  long count() const { return bytes_; }

 private:
  long bytes_ = 0;
};

// The program's side of a line to `tarnctl simulate --pace`: the real QSerialPort, its bytes
// counted, at 19200 baud with "Bidirectional Comm." on.
struct CountedLine {
  CountedLine() : serial_port(clock), port(serial_port), link(port, clock, prompter) {}
  bool Open(const std::string& path) {
    link.SelectBitRate(1);  // 19200
    if (!link.OpenPortByName(path)) return false;
    link.SetBidirectional(true);
    return true;
  }

  SteadyClock clock;
  QtSerialPort serial_port;
  CountingPort port;
  NotingPrompter prompter;
  Link link;
};

// Processor time this process has used, in seconds.
inline double CpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

}  // namespace tarn::bench

#endif  // TARN_BENCH_BENCH_SUPPORT_H_
