#include <array>
#include <limits>
#include <string>

#include "files/data_file.h"
#include "files/data_file_format.h"
#include "files/item_reader.h"
#include "files/pin_sub_records.h"
#include "model/devices.h"
#include "model/led_mask.h"
#include "model/servo_flags.h"

namespace tarn {
namespace {

// A Tarn reports event actions in a nibble, aspects 0..14, and a model read from one saves them
// as they came; the file must take back what it was given.
constexpr int kMaxEventActionItem = 15;  // aspect 14, + 1; 0 = no action

// The version is the leading digits of the header's last four characters; 0 when there are none.
int VersionOfHeader(std::string_view header) {
  int version = 0;
  for (char c : header.substr(header.size() - 4)) {
    if (c < '0' || c > '9') break;
    version = version * 10 + (c - '0');
  }
  return version;
}

// Native mode is on when byte / 64, rounded to the nearest whole number with halves to even,
// is odd: for the bytes the writer produces, on for 64 and off for 0.
bool NativeModeFromByte(std::uint8_t byte) {
  int quotient = byte / 64;
  const int remainder = byte % 64;
  if (remainder > 32 || (remainder == 32 && quotient % 2 == 1)) ++quotient;
  return quotient % 2 == 1;
}

class DataFileReader {
 public:
  DataFileReader(std::string_view contents, DeviceConfiguration& config, Prompter& prompter)
      : items_(contents), config_(config), prompter_(prompter) {}

  bool Read() {
    if (!ReadHeader()) return Refuse();
    if (version_ < kDataFileVersion) {
      prompter_.Show(std::string(kDataFileVersionText) + std::to_string(version_),
                     PromptIcon::kInformation);
    }
    using Record = bool (DataFileReader::*)();
    struct RecordEntry {
      std::string_view tag;
      Record read;
    };
    static constexpr std::array<RecordEntry, 15> kRecords = {{
        {kTagIdString, &DataFileReader::ReadIdString},
        {kTagDcc, &DataFileReader::ReadDcc},
        {kTagAddressing, &DataFileReader::ReadAddressing},
        {kTagHardware, &DataFileReader::ReadHardware},
        {kTagLeds, &DataFileReader::ReadLeds},
        {kTagSerialPort, &DataFileReader::ReadSerialPort},
        {kTagEventOn, &DataFileReader::ReadEventOn},
        {kTagEventOnAlias, &DataFileReader::ReadEventOn},
        {kTagEventOff, &DataFileReader::ReadEventOff},
        {kTagPin, &DataFileReader::ReadPin},
        {kTagDevice, &DataFileReader::ReadDevice},
        {kTagConfig, &DataFileReader::ReadConfig},
        {kTagAddressCounts, &DataFileReader::ReadAddressCounts},
        {kTagAspect, &DataFileReader::ReadAspect},
        {kTagStep, &DataFileReader::ReadStep},
    }};
    for (;;) {
      const std::optional<Item> item = items_.Next();
      if (!item) return Refuse();  // the file ended before its "End"
      if (item->text == kTagEnd) return true;
      for (const RecordEntry& record : kRecords) {
        if (item->text != record.tag) continue;
        if (!(this->*record.read)()) return Refuse();
        break;
      }
    }
  }

 private:
  bool Refuse() {
    prompter_.Show(kInvalidConfigurationFileText, PromptIcon::kWarning);
    return false;
  }

  bool ReadHeader() {
    const std::optional<Item> header = items_.Next();
    if (!header || header->text.size() != kDataFileHeaderLength ||
        !header->text.starts_with(kDataFileHeaderPrefix)) {
      return false;
    }
    version_ = VersionOfHeader(header->text);
    return true;
  }

  // Reads the next item as a whole number that fits `field` (and min..max when given).
  template <typename T>
  bool Number(T& field, long long min = std::numeric_limits<T>::min(),
              long long max = std::numeric_limits<T>::max()) {
    return NextField(items_, field, min, max);
  }

  bool Text(std::string& field) { return NextText(items_, field); }

  GeneralSettings& settings() { return config_.general_settings; }
  PinRecord& record_pin() { return config_.pins[record_pin_]; }

  bool ReadIdString() { return Text(settings().id_string); }

  bool ReadDcc() {
    if (!Number(settings().dcc_address)) return false;
    if (version_ >= kVersionWithExtendedAddresses && !Number(settings().extended_dcc_address)) {
      return false;
    }
    if (version_ >= kVersionWithDccOptions) {
      std::uint8_t options = 0;
      if (!Number(options)) return false;
      ApplyDccOptionsByte(options, settings());
    }
    return true;
  }

