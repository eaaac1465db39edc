// tarnctl simulate: a simulated Tarn (optionally behind a Tolvik unit) on a pseudo-terminal, so
// that tarnctl and the desktop program can be tried without hardware.

#include <QCommandLineParser>
#include <atomic>
#include <csignal>
#include <iostream>
#include <memory>

#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/numbers.h"
#include "sim/pty_bridge.h"
#include "sim/simulated_tarn.h"
#include "sim/simulated_tolvik_unit.h"

namespace tarn::cli {
namespace {

std::atomic<bool> stop_requested{false};

extern "C" void RequestStop(int) { stop_requested.store(true); }

void InstallStopHandlers() {
  struct sigaction action {};
  action.sa_handler = RequestStop;
  sigemptyset(&action.sa_mask);
  // No SA_RESTART: the bridge's poll() returns at once and sees the request.
  action.sa_flags = 0;
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGHUP, &action, nullptr);
}

}  // namespace

int RunSimulate(const QStringList& arguments) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      "Runs a simulated Tarn on a pseudo-terminal until interrupted. The first line printed is the "
      "terminal's device path; give it (or the --link path) to --port.");
  parser.addHelpOption();
  parser.addOption({"link", "Also make a symbolic link PATH to the terminal.", "PATH"});
  parser.addOption({"module", "The Tarn's module address, 0..15 (default 0).", "N", "0"});
  parser.addOption({"tolvik", "Put the Tarn behind a Tolvik interface unit."});
  if (const std::optional<int> exit_code = ParseCommandLine(parser, arguments)) return *exit_code;
  if (!parser.positionalArguments().isEmpty()) {
    return UsageError(arguments, "unexpected argument '" +
                                     parser.positionalArguments().first().toStdString() + "'");
  }
  const std::optional<int> module = ParseNumber(parser.value("module").toStdString());
  if (!module || *module < 0 || *module > 15) {
    return UsageError(arguments, "--module takes a module address 0..15, not '" +
                                     parser.value("module").toStdString() + "'");
  }

  sim::SimulatedTarn tarn(static_cast<std::uint8_t>(*module));
  std::unique_ptr<sim::SimulatedTolvikUnit> unit;
  sim::SimulatedDevice* device = &tarn;
  if (parser.isSet("tolvik")) {
    unit = std::make_unique<sim::SimulatedTolvikUnit>(tarn);
    device = unit.get();
  }

  InstallStopHandlers();
  sim::PtyBridge bridge(*device);
  if (!bridge.Open(parser.value("link").toStdString())) {
    std::cerr << "tarnctl simulate: " << bridge.error_text() << '\n';
    return kExitFailed;
  }
  std::cout << bridge.device_path() << std::endl;
  std::cerr << "Simulated Tarn, module address " << *module
            << (unit ? ", behind a Tolvik unit" : "") << ", on " << bridge.device_path()
            << (bridge.link_path().empty() ? "" : " (link " + bridge.link_path() + ")")
            << ". Stop it with Ctrl+C." << std::endl;
  if (!bridge.Run(stop_requested)) {
    std::cerr << "tarnctl simulate: " << bridge.error_text() << '\n';
    return kExitFailed;
  }
  bridge.Close();
  return kExitOk;
}

}  // namespace tarn::cli
