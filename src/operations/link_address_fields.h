#ifndef TARN_OPERATIONS_LINK_ADDRESS_FIELDS_H_
#define TARN_OPERATIONS_LINK_ADDRESS_FIELDS_H_

#include <string_view>

#include "link/link.h"
#include "model/address_fields.h"

// The address fields of the window against the link's own addressing, which is the one copy:
// the module and extended address a field stores go straight to the Link, which resynchronises
// when it takes over a module address.

namespace tarn {

std::string AddressFieldText(AddressField field, const DeviceConfiguration& config,
                             const Link& link);

AddressConfirmation ConfirmAddressField(AddressField field, std::string_view typed,
                                        DeviceConfiguration& config, Link& link);
AddressConfirmation StepAddressField(AddressField field, StepDirection direction,
                                     DeviceConfiguration& config, Link& link);

// "Use eXtended Addr", after the user has accepted the warning.
AddressRefresh SwitchLinkExtendedAddressing(bool on, Link& link);

AddressText ShowAddressDisplay(AddressDisplay display, const DeviceConfiguration& config,
                               const Link& link);

}  // namespace tarn

#endif  // TARN_OPERATIONS_LINK_ADDRESS_FIELDS_H_
