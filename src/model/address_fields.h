#ifndef TARN_MODEL_ADDRESS_FIELDS_H_
#define TARN_MODEL_ADDRESS_FIELDS_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "model/address_assignment.h"
#include "model/device_configuration.h"

// The address fields of the main window: what each accepts, what it stores where, what it shows
// afterwards and which displays must then be shown again. Per-pin counts act on the current pin.

namespace tarn {

inline constexpr std::string_view kExtendedAddressingWarning =
    "eXtended Addressing is intended for\r\nexperienced users only!";
inline constexpr std::string_view kVeskFlexibleAddressingWarning =
    "Vesk Flexible Addressing is a complex concept !!\r\n"
    "It should only be activated by experienced users\r\n"
    "that understand the details very well !";

// The caption of LabelAddress: "Channel Number" while the link uses extended addressing.
std::string_view ModuleAddressCaption(bool extended_addressing);

struct AddressConfirmation {
  std::string text;        // what the field shows afterwards
  AddressRefresh refresh;  // what the window shows again afterwards
  // The module address was taken over: the caller hands it to the link, which also resets its
  // sequence state (Link::TakeOverModuleAddress).
  bool take_over_module_address = false;
  // The link's extended address changed: the caller hands it to the link
  // (Link::TakeOverExtendedAddress).
  bool take_over_extended_address = false;
  // The stored value is another than before: a confirm of the number already held (a click into
  // the field, a step at the end of its range) changes nothing.
  bool changed = false;
};

// The range a field accepts, in the numbers it shows (numbering base included).
struct FieldRange {
  int min;
  int max;
};
FieldRange AddressFieldRange(AddressField field, const DeviceConfiguration& config);

// The field's text for its stored value.
std::string AddressFieldText(AddressField field, const DeviceConfiguration& config,
                             const LinkAddressing& link);

// Leaving or clicking a field: limits the typed number to the field's range and stores it. The
// number is the text's leading number, rounded to a whole one; text without one counts as 0.
AddressConfirmation ConfirmAddressField(AddressField field, std::string_view typed,
                                        DeviceConfiguration& config, LinkAddressing& link);

enum class StepDirection : std::int8_t { kDown = -1, kUp = 1 };

// A click on the field's up/down control: steps the shown value within the control's bounds and
// confirms the result as if typed.
AddressConfirmation StepAddressField(AddressField field, StepDirection direction,
                                     DeviceConfiguration& config, LinkAddressing& link);

// "Allow Address 0": re-confirms both DCC start fields under the new minimum.
AddressRefresh SwitchAllowAddress0(bool on, DeviceConfiguration& config);

// "Start numbering at 1". Every shown number moves; the caller also re-shows the pin number
// fields and the aspect editor, which are not address fields.
AddressRefresh SwitchNumberingBase(bool start_at_1, DeviceConfiguration& config);

// "Use eXtended Addr", after the user has accepted the warning.
AddressRefresh SwitchLinkExtendedAddressing(bool on, LinkAddressing& link);

// "Enable Vesk Flex-Addresss" and "Enable Native Tarn Mode"; the two exclude each other.
AddressRefresh SwitchVeskFlexibleAddressing(bool on, DeviceConfiguration& config);
AddressRefresh SwitchTarnNativeMode(bool on, DeviceConfiguration& config);

}  // namespace tarn

#endif  // TARN_MODEL_ADDRESS_FIELDS_H_
