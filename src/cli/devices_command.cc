// tarnctl devices: what a device definitions library offers, as the device list shows it.

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <filesystem>
#include <iostream>

#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/stderr_prompter.h"
#include "files/device_definitions.h"
#include "files/device_library.h"
#include "files/whole_file.h"
#include "files/windows_1252.h"

namespace tarn::cli {
namespace {

// The library named on the line, else the standard one where an installed program keeps it.
std::filesystem::path LibraryPath(const QStringList& files) {
  if (!files.isEmpty()) return QFile::encodeName(files.at(0)).toStdString();
  return StandardLibraryPath(
      QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString());
}

}  // namespace

int RunDevices(const QStringList& arguments) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      "Prints the version text of a device definitions library on the first line, then the name "
      "of each of its devices, one a line. Without LIBRARY, the standard library: TarnDevices.def "
      "beside the program, else in ../share/tarnconfig from the program's folder.");
  parser.addHelpOption();
  parser.addPositionalArgument("LIBRARY", "The device definitions file (.def).", "[LIBRARY]");
  if (const std::optional<int> exit_code = ParseCommandLine(parser, arguments)) return *exit_code;
  const QStringList files = parser.positionalArguments();
  if (files.size() > 1) return UsageError(arguments, "takes at most one library file");

  const std::filesystem::path path = LibraryPath(files);
  StderrPrompter stderr_prompter(false);
  Prompter& prompter = stderr_prompter;
  std::string contents;
  if (!ReadWholeFileOrWarn(path, contents, prompter)) return kExitFailed;
  const std::optional<DeviceLibraryIndex> index = ReadDeviceLibraryIndex(contents);
  if (!index) {
    prompter.Show(kInvalidDefinitionFileText, PromptIcon::kWarning);
    return kExitFailed;
  }
  // The files hold Windows-1252; the terminal reads UTF-8.
  std::cout << Windows1252ToUtf8(index->version_text) << '\n';
  for (const std::string& name : index->device_names) std::cout << Windows1252ToUtf8(name) << '\n';
  return kExitOk;
}

}  // namespace tarn::cli
