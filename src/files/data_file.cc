#include "files/data_file.h"

#include "files/whole_file.h"

namespace tarn {

bool SaveDataFile(const std::filesystem::path& path, DeviceConfiguration& config, DataFileForm form,
                  Prompter& prompter) {
  // Writing reduces servo flags; that belongs to the model only once the file holds them.
  DeviceConfiguration saved = config;
  const std::string contents = WriteDataFile(saved, form);
  std::string error;
  if (!ReplaceWholeFile(path, contents, error)) {
    prompter.Show("Cannot save " + path.string() + ": " + error, PromptIcon::kWarning);
    return false;
  }
  config = std::move(saved);
  return true;
}

bool LoadDataFile(const std::filesystem::path& path, DeviceConfiguration& config,
                  Prompter& prompter) {
  std::string contents;
  std::string error;
  if (!ReadWholeFile(path, contents, error)) {
    prompter.Show("Cannot open " + path.string() + ": " + error, PromptIcon::kWarning);
    return false;
  }
  return ReadDataFile(contents, config, prompter);
}

}  // namespace tarn
