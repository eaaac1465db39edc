#include "operations/layout_folder.h"

#include <algorithm>
#include <system_error>

#include "files/data_file.h"
#include "host/port_settings.h"
#include "operations/differences.h"
#include "operations/write_changes.h"

namespace tarn {
namespace {

namespace fs = std::filesystem;

// The progress of one Tarn's read inside a run over the layout: "module 3: Reading pin 4 of 32".
class TarnProgress : public Progress {
 public:
  TarnProgress(Progress& progress, std::string prefix)
      : progress_(progress), prefix_(std::move(prefix)) {}
  void Report(int done, int total, std::string_view what) override {
    progress_.Report(done, total, prefix_ + std::string(what));
  }

 private:
  Progress& progress_;
  std::string prefix_;
};

int BitsPerSecond(const Link& link) {
  return ParsePortSettings(kBitRateSettings[link.bit_rate_index()])->bits_per_second;
}

// Reads everything of the Tarn at `address` ("Read All"). What the link and the reads would show
// goes to `said`: one Tarn that fails must not stop the run with a message box.
std::optional<Workspace> ReadTarn(LayoutLine& line, const LayoutAddress& address,
                                  CollectingPrompter& said, std::string& detail) {
  AddressLink(line.link, address);
  const ScopedLinkPrompter quiet(line.link, said);
  Workspace workspace;
  TarnProgress progress(line.progress, LayoutAddressText(address) + ": ");
  Session session(line.link, line.clock, said, progress, workspace);
  SchedulerListener listener;
  Scheduler scheduler(session, listener);
  const OperationResult result = scheduler.Run(Operation::kReadAll);
  if (result.succeeded) return workspace;
  detail = result.summary;
  if (!said.texts().empty()) detail += " (" + said.Joined() + ")";
  return std::nullopt;
}

// Whether the run must end here: the user stopped it or the port failed. What the link said
// about it is then shown, once.
bool RunEnds(LayoutLine& line, const CollectingPrompter& said) {
  if (!line.link.stop_requested() && line.link.port_open()) return false;
  for (const std::string& text : said.texts()) {
    if (text == kStoppedByUser || text.starts_with("The serial port ")) {
      line.prompter.Show(text, PromptIcon::kWarning);
    }
  }
  return true;
}

double ScanWait(const LayoutLine& line) {
  return EffectiveScanWait(line.link, line.scan_wait_seconds);
}

void Tell(const LayoutTarnSeen& each, const LayoutTarn& tarn) {
  if (each) each(tarn);
}

void SortByAddress(std::vector<LayoutTarn>& tarns) {
  std::ranges::sort(tarns, {}, &LayoutTarn::address);
}

LayoutTarn TarnOf(const LayoutAddress& address, LayoutState state, std::string firmware,
                  std::string id_string) {
  LayoutTarn tarn;
  tarn.address = address;
  tarn.state = state;
  tarn.firmware = std::move(firmware);
  tarn.id_string = std::move(id_string);
  return tarn;
}

bool NoBadAnswers(const ScanResult& scan) { return scan.BadAnswers().empty(); }

std::string Replaced(std::string text, std::string_view from, std::string_view to) {
  const std::size_t at = text.find(from);
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

}  // namespace

std::string_view LayoutStateText(LayoutState state) {
  switch (state) {
    case LayoutState::kFound:
      return "found";
    case LayoutState::kBackedUp:
      return "backed up";
    case LayoutState::kFailed:
      return "failed";
    case LayoutState::kMatches:
      return "matches";
    case LayoutState::kDiffers:
      return "differs";
    case LayoutState::kNotAnswering:
      return "not answering";
    case LayoutState::kNew:
      return "new";
    case LayoutState::kRestored:
      return "restored";
  }
  return "";
}

std::string LayoutTarnLine(const LayoutTarn& tarn, int numbering_base) {
  std::string line = LayoutAddressText(tarn.address, numbering_base) + " \"" + tarn.id_string +
                     "\": " + std::string(LayoutStateText(tarn.state));
  if (tarn.state == LayoutState::kDiffers) {
    const std::size_t n = tarn.differences.size();
    line += ", " + std::to_string(n) + (n == 1 ? " difference" : " differences");
  }
  if (!tarn.file.empty() && tarn.state != LayoutState::kNew) line += " [" + tarn.file + "]";
  if (!tarn.detail.empty()) line += ": " + tarn.detail;
  return line;
}

LayoutRunResult BackUpAll(LayoutLine& line, const fs::path& folder, const LayoutTarnSeen& each) {
  LayoutRunResult result;
  std::error_code code;
  fs::create_directories(folder, code);
  if (code) {
    line.prompter.Show("Cannot make the folder " + folder.string() + ": " + code.message(),
                       PromptIcon::kWarning);
    return result;
  }
  std::optional<LayoutIndex> index = LoadLayoutIndex(folder, false, line.prompter);
  if (!index) return result;
  const KeepLinkSettings keep(line.link);
  result.scan = ScanBus(line.link, line.prompter, line.progress, ScanWait(line));
  if (!result.scan.completed) return result;

  bool ended = false;
  for (const ScanEntry& found : result.scan.Found()) {
    LayoutTarn tarn = TarnOf(found.address, LayoutState::kFound, found.firmware, found.id_string);
    CollectingPrompter said;
    const std::optional<Workspace> read = ReadTarn(line, found.address, said, tarn.detail);
    const LayoutEntry* earlier = index->Find(found.address);
    if (read) {
      tarn.id_string = read->config.general_settings.id_string;
      tarn.file = LayoutFileName(found.address, tarn.id_string);
      Workspace saved = *read;  // a save clears the servo pins' "Servo Initialised" bit
      if (SaveDataFile(folder / tarn.file, saved.config, DataFileForm::kFull, said)) {
        tarn.state = LayoutState::kBackedUp;
        index->Put({found.address, BitsPerSecond(line.link), line.link.tunnelling(),
                    read->firmware_version, tarn.id_string, UtcTimeText(line.wall_clock()),
                    tarn.file});
      } else {
        tarn.state = LayoutState::kFailed;
        tarn.detail = said.Joined();
      }
      tarn.tarn_read = read;
    } else {
      tarn.state = LayoutState::kFailed;
    }
    if (tarn.state == LayoutState::kFailed && earlier) {
      tarn.file = earlier->file;
      tarn.detail += "; its earlier backup is kept";
    }
    result.tarns.push_back(tarn);
    Tell(each, tarn);
    if ((ended = RunEnds(line, said))) break;
  }
  for (const LayoutEntry& entry : index->entries) {
    const bool seen = std::ranges::any_of(
        result.tarns, [&](const LayoutTarn& t) { return t.address == entry.address; });
    if (seen || ended) continue;
    LayoutTarn missing =
        TarnOf(entry.address, LayoutState::kNotAnswering, entry.firmware, entry.id_string);
    missing.file = entry.file;
    missing.detail = "its earlier backup is kept";
    result.tarns.push_back(missing);
    Tell(each, missing);
  }
  SortByAddress(result.tarns);
  if (!SaveLayoutIndex(folder, *index, line.prompter)) return result;
  result.completed = !ended;
  result.all_good = result.completed && !result.tarns.empty() && NoBadAnswers(result.scan) &&
                    std::ranges::all_of(result.tarns, [](const LayoutTarn& t) {
                      return t.state == LayoutState::kBackedUp;
                    });
  return result;
}

LayoutRunResult CheckAll(LayoutLine& line, const fs::path& folder, const LayoutTarnSeen& each) {
  LayoutRunResult result;
  const std::optional<LayoutIndex> index = LoadLayoutIndex(folder, true, line.prompter);
  if (!index) return result;
  const KeepLinkSettings keep(line.link);
  result.scan = ScanBus(line.link, line.prompter, line.progress, ScanWait(line));
  if (!result.scan.completed) return result;
  const std::vector<ScanEntry> found = result.scan.Found();

  bool ended = false;
  for (const LayoutEntry& entry : index->entries) {
    LayoutTarn tarn = TarnOf(entry.address, LayoutState::kFound, entry.firmware, entry.id_string);
    tarn.file = entry.file;
    const auto on_bus = std::ranges::find(found, entry.address, &ScanEntry::address);
    CollectingPrompter said;
    DeviceConfiguration backup;
    if (on_bus == found.end()) {
      tarn.state = LayoutState::kNotAnswering;
      const auto asked = std::ranges::find(result.scan.entries, entry.address, &ScanEntry::address);
      if (asked != result.scan.entries.end() && asked->outcome != ScanOutcome::kSilent) {
        tarn.detail = std::string(ScanOutcomeText(asked->outcome)) + " (" + asked->detail + ")";
      } else if (entry.bits_per_second != BitsPerSecond(line.link) ||
                 entry.tunnelled != line.link.tunnelling()) {
        tarn.detail = "it was backed up at " + std::to_string(entry.bits_per_second) + " baud" +
                      (entry.tunnelled ? ", tunnelled" : ", direct");
      }
    } else if (!LoadDataFile(folder / entry.file, backup, said)) {
      tarn.state = LayoutState::kFailed;
      tarn.detail = said.Joined();
    } else if (const std::optional<Workspace> read =
                   ReadTarn(line, entry.address, said, tarn.detail)) {
      tarn.firmware = on_bus->firmware;
      tarn.id_string = read->config.general_settings.id_string;
      for (const Difference& difference : CompareConfigurations(backup, read->config, 0).list) {
        if (IsKeptByTarn(difference.group)) tarn.differences.push_back(difference.text);
      }
      tarn.state = tarn.differences.empty() ? LayoutState::kMatches : LayoutState::kDiffers;
      tarn.tarn_read = read;
    } else {
      tarn.state = LayoutState::kNotAnswering;
    }
    result.tarns.push_back(tarn);
    Tell(each, tarn);
    if ((ended = RunEnds(line, said))) break;
  }
  if (!ended) {
    for (const ScanEntry& entry : found) {
      if (index->Find(entry.address)) continue;
      LayoutTarn fresh = TarnOf(entry.address, LayoutState::kNew, entry.firmware, entry.id_string);
      fresh.detail = "not in the backup";
      result.tarns.push_back(fresh);
      Tell(each, fresh);
    }
  }
  SortByAddress(result.tarns);
  result.completed = !ended;
  result.all_good = result.completed && NoBadAnswers(result.scan) &&
                    std::ranges::all_of(result.tarns, [](const LayoutTarn& t) {
                      return t.state == LayoutState::kMatches;
                    });
  return result;
}

std::string RestoreQuestion(const LayoutEntry& entry) {
  return Replaced(Replaced(std::string(kRestoreQuestion), "%FILE%", entry.file), "%ADDRESS%",
                  LayoutAddressText(entry.address));
}

LayoutTarn Restore(LayoutLine& line, const fs::path& folder, const LayoutAddress& address,
                   const std::optional<Workspace>& tarn_read) {
  LayoutTarn tarn = TarnOf(address, LayoutState::kFailed, "", "");
  const std::optional<LayoutIndex> index = LoadLayoutIndex(folder, true, line.prompter);
  if (!index) return tarn;
  const LayoutEntry* entry = index->Find(address);
  if (!entry) {
    tarn.detail =
        "the layout index of " + folder.string() + " has no Tarn at " + LayoutAddressText(address);
    line.prompter.Show(tarn.detail, PromptIcon::kWarning);
    return tarn;
  }
  tarn.file = entry->file;
  tarn.firmware = entry->firmware;
  tarn.id_string = entry->id_string;
  Workspace backup;
  if (!LoadDataFile(folder / entry->file, backup.config, line.prompter)) {
    tarn.detail = "its file does not load";
    return tarn;
  }
  const KeepLinkSettings keep(line.link);
  AddressLink(line.link, address);
  TarnProgress progress(line.progress, LayoutAddressText(address) + ": ");
  Session session(line.link, line.clock, line.prompter, progress, backup);
  SchedulerListener listener;
  Scheduler scheduler(session, listener);
  OperationResult result;
  if (tarn_read) {
    const ChangedGroups changed = CompareWorkspaces(*tarn_read, backup).changed;
    if (!changed.AnyToWrite()) {
      line.prompter.Show(NothingToWriteText(changed), PromptIcon::kInformation);
      tarn.state = LayoutState::kRestored;
      tarn.detail = NothingToWriteText(changed);
      return tarn;
    }
    result = scheduler.RunWriteChanges(changed);
  } else {
    result = scheduler.Run(Operation::kWriteAll);
  }
  tarn.state = result.succeeded ? LayoutState::kRestored : LayoutState::kFailed;
  tarn.unconfirmed = result.unconfirmed;
  tarn.detail = (result.changes_only && result.succeeded ? "changes written" : result.summary);
  return tarn;
}

const LayoutEntry* EntryForModule(const LayoutIndex& index, int module,
                                  std::optional<int> extended_address, std::string& error) {
  if (extended_address) {
    const LayoutEntry* entry = index.Find({module, extended_address});
    if (!entry)
      error = "the layout index has no Tarn at " + LayoutAddressText({module, extended_address});
    return entry;
  }
  const LayoutEntry* only = nullptr;
  int count = 0;
  for (const LayoutEntry& entry : index.entries) {
    if (entry.address.module_address != module) continue;
    only = &entry;
    ++count;
  }
  if (count == 0) error = "the layout index has no Tarn at module " + std::to_string(module);
  if (count > 1) {
    error = "the layout index has " + std::to_string(count) + " Tarns at module " +
            std::to_string(module) + "; say which with --xaddr";
  }
  return count == 1 ? only : nullptr;
}

}  // namespace tarn
