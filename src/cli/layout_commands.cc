// tarnctl scan, backup, check and restore: every Tarn on the bus at once, against a layout folder.

#include <QCommandLineParser>
#include <QFile>
#include <atomic>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <iostream>

#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/link_options.h"
#include "cli/numbers.h"
#include "cli/stderr_progress.h"
#include "files/windows_1252.h"
#include "operations/layout_folder.h"

namespace tarn::cli {
namespace {

constexpr std::string_view kScanNote =
    "The scan asks module addresses 0..15 (with --xaddr, the extended addresses 0..95 of "
    "--module instead) for the firmware version and the ID string. An address that keeps quiet "
    "costs the scan wait, chosen from the bit rate so that a Tarn's answer fits with a wide "
    "margin; --scan-wait lengthens it. A garbled answer or one from another address is reported "
    "on standard error, never listed as a Tarn. The link is left as the options set it.";

int Milliseconds(double seconds) { return static_cast<int>(std::lround(seconds * 1000.0)); }

// Everything a layout command needs: the line, the progress line, and a stop on SIGINT/SIGTERM.
struct LayoutBench {
  TarnConnection connection;
  StderrProgress progress;
  LayoutLine line{connection.link, connection.clock, connection.prompter, progress};
  const std::atomic<bool>& stop_requested = StopOnSignals({SIGINT, SIGTERM}, true);
};

// Parses the line (LINK, --scan-wait and `positional`) into `options`. Returns the exit code
// when the command ends here.
std::optional<int> Parse(QCommandLineParser& parser, const QStringList& arguments,
                         const QStringList& positional, LayoutBench& bench, LinkOptions& options) {
  parser.addHelpOption();
  AddLinkOptions(parser);
  parser.addOption({"scan-wait",
                    "How long the scan waits at each address, in milliseconds; at least the "
                    "automatic wait (150 at 19200 baud), at most 2000.",
                    "MS"});
  if (const std::optional<int> exit_code = ParseCommandLine(parser, arguments)) return exit_code;
  if (parser.positionalArguments().size() != positional.size()) {
    return UsageError(arguments, positional.isEmpty()
                                     ? "takes no arguments besides the options"
                                     : "expected " + positional.join(' ').toStdString());
  }
  std::string error;
  const std::optional<LinkOptions> read = ReadLinkOptions(parser, error);
  if (!read) return UsageError(arguments, error);
  options = *read;
  if (parser.isSet("scan-wait")) {
    const int automatic = Milliseconds(ScanWaitSeconds(options.bit_rate_index, options.tunnel));
    const std::optional<int> wait = ParseNumber(parser.value("scan-wait").toStdString());
    if (!wait || *wait < automatic || *wait > Milliseconds(kMaxScanWaitSeconds)) {
      return UsageError(arguments, "--scan-wait must be from " + std::to_string(automatic) +
                                       " to " + std::to_string(Milliseconds(kMaxScanWaitSeconds)) +
                                       " ms at this bit rate");
    }
    bench.line.scan_wait_seconds = *wait / 1000.0;
  }
  return std::nullopt;
}

// Opens the line as `options` say; the window's "Stop" is SIGINT or SIGTERM here.
std::optional<int> Connect(const LinkOptions& options, LayoutBench& bench) {
  if (!bench.connection.Connect(options)) return kExitFailed;
  bench.connection.link.SetStopCheck([&bench] { return bench.stop_requested.load(); });
  return std::nullopt;
}

std::optional<int> ParseAndConnect(QCommandLineParser& parser, const QStringList& arguments,
                                   const QStringList& positional, LayoutBench& bench) {
  LinkOptions options;
  if (const std::optional<int> exit_code = Parse(parser, arguments, positional, bench, options)) {
    return exit_code;
  }
  return Connect(options, bench);
}

std::filesystem::path FolderArgument(const QCommandLineParser& parser) {
  return QFile::encodeName(parser.positionalArguments().first()).toStdString();
}

// The garbled and wrong-address answers, on standard error.
void ReportBadAnswers(const ScanResult& scan) {
  for (const ScanEntry& bad : scan.BadAnswers()) {
    std::cerr << "tarnctl: " << LayoutAddressText(bad.address) << ": "
              << ScanOutcomeText(bad.outcome) << " (" << Windows1252ToUtf8(bad.detail)
              << "); not listed as a Tarn\n";
  }
}

void PrintTarn(const LayoutTarn& tarn, StderrProgress& progress) {
  progress.Finish();
  std::cout << Windows1252ToUtf8(LayoutTarnLine(tarn)) << '\n';
  for (const std::string& difference : tarn.differences) {
    std::cout << "  " << Windows1252ToUtf8(difference) << '\n';
  }
  std::cout << std::flush;
}

}  // namespace

int RunScan(const QStringList& arguments) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      QString::fromUtf8(kScanNote.data(), static_cast<qsizetype>(kScanNote.size())) +
      " Prints one line per Tarn found: module address, extended address, firmware and ID "
      "string. Exit 0 when at least one Tarn was found and no answer was bad.");
  LayoutBench bench;
  if (const std::optional<int> exit_code = ParseAndConnect(parser, arguments, {}, bench)) {
    return *exit_code;
  }
  Link& link = bench.connection.link;
  const double wait = EffectiveScanWait(link, bench.line.scan_wait_seconds);
  std::cout << "module  xaddr  firmware   ID string\n";
  const ScanResult result =
      ScanBus(link, bench.connection.prompter, bench.progress, wait, [&](const ScanEntry& entry) {
        if (entry.outcome != ScanOutcome::kFound) return;
        bench.progress.Finish();
        const std::string xaddr =
            entry.address.extended_address ? std::to_string(*entry.address.extended_address) : "-";
        std::printf("%-7d %-6s %-10s \"%s\"\n", entry.address.module_address, xaddr.c_str(),
                    entry.firmware.c_str(), Windows1252ToUtf8(entry.id_string).c_str());
        std::fflush(stdout);
      });
  bench.progress.Finish();
  ReportBadAnswers(result);
  const std::size_t found = result.Found().size();
  std::cerr << found << (found == 1 ? " Tarn" : " Tarns") << " found on " << result.entries.size()
            << " addresses, " << Milliseconds(wait) << " ms scan wait\n";
  return result.completed && found > 0 && result.BadAnswers().empty() ? kExitOk : kExitFailed;
}

