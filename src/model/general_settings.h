#ifndef TARN_MODEL_GENERAL_SETTINGS_H_
#define TARN_MODEL_GENERAL_SETTINGS_H_

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarn {

inline constexpr int kIdStringMaxLength = 12;
inline constexpr int kMaxDccAddress = 510;
inline constexpr int kMaxExtendedDccAddress = 2046;
inline constexpr int kMaxSerialBaseAddress = 127;
inline constexpr int kMaxModuleExtendedAddress = 95;
inline constexpr int kExtendedGroupCount = 16;
inline constexpr int kDriverGroupCount = 4;  // group g drives pins 8g..8g+7

inline constexpr std::array<std::string_view, 4> kPacketRetentionTexts = {"62.5ms", "125ms",
                                                                          "250ms", "500ms"};
inline constexpr std::array<std::string_view, 8> kSerialBitRateTexts = {
    "9600", "14400", "19200", "28800", "38400", "57600", "76800", "115200"};

inline constexpr std::uint8_t kParityNone = 0;
inline constexpr std::uint8_t kParityEven = 2;
inline constexpr std::uint8_t kParityOdd = 3;

// Vesk flexible addressing and Tarn native mode exclude each other, so the model holds one choice
// rather than two flags that could both be set.
enum class SerialAddressing : std::uint8_t { kNone, kVeskFlexible, kTarnNative };

struct GeneralSettings {
  std::string id_string;  // Windows-1252 bytes; cut to 12 only when sent
  // Files take the addresses over unchecked, so they are held wider than their ranges.
  int dcc_address = 1;
  int extended_dcc_address = 1;
  std::uint8_t packet_retention = 2;  // index into kPacketRetentionTexts
  bool basic_packet_state_invert = false;
  bool allow_address_0 = false;
  SerialAddressing serial_addressing = SerialAddressing::kNone;
  std::uint8_t serial_base_address = 0;  // in units of 4 serial addresses
  std::uint8_t module_extended_address = 0;
  std::array<bool, kExtendedGroupCount> extended_group_mask{};
  std::array<bool, kDriverGroupCount> sink_driver{};
  std::array<bool, kDriverGroupCount> source_driver{};
  std::uint8_t green_led_mask = 0;   // bits 0..6; 0 = idle indication
  std::uint8_t orange_led_mask = 0;  // bits 0..6; 0 = idle indication
  bool serial_port_enable = false;
  std::uint8_t serial_bit_rate = 0;  // index into kSerialBitRateTexts
  std::uint8_t serial_data_bits = 7;
  std::uint8_t serial_parity = kParityNone;
  std::uint8_t serial_stop_bits = 1;

  friend bool operator==(const GeneralSettings&, const GeneralSettings&) = default;
};

bool IsVeskFlexibleAddressing(const GeneralSettings& settings);
bool IsTarnNativeMode(const GeneralSettings& settings);
// Switching one mode on switches the other off; switching a mode off that is not the current one
// leaves the current one alone.
void SetVeskFlexibleAddressing(bool on, GeneralSettings& settings);
void SetTarnNativeMode(bool on, GeneralSettings& settings);

// Address 0 is only reachable when the decoder is told to allow it.
int MinimumDccAddress(const GeneralSettings& settings);

// The hardware configuration's pin-group heading, numbered as the user sees pins.
std::string_view PinGroupHeading(int numbering_base);

// The index of a bit-rate text, or nullopt when the Tarn has no such rate.
std::optional<std::uint8_t> SerialBitRateIndex(std::string_view text);

// One-byte encodings shared by the command set and the data file, each with its decoder for
// values that come back from a device.

// Packet retention + 4 x Basic Packet State Invert + 8 x Allow Address 0.
std::uint8_t DccOptionsByte(const GeneralSettings& settings);
void ApplyDccOptionsByte(std::uint8_t options, GeneralSettings& settings);

// The base address under Vesk flexible addressing, 64 in Tarn native mode, otherwise 0.
std::uint8_t SerialAddressByte(const GeneralSettings& settings);
// As the device reports it: a non-zero flex flag means flexible addressing from base `value`;
// otherwise bit 6 of `value` is native mode and the base address is 0.
void ApplySerialAddressing(std::uint8_t flex_flag, std::uint8_t value, GeneralSettings& settings);

// m0..m3: bit j of mk is group 4k + j.
std::array<std::uint8_t, 4> ExtendedGroupMaskValues(const GeneralSettings& settings);
void ApplyExtendedGroupMaskValues(const std::array<std::uint8_t, 4>& values,
                                  GeneralSettings& settings);

// One value per driver group: 2 x Source driver + Sink driver.
std::array<std::uint8_t, kDriverGroupCount> HardwareConfigurationValues(
    const GeneralSettings& settings);
// A value above 3 names no configuration: the group keeps its setting and false comes back.
bool ApplyHardwareConfigurationValue(int group, std::uint8_t value, GeneralSettings& settings);

// Bits 0..2 bit-rate index, bit 3 eight data bits, bits 4..5 parity code, bit 6 two stop bits.
std::uint8_t SerialPortSettingsByte(const GeneralSettings& settings);
// Parity code 1 has no option on the Tarn's side and reads as no parity.
void ApplySerialPortSettingsByte(std::uint8_t byte, GeneralSettings& settings);

}  // namespace tarn

#endif  // TARN_MODEL_GENERAL_SETTINGS_H_
