#ifndef TARN_TESTS_SUPPORT_SCRIPTED_PORT_H_
#define TARN_TESTS_SUPPORT_SCRIPTED_PORT_H_

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "host/clock.h"
#include "host/serial_port.h"

namespace tarn::testing {

// A clock that moves only when told to, or when something waits on it.
class FakeClock : public Clock {
 public:
  double Now() override { return now; }
  void SleepFor(int milliseconds) override { now += milliseconds / 1000.0; }
  double now = 1000.0;
};

// A port that records what is written and hands back bytes a test queued. `on_write` runs after
// every write, so a test can answer a frame the way a device would. Waiting with nothing queued
// moves the clock to the deadline.
class ScriptedPort : public SerialPort {
 public:
  explicit ScriptedPort(FakeClock& clock) : clock_(clock) {}

  std::string PortName(int number) override {
    return number >= 1 && number <= static_cast<int>(names.size())
               ? names[static_cast<std::size_t>(number - 1)]
               : std::string();
  }
  bool Open(std::string_view name) override {
    opened.emplace_back(name);
    if (refuse_open) return false;
    open = true;
    return true;
  }
  void Close() override { open = false; }
  bool IsOpen() const override { return open; }
  std::string ErrorText() const override { return "no such device"; }
  bool ApplySettings(std::string_view text) override {
    settings = std::string(text);
    return true;
  }
  bool Write(std::span<const std::uint8_t> bytes) override {
    if (failed) return false;
    written.insert(written.end(), bytes.begin(), bytes.end());
    if (on_write) on_write(*this, bytes);
    return true;
  }
  int BytesWaiting() override { return failed ? 0 : static_cast<int>(incoming.size()); }
  std::optional<std::uint8_t> ReadByte() override {
    if (failed || incoming.empty()) return std::nullopt;
    const std::uint8_t byte = incoming.front();
    incoming.pop_front();
    return byte;
  }
  bool WaitForBytes(double deadline) override {
    ++waits;
    if (!incoming.empty()) return true;
    if (fail_when_waiting) failed = true;
    if (failed) return false;
    clock_.now = std::max(clock_.now, deadline);
    return false;
  }
  bool Failed() const override { return failed; }

  void Queue(std::initializer_list<std::uint8_t> bytes) { incoming.insert(incoming.end(), bytes); }
  void Queue(const std::vector<std::uint8_t>& bytes) {
    incoming.insert(incoming.end(), bytes.begin(), bytes.end());
  }

  std::vector<std::string> names = {"/dev/ttyS0"};
  std::vector<std::string> opened;
  std::string settings;
  std::vector<std::uint8_t> written;
  std::deque<std::uint8_t> incoming;
  std::function<void(ScriptedPort&, std::span<const std::uint8_t>)> on_write;
  bool open = false;
  bool refuse_open = false;
  bool failed = false;
  bool fail_when_waiting = false;
  int waits = 0;

 private:
  FakeClock& clock_;
};

}  // namespace tarn::testing

#endif  // TARN_TESTS_SUPPORT_SCRIPTED_PORT_H_
