#ifndef TARN_CLI_COMMAND_LINE_H_
#define TARN_CLI_COMMAND_LINE_H_

#include <QCommandLineParser>
#include <QStringList>
#include <atomic>
#include <initializer_list>
#include <optional>
#include <string>

namespace tarn::cli {

// Parses a command's line (arguments.first() is "tarnctl COMMAND"). Returns the exit code when
// the command ends here: after printing its help, or after a usage error on standard error.
std::optional<int> ParseCommandLine(QCommandLineParser& parser, const QStringList& arguments);

// "tarnctl COMMAND: what" on standard error; returns kExitUsage for `return UsageError(...)`.
int UsageError(const QStringList& arguments, const std::string& what);

// Makes each of `stop_signals` set the returned flag instead of ending the program. With
// `restart_calls` a system call the signal interrupts goes on; without, it returns at once, so
// that a loop waiting in poll() sees the request.
const std::atomic<bool>& StopOnSignals(std::initializer_list<int> stop_signals, bool restart_calls);

}  // namespace tarn::cli

#endif  // TARN_CLI_COMMAND_LINE_H_
