#ifndef TARN_FILES_DATA_FILE_FORMAT_H_
#define TARN_FILES_DATA_FILE_FORMAT_H_

#include <cstddef>
#include <string_view>

namespace tarn {

// Facts of the configuration data file that its writer and reader share, and that the device
// definitions file reuses for its pin records.

inline constexpr std::string_view kDataFileHeaderPrefix = "TarnConfiguration";
inline constexpr std::string_view kDataFileHeader = "TarnConfiguration 3100";
inline constexpr int kDataFileVersion = 3100;
inline constexpr std::size_t kDataFileHeaderLength = kDataFileHeader.size();

// Versions that changed what a record holds. A file of an older version reads by the older rule.
inline constexpr int kVersionWithExtendedAddresses = 32;  // "DCC" and "PAM" gain an item
inline constexpr int kVersionWithDccOptions = 23;         // "DCC" gains the options byte
inline constexpr int kVersionWithPwmLevels = 20;          // PWM "Cfg" gains off- and on-level

inline constexpr std::string_view kTagIdString = "ID$";
inline constexpr std::string_view kTagDcc = "DCC";
inline constexpr std::string_view kTagAddressing = "XAD";
inline constexpr std::string_view kTagHardware = "HWC";
inline constexpr std::string_view kTagLeds = "LED";
inline constexpr std::string_view kTagSerialPort = "SPC";
inline constexpr std::string_view kTagEventOn = "Eon";
inline constexpr std::string_view kTagEventOnAlias = "Evt";  // read as "Eon", never written
inline constexpr std::string_view kTagEventOff = "Eof";
inline constexpr std::string_view kTagPin = "Pin";
inline constexpr std::string_view kTagDevice = "Dev";
inline constexpr std::string_view kTagConfig = "Cfg";
inline constexpr std::string_view kTagAddressCounts = "PAM";
inline constexpr std::string_view kTagAspect = "Asp";
inline constexpr std::string_view kTagStep = "Ins";
inline constexpr std::string_view kTagEnd = "End";

inline constexpr int kPinRecordIndent = 0;
inline constexpr int kPinPartIndent = 2;  // "Dev", "Cfg", "PAM", "Asp"; "Ins" two further in

}  // namespace tarn

#endif  // TARN_FILES_DATA_FILE_FORMAT_H_
