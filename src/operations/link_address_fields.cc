#include "operations/link_address_fields.h"

#include <cstdint>

namespace tarn {
namespace {

// The model's field rules work on a LinkAddressing; the result goes back to the link at once.
AddressConfirmation TakeOver(const AddressConfirmation& result, const LinkAddressing& addressing,
                             Link& link) {
  if (result.take_over_module_address) {
    link.TakeOverModuleAddress(static_cast<std::uint8_t>(addressing.module_address));
  }
  if (result.take_over_extended_address) {
    link.TakeOverExtendedAddress(static_cast<std::uint8_t>(addressing.extended_address));
  }
  return result;
}

}  // namespace

std::string AddressFieldText(AddressField field, const DeviceConfiguration& config,
                             const Link& link) {
  return AddressFieldText(field, config, link.addressing());
}

AddressConfirmation ConfirmAddressField(AddressField field, std::string_view typed,
                                        DeviceConfiguration& config, Link& link) {
  LinkAddressing addressing = link.addressing();
  return TakeOver(ConfirmAddressField(field, typed, config, addressing), addressing, link);
}

AddressConfirmation StepAddressField(AddressField field, StepDirection direction,
                                     DeviceConfiguration& config, Link& link) {
  LinkAddressing addressing = link.addressing();
  return TakeOver(StepAddressField(field, direction, config, addressing), addressing, link);
}

AddressRefresh SwitchLinkExtendedAddressing(bool on, Link& link) {
  LinkAddressing addressing = link.addressing();
  const AddressRefresh refresh = SwitchLinkExtendedAddressing(on, addressing);
  link.SetExtendedAddressing(addressing.extended_addressing);
  return refresh;
}

AddressText ShowAddressDisplay(AddressDisplay display, const DeviceConfiguration& config,
                               const Link& link) {
  return ShowAddressDisplay(display, config, link.addressing());
}

}  // namespace tarn
