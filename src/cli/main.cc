// tarnctl: the command-line companion of the Tarn configuration tool.

#include <QCoreApplication>
#include <iostream>
#include <string_view>

#include "cli/commands.h"

namespace {

struct Command {
  std::string_view name;
  std::string_view summary;
  int (*run)(const QStringList& arguments);
};

constexpr Command kCommands[] = {
    {"send", "send one payload to a Tarn and print its reply", tarn::cli::RunSend},
    {"simulate", "run a simulated Tarn on a pseudo-terminal", tarn::cli::RunSimulate},
    {"ports", "list the serial ports by number", tarn::cli::RunPorts},
    {"read", "read a Tarn's whole configuration into a file", tarn::cli::RunRead},
    {"write", "write a configuration file to a Tarn", tarn::cli::RunWrite},
    {"verify", "compare a Tarn with a configuration file", tarn::cli::RunVerify},
    {"aspect", "set the aspect of a pin", tarn::cli::RunAspect},
    {"pwm", "set the PWM level of a pin", tarn::cli::RunPwm},
    {"servo", "move the servo of a pin", tarn::cli::RunServo},
    {"monitor", "poll the Tarn and print its reports", tarn::cli::RunMonitor},
    {"convert", "load a configuration file and save it anew", tarn::cli::RunConvert},
    {"diff", "print where two configuration files differ", tarn::cli::RunDiff},
    {"devices", "list the devices of a definitions library", tarn::cli::RunDevices},
    {"scan", "find every Tarn on the bus", tarn::cli::RunScan},
    {"backup", "read every Tarn on the bus into a layout folder", tarn::cli::RunBackup},
    {"check", "compare every Tarn of a layout folder with its file", tarn::cli::RunCheck},
    {"restore", "write one Tarn from its backup in a layout folder", tarn::cli::RunRestore},
};

// The commands, on standard output when asked for, else as the answer to a usage error.
int Usage(bool asked_for) {
  std::ostream& out = asked_for ? std::cout : std::cerr;
  out << "usage: tarnctl COMMAND [OPTIONS] ...\n\ncommands:\n";
  for (const Command& command : kCommands) {
    out << "  " << command.name << std::string(10 - command.name.size(), ' ') << command.summary
        << '\n';
  }
  out << "\n'tarnctl COMMAND --help' describes a command; 'tarnctl --version' prints the "
         "version.\n";
  return asked_for ? tarn::cli::kExitOk : tarn::cli::kExitUsage;
}

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication application(argc, argv);
  QCoreApplication::setApplicationName("tarnctl");
  QCoreApplication::setApplicationVersion(TARN_VERSION);
  QStringList arguments = QCoreApplication::arguments();
  if (arguments.size() < 2) return Usage(false);
  const std::string name = arguments.at(1).toStdString();
  if (name == "--version" || name == "-V") {
    std::cout << "tarnctl " << QCoreApplication::applicationVersion().toStdString() << '\n';
    return tarn::cli::kExitOk;
  }
  for (const Command& command : kCommands) {
    if (command.name == name) {
      arguments.removeFirst();
      arguments.first() = QString("tarnctl ") + arguments.first();
      return command.run(arguments);
    }
  }
  if (name == "--help" || name == "-h") return Usage(true);
  std::cerr << "tarnctl: unknown command '" << name << "'\n";
  return Usage(false);
}
