#ifndef TARN_TESTS_SUPPORT_SIMULATED_LINE_H_
#define TARN_TESTS_SUPPORT_SIMULATED_LINE_H_

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "link/link.h"
#include "sim/manual_clock.h"
#include "sim/simulated_bus.h"
#include "sim/simulated_port.h"
#include "sim/simulated_tarn.h"
#include "sim/simulated_tolvik_unit.h"
#include "support/recording_prompter.h"

namespace tarn::testing {

// One Tarn of the many the device contract allows, on one kind of line. The end-to-end tables
// run the program against each: what a write's answer carries, how long the Tarn takes, whether
// a USB adapter holds the replies, directly or through a Tolvik unit.
struct LineKind {
  const char* name;
  bool tunnelled = false;
  sim::TarnChoices choices;
  double adapter_hold_seconds = 0.0;
};

// The Tarn that repeats what it may: the command in a write's answer, a report at every poll, the
// extended address byte.
inline constexpr sim::TarnChoices kEchoingTarn = {.write_answer = sim::WriteAnswer::kCommand,
                                                  .poll_reports = sim::PollReports::kEveryPoll,
                                                  .reply_extended_address = true};
// A Tarn that answers late, just inside the 2-second limit, behind an adapter that holds every
// reply for 16 ms.
inline constexpr sim::TarnChoices kSlowTarn = {.latency_seconds = 1.85, .spread_seconds = 0.1};
inline constexpr double kUsbAdapterHoldSeconds = 0.016;

// Direct and tunnelled, with an empty and an echoing answer to writes.
inline const std::vector<LineKind>& WriteAnswerKinds() {
  static const std::vector<LineKind> kinds = {
      {"DirectEmptyAnswers", false, {}},
      {"DirectEchoingAnswers", false, kEchoingTarn},
      {"TunnelledEmptyAnswers", true, {}},
      {"TunnelledEchoingAnswers", true, kEchoingTarn},
  };
  return kinds;
}

// The above, a Tarn that echoes a write whole, and the slow Tarn, on the direct line.
inline const std::vector<LineKind>& AllLineKinds() {
  static const std::vector<LineKind> kinds = [] {
    std::vector<LineKind> all = WriteAnswerKinds();
    all.push_back(
        {"DirectWholeMessageAnswers", false, {.write_answer = sim::WriteAnswer::kWholeMessage}});
    all.push_back({"DirectSlowBehindAdapter", false, kSlowTarn, kUsbAdapterHoldSeconds});
    return all;
  }();
  return kinds;
}

// The kinds on the direct line, for tests that read the frames sent.
inline const std::vector<LineKind>& DirectLineKinds() {
  static const std::vector<LineKind> kinds = [] {
    std::vector<LineKind> direct;
    for (const LineKind& kind : AllLineKinds()) {
      if (!kind.tunnelled) direct.push_back(kind);
    }
    return direct;
  }();
  return kinds;
}

inline std::string LineKindName(const ::testing::TestParamInfo<LineKind>& param) {
  return param.param.name;
}

// A link to a simulated Tarn, on the direct bus or tunnelled through a Tolvik unit, in simulated
// time. The port is open and "Bidirectional Comm." is on.
struct SimulatedLine {
  explicit SimulatedLine(bool tunnelled = false, std::uint8_t module = 0)
      : SimulatedLine(LineKind{"", tunnelled, {}}, module) {}
  explicit SimulatedLine(const LineKind& kind, std::uint8_t module = 0)
      : tarn(module, kind.choices),
        unit(tarn),
        port(kind.tunnelled ? static_cast<sim::SimulatedDevice&>(unit) : tarn, clock),
        link(port, clock, prompter) {
    port.set_adapter_hold(kind.adapter_hold_seconds);
    link.TakeOverModuleAddress(module);
    link.SelectPort("1 sim");
    link.SetBidirectional(true);
    if (kind.tunnelled) link.SwitchTunnelling(true);
  }

  sim::ManualClock clock;
  sim::SimulatedTarn tarn;
  sim::SimulatedTolvikUnit unit;
  sim::SimulatedPort port;
  RecordingPrompter prompter;
  Link link;
};

// A link to a bus of simulated Tarns, directly or through a Tolvik unit, in simulated time; the
// test adds the Tarns. The port is open and "Bidirectional Comm." is on.
struct SimulatedBusLine {
  explicit SimulatedBusLine(bool tunnelled = false)
      : unit(bus), port(tunnelled ? static_cast<sim::SimulatedDevice&>(unit) : bus, clock),
        link(port, clock, prompter) {
    link.SelectPort("1 sim");
    link.SetBidirectional(true);
    if (tunnelled) link.SwitchTunnelling(true);
  }

  sim::ManualClock clock;
  sim::SimulatedBus bus;
  sim::SimulatedTolvikUnit unit;
  sim::SimulatedPort port;
  RecordingPrompter prompter;
  Link link;
};

// Names the two cases of a test run directly and through a Tolvik unit (parameter: tunnelled).
inline std::string LineName(const ::testing::TestParamInfo<bool>& param) {
  return param.param ? "Tunnelled" : "Direct";
}

}  // namespace tarn::testing

#endif  // TARN_TESTS_SUPPORT_SIMULATED_LINE_H_
