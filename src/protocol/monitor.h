#ifndef TARN_PROTOCOL_MONITOR_H_
#define TARN_PROTOCOL_MONITOR_H_

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "host/prompter.h"
#include "link/link.h"

// The traffic monitor: while it runs, every tick of its timer polls the addressed Tarn with an
// empty message and prints the four values of the report that comes back. The monitor text
// itself belongs to whoever shows it; these routines return the lines to append to it, without
// their line break.

namespace tarn {

inline constexpr std::string_view kStartMonitoring = "Start Monitoring";
inline constexpr std::string_view kMonitoringStopped = "Monitoring Stopped";
inline constexpr std::string_view kSelectCommPort = "Select Comm-port";

// Timer2's period.
inline constexpr int kMonitorPeriodMilliseconds = 100;
// A report has exactly this many values; any other reply is not one.
inline constexpr int kMonitorReportSize = 4;

// "<112> <3> <0> <127> ": each value in decimal between angle brackets, each followed by a blank.
std::string MonitorLine(std::span<const std::uint8_t> report);

class TrafficMonitor {
 public:
  TrafficMonitor(Link& link, Prompter& prompter);

  // "Monitor" pressed. With the port closed: "Select Comm-port", and the timer stays off.
  // Otherwise the timer runs; the line to append is "Start Monitoring" when it was off.
  std::optional<std::string> MonitorPressed();

  // "Monitor" lost the input focus (any other control was used): the timer stops and
  // "Monitoring Stopped" is appended.
  std::string MonitorLostFocus();

  // One tick of the timer: one poll. Returns the report line when the Tarn answered with a
  // report; nothing when the timer is off or anything else came back. With the port closed, or
  // failed during the poll, the timer stops and the line is "Monitoring Stopped".
  std::optional<std::string> Poll();

  bool timer_on() const { return timer_on_; }

 private:
  Link& link_;
  Prompter& prompter_;
  bool timer_on_ = false;
};

}  // namespace tarn

#endif  // TARN_PROTOCOL_MONITOR_H_
