#ifndef TARN_CLI_SIMULATION_OPTIONS_H_
#define TARN_CLI_SIMULATION_OPTIONS_H_

#include <QCommandLineParser>
#include <optional>
#include <string>

#include "sim/simulated_tarn.h"

namespace tarn::cli {

// How `tarnctl simulate` fills in what the device contract leaves open, and the adapter in front
// of the line: --ack, --reports, --reply-xaddr, --latency, --spread, --seed, --adapter-hold.
struct SimulationOptions {
  sim::TarnChoices choices;
  double adapter_hold_seconds = 0.0;
};

void AddSimulationOptions(QCommandLineParser& parser);

// Reads the options; on a usage error returns nullopt with the reason in `error`.
std::optional<SimulationOptions> ReadSimulationOptions(const QCommandLineParser& parser,
                                                       std::string& error);

}  // namespace tarn::cli

#endif  // TARN_CLI_SIMULATION_OPTIONS_H_
