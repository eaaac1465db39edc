// tarnctl diff: where two configuration data files differ, as a person reads it.

#include <QCommandLineParser>
#include <QFile>
#include <filesystem>
#include <iostream>

#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/stderr_prompter.h"
#include "files/data_file.h"
#include "files/windows_1252.h"
#include "operations/differences.h"

namespace tarn::cli {
namespace {

// Like diff(1): differences are an answer, not a failure, and 2 is kept for trouble.
constexpr int kExitDifferent = kExitFailed;

}  // namespace

int RunDiff(const QStringList& arguments) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      "Prints where configuration file B differs from A, one line each, in the order a write "
      "sends them, for example \"Pin 4 aspect 2 step 1: Set Level, Level 20 -> 25\". Values are "
      "compared as a Tarn keeps them; descriptions and device names, which a Tarn does not keep, "
      "are compared too. Pins, aspects, steps and event inputs are numbered from 0, as in every "
      "tarnctl command (a file keeps no numbering base). Exit 0 when the files hold the same, 1 "
      "when they differ, 2 on a usage error or a file that does not load.");
  parser.addHelpOption();
  parser.addPositionalArgument("A", "The configuration data file to compare from (.dat).");
  parser.addPositionalArgument("B", "The configuration data file to compare with it.");
  if (const std::optional<int> exit_code = ParseCommandLine(parser, arguments)) return *exit_code;
  const QStringList files = parser.positionalArguments();
  if (files.size() != 2) return UsageError(arguments, "takes two files, A and B");

  StderrPrompter prompter(false);
  DeviceConfiguration configurations[2];
  for (int i = 0; i < 2; ++i) {
    const std::filesystem::path path = QFile::encodeName(files.at(i)).toStdString();
    if (!LoadDataFile(path, configurations[i], prompter)) {
      return UsageError(arguments, files.at(i).toStdString() + " does not load");
    }
  }
  const ConfigurationDifferences differences =
      CompareConfigurations(configurations[0], configurations[1], 0);
  // The files hold Windows-1252; the terminal reads UTF-8.
  for (const Difference& difference : differences.list) {
    std::cout << Windows1252ToUtf8(difference.text) << '\n';
  }
  return differences.empty() ? kExitOk : kExitDifferent;
}

}  // namespace tarn::cli
