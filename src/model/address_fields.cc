#include "model/address_fields.h"

#include <algorithm>

#include "model/general_settings.h"
#include "model/typed_number.h"

namespace tarn {
namespace {

constexpr int kMaxAddressCount = 6;
constexpr int kMaxXdccAddressCount = 1;
constexpr int kVeskBaseStep = 4;  // the base counts serial addresses in fours

enum class Shown : std::uint8_t {
  kAsStored,       // the stored value itself
  kPlusBase,       // stored + N
  kFoursPlusBase,  // 4 x stored + N
};

struct FieldRule {
  AddressField field;
  Shown shown;
  int max;  // stored units
  AddressRefresh refresh;
};

using D = AddressDisplay;
constexpr AddressRefresh kSerialAndBus{D::kPinSerialAddress, D::kPinBusAddress};
constexpr AddressRefresh kBasicDccStartShown{D::kBasicDccRange, D::kPinBasicDccAddress};
constexpr AddressRefresh kExtendedDccStartShown{D::kExtendedDccRange, D::kPinExtendedDccAddress};
// A count changes the current pin's address; the range is shown again with its tab.
constexpr AddressRefresh kPinBasicDcc{D::kPinBasicDccAddress};
constexpr AddressRefresh kPinExtendedDcc{D::kPinExtendedDccAddress};

constexpr FieldRule kRules[] = {
    {AddressField::kModuleAddress, Shown::kPlusBase, LinkAddressing::kMaxModuleAddress,
     kSerialAndBus},
    {AddressField::kLinkExtendedAddress, Shown::kPlusBase, LinkAddressing::kMaxExtendedAddress,
     kSerialAndBus},
    {AddressField::kModuleExtendedAddress, Shown::kPlusBase, kMaxModuleExtendedAddress, {}},
    {AddressField::kBasicDccStart, Shown::kAsStored, kMaxDccAddress, kBasicDccStartShown},
    {AddressField::kExtendedDccStart, Shown::kAsStored, kMaxExtendedDccAddress,
     kExtendedDccStartShown},
    {AddressField::kVeskBase, Shown::kFoursPlusBase, kMaxSerialBaseAddress, kSerialAndBus},
    {AddressField::kPinDccCount, Shown::kAsStored, kMaxAddressCount, kPinBasicDcc},
    {AddressField::kPinVeskCount, Shown::kAsStored, kMaxAddressCount, kSerialAndBus},
    {AddressField::kPinXdccCount, Shown::kAsStored, kMaxXdccAddressCount, kPinExtendedDcc},
};

const FieldRule& RuleOf(AddressField field) {
  return *std::find_if(std::begin(kRules), std::end(kRules),
                       [field](const FieldRule& rule) { return rule.field == field; });
}

bool IsDccStart(AddressField field) {
  return field == AddressField::kBasicDccStart || field == AddressField::kExtendedDccStart;
}

int ShownOf(const FieldRule& rule, int stored, int n) {
  switch (rule.shown) {
    case Shown::kAsStored:
      return stored;
    case Shown::kPlusBase:
      return stored + n;
    case Shown::kFoursPlusBase:
      return kVeskBaseStep * stored + n;
  }
  return stored;
}

// The inverse of ShownOf for a value inside the field's range; the Vesk base rounds down to a
// whole base.
int StoredOf(const FieldRule& rule, int shown, int n) {
  switch (rule.shown) {
    case Shown::kAsStored:
      return shown;
    case Shown::kPlusBase:
      return shown - n;
    case Shown::kFoursPlusBase:
      return (shown - n) / kVeskBaseStep;
  }
  return shown;
}

int StoredValue(AddressField field, const DeviceConfiguration& config, const LinkAddressing& link) {
  const GeneralSettings& g = config.general_settings;
  const PinRecord& pin = CurrentPinRecord(config);
  switch (field) {
    case AddressField::kModuleAddress:
      return link.module_address;
    case AddressField::kLinkExtendedAddress:
      return link.extended_address;
    case AddressField::kModuleExtendedAddress:
      return g.module_extended_address;
    case AddressField::kBasicDccStart:
      return g.dcc_address;
    case AddressField::kExtendedDccStart:
      return g.extended_dcc_address;
    case AddressField::kVeskBase:
      return g.serial_base_address;
    case AddressField::kPinDccCount:
      return pin.dcc_address_count;
    case AddressField::kPinVeskCount:
      return pin.vesk_address_count;
    case AddressField::kPinXdccCount:
      return pin.xdcc_address_count;
  }
  return 0;
}

// `value` is already inside the field's stored range.
void Store(AddressField field, int value, DeviceConfiguration& config, LinkAddressing& link) {
  GeneralSettings& g = config.general_settings;
  const auto byte = static_cast<std::uint8_t>(value);
  switch (field) {
    case AddressField::kModuleAddress:
      link.module_address = value;
      break;
    case AddressField::kLinkExtendedAddress:
      link.extended_address = value;
      break;
    case AddressField::kModuleExtendedAddress:
      g.module_extended_address = byte;
      break;
    case AddressField::kBasicDccStart:
      g.dcc_address = value;
      break;
    case AddressField::kExtendedDccStart:
      g.extended_dcc_address = value;
      break;
    case AddressField::kVeskBase:
      g.serial_base_address = byte;
      break;
    case AddressField::kPinDccCount:
      CurrentPinRecord(config).dcc_address_count = byte;
      break;
    case AddressField::kPinVeskCount:
      CurrentPinRecord(config).vesk_address_count = byte;
      break;
    case AddressField::kPinXdccCount:
      CurrentPinRecord(config).xdcc_address_count = byte;
      break;
  }
}

}  // namespace

std::string_view ModuleAddressCaption(bool extended_addressing) {
  return extended_addressing ? "Channel Number" : "Module Address";
}

FieldRange AddressFieldRange(AddressField field, const DeviceConfiguration& config) {
  const FieldRule& rule = RuleOf(field);
  const int n = NumberingBase(config);
  if (IsDccStart(field)) return {MinimumDccAddress(config.general_settings), rule.max};
  return {ShownOf(rule, 0, n), ShownOf(rule, rule.max, n)};
}

std::string AddressFieldText(AddressField field, const DeviceConfiguration& config,
                             const LinkAddressing& link) {
  const int stored = StoredValue(field, config, link);
  return std::to_string(ShownOf(RuleOf(field), stored, NumberingBase(config)));
}

AddressConfirmation ConfirmAddressField(AddressField field, std::string_view typed,
                                        DeviceConfiguration& config, LinkAddressing& link) {
  const FieldRule& rule = RuleOf(field);
  const int n = NumberingBase(config);
  const FieldRange range = AddressFieldRange(field, config);
  const int stored = StoredOf(rule, std::clamp(TypedNumber(typed), range.min, range.max), n);
  const int before = StoredValue(field, config, link);
  Store(field, stored, config, link);

  AddressConfirmation result;
  result.text = std::to_string(ShownOf(rule, stored, n));
  result.refresh = rule.refresh;
  result.take_over_module_address = field == AddressField::kModuleAddress;
  result.take_over_extended_address = field == AddressField::kLinkExtendedAddress;
  result.changed = stored != before;
  return result;
}

AddressConfirmation StepAddressField(AddressField field, StepDirection direction,
                                     DeviceConfiguration& config, LinkAddressing& link) {
  // The Vesk base control steps the base, which moves the shown serial address by four. A value
  // stored outside the field's range (a file takes it over unchecked) steps from the nearer end.
  // The DCC start controls step from 0 and leave raising 0 to the confirm, so a start of 0 held
  // without "Allow Address 0" steps up to 1, not 2.
  const FieldRule& rule = RuleOf(field);
  const int step =
      static_cast<int>(direction) * (rule.shown == Shown::kFoursPlusBase ? kVeskBaseStep : 1);
  FieldRange range = AddressFieldRange(field, config);
  if (IsDccStart(field)) range.min = 0;
  const int shown = ShownOf(rule, StoredValue(field, config, link), NumberingBase(config));
  const int stepped =
      std::clamp(std::clamp(shown, range.min, range.max) + step, range.min, range.max);
  return ConfirmAddressField(field, std::to_string(stepped), config, link);
}

AddressRefresh SwitchAllowAddress0(bool on, DeviceConfiguration& config) {
  config.general_settings.allow_address_0 = on;
  LinkAddressing unused_link;  // the DCC start fields do not touch the link
  AddressRefresh refresh;
  for (AddressField field : {AddressField::kBasicDccStart, AddressField::kExtendedDccStart}) {
    const std::string text = AddressFieldText(field, config, unused_link);
    refresh = refresh | ConfirmAddressField(field, text, config, unused_link).refresh;
    refresh.Add(field);
  }
  return refresh;
}

AddressRefresh SwitchNumberingBase(bool start_at_1, DeviceConfiguration& config) {
  config.numbering_base = start_at_1 ? 1 : 0;
  AddressRefresh refresh;
  for (AddressDisplay display : kAddressDisplays) refresh.Add(display);
  for (const FieldRule& rule : kRules) {
    if (rule.shown != Shown::kAsStored) refresh.Add(rule.field);
  }
  return refresh;
}

AddressRefresh SwitchLinkExtendedAddressing(bool on, LinkAddressing& link) {
  link.extended_addressing = on;
  return kSerialAndBus;
}

AddressRefresh SwitchVeskFlexibleAddressing(bool on, DeviceConfiguration& config) {
  SetVeskFlexibleAddressing(on, config.general_settings);
  return kSerialAndBus;
}

AddressRefresh SwitchTarnNativeMode(bool on, DeviceConfiguration& config) {
  SetTarnNativeMode(on, config.general_settings);
  return kSerialAndBus;
}

}  // namespace tarn
