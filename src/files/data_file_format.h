#ifndef TARN_FILES_DATA_FILE_FORMAT_H_
#define TARN_FILES_DATA_FILE_FORMAT_H_

#include <cstdint>
#include <string_view>

#include "model/step.h"

namespace tarn {

// Facts of the configuration data file that its writer and reader share, and that the device
// definitions file reuses for its pin records.

inline constexpr std::string_view kDataFileHeaderPrefix = "TarnConfiguration";
inline constexpr std::string_view kDataFileHeader = "TarnConfiguration 3100";
inline constexpr int kDataFileVersion = 3100;
inline constexpr std::size_t kDataFileHeaderLength = 22;

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
inline constexpr int kPinPartIndent = 2;  // "Dev", "Cfg", "PAM", "Asp"
inline constexpr int kStepIndent = 4;

// How many pin configuration bytes a "Cfg" record holds for the mode in byte 0.
constexpr int ConfigBytesInFile(std::uint8_t mode) {
  switch (mode) {
    case 1:
      return 12;
    case 2:
    case 3:
      return 6;
    case 4:
    case 5:
      return 5;
    default:
      return 1;
  }
}

// A servo's byte 2 without the "Servo Initialised" bit, which the Tarn sets itself.
constexpr std::uint8_t ServoFlagsToStore(std::uint8_t byte2) {
  return static_cast<std::uint8_t>(byte2 % 64);
}

// Servo flags stored in the older layout carry the range in the high four bits and lack bit 3;
// the range moves to bits 0..2, with bits 3 and 5 set.
constexpr std::uint8_t ServoFlagsFromFile(std::uint8_t byte2) {
  if (byte2 > 15 && (byte2 & 8u) == 0) return static_cast<std::uint8_t>(byte2 / 16 + 40);
  return byte2;
}

// The "Ins" code: fade x 16 + opcode, as a full number.
constexpr int StepFileCode(const Step& step) { return step.fade * 16 + step.opcode; }

// Only opcodes with bit 4 clear and below 48 can fade, so codes 19..63 with bit 4 set carry the
// fade flag; 16, 17 and 18 are opcodes of their own, and from 64 on nothing fades.
constexpr void ApplyStepFileCode(std::uint8_t code, Step& step) {
  const bool fades = code > 18 && code < 64 && (code & 16u) != 0;
  step.opcode = fades ? static_cast<std::uint8_t>(code - 16) : code;
  step.fade = fades ? 1 : 0;
}

}  // namespace tarn

#endif  // TARN_FILES_DATA_FILE_FORMAT_H_