namespace {

using FolderRun = LayoutRunResult (*)(LayoutLine&, const std::filesystem::path&,
                                      const LayoutTarnSeen&);

// backup and check: LINK DIR, one line per Tarn as it is done, then the bad answers.
int RunOverFolder(const QStringList& arguments, const char* description, FolderRun run) {
  QCommandLineParser parser;
  parser.setApplicationDescription(QString::fromLatin1(description));
  parser.addPositionalArgument("DIR", "The layout folder.");
  LayoutBench bench;
  if (const std::optional<int> exit_code = ParseAndConnect(parser, arguments, {"DIR"}, bench)) {
    return *exit_code;
  }
  const LayoutRunResult result =
      run(bench.line, FolderArgument(parser),
          [&bench](const LayoutTarn& tarn) { PrintTarn(tarn, bench.progress); });
  bench.progress.Finish();
  ReportBadAnswers(result.scan);
  if (result.completed && result.tarns.empty()) std::cerr << "tarnctl: no Tarn answered\n";
  return result.all_good ? kExitOk : kExitFailed;
}

}  // namespace

int RunBackup(const QStringList& arguments) {
  return RunOverFolder(
      arguments,
      "Back Up All: scans the bus, then reads every Tarn found (\"Read All\") into the folder "
      "DIR, made when missing: one configuration file per Tarn, named by its module address and "
      "ID string, and the index layout.json with the link settings, firmware, ID string and time "
      "of each read. Every file is saved whole or not at all. A Tarn whose read fails is listed "
      "as failed and its earlier backup is kept. Exit 0 only when every Tarn found was saved, "
      "every Tarn of the earlier index answered and no answer was bad.",
      BackUpAll);
}

int RunCheck(const QStringList& arguments) {
  return RunOverFolder(
      arguments,
      "Check All: scans the bus, then reads every Tarn of the layout folder's index and compares "
      "it with its file, one line per Tarn: matches, differs (with the differences, as \"tarnctl "
      "diff FILE\" names them), not answering, or new (found on the bus but not in the index). "
      "Exit 0 only when every Tarn of the index matches; a Tarn that does not answer, and also "
      "one new on the bus (the backup no longer covers the layout), make it exit 1.",
      CheckAll);
}

int RunRestore(const QStringList& arguments) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      "Writes the backup of one Tarn of the layout folder DIR to it (\"Write All\"), at the "
      "address the index records. MODULE is its module address; with several Tarns under it, "
      "--xaddr says which. Exit status as for \"tarnctl write\".");
  parser.addPositionalArgument("DIR", "The layout folder.");
  parser.addPositionalArgument("MODULE", "The module address of the Tarn, 0..15.");
  LayoutBench bench;
  LinkOptions options;
  if (const std::optional<int> exit_code =
          Parse(parser, arguments, {"DIR", "MODULE"}, bench, options)) {
    return *exit_code;
  }
  const std::optional<int> module = ParseNumber(parser.positionalArguments().at(1).toStdString());
  if (!module || *module < 0 || *module > kMaxModuleAddress) {
    return UsageError(arguments, "MODULE must be a number from 0 to 15");
  }
  // The folder and the Tarn must be known before the port is opened.
  const std::filesystem::path folder = FolderArgument(parser);
  const std::optional<LayoutIndex> index = LoadLayoutIndex(folder, true, bench.connection.prompter);
  if (!index) return kExitFailed;
  std::string error;
  const LayoutEntry* entry = EntryForModule(*index, *module, options.extended_address, error);
  if (!entry) {
    std::cerr << "tarnctl restore: " << error << '\n';
    return kExitFailed;
  }
  if (const std::optional<int> exit_code = Connect(options, bench)) return *exit_code;
  const LayoutTarn restored = Restore(bench.line, folder, entry->address, std::nullopt);
  bench.progress.Finish();
  // A write that stopped has said so through the prompter.
  if (restored.state == LayoutState::kRestored || restored.unconfirmed) {
    std::cerr << Windows1252ToUtf8(LayoutTarnLine(restored)) << '\n';
  }
  if (restored.state == LayoutState::kRestored) return kExitOk;
  return restored.unconfirmed ? kExitUnconfirmed : kExitFailed;
}

}  // namespace tarn::cli
