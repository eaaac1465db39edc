// tarnctl convert: reads a configuration data file of any version and saves it in the current
// one, full or compact.

#include <QCommandLineParser>
#include <QFile>
#include <filesystem>

#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/stderr_prompter.h"
#include "files/data_file.h"

namespace tarn::cli {

int RunConvert(const QStringList& arguments) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      "Loads a configuration data file with the rules of its version and saves it as a current "
      "one. Messages go to standard error; exit status 1 when the file is refused or cannot be "
      "saved.");
  parser.addHelpOption();
  parser.addOption({"compact", "Save only the pins, aspects and steps that are in use."});
  parser.addPositionalArgument("IN", "The configuration data file to read (.dat).");
  parser.addPositionalArgument("OUT",
                               "The file to write; a file is replaced whole or not at all, a pipe "
                               "or terminal is written into.");
  if (const std::optional<int> exit_code = ParseCommandLine(parser, arguments)) return *exit_code;
  const QStringList files = parser.positionalArguments();
  if (files.size() != 2) return UsageError(arguments, "takes two files, IN and OUT");

  const std::filesystem::path in = QFile::encodeName(files.at(0)).toStdString();
  const std::filesystem::path out = QFile::encodeName(files.at(1)).toStdString();
  StderrPrompter prompter(false);
  DeviceConfiguration config;
  if (!LoadDataFile(in, config, prompter)) return kExitFailed;
  const DataFileForm form = parser.isSet("compact") ? DataFileForm::kCompact : DataFileForm::kFull;
  if (!SaveDataFile(out, config, form, prompter)) return kExitFailed;
  return kExitOk;
}

}  // namespace tarn::cli
