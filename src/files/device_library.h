#ifndef TARN_FILES_DEVICE_LIBRARY_H_
#define TARN_FILES_DEVICE_LIBRARY_H_

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/prompter.h"
#include "model/device_configuration.h"

namespace tarn {

// The device list (cboDevice) and the operations on definitions files that the main window
// offers: the standard library at start, "Reload DD", "Save Device" and "Load Device". The file
// dialogs are the caller's; they are handed in as answers or as callbacks, where an empty answer
// means the user cancelled.

inline constexpr std::string_view kStandardLibraryFileName = "TarnDevices.def";
// Where an installed program keeps its data, relative to the program's folder.
inline constexpr std::string_view kInstalledDataFolder = "../share/tarnconfig";

inline constexpr std::string_view kVersionNoneText = "None";
inline constexpr std::string_view kVersionUnknownText = "Unknown";
inline constexpr std::string_view kVersionJoinText = " + ";
inline constexpr std::size_t kMaxVersionLabelLength = 50;

inline constexpr std::string_view kNoStandardLibraryText =
    "Can not find Device Configuration file at standard location";
inline constexpr std::string_view kNoDeviceConfigurationText = "No Device Configuration available";
inline constexpr std::string_view kNoLibrarySelectedText = "No Device Configuration file selected";
inline constexpr std::string_view kInvalidDefinitionFileText = "Invalid definition file";
inline constexpr std::string_view kReferralIsNotADeviceText = "Referral is not a device";
inline constexpr std::string_view kSelectDevicenameText = "Select Devicename to load";
inline constexpr std::string_view kNoMatchFoundText = "No match found";
inline constexpr std::string_view kAlreadyUsedText =
    "The following Pin numbers were already used: ";

struct DeviceListEntry {
  std::string name;
  std::filesystem::path file;  // the library it was listed from; Load Device reads it again

  friend bool operator==(const DeviceListEntry&, const DeviceListEntry&) = default;
};

struct DeviceList {
  std::vector<DeviceListEntry> entries;         // DeviceFileList, in the order read
  std::string version_label{kVersionNoneText};  // lblDDVersion
};

// Where the standard library is: beside the program, else in the installed data folder. When
// neither holds it, the place beside the program, so that the failure names the usual place.
std::filesystem::path StandardLibraryPath(const std::filesystem::path& program_folder);

// The file dialog: given the name to offer, the chosen path, or nullopt when cancelled.
using ChooseFile = std::function<std::optional<std::filesystem::path>(std::string_view name)>;

// Start-up: lists the standard library's devices. When it cannot be opened, warns and offers
// `choose` with "TarnDevices.def"; when that fails too, warns that no device configuration is
// available and returns false. The label shows the version text, or "Unknown" when it has none.
bool LoadStandardLibrary(const std::filesystem::path& program_folder, const ChooseFile& choose,
                         DeviceList& list, Prompter& prompter);

enum class ReloadMode { kReplace, kAppend };  // "Reload DD", and with Shift

// The modifier keys held on the press of "Reload DD": Shift alone appends; no key, or any other
// key with or without Shift, replaces.
ReloadMode ReloadModeFor(bool shift, bool control, bool alt);

// "Reload DD": lists the devices of `chosen` in place of the list, or after it. The label shows
// the new version text, or when appending the old label, " + " and the new version text; a label
// longer than 50 characters keeps its last 48 after "..". A cancelled dialog or a file that
// cannot be opened, and a file that is no valid definitions file, leave the list as it was.
bool ReloadDeviceLibrary(const std::optional<std::filesystem::path>& chosen, ReloadMode mode,
                         DeviceList& list, Prompter& prompter);

// ".." and the last 48 characters of a label longer than 50; a shorter one as it is.
std::string ShortenedVersionLabel(std::string label);

// "Save Device": writes the device of the current pin to the file `choose` gives (offered with an
// empty name), replacing the file whole or not at all. A broken referral is refused before the
// dialog. A servo's byte 2 loses "Servo Initialised" in the model once the file is written.
bool SaveDevice(DeviceConfiguration& config, const ChooseFile& choose, Prompter& prompter);

// "Load Device": loads the selected entry from the file it was listed from onto the current pin.
// An entry without a name is no selection. A file that has vanished, or no longer holds the name,
// finds no match; a section that does not read to its end is refused whole. Pins that had a
// description are reported, and overwritten all the same. Address maps and views are the
// caller's to refresh.
bool LoadDevice(DeviceConfiguration& config, const DeviceListEntry& selected, Prompter& prompter);

// The warning text for pins that were in use: the lead text, a line feed, a carriage return and
// the pin numbers, each after a space, separated by commas.
std::string AlreadyUsedText(const std::vector<int>& pins);

}  // namespace tarn

#endif  // TARN_FILES_DEVICE_LIBRARY_H_
