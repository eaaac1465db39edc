#ifndef TARN_FILES_DATA_FILE_H_
#define TARN_FILES_DATA_FILE_H_

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "host/prompter.h"
#include "model/device_configuration.h"

namespace tarn {

inline constexpr std::string_view kInvalidConfigurationFileText = "Invalid configuration file";
inline constexpr std::string_view kDataFileVersionText = "Data File Version = ";

// A full file holds every pin with every aspect and step of its layout. A compact one leaves out
// pins and aspects without a description and empty steps; loading it keeps what it leaves out.
enum class DataFileForm { kFull, kCompact };

// The form a left click on "Save File" saves with the modifier keys held: none, the full file;
// Shift alone, the compact one; any other key or combination, nothing.
std::optional<DataFileForm> SaveFormFor(bool shift, bool control, bool alt);

// The text of a configuration data file for `config`. Byte 2 of every servo pin written loses
// its "Servo Initialised" bit in `config` as it does in the file.
std::string WriteDataFile(DeviceConfiguration& config, DataFileForm form);

// Applies the text of a configuration data file to `config`, all or nothing: only a file that
// reads to its "End" changes the model. A bad header, a file that ends early or a number that
// does not fit its field shows "Invalid configuration file" and returns false; an older version
// shows "Data File Version = " and its number and is read by its own rules. What the file does
// not name keeps its value. Views are the caller's to rebuild.
bool ReadDataFile(std::string_view contents, DeviceConfiguration& config, Prompter& prompter);

// Saves `config` to `path`, replacing the file whole or not at all. A failed save shows
// "Cannot save <path>: <reason>" and changes neither the file nor the model.
bool SaveDataFile(const std::filesystem::path& path, DeviceConfiguration& config, DataFileForm form,
                  Prompter& prompter);

// Loads `path` into `config` as ReadDataFile does. A file that cannot be read shows
// "Cannot open <path>: <reason>".
bool LoadDataFile(const std::filesystem::path& path, DeviceConfiguration& config,
                  Prompter& prompter);

}  // namespace tarn

#endif  // TARN_FILES_DATA_FILE_H_
