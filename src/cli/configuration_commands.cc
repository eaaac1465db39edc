// tarnctl read, write and verify: a Tarn's whole configuration against a data file.

#include <QCommandLineParser>
#include <atomic>
#include <csignal>
#include <iostream>

#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/link_options.h"
#include "cli/stderr_progress.h"
#include "files/data_file.h"
#include "files/whole_file.h"
#include "operations/scheduler.h"

namespace tarn::cli {
namespace {

// Everything a command needs to talk to one Tarn about one configuration.
struct Bench {
  TarnConnection connection;
  StderrProgress progress;
  Workspace workspace;
  Session session{connection.link, connection.clock, connection.prompter, progress, workspace};
  SchedulerListener listener;  // nothing to show: the progress line and the prompter say it all
  Scheduler scheduler{session, listener};
  // SIGINT and SIGTERM stop the operation at its next exchange, like the window's "Stop": the
  // link is left between frames and the operation says what was done.
  const std::atomic<bool>& stop_requested = StopOnSignals({SIGINT, SIGTERM}, true);

  OperationResult Run(Operation operation) {
    connection.link.SetStopCheck([this] { return stop_requested.load(); });
    OperationResult result = scheduler.Run(operation);
    progress.Finish();
    return result;
  }
};

// Reads the LINK options and connects. Returns the exit code when the command ends here.
std::optional<int> Connect(const QCommandLineParser& parser, const QStringList& arguments,
                           Bench& bench) {
  std::string error;
  const std::optional<LinkOptions> options = ReadLinkOptions(parser, error);
  if (!options) return UsageError(arguments, error);
  if (!bench.connection.Connect(*options)) return kExitFailed;
  return std::nullopt;
}

// For the commands that take a configuration FILE: parses the line, loads the file, then
// connects — a refused file must not cost a port. Returns the exit code when the command ends.
std::optional<int> LoadThenConnect(QCommandLineParser& parser, const QStringList& arguments,
                                   Bench& bench) {
  parser.addHelpOption();
  AddLinkOptions(parser);
  parser.addPositionalArgument("FILE", "The configuration file (.dat).");
  if (const std::optional<int> exit_code = ParseCommandLine(parser, arguments)) return exit_code;
  if (parser.positionalArguments().size() != 1) return UsageError(arguments, "expected FILE");
  const std::string path = parser.positionalArguments().first().toStdString();
  if (!LoadDataFile(path, bench.workspace.config, bench.connection.prompter)) return kExitFailed;
  return Connect(parser, arguments, bench);
}

}  // namespace

int RunRead(const QStringList& arguments) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      "Reads everything the Tarn stores (\"Read All\") and saves it as a configuration file. The "
      "file is written only when every read succeeded; with --partial also when the Tarn did not "
      "answer or refused some of them (the exit status is 1 then too). A Tarn keeps no "
      "descriptions.");
  parser.addHelpOption();
  AddLinkOptions(parser);
  parser.addOption({"out", "The configuration file to write.", "FILE"});
  parser.addOption({"compact", "Leave out what is still at its start value."});
  parser.addOption({"partial", "Save what was read even when some reads were not answered."});
  if (const std::optional<int> exit_code = ParseCommandLine(parser, arguments)) return *exit_code;
  if (!parser.positionalArguments().isEmpty())
    return UsageError(arguments, "no FILE is taken; use --out");
  if (!parser.isSet("out")) return UsageError(arguments, "--out FILE is required");
  // A file that cannot be saved must be known before the read, not ten seconds after it.
  if (std::string error; !CheckSaveDestination(parser.value("out").toStdString(), error)) {
    std::cerr << "tarnctl read: cannot save " << parser.value("out").toStdString() << ": " << error
              << '\n';
    return kExitFailed;
  }
  Bench bench;
  if (const std::optional<int> exit_code = Connect(parser, arguments, bench)) return *exit_code;

  const OperationResult result = bench.Run(Operation::kReadAll);
  const std::string out = parser.value("out").toStdString();
  const bool partial = result.unconfirmed && parser.isSet("partial");
  if (!result.succeeded && !partial) {
    // Saved with values the Tarn never sent, the file would put them into the Tarn on its next
    // write.
    std::cerr << "tarnctl read: " << (result.unconfirmed ? "not everything was read" : "the read stopped")
              << "; " << out << " was not written"
              << (result.unconfirmed ? " (--partial saves what was read)" : "") << '\n';
    return kExitFailed;
  }
  const DataFileForm form = parser.isSet("compact") ? DataFileForm::kCompact : DataFileForm::kFull;
  if (!SaveDataFile(out, bench.workspace.config, form, bench.connection.prompter)) {
    return kExitFailed;
  }
  std::cerr << "Firmware " << bench.session.workspace.firmware_version << "; saved " << out;
  if (partial) std::cerr << ", without what was not read";
  std::cerr << '\n';
  return result.succeeded ? kExitOk : kExitFailed;
}

int RunWrite(const QStringList& arguments) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      "Loads a configuration file and writes all of it to the Tarn (\"Write All\"). The module "
      "address settings go last, and only when everything before them was written. Every message "
      "counts only when the Tarn confirmed it; with --one-way nothing can be confirmed and the "
      "exit status is 3. A file keeps no event enable map: every event is enabled.");
  Bench bench;
  if (const std::optional<int> exit_code = LoadThenConnect(parser, arguments, bench)) {
    return *exit_code;
  }

  const OperationResult result = bench.Run(Operation::kWriteAll);
  // A write that stopped has said so through the prompter, unless the port went away: then that
  // was the message, and this line says what it left behind.
  if (result.succeeded || result.unconfirmed || result.port_lost) {
    std::cerr << result.summary << '\n';
  }
  if (result.succeeded) return kExitOk;
  return result.unconfirmed ? kExitUnconfirmed : kExitFailed;
}

int RunVerify(const QStringList& arguments) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      "Loads a configuration file, reads the Tarn and compares the two (\"Verify All\"), printing "
      "the report. Exit 0 only when it ends with \"Verify OK\". A file keeps no event enable "
      "map: the Tarn's is compared with every event enabled, as \"tarnctl write\" leaves it.");
  Bench bench;
  if (const std::optional<int> exit_code = LoadThenConnect(parser, arguments, bench)) {
    return *exit_code;
  }

  const OperationResult result = bench.Run(Operation::kVerifyAll);
  // The report keeps the report window's CR LF; a terminal wants plain line ends.
  std::string text = result.report;
  std::erase(text, '\r');
  std::cout << text << std::endl;
  return result.succeeded ? kExitOk : kExitFailed;
}

}  // namespace tarn::cli
