#include "cli/command_line.h"

#include <iostream>

#include "cli/commands.h"

namespace tarn::cli {

std::optional<int> ParseCommandLine(QCommandLineParser& parser, const QStringList& arguments) {
  if (!parser.parse(arguments)) return UsageError(arguments, parser.errorText().toStdString());
  if (parser.isSet("help")) {
    std::cout << parser.helpText().toStdString();
    return kExitOk;
  }
  return std::nullopt;
}

int UsageError(const QStringList& arguments, const std::string& what) {
  std::cerr << arguments.first().toStdString() << ": " << what << '\n';
  return kExitUsage;
}

}  // namespace tarn::cli
