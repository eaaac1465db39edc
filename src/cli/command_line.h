#ifndef TARN_CLI_COMMAND_LINE_H_
#define TARN_CLI_COMMAND_LINE_H_

#include <QCommandLineParser>
#include <QStringList>
#include <optional>
#include <string>

namespace tarn::cli {

// Parses a command's line (arguments.first() is "tarnctl COMMAND"). Returns the exit code when
// the command ends here: after printing its help, or after a usage error on standard error.
std::optional<int> ParseCommandLine(QCommandLineParser& parser, const QStringList& arguments);

// "tarnctl COMMAND: what" on standard error; returns kExitUsage for `return UsageError(...)`.
int UsageError(const QStringList& arguments, const std::string& what);

}  // namespace tarn::cli

#endif  // TARN_CLI_COMMAND_LINE_H_
