// tarnctl read, write and verify: a Tarn's whole configuration against a data file.

#include <QCommandLineParser>
#include <iostream>

#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/link_options.h"
#include "cli/stderr_progress.h"
#include "files/data_file.h"
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

// Parses LINK options and the positional arguments; on success connects the link.
struct Parsed {
  std::optional<int> exit_code;  // set when the command ends here
  QStringList positional;
};

Parsed ParseAndConnect(QCommandLineParser& parser, const QStringList& arguments,
                       int positional_count, Bench& bench) {
  Parsed parsed;
  parsed.exit_code = ParseCommandLine(parser, arguments);
  if (parsed.exit_code) return parsed;
  parsed.positional = parser.positionalArguments();
  if (parsed.positional.size() != positional_count) {
    parsed.exit_code = UsageError(arguments, "expected " + std::to_string(positional_count) +
                                                 " file argument(s); see --help");
    return parsed;
  }
  std::string error;
  const std::optional<LinkOptions> options = ReadLinkOptions(parser, error);
  if (!options) {
    parsed.exit_code = UsageError(arguments, error);
    return parsed;
  }
  if (!bench.connection.Connect(*options)) parsed.exit_code = kExitFailed;
  return parsed;
}

bool LoadInto(Bench& bench, const QString& path) {
  return LoadDataFile(path.toStdString(), bench.workspace.config, bench.connection.prompter);
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
  Bench bench;
  Parsed parsed = ParseAndConnect(parser, arguments, 0, bench);
  if (parsed.exit_code) return *parsed.exit_code;
  if (!parser.isSet("out")) return UsageError(arguments, "--out FILE is required");

  const bool read = Flows(bench.session).ReadAll();
  bench.progress.Finish();
  if (!read) {
    std::cerr << "tarnctl read: the read stopped; " << parser.value("out").toStdString()
              << " was not written\n";
    return kExitFailed;
  }
  const DataFileForm form = parser.isSet("compact") ? DataFileForm::kCompact : DataFileForm::kFull;
  if (!SaveDataFile(parser.value("out").toStdString(), bench.workspace.config, form,
                    bench.connection.prompter)) {
    return kExitFailed;
  }
  std::cerr << "Firmware " << bench.session.general.version_text() << "; saved "
            << parser.value("out").toStdString() << '\n';
  return kExitOk;
}

int RunWrite(const QStringList& arguments) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      "Loads a configuration file and writes all of it to the Tarn (\"Write All\"). The module "
      "address settings go last, and only when everything before them was written.");
  parser.addHelpOption();
  AddLinkOptions(parser);
  parser.addPositionalArgument("FILE", "The configuration file (.dat).");
  Bench bench;
  // Load before talking to the Tarn: a refused file must not cost a port.
  if (const std::optional<int> exit_code = ParseCommandLine(parser, arguments)) return *exit_code;
  if (parser.positionalArguments().size() != 1) return UsageError(arguments, "expected FILE");
  if (!LoadInto(bench, parser.positionalArguments().first())) return kExitFailed;
  Parsed parsed = ParseAndConnect(parser, arguments, 1, bench);
  if (parsed.exit_code) return *parsed.exit_code;

  const bool written = Flows(bench.session).WriteAll();
  bench.progress.Finish();
  if (!written) {
    std::cerr << "tarnctl write: the write stopped; the Tarn holds part of the configuration\n";
    return kExitFailed;
  }
  std::cerr << "Written\n";
  return kExitOk;
}

int RunVerify(const QStringList& arguments) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      "Loads a configuration file, reads the Tarn and compares the two (\"Verify All\"), printing "
      "the report. Exit 0 only when it ends with \"Verify OK\".");
  parser.addHelpOption();
  AddLinkOptions(parser);
  parser.addPositionalArgument("FILE", "The configuration file (.dat).");
  Bench bench;
  if (const std::optional<int> exit_code = ParseCommandLine(parser, arguments)) return *exit_code;
  if (parser.positionalArguments().size() != 1) return UsageError(arguments, "expected FILE");
  if (!LoadInto(bench, parser.positionalArguments().first())) return kExitFailed;
  Parsed parsed = ParseAndConnect(parser, arguments, 1, bench);
  if (parsed.exit_code) return *parsed.exit_code;

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
