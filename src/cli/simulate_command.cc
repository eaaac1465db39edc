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
#include "sim/simulated_bus.h"
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
    {"garbled", sim::Fault::kBadChecksum, sim::kAlways},
    {"wrong-address", sim::Fault::kForeignAddress, sim::kAlways},
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

// --tarn MODULE[:XADDR][,load=FILE][,fault=KIND[@N]]: one Tarn of a --bus. Returns the reason
// when the text or its file is refused.
std::optional<std::string> AddBusTarn(const std::string& described, sim::SimulatedBus& bus) {
  const std::string wrong = "--tarn takes MODULE[:XADDR][,load=FILE][,fault=KIND[@N]], not '" +
                            described + "'";
  std::vector<std::string> parts;
  for (std::size_t start = 0;;) {
    const std::size_t comma = described.find(',', start);
    parts.push_back(described.substr(start, comma - start));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  const std::size_t colon = parts[0].find(':');
  const std::optional<int> module = ParseNumber(parts[0].substr(0, colon));
  std::optional<int> xaddr;
  if (colon != std::string::npos) {
    xaddr = ParseNumber(parts[0].substr(colon + 1));
    if (!xaddr || *xaddr < 0 || *xaddr > kMaxExtendedAddress) return wrong;
  }
  if (!module || *module < 0 || *module > kMaxModuleAddress) return wrong;
  sim::SimulatedTarn& tarn = bus.Add(static_cast<std::uint8_t>(*module));
  std::string fault;
  for (std::size_t i = 1; i < parts.size(); ++i) {
    if (parts[i].starts_with("load=")) {
      const std::string file = parts[i].substr(5);
      if (!LoadIntoTarn(file, tarn)) return "could not load " + file + " into the Tarn at module " + std::to_string(*module);
    } else if (parts[i].starts_with("fault=")) {
      fault = parts[i].substr(6);
    } else {
      return wrong;
    }
  }
  // After the load, whose module address settings carry an extended address of their own.
  if (xaddr) tarn.memory().registers[sim::kExtendedAddressRegister] = {static_cast<std::uint8_t>(*xaddr)};
  if (!fault.empty() && !ArmFault(fault, tarn)) return wrong;
  return std::nullopt;
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
  parser.addOption({"bus",
                    "Put several simulated Tarns on the one line, each given by a --tarn; only the "
                    "addressed one answers."});
  parser.addOption({"tarn",
                    "With --bus, one Tarn: its module address, optionally its extended address, "
                    "the configuration to start with and a --fault of its own; repeat for each "
                    "Tarn. For example --tarn 0,load=a.dat --tarn 3:12,fault=silent.",
                    "MODULE[:XADDR][,load=FILE][,fault=KIND[@N]]"});
  parser.addOption({"fault",
                    "Misbehave from the Nth reply asked for (default 1, counted after --load): "
                    "no-reply, bad-checksum, wrong-echo (a reply naming another command) or "
                    "late (after 2.5 s) spoil that one reply; silent answers nothing from then "
                    "on; garbled spoils every reply's checksum; wrong-address answers every time "
                    "under the next module's address; refuse-events refuses every event read.",
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

  sim::SimulatedBus bus;
  const bool on_bus = parser.isSet("bus");
  if (on_bus != parser.isSet("tarn")) {
    return UsageError(arguments, on_bus ? "--bus needs at least one --tarn" : "--tarn needs --bus");
  }
  if (on_bus && (parser.isSet("load") || parser.isSet("fault") || parser.isSet("module"))) {
    return UsageError(arguments, "with --bus, give --load, --fault and the module in each --tarn");
  }
  for (const QString& described : parser.values("tarn")) {
    const std::optional<std::string> refused = AddBusTarn(described.toStdString(), bus);
    if (!refused) continue;
    if (refused->starts_with("--tarn")) return UsageError(arguments, *refused);
    std::cerr << "tarnctl simulate: " << *refused << '\n';
    return kExitFailed;
  }
  // Each Tarn of the bus draws its own spread.
  for (const auto& member : bus.tarns()) {
    sim::TarnChoices choices = simulation->choices;
    choices.seed += member->module_address();
    member->set_choices(choices);
  }
  const int bus_replies_at_start = bus.replies_asked();

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
    return UsageError(arguments, "--fault takes no-reply, bad-checksum, wrong-echo, late, silent, "
                                 "garbled, wrong-address or refuse-events, optionally followed by "
                                 "@N, not '" +
                                     parser.value("fault").toStdString() + "'");
  }
  std::unique_ptr<sim::SimulatedTolvikUnit> unit;
  sim::SimulatedDevice* device = on_bus ? static_cast<sim::SimulatedDevice*>(&bus) : &tarn;
  if (parser.isSet("tolvik")) {
    unit = std::make_unique<sim::SimulatedTolvikUnit>(*device);
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
  std::string what = "Simulated Tarn, module address " + std::to_string(*module);
  if (on_bus) {
    what = "Simulated bus of " + std::to_string(bus.tarns().size()) + " Tarns, module addresses";
    for (const auto& member : bus.tarns()) {
      what += " " + std::to_string(member->module_address()) + ":" +
              std::to_string(member->memory().extended_address());
    }
  }
  std::cerr << what << (unit ? ", behind a Tolvik unit" : "") << ", on " << bridge.device_path()
            << (bridge.link_path().empty() ? "" : " (link " + bridge.link_path() + ")")
            << ". Stop it with Ctrl+C." << std::endl;
  if (!bridge.Run(stop_requested)) {
    std::cerr << "tarnctl simulate: " << bridge.error_text() << '\n';
    return kExitFailed;
  }
  bridge.Close();
  // Tells how long an operation's conversation was, so a --fault can be aimed at its end.
  const int replies = on_bus ? bus.replies_asked() - bus_replies_at_start
                              : tarn.replies_asked() - replies_at_start;
  std::cerr << "Simulated Tarn stopped; " << replies << " replies were asked for." << std::endl;
  return kExitOk;
}

}  // namespace tarn::cli
