#include "cli/command_line.h"

#include <QCoreApplication>
#include <csignal>
#include <iostream>

#include "cli/commands.h"

namespace tarn::cli {
namespace {

std::atomic<bool> stop_requested{false};

extern "C" void RequestStop(int) { stop_requested.store(true); }

}  // namespace

std::optional<int> ParseCommandLine(QCommandLineParser& parser, const QStringList& arguments) {
  if (!parser.parse(arguments)) return UsageError(arguments, parser.errorText().toStdString());
  if (parser.isSet("help")) {
    // The parser names the program's file; the user typed "tarnctl COMMAND".
    QString help = parser.helpText();
    const QString usage = "Usage: " + QCoreApplication::arguments().constFirst();
    if (help.startsWith(usage)) help.replace(0, usage.size(), "Usage: " + arguments.first());
    std::cout << help.toStdString();
    return kExitOk;
  }
  return std::nullopt;
}

int UsageError(const QStringList& arguments, const std::string& what) {
  std::cerr << arguments.first().toStdString() << ": " << what << '\n';
  return kExitUsage;
}

const std::atomic<bool>& StopOnSignals(std::initializer_list<int> stop_signals,
                                       bool restart_calls) {
  struct sigaction action {};
  action.sa_handler = RequestStop;
  sigemptyset(&action.sa_mask);
  action.sa_flags = restart_calls ? SA_RESTART : 0;
  for (const int stop_signal : stop_signals) sigaction(stop_signal, &action, nullptr);
  return stop_requested;
}

}  // namespace tarn::cli
