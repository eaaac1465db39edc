#include "protocol/monitor.h"

#include <vector>

namespace tarn {

std::string MonitorLine(std::span<const std::uint8_t> report) {
  std::string line;
  for (const std::uint8_t value : report) line += "<" + std::to_string(value) + "> ";
  return line;
}

TrafficMonitor::TrafficMonitor(Link& link, Prompter& prompter) : link_(link), prompter_(prompter) {}

std::optional<std::string> TrafficMonitor::MonitorPressed() {
  if (!link_.port_open()) {
    prompter_.Show(kSelectCommPort);
    return std::nullopt;
  }
  const bool was_on = timer_on_;
  timer_on_ = true;
  if (was_on) return std::nullopt;
  return std::string(kStartMonitoring);
}

std::string TrafficMonitor::MonitorLostFocus() {
  timer_on_ = false;
  return std::string(kMonitoringStopped);
}

std::optional<std::string> TrafficMonitor::Poll() {
  if (!timer_on_) return std::nullopt;
  // A port that was closed, or that failed during a poll (the link has said so), ends the
  // monitoring: otherwise every tick would ask for a port ten times a second.
  if (!link_.port_open()) return MonitorLostFocus();
  // Wait on: tunnelled, the report arrives with one of the unit's later answers, and only a
  // waiting exchange takes it out of them. On the direct link the flag changes nothing.
  link_.SendTarnMessage(true, {});
  if (!link_.port_open()) return MonitorLostFocus();
  // Tunnelled, a valid exchange may have brought back only the unit's own answer: that is no
  // report of the Tarn.
  if (!link_.reply_valid() || !link_.tarn_reply_received()) return std::nullopt;
  const std::vector<std::uint8_t> report = link_.ReplyPayload();
  if (report.size() != kMonitorReportSize) return std::nullopt;
  return MonitorLine(report);
}

}  // namespace tarn
