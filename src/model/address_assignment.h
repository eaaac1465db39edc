#ifndef TARN_MODEL_ADDRESS_ASSIGNMENT_H_
#define TARN_MODEL_ADDRESS_ASSIGNMENT_H_

#include <array>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "host/link_addressing.h"
#include "model/device_configuration.h"

// How a Tarn's pins get their layout addresses. The Tarn keeps one start address per kind for the
// whole module and, per pin, how many consecutive addresses the pin takes; a pin's addresses follow
// those of the pins before it. Nothing here is stored: every address is worked out from the model
// when it is asked for, so no derived value can go stale.

namespace tarn {

enum class AddressKind : std::uint8_t { kBasicDcc, kExtendedDcc, kSerial };

// 0 or 1, the number added to every pin and address number the user sees or types.
int NumberingBase(const DeviceConfiguration& config);

// How many addresses of `kind` the pin takes.
int AddressCount(const PinRecord& pin, AddressKind kind);

// The running sums of one kind: before[p] is the sum of the counts of pins 0..p-1, which is
// also the pin's first address index of that kind.
struct AddressSums {
  std::array<int, kPinCount> before{};
  int total = 0;
};
AddressSums SumAddresses(const DeviceConfiguration& config, AddressKind kind);
int AddressesBefore(const DeviceConfiguration& config, AddressKind kind, int pin);
int AddressTotal(const DeviceConfiguration& config, AddressKind kind);

// Basic DCC addresses are counted in output numbers, four per accessory address.
std::int64_t FirstBasicDccOutput(const DeviceConfiguration& config);
std::int64_t FirstExtendedDccOutput(const DeviceConfiguration& config);

// The addresses of one pin as the user sees them, or nullopt where the pin has none ("-").
std::optional<std::int64_t> PinBasicDccAddress(const DeviceConfiguration& config, int pin);
std::optional<std::int64_t> PinExtendedDccAddress(const DeviceConfiguration& config, int pin);
std::optional<std::int64_t> PinSerialAddress(const DeviceConfiguration& config,
                                             const LinkAddressing& link, int pin);

// --- Displays ------------------------------------------------------------------------------------

enum class AddressDisplay : std::uint8_t {
  kBasicDccRange,          // LabelGenDCCOutput
  kExtendedDccRange,       // LabelGenXDCCOutput
  kPinBasicDccAddress,     // lblDCCAddress, current pin
  kPinExtendedDccAddress,  // lblXDCCAddress, current pin
  kPinSerialAddress,       // lblSerialAddress, current pin
  kPinBusAddress,          // lblPinAddress, current pin
  kPinGroupHeading,        // LabelGenHWCPin
};
inline constexpr std::array<AddressDisplay, 7> kAddressDisplays = {
    AddressDisplay::kBasicDccRange,      AddressDisplay::kExtendedDccRange,
    AddressDisplay::kPinBasicDccAddress, AddressDisplay::kPinExtendedDccAddress,
    AddressDisplay::kPinSerialAddress,   AddressDisplay::kPinBusAddress,
    AddressDisplay::kPinGroupHeading};

// The label's control name, "LabelGenDCCOutput" and so on.
std::string_view AddressDisplayName(AddressDisplay display);

struct AddressText {
  std::string text;
  bool overflow = false;  // the range runs past the last address: shown in red

  friend bool operator==(const AddressText&, const AddressText&) = default;
};

// What a display shows for the model, its current pin and the link.
AddressText ShowAddressDisplay(AddressDisplay display, const DeviceConfiguration& config,
                               const LinkAddressing& link);

// --- Fields --------------------------------------------------------------------------------------

enum class AddressField : std::uint8_t {
  kModuleAddress,          // TextAddress, link; shown + N
  kLinkExtendedAddress,    // txtXaddr, link; shown + N
  kModuleExtendedAddress,  // TextGenXaddr; shown + N
  kBasicDccStart,          // TextGenDCCAddress
  kExtendedDccStart,       // TextGenXDCCAddress
  kVeskBase,               // TextGenVeskaddr; base in units of 4, shown 4 x base + N
  kPinDccCount,            // TextPaspDCCn, current pin
  kPinVeskCount,           // TextPaspVeskn, current pin
  kPinXdccCount,           // TextPAspXDCCn, current pin
};
inline constexpr std::array<AddressField, 9> kAddressFields = {
    AddressField::kModuleAddress,         AddressField::kLinkExtendedAddress,
    AddressField::kModuleExtendedAddress, AddressField::kBasicDccStart,
    AddressField::kExtendedDccStart,      AddressField::kVeskBase,
    AddressField::kPinDccCount,           AddressField::kPinVeskCount,
    AddressField::kPinXdccCount};

// The field's control name, "TextAddress" and so on.
std::string_view AddressFieldName(AddressField field);

// --- What to refresh -----------------------------------------------------------------------------

// A set of displays to show again and of fields to re-show from their stored values.
class AddressRefresh {
 public:
  constexpr AddressRefresh() = default;
  constexpr AddressRefresh(std::initializer_list<AddressDisplay> displays) {
    for (AddressDisplay d : displays) displays_ |= DisplayBit(d);
  }
  static constexpr AddressRefresh Everything() {
    AddressRefresh all;
    for (AddressDisplay d : kAddressDisplays) all.displays_ |= DisplayBit(d);
    for (AddressField f : kAddressFields) all.fields_ |= FieldBit(f);
    return all;
  }

  constexpr AddressRefresh& Add(AddressDisplay d) {
    displays_ |= DisplayBit(d);
    return *this;
  }
  constexpr AddressRefresh& Add(AddressField f) {
    fields_ |= FieldBit(f);
    return *this;
  }
  constexpr bool Has(AddressDisplay d) const { return (displays_ & DisplayBit(d)) != 0; }
  constexpr bool Has(AddressField f) const { return (fields_ & FieldBit(f)) != 0; }
  constexpr bool empty() const { return displays_ == 0 && fields_ == 0; }

  friend constexpr AddressRefresh operator|(AddressRefresh a, AddressRefresh b) {
    a.displays_ |= b.displays_;
    a.fields_ |= b.fields_;
    return a;
  }
  friend bool operator==(const AddressRefresh&, const AddressRefresh&) = default;

 private:
  static constexpr std::uint16_t DisplayBit(AddressDisplay d) {
    return static_cast<std::uint16_t>(1u << static_cast<unsigned>(d));
  }
  static constexpr std::uint16_t FieldBit(AddressField f) {
    return static_cast<std::uint16_t>(1u << static_cast<unsigned>(f));
  }

  std::uint16_t displays_ = 0;
  std::uint16_t fields_ = 0;
};

}  // namespace tarn

#endif  // TARN_MODEL_ADDRESS_ASSIGNMENT_H_
