// tarnctl monitor: the window's traffic monitor on standard output.

#include <QCommandLineParser>
#include <atomic>
#include <csignal>
#include <iostream>
#include <optional>
#include <string>

#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/link_options.h"
#include "cli/numbers.h"
#include "link/link.h"
#include "protocol/monitor.h"

namespace tarn::cli {
namespace {

void PrintLine(const std::string& line) { std::cout << line << std::endl; }

}  // namespace

int RunMonitor(const QStringList& arguments) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      "Polls the Tarn ten times a second, as the window's monitor does, and prints the four "
      "values of each report as '<v> <v> <v> <v> ', between the lines \"Start Monitoring\" and "
      "\"Monitoring Stopped\". Runs until interrupted, or for --count polls. A Tarn may answer "
      "a poll without a report when it has nothing new. Exits 0 when the Tarn answered at least "
      "one poll and the port kept working, 1 otherwise, 2 on a usage error.");
  parser.addHelpOption();
  AddLinkOptions(parser);
  parser.addOption({"count", "Stop after N polls (N >= 1).", "N"});
  if (const std::optional<int> exit_code = ParseCommandLine(parser, arguments)) return *exit_code;
  std::string error;
  const std::optional<LinkOptions> options = ReadLinkOptions(parser, error);
  if (!options) return UsageError(arguments, error);
  if (!parser.positionalArguments().isEmpty()) {
    return UsageError(arguments, "unexpected argument '" +
                                     parser.positionalArguments().first().toStdString() + "'");
  }
  std::optional<int> count;
  if (parser.isSet("count")) {
    count = ParseNumber(parser.value("count").toStdString());
    if (!count || *count < 1) return UsageError(arguments, "--count must be a number of 1 or more");
  }

  TarnConnection connection;
  if (!connection.Connect(*options)) return kExitFailed;
  Link& link = connection.link;
  Prompter& prompter = connection.prompter;

  TrafficMonitor monitor(link, prompter);
  const std::optional<std::string> start = monitor.MonitorPressed();
  if (!monitor.timer_on()) return kExitFailed;
  if (start) PrintLine(*start);

  // Restarted calls: an exchange in progress ends normally; the loop then stops.
  const std::atomic<bool>& stop_requested = StopOnSignals({SIGINT, SIGTERM}, true);
  int answered = 0;
  for (int poll = 0; !count || poll < *count; ++poll) {
    if (poll > 0) connection.clock.SleepFor(kMonitorPeriodMilliseconds);
    if (stop_requested.load() || !link.port_open()) break;
    const std::optional<std::string> line = monitor.Poll();
    if (link.tarn_reply_received()) ++answered;
    if (line) PrintLine(*line);
  }
  // A poll that found the port gone has printed the closing line already.
  if (monitor.timer_on()) PrintLine(monitor.MonitorLostFocus());
  // The link closes a port that went away (and has said why): whatever came before, the
  // monitoring did not end as asked.
  if (!link.port_open()) return kExitFailed;
  if (answered == 0) {
    std::cerr << arguments.first().toStdString()
              << ": the Tarn answered no poll, so no report came back\n";
    return kExitFailed;
  }
  return kExitOk;
}

}  // namespace tarn::cli
