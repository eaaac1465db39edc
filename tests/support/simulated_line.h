#ifndef TARN_TESTS_SUPPORT_SIMULATED_LINE_H_
#define TARN_TESTS_SUPPORT_SIMULATED_LINE_H_

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "link/link.h"
#include "sim/manual_clock.h"
#include "sim/simulated_bus.h"
#include "sim/simulated_port.h"
#include "sim/simulated_tarn.h"
#include "sim/simulated_tolvik_unit.h"
#include "support/recording_prompter.h"

namespace tarn::testing {

// A link to a simulated Tarn, on the direct bus or tunnelled through a Tolvik unit, in simulated
// time. The port is open and "Bidirectional Comm." is on.
struct SimulatedLine {
  explicit SimulatedLine(bool tunnelled = false, std::uint8_t module = 0)
      : tarn(module),
        unit(tarn),
        port(tunnelled ? static_cast<sim::SimulatedDevice&>(unit) : tarn, clock),
        link(port, clock, prompter) {
    link.TakeOverModuleAddress(module);
    link.SelectPort("1 sim");
    link.SetBidirectional(true);
    if (tunnelled) link.SwitchTunnelling(true);
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
