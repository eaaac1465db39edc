#include "model/general_settings_view.h"

#include <algorithm>
#include <array>

namespace tarn {
namespace {

constexpr std::uint8_t kDefaultPacketRetention = 2;
constexpr int kPinsPerDriverGroup = 8;

constexpr std::array<ChoiceEntry, 4> kPacketRetentionEntries = {{
    {0, kPacketRetentionTexts[0], "62.5 milliseconds"},
    {1, kPacketRetentionTexts[1], "125 milliseconds"},
    {2, kPacketRetentionTexts[2], "250 milliseconds"},
    {3, kPacketRetentionTexts[3], "500 milliseconds"},
}};
constexpr std::array<ChoiceEntry, 8> kBitRateEntries = {{
    {0, kSerialBitRateTexts[0], {}},
    {1, kSerialBitRateTexts[1], {}},
    {2, kSerialBitRateTexts[2], {}},
    {3, kSerialBitRateTexts[3], {}},
    {4, kSerialBitRateTexts[4], {}},
    {5, kSerialBitRateTexts[5], {}},
    {6, kSerialBitRateTexts[6], {}},
    {7, kSerialBitRateTexts[7], {}},
}};
constexpr std::array<ChoiceEntry, 2> kDataBitsEntries = {{
    {0, "7", "7 data bits"},
    {1, "8", "8 data bits"},
}};
constexpr std::array<ChoiceEntry, 2> kStopBitsEntries = {{
    {0, "1", "1 stop bit"},
    {1, "2", "2 stop bits"},
}};
constexpr std::array<ChoiceEntry, 3> kParityEntries = {{
    {kParityNone, "No", "No parity"},
    {kParityEven, "Even", "Even parity"},
    {kParityOdd, "Odd", "Odd parity"},
}};

bool HasEntry(GeneralChoice choice, int index) {
  const std::span<const ChoiceEntry> entries = GeneralChoiceEntries(choice);
  return std::ranges::any_of(entries, [index](const ChoiceEntry& e) { return e.index == index; });
}

}  // namespace

std::string_view GeneralChoiceName(GeneralChoice choice) {
  switch (choice) {
    case GeneralChoice::kPacketRetention:
      return "OptGenDCC_PRP";
    case GeneralChoice::kSerialBitRate:
      return "ComboGenBaud";
    case GeneralChoice::kSerialDataBits:
      return "OptionGenSerialDatabits";
    case GeneralChoice::kSerialStopBits:
      return "OptionGenSerialStop";
    case GeneralChoice::kSerialParity:
      return "OptionGenSerialParity";
  }
  return {};
}

std::span<const ChoiceEntry> GeneralChoiceEntries(GeneralChoice choice) {
  switch (choice) {
    case GeneralChoice::kPacketRetention:
      return kPacketRetentionEntries;
    case GeneralChoice::kSerialBitRate:
      return kBitRateEntries;
    case GeneralChoice::kSerialDataBits:
      return kDataBitsEntries;
    case GeneralChoice::kSerialStopBits:
      return kStopBitsEntries;
    case GeneralChoice::kSerialParity:
      return kParityEntries;
  }
  return {};
}

int SelectedChoice(GeneralChoice choice, const GeneralSettings& settings) {
  // Each entry is what the settings byte of a write carries, so the window shows what a write
  // would send.
  switch (choice) {
    case GeneralChoice::kPacketRetention:
      return HasEntry(choice, settings.packet_retention) ? settings.packet_retention
                                                         : kDefaultPacketRetention;
    case GeneralChoice::kSerialBitRate:
      return settings.serial_bit_rate & 7;
    case GeneralChoice::kSerialDataBits:
      return settings.serial_data_bits == 8 ? 1 : 0;
    case GeneralChoice::kSerialStopBits:
      return settings.serial_stop_bits == 2 ? 1 : 0;
    case GeneralChoice::kSerialParity:
      return HasEntry(choice, settings.serial_parity) ? settings.serial_parity : kParityNone;
  }
  return 0;
}

void Choose(GeneralChoice choice, int index, GeneralSettings& settings) {
  if (!HasEntry(choice, index)) return;
  const auto value = static_cast<std::uint8_t>(index);
  switch (choice) {
    case GeneralChoice::kPacketRetention:
      settings.packet_retention = value;
      break;
    case GeneralChoice::kSerialBitRate:
      settings.serial_bit_rate = value;
      break;
    case GeneralChoice::kSerialDataBits:
      settings.serial_data_bits = index == 1 ? 8 : 7;
      break;
    case GeneralChoice::kSerialStopBits:
      settings.serial_stop_bits = index == 1 ? 2 : 1;
      break;
    case GeneralChoice::kSerialParity:
      settings.serial_parity = value;
      break;
  }
}

std::string DriverGroupPins(int group, int numbering_base) {
  const int first = group * kPinsPerDriverGroup + numbering_base;
  return std::to_string(first) + ".." + std::to_string(first + kPinsPerDriverGroup - 1);
}

std::string DriverBoxName(int group, bool source, int numbering_base) {
  return "Group " + std::to_string(group + 1) + (source ? " Source" : " Sink") + ", pins " +
         DriverGroupPins(group, numbering_base);
}

std::string ExtendedGroupBoxName(int group) { return "Extended group " + std::to_string(group); }

}  // namespace tarn