  bool ReadAddressing() {
    std::uint8_t byte = 0;
    int flex_flag = 0;
    if (!Number(byte) || !Number(flex_flag)) return false;
    if (flex_flag == 1) {
      settings().serial_addressing = SerialAddressing::kVeskFlexible;
      settings().serial_base_address = byte;
    } else {
      const bool native = version_ >= kDataFileVersion && NativeModeFromByte(byte);
      settings().serial_addressing =
          native ? SerialAddressing::kTarnNative : SerialAddressing::kNone;
      settings().serial_base_address = 0;
    }
    std::array<std::uint8_t, 4> masks{};
    if (!Number(settings().module_extended_address)) return false;
    for (std::uint8_t& mask : masks) {
      if (!Number(mask)) return false;
    }
    ApplyExtendedGroupMaskValues(masks, settings());
    return true;
  }

  bool ReadHardware() {
    for (int group = 0; group < kDriverGroupCount; ++group) {
      std::uint8_t value = 0;
      if (!Number(value)) return false;
      settings().sink_driver[group] = (value & 1u) != 0;
      settings().source_driver[group] = (value & 2u) != 0;
    }
    return true;
  }

  bool ReadLeds() {
    if (!Number(settings().green_led_mask) || !Number(settings().orange_led_mask)) return false;
    settings().green_led_mask &= kLedMaskBits;
    settings().orange_led_mask &= kLedMaskBits;
    return true;
  }

  bool ReadSerialPort() {
    int enable = 0;
    std::string bit_rate;
    int data_bits = 0;
    int parity = 0;
    int stop_bits = 0;
    if (!Number(enable) || !Text(bit_rate) || !Number(data_bits) || !Number(parity) ||
        !Number(stop_bits)) {
      return false;
    }
    settings().serial_port_enable = enable == 1;
    if (const std::optional<std::uint8_t> index = SerialBitRateIndex(bit_rate)) {
      settings().serial_bit_rate = *index;
    }
    settings().serial_data_bits = data_bits == 8 ? 8 : 7;
    settings().serial_parity =
        parity == kParityOdd ? kParityOdd : (parity == kParityEven ? kParityEven : kParityNone);
    settings().serial_stop_bits = stop_bits == 2 ? 2 : 1;
    return true;
  }

  bool ReadEventOn() { return ReadEventActions(true); }
  bool ReadEventOff() { return ReadEventActions(false); }

  bool ReadEventActions(bool on) {
    int pin = 0;
    if (!Number(pin, 0, kPinCount - 1)) return false;
    PinEventActions& actions = config_.event_actions[pin];
    for (std::int16_t& action : on ? actions.on : actions.off) {
      if (!Number(action, 0, kMaxEventActionItem)) return false;
      --action;
    }
    return true;
  }

  bool ReadPin() {
    if (!Number(record_pin_, 0, kPinCount - 1)) return false;
    return ReadPinRecordItems(items_, record_pin());
  }

  bool ReadDevice() {
    std::int16_t pointer = 0;
    if (!Number(pointer) || !IsValidDevicePointer(record_pin_, pointer)) return false;
    record_pin().device_pointer = pointer;
    return Text(record_pin().device_name);
  }

  bool ReadConfig() {
    PinRecord& record = record_pin();
    PinConfig& config = record.pin_config;
    if (!Number(config[0])) return false;
    switch (config[0]) {
      case 1:
        if (!ReadConfigBytes(items_, config, 1, 11)) return false;
        config[2] = ConvertOlderServoFlags(config[2]);
        break;
      case 2:
      case 3:
        if (!ReadConfigBytes(items_, config, 1, 3)) return false;
        if (version_ >= kVersionWithPwmLevels) {
          if (!ReadConfigBytes(items_, config, 4, 5)) return false;
        } else {
          config[4] = 0;   // off-level
          config[5] = 31;  // on-level
        }
        for (int i = 6; i <= 11; ++i) config[i] = 0;
        break;
      case 4:
      case 5:
        if (!ReadConfigBytes(items_, config, 1, 4)) return false;
        break;
      default:
        // A mode the Tarn does not know leaves the pin not configured.
        for (int i = 0; i <= 11; ++i) config[i] = 0;
        break;
    }
    record.live_value = config[1];
    return true;
  }

  bool ReadAddressCounts() {
    PinRecord& record = record_pin();
    if (version_ >= kVersionWithExtendedAddresses) return ReadAddressCountsRecord(items_, record);
    // Older files have no extended DCC count.
    return Number(record.dcc_address_count) && Number(record.vesk_address_count);
  }

  bool ReadAspect() { return ReadAspectRecord(items_, record_pin(), record_aspect_); }

  bool ReadStep() { return ReadStepRecord(items_, record_pin(), record_aspect_); }

  ItemReader items_;
  DeviceConfiguration& config_;
  Prompter& prompter_;
  int version_ = 0;
  // The pin and aspect that "Dev", "Cfg", "PAM", "Asp" and "Ins" records belong to.
  int record_pin_ = 0;
  int record_aspect_ = 0;
};

}  // namespace

bool ReadDataFile(std::string_view contents, DeviceConfiguration& config, Prompter& prompter) {
  DeviceConfiguration loaded = config;
  if (!DataFileReader(contents, loaded, prompter).Read()) return false;
  config = std::move(loaded);
  return true;
}

}  // namespace tarn
