#include "files/data_file.h"

#include "files/whole_file.h"

namespace tarn {

std::optional<DataFileForm> SaveFormFor(bool shift, bool control, bool alt) {
  if (control || alt) return std::nullopt;
  return shift ? DataFileForm::kCompact : DataFileForm::kFull;
}

bool SaveDataFile(const std::filesystem::path& path, DeviceConfiguration& config, DataFileForm form,
                  Prompter& prompter) {
  // Writing reduces servo flags; that belongs to the model only once the file holds them.
  DeviceConfiguration saved = config;
  if (!ReplaceWholeFileOrWarn(path, WriteDataFile(saved, form), prompter)) return false;
  config = std::move(saved);
  return true;
}

bool LoadDataFile(const std::filesystem::path& path, DeviceConfiguration& config,
                  Prompter& prompter) {
  std::string contents;
  return ReadWholeFileOrWarn(path, contents, prompter) && ReadDataFile(contents, config, prompter);
}

}  // namespace tarn
