#include "model/address_assignment.h"

#include <string>

#include "model/general_settings.h"

namespace tarn {
namespace {

// Output numbers beyond these run past the Tarn's last address.
constexpr std::int64_t kBasicDccOutputLimit = 2044;
constexpr std::int64_t kExtendedDccLimit = 2046;
// Serial addresses per module address: 128 in Tarn native mode, 32 otherwise.
constexpr int kNativeSerialSpan = 128;
constexpr int kPlainSerialSpan = 32;

constexpr std::string_view kNoAddressInUse = "No addr in use";
constexpr std::string_view kNoAddress = "-";

std::string Number(std::int64_t value) { return std::to_string(value); }

std::string OrDash(std::optional<std::int64_t> value) {
  return value ? Number(*value) : std::string(kNoAddress);
}

// "Output first .. last", or the overflow word in red when the range runs past the last address.
AddressText RangeText(int total, std::int64_t first, bool overflows, std::string_view overflow) {
  if (total == 0) return {std::string(kNoAddressInUse), false};
  std::string text = "Output " + Number(first) + " .. ";
  if (overflows) return {text + std::string(overflow), true};
  return {text + Number(first + total - 1), false};
}

AddressText BasicDccRange(const DeviceConfiguration& config) {
  const int total = AddressTotal(config, AddressKind::kBasicDcc);
  const std::int64_t start = config.general_settings.dcc_address;
  return RangeText(total, FirstBasicDccOutput(config), start * 4 + total > kBasicDccOutputLimit,
                   "OVFLOW");
}

AddressText ExtendedDccRange(const DeviceConfiguration& config) {
  const int total = AddressTotal(config, AddressKind::kExtendedDcc);
  const std::int64_t start = config.general_settings.extended_dcc_address;
  return RangeText(total, FirstExtendedDccOutput(config), start + total > kExtendedDccLimit,
                   "OVERFLOW");
}

// The pin's first address index of `kind`, or nullopt when it takes no address of that kind.
std::optional<int> FirstAddressIndex(const DeviceConfiguration& config, AddressKind kind, int pin) {
  if (!IsPinNumber(pin) || AddressCount(config.pins[pin], kind) == 0) return std::nullopt;
  return AddressesBefore(config, kind, pin);
}

// "module.index", or "module.extended.index" while the link uses extended addressing.
std::string PinBusAddress(const DeviceConfiguration& config, const LinkAddressing& link, int pin) {
  const std::optional<int> first = FirstAddressIndex(config, AddressKind::kSerial, pin);
  if (!first || *first >= kNativeSerialSpan) return std::string(kNoAddress);
  const int index = *first;
  const int n = NumberingBase(config);
  std::string text = Number(link.module_address + n) + ".";
  if (link.extended_addressing) text += Number(link.extended_address + n) + ".";
  return text + Number(index + n);
}

}  // namespace

int NumberingBase(const DeviceConfiguration& config) { return config.numbering_base != 0 ? 1 : 0; }

int AddressCount(const PinRecord& pin, AddressKind kind) {
  switch (kind) {
    case AddressKind::kBasicDcc:
      return pin.dcc_address_count;
    case AddressKind::kExtendedDcc:
      return pin.xdcc_address_count;
    case AddressKind::kSerial:
      return pin.vesk_address_count;
  }
  return 0;
}

AddressSums SumAddresses(const DeviceConfiguration& config, AddressKind kind) {
  AddressSums sums;
  for (int pin = 0; pin < kPinCount; ++pin) {
    sums.before[pin] = sums.total;
    sums.total += AddressCount(config.pins[pin], kind);
  }
  return sums;
}

int AddressesBefore(const DeviceConfiguration& config, AddressKind kind, int pin) {
  int sum = 0;
  for (int p = 0; p < pin && p < kPinCount; ++p) sum += AddressCount(config.pins[p], kind);
  return sum;
}

int AddressTotal(const DeviceConfiguration& config, AddressKind kind) {
  return SumAddresses(config, kind).total;
}

std::int64_t FirstBasicDccOutput(const DeviceConfiguration& config) {
  const GeneralSettings& g = config.general_settings;
  const std::int64_t start = g.dcc_address;
  return g.allow_address_0 ? start * 4 + NumberingBase(config) : (start - 1) * 4 + 1;
}

std::int64_t FirstExtendedDccOutput(const DeviceConfiguration& config) {
  const GeneralSettings& g = config.general_settings;
  return std::int64_t{g.extended_dcc_address} + (g.allow_address_0 ? NumberingBase(config) : 0);
}

std::optional<std::int64_t> PinBasicDccAddress(const DeviceConfiguration& config, int pin) {
  const std::optional<int> index = FirstAddressIndex(config, AddressKind::kBasicDcc, pin);
  if (!index) return std::nullopt;
  return FirstBasicDccOutput(config) + *index;
}

std::optional<std::int64_t> PinExtendedDccAddress(const DeviceConfiguration& config, int pin) {
  const std::optional<int> index = FirstAddressIndex(config, AddressKind::kExtendedDcc, pin);
  if (!index) return std::nullopt;
  return FirstExtendedDccOutput(config) + *index;
}

std::optional<std::int64_t> PinSerialAddress(const DeviceConfiguration& config,
                                             const LinkAddressing& link, int pin) {
  const std::optional<int> first = FirstAddressIndex(config, AddressKind::kSerial, pin);
  if (!first) return std::nullopt;
  const int index = *first;
  const std::int64_t shown_index = index + NumberingBase(config);
  const GeneralSettings& g = config.general_settings;
  switch (g.serial_addressing) {
    case SerialAddressing::kVeskFlexible:
      return 4 * std::int64_t{g.serial_base_address} + shown_index;
    case SerialAddressing::kTarnNative:
      if (index >= kNativeSerialSpan) return std::nullopt;
      return std::int64_t{link.module_address} * kNativeSerialSpan + shown_index;
    case SerialAddressing::kNone:
      break;
  }
  if (index >= kPlainSerialSpan) return std::nullopt;
  return std::int64_t{link.module_address} * kPlainSerialSpan + shown_index;
}

std::string_view AddressDisplayName(AddressDisplay display) {
  switch (display) {
    case AddressDisplay::kBasicDccRange:
      return "LabelGenDCCOutput";
    case AddressDisplay::kExtendedDccRange:
      return "LabelGenXDCCOutput";
    case AddressDisplay::kPinBasicDccAddress:
      return "lblDCCAddress";
    case AddressDisplay::kPinExtendedDccAddress:
      return "lblXDCCAddress";
    case AddressDisplay::kPinSerialAddress:
      return "lblSerialAddress";
    case AddressDisplay::kPinBusAddress:
      return "lblPinAddress";
    case AddressDisplay::kPinGroupHeading:
      return "LabelGenHWCPin";
  }
  return {};
}

AddressText ShowAddressDisplay(AddressDisplay display, const DeviceConfiguration& config,
                               const LinkAddressing& link) {
  const int pin = config.current_pin;
  switch (display) {
    case AddressDisplay::kBasicDccRange:
      return BasicDccRange(config);
    case AddressDisplay::kExtendedDccRange:
      return ExtendedDccRange(config);
    case AddressDisplay::kPinBasicDccAddress:
      return {OrDash(PinBasicDccAddress(config, pin))};
    case AddressDisplay::kPinExtendedDccAddress:
      return {OrDash(PinExtendedDccAddress(config, pin))};
    case AddressDisplay::kPinSerialAddress:
      return {OrDash(PinSerialAddress(config, link, pin))};
    case AddressDisplay::kPinBusAddress:
      return {PinBusAddress(config, link, pin)};
    case AddressDisplay::kPinGroupHeading:
      return {std::string(PinGroupHeading(NumberingBase(config)))};
  }
  return {};
}

std::string_view AddressFieldName(AddressField field) {
  switch (field) {
    case AddressField::kModuleAddress:
      return "TextAddress";
    case AddressField::kLinkExtendedAddress:
      return "txtXaddr";
    case AddressField::kModuleExtendedAddress:
      return "TextGenXaddr";
    case AddressField::kBasicDccStart:
      return "TextGenDCCAddress";
    case AddressField::kExtendedDccStart:
      return "TextGenXDCCAddress";
    case AddressField::kVeskBase:
      return "TextGenVeskaddr";
    case AddressField::kPinDccCount:
      return "TextPaspDCCn";
    case AddressField::kPinVeskCount:
      return "TextPaspVeskn";
    case AddressField::kPinXdccCount:
      return "TextPAspXDCCn";
  }
  return {};
}

}  // namespace tarn
