#include "files/device_library.h"

#include <system_error>

#include "files/device_definitions.h"
#include "files/whole_file.h"

namespace tarn {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kShortenedLead = "..";

bool IsFile(const fs::path& path) {
  std::error_code error;
  return fs::is_regular_file(path, error);
}

std::optional<std::string> Contents(const fs::path& path) {
  std::string contents;
  std::string error;
  if (!ReadWholeFile(path, contents, error)) return std::nullopt;
  return contents;
}

// Reads the index of a library; an invalid file is reported and gives nullopt.
std::optional<DeviceLibraryIndex> Index(std::string_view contents, Prompter& prompter) {
  std::optional<DeviceLibraryIndex> index = ReadDeviceLibraryIndex(contents);
  if (!index) prompter.Show(kInvalidDefinitionFileText, PromptIcon::kWarning);
  return index;
}

void Append(const DeviceLibraryIndex& index, const fs::path& file, DeviceList& list) {
  for (const std::string& name : index.device_names) list.entries.push_back({name, file});
}

}  // namespace

fs::path StandardLibraryPath(const fs::path& program_folder) {
  const fs::path beside = program_folder / kStandardLibraryFileName;
  if (IsFile(beside)) return beside;
  const fs::path installed =
      (program_folder / kInstalledDataFolder / kStandardLibraryFileName).lexically_normal();
  if (IsFile(installed)) return installed;
  return beside;
}

bool LoadStandardLibrary(const fs::path& program_folder, const ChooseFile& choose, DeviceList& list,
                         Prompter& prompter) {
  fs::path path = StandardLibraryPath(program_folder);
  std::optional<std::string> contents = Contents(path);
  if (!contents) {
    prompter.Show(kNoStandardLibraryText, PromptIcon::kWarning);
    const std::optional<fs::path> chosen = choose ? choose(kStandardLibraryFileName) : std::nullopt;
    if (chosen) {
      path = *chosen;
      contents = Contents(path);
    }
    if (!contents) {
      prompter.Show(kNoDeviceConfigurationText, PromptIcon::kWarning);
      return false;
    }
  }
  const std::optional<DeviceLibraryIndex> index = Index(*contents, prompter);
  if (!index) return false;
  list.entries.clear();
  Append(*index, path, list);
  list.version_label =
      index->version_text.empty() ? std::string(kVersionUnknownText) : index->version_text;
  return true;
}

bool ReloadDeviceLibrary(const std::optional<fs::path>& chosen, ReloadMode mode, DeviceList& list,
                         Prompter& prompter) {
  const std::optional<std::string> contents = chosen ? Contents(*chosen) : std::nullopt;
  if (!contents) {
    prompter.Show(kNoLibrarySelectedText, PromptIcon::kWarning);
    return false;
  }
  const std::optional<DeviceLibraryIndex> index = Index(*contents, prompter);
  if (!index) return false;
  if (mode == ReloadMode::kReplace) {
    list.entries.clear();
    list.version_label = index->version_text;
  } else {
    list.version_label += std::string(kVersionJoinText) + index->version_text;
  }
  list.version_label = ShortenedVersionLabel(std::move(list.version_label));
  Append(*index, *chosen, list);
  return true;
}

ReloadMode ReloadModeFor(bool shift, bool control, bool alt) {
  return shift && !control && !alt ? ReloadMode::kAppend : ReloadMode::kReplace;
}

std::string ShortenedVersionLabel(std::string label) {
  if (label.size() <= kMaxVersionLabelLength) return label;
  const std::size_t keep = kMaxVersionLabelLength - kShortenedLead.size();
  return std::string(kShortenedLead) + label.substr(label.size() - keep);
}

bool SaveDevice(DeviceConfiguration& config, const ChooseFile& choose, Prompter& prompter) {
  const std::optional<int> head = DeviceHeadToSave(config, config.current_pin);
  if (!head) {
    prompter.Show(kReferralIsNotADeviceText, PromptIcon::kWarning);
    return false;
  }
  const std::optional<fs::path> path = choose ? choose("") : std::nullopt;
  if (!path || path->empty()) return false;
  // Writing reduces servo flags; that belongs to the model only once the file holds them.
  DeviceConfiguration saved = config;
  if (!ReplaceWholeFileOrWarn(*path, WriteDeviceDefinition(saved, *head), prompter)) return false;
  config = std::move(saved);
  return true;
}

bool LoadDevice(DeviceConfiguration& config, const DeviceListEntry& selected, Prompter& prompter) {
  if (selected.name.empty()) {
    prompter.Show(kSelectDevicenameText, PromptIcon::kNone, PromptButtons::kOk);
    return false;
  }
  const std::optional<std::string> contents = Contents(selected.file);
  const DeviceLoadResult result = contents ? ApplyDeviceDefinition(*contents, selected.name, config)
                                           : DeviceLoadResult{DeviceLoadOutcome::kNoMatch, {}};
  switch (result.outcome) {
    case DeviceLoadOutcome::kNoMatch:
      prompter.Show(kNoMatchFoundText, PromptIcon::kNone, PromptButtons::kOk);
      return false;
    case DeviceLoadOutcome::kInvalid:
      prompter.Show(kInvalidDefinitionFileText, PromptIcon::kWarning);
      return false;
    case DeviceLoadOutcome::kLoaded:
      break;
  }
  if (!result.already_used.empty()) {
    prompter.Show(AlreadyUsedText(result.already_used), PromptIcon::kWarning);
  }
  return true;
}

std::string AlreadyUsedText(const std::vector<int>& pins) {
  std::string text(kAlreadyUsedText);
  text += "\n\r";
  for (std::size_t i = 0; i < pins.size(); ++i) {
    if (i > 0) text += ',';
    text += ' ' + std::to_string(pins[i]);
  }
  return text;
}

}  // namespace tarn
