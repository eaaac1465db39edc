// tarnctl read, write and verify: a Tarn's whole configuration against a data file.

#include <QCommandLineParser>
#include <iostream>

#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/link_options.h"
#include "cli/stderr_progress.h"
#include "files/data_file.h"
#include "files/whole_file.h"
#include "operations/flows.h"
#include "operations/verification.h"

namespace tarn::cli {
namespace {

// Everything a command needs to talk to one Tarn about one configuration.
struct Bench {
  TarnConnection connection;
  StderrProgress progress;
  Workspace workspace;
  Session session{connection.link, connection.clock, connection.prompter, progress, workspace};
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

// Names the pins whose configuration did not travel, which a Tarn-wide operation must not pass
// over in silence. Returns whether there were none.
bool ReportConfigurationFailures(const Flows& flows, std::string_view command,
                                 std::string_view what) {
  if (flows.configuration_failures().empty()) return true;
  std::cerr << command << ": the configuration of pin";
  if (flows.configuration_failures().size() > 1) std::cerr << 's';
  for (const int pin : flows.configuration_failures()) std::cerr << ' ' << pin;
  std::cerr << ' ' << what << '\n';
  return false;
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
      "file is written only when every step succeeded; a Tarn keeps no descriptions.");
  parser.addHelpOption();
  AddLinkOptions(parser);
  parser.addOption({"out", "The configuration file to write.", "FILE"});
  parser.addOption({"compact", "Leave out what is still at its start value."});
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

  Flows flows(bench.session);
  const bool read = flows.ReadAll();
  bench.progress.Finish();
  const std::string out = parser.value("out").toStdString();
  if (!read) {
    std::cerr << "tarnctl read: the read stopped; " << out << " was not written\n";
    return kExitFailed;
  }
  // Saved with a pin's start values, the file would wipe that pin on its next write.
  if (!ReportConfigurationFailures(flows, "tarnctl read",
                                   "could not be read; " + out + " was not written")) {
    return kExitFailed;
  }
  const DataFileForm form = parser.isSet("compact") ? DataFileForm::kCompact : DataFileForm::kFull;
  if (!SaveDataFile(out, bench.workspace.config, form, bench.connection.prompter)) {
    return kExitFailed;
  }
  std::cerr << "Firmware " << bench.session.general.version_text() << "; saved " << out << '\n';
  return kExitOk;
}

int RunWrite(const QStringList& arguments) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      "Loads a configuration file and writes all of it to the Tarn (\"Write All\"). The module "
      "address settings go last, and only when everything before them was written. A file keeps "
      "no event enable map: every event is enabled.");
  Bench bench;
  if (const std::optional<int> exit_code = LoadThenConnect(parser, arguments, bench)) {
    return *exit_code;
  }

  Flows flows(bench.session);
  const bool written = flows.WriteAll();
  bench.progress.Finish();
  if (!written) {
    std::cerr << "tarnctl write: the write stopped; the Tarn holds part of the configuration\n";
    return kExitFailed;
  }
  if (!ReportConfigurationFailures(flows, "tarnctl write", "could not be sent")) return kExitFailed;
  std::cerr << "Written\n";
  return kExitOk;
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

  VerificationReport report;
  const bool verified = Verification(bench.session).VerifyAll(report);
  bench.progress.Finish();
  // The report keeps the report window's CR LF; a terminal wants plain line ends.
  std::string text = report.text();
  std::erase(text, '\r');
  std::cout << text << std::endl;
  return verified ? kExitOk : kExitFailed;
}

}  // namespace tarn::cli
