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
#include "cli/simulation_options.h"
#include "cli/stderr_prompter.h"
#include "files/data_file.h"
#include "host/port_settings.h"
#include "link/link.h"
#include "link/tarn_frame.h"
#include "operations/flows.h"
#include "sim/manual_clock.h"
#include "sim/pty_bridge.h"
#include "sim/simulated_port.h"
#include "sim/simulated_tarn.h"
#include "sim/simulated_tolvik_unit.h"

namespace tarn::cli {
namespace {

// Puts a configuration into the simulated Tarn the way a user would: "Write All" over a link to
// it, here in simulated time.
bool LoadIntoTarn(const std::string& path, sim::SimulatedTarn& tarn) {
  StderrPrompter prompter(false);
  Workspace workspace;
  if (!LoadDataFile(path, workspace.config, prompter)) return false;
  sim::ManualClock clock;
  sim::SimulatedPort port(tarn, clock);
  Link link(port, clock, prompter);
  link.TakeOverModuleAddress(tarn.module_address());
  if (!link.SelectPort("1 " + std::string(sim::kSimulatedPortName))) return false;
  SilentProgress progress;
  Session session(link, clock, prompter, progress, workspace);
  return Flows(session).WriteAll();
}

// --fault KIND[@N]: how the simulated Tarn misbehaves, to try what the program makes of a bad line.
struct FaultChoice {
  std::string_view name;
  sim::Fault fault;
  int times;
};
constexpr FaultChoice kFaultChoices[] = {
    {"no-reply", sim::Fault::kNoReply, 1},
    {"bad-checksum", sim::Fault::kBadChecksum, 1},
    {"wrong-echo", sim::Fault::kWrongEcho, 1},
    {"late", sim::Fault::kLateReply, 1},
    {"silent", sim::Fault::kNoReply, sim::kAlways},
    {"refuse-events", sim::Fault::kRefuseEventReads, sim::kAlways},
};

// Arms the fault; false when the text names none.
bool ArmFault(std::string_view text, sim::SimulatedTarn& tarn) {
  const std::size_t at = text.find('@');
  int reply = 1;
  if (at != std::string_view::npos) {
    const std::optional<int> number = ParseNumber(std::string(text.substr(at + 1)));
    if (!number || *number < 1) return false;
    reply = *number;
  }
  const std::string_view name = text.substr(0, at);
  for (const FaultChoice& choice : kFaultChoices) {
    if (choice.name != name) continue;
    tarn.InjectFaultAtReply(choice.fault, reply, choice.times);
    return true;
  }
  return false;
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
  parser.addOption({"load", "Start with the configuration of FILE (.dat) in the Tarn.", "FILE"});
  parser.addOption(
      {"pace", "Answer no faster than a real line at --baud (11 bits a byte) would carry."});
  parser.addOption({"baud", "The bit rate --pace keeps to (default 19200).", "RATE", "19200"});
  parser.addOption({"fault",
                    "Misbehave from the Nth reply asked for (default 1, counted after --load): "
                    "no-reply, bad-checksum, wrong-echo (a reply naming another command) or "
                    "late (after 2.5 s) spoil that one reply; silent answers nothing from then "
                    "on; refuse-events refuses every event read.",
                    "KIND[@N]"});
  AddSimulationOptions(parser);
  if (const std::optional<int> exit_code = ParseCommandLine(parser, arguments)) return *exit_code;
  if (!parser.positionalArguments().isEmpty()) {
    return UsageError(arguments, "unexpected argument '" +
                                     parser.positionalArguments().first().toStdString() + "'");
  }
  const std::optional<int> module = ParseNumber(parser.value("module").toStdString());
  if (!module || *module < 0 || *module > kMaxModuleAddress) {
    return UsageError(arguments, "--module takes a module address 0..15, not '" +
                                     parser.value("module").toStdString() + "'");
  }

  const std::optional<int> baud = ParseNumber(parser.value("baud").toStdString());
  if (!baud || *baud < 300 || *baud > 1'000'000) {
    return UsageError(arguments,
                      "--baud takes a bit rate, not '" + parser.value("baud").toStdString() + "'");
  }

  std::string error;
  const std::optional<SimulationOptions> simulation = ReadSimulationOptions(parser, error);
  if (!simulation) return UsageError(arguments, error);

  // The file goes in as a user's Write All would; the Tarn's own ways start afterwards.
  sim::SimulatedTarn tarn(static_cast<std::uint8_t>(*module));
  if (parser.isSet("load") && !LoadIntoTarn(parser.value("load").toStdString(), tarn)) {
    std::cerr << "tarnctl simulate: could not load " << parser.value("load").toStdString()
              << " into the simulated Tarn\n";
    return kExitFailed;
  }
  tarn.set_choices(simulation->choices);
  const int replies_at_start = tarn.replies_asked();
  if (parser.isSet("fault") && !ArmFault(parser.value("fault").toStdString(), tarn)) {
    return UsageError(arguments, "--fault takes no-reply, bad-checksum, wrong-echo, late, silent "
                                 "or refuse-events, optionally followed by @N, not '" +
                                     parser.value("fault").toStdString() + "'");
  }
  std::unique_ptr<sim::SimulatedTolvikUnit> unit;
  sim::SimulatedDevice* device = &tarn;
  if (parser.isSet("tolvik")) {
    unit = std::make_unique<sim::SimulatedTolvikUnit>(tarn);
    device = unit.get();
  }

  // Not restarted: the bridge's poll() returns at once and sees the request.
  const std::atomic<bool>& stop_requested = StopOnSignals({SIGINT, SIGTERM, SIGHUP}, false);
  sim::PtyBridge bridge(*device);
  bridge.set_adapter_hold(simulation->adapter_hold_seconds);
  if (parser.isSet("pace")) {
    // The Tarn's line: odd parity, eight data bits, one stop bit.
    bridge.set_byte_seconds(PortSettings{.bits_per_second = *baud}.ByteSeconds());
  }
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
  // Tells how long an operation's conversation was, so a --fault can be aimed at its end.
  std::cerr << "Simulated Tarn stopped; " << tarn.replies_asked() - replies_at_start
            << " replies were asked for." << std::endl;
  return kExitOk;
}

}  // namespace tarn::cli
