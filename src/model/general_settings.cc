#include "model/general_settings.h"

namespace tarn {
namespace {

constexpr std::uint8_t kNativeModeByte = 64;

constexpr std::uint8_t Bit(bool on, int position) {
  return static_cast<std::uint8_t>(on ? 1u << position : 0u);
}

constexpr bool HasBit(std::uint8_t value, int position) { return (value >> position) & 1u; }

}  // namespace

bool IsVeskFlexibleAddressing(const GeneralSettings& settings) {
  return settings.serial_addressing == SerialAddressing::kVeskFlexible;
}

bool IsTarnNativeMode(const GeneralSettings& settings) {
  return settings.serial_addressing == SerialAddressing::kTarnNative;
}

void SetVeskFlexibleAddressing(bool on, GeneralSettings& settings) {
  if (on) {
    settings.serial_addressing = SerialAddressing::kVeskFlexible;
  } else if (IsVeskFlexibleAddressing(settings)) {
    settings.serial_addressing = SerialAddressing::kNone;
  }
}

void SetTarnNativeMode(bool on, GeneralSettings& settings) {
  if (on) {
    settings.serial_addressing = SerialAddressing::kTarnNative;
  } else if (IsTarnNativeMode(settings)) {
    settings.serial_addressing = SerialAddressing::kNone;
  }
}

int MinimumDccAddress(const GeneralSettings& settings) { return settings.allow_address_0 ? 0 : 1; }

std::string_view PinGroupHeading(int numbering_base) {
  return numbering_base == 0 ? "Pin       0..7         8..15      16..23       24..31"
                             : "Pin       1..8         9..16      17..24       25..32";
}

std::optional<std::uint8_t> SerialBitRateIndex(std::string_view text) {
  for (std::size_t i = 0; i < kSerialBitRateTexts.size(); ++i) {
    if (kSerialBitRateTexts[i] == text) return static_cast<std::uint8_t>(i);
  }
  return std::nullopt;
}

std::uint8_t DccOptionsByte(const GeneralSettings& settings) {
  return static_cast<std::uint8_t>((settings.packet_retention & 3u) |
                                   Bit(settings.basic_packet_state_invert, 2) |
                                   Bit(settings.allow_address_0, 3));
}

void ApplyDccOptionsByte(std::uint8_t options, GeneralSettings& settings) {
  settings.packet_retention = options & 3u;
  settings.basic_packet_state_invert = HasBit(options, 2);
  settings.allow_address_0 = HasBit(options, 3);
}

std::uint8_t SerialAddressByte(const GeneralSettings& settings) {
  switch (settings.serial_addressing) {
    case SerialAddressing::kVeskFlexible:
      return settings.serial_base_address;
    case SerialAddressing::kTarnNative:
      return kNativeModeByte;
    case SerialAddressing::kNone:
      break;
  }
  // A stale base address must not go out here: the Tarn reads bit 6 of it as native mode.
  return 0;
}

void ApplySerialAddressing(std::uint8_t flex_flag, std::uint8_t value, GeneralSettings& settings) {
  if (flex_flag != 0) {
    settings.serial_addressing = SerialAddressing::kVeskFlexible;
    settings.serial_base_address = value;
  } else {
    settings.serial_addressing =
        HasBit(value, 6) ? SerialAddressing::kTarnNative : SerialAddressing::kNone;
    settings.serial_base_address = 0;
  }
}

std::array<std::uint8_t, 4> ExtendedGroupMaskValues(const GeneralSettings& settings) {
  std::array<std::uint8_t, 4> values{};
  for (int group = 0; group < kExtendedGroupCount; ++group) {
    values[group / 4] |= Bit(settings.extended_group_mask[group], group % 4);
  }
  return values;
}

void ApplyExtendedGroupMaskValues(const std::array<std::uint8_t, 4>& values,
                                  GeneralSettings& settings) {
  for (int group = 0; group < kExtendedGroupCount; ++group) {
    settings.extended_group_mask[group] = HasBit(values[group / 4], group % 4);
  }
}

std::array<std::uint8_t, kDriverGroupCount> HardwareConfigurationValues(
    const GeneralSettings& settings) {
  std::array<std::uint8_t, kDriverGroupCount> values{};
  for (int g = 0; g < kDriverGroupCount; ++g) {
    values[g] = Bit(settings.sink_driver[g], 0) | Bit(settings.source_driver[g], 1);
  }
  return values;
}

bool ApplyHardwareConfigurationValue(int group, std::uint8_t value, GeneralSettings& settings) {
  if (group < 0 || group >= kDriverGroupCount || value > 3) return false;
  settings.sink_driver[group] = HasBit(value, 0);
  settings.source_driver[group] = HasBit(value, 1);
  return true;
}

std::uint8_t SerialPortSettingsByte(const GeneralSettings& settings) {
  const std::uint8_t parity =
      settings.serial_parity == kParityEven || settings.serial_parity == kParityOdd
          ? settings.serial_parity
          : kParityNone;
  return static_cast<std::uint8_t>((settings.serial_bit_rate & 7u) |
                                   Bit(settings.serial_data_bits == 8, 3) | (parity << 4) |
                                   Bit(settings.serial_stop_bits == 2, 6));
}

void ApplySerialPortSettingsByte(std::uint8_t byte, GeneralSettings& settings) {
  settings.serial_bit_rate = byte & 7u;
  settings.serial_data_bits = HasBit(byte, 3) ? 8 : 7;
  const std::uint8_t parity = (byte >> 4) & 3u;
  settings.serial_parity = parity == 1 ? kParityNone : parity;
  settings.serial_stop_bits = HasBit(byte, 6) ? 2 : 1;
}

}  // namespace tarn
