#include "model/address_assignment.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "model/address_fields.h"

namespace tarn {
namespace {

using D = AddressDisplay;
using F = AddressField;
using S = SerialAddressing;

std::uint8_t PinRecord::*CountOf(AddressKind kind) {
  if (kind == AddressKind::kBasicDcc) return &PinRecord::dcc_address_count;
  if (kind == AddressKind::kExtendedDcc) return &PinRecord::xdcc_address_count;
  return &PinRecord::vesk_address_count;
}

// Counts for pins 0.. in order; every other pin takes no address of that kind.
void SetCounts(DeviceConfiguration& config, AddressKind kind, const std::vector<int>& counts) {
  for (int p = 0; p < kPinCount; ++p) {
    config.pins[p].*CountOf(kind) =
        static_cast<std::uint8_t>(p < static_cast<int>(counts.size()) ? counts[p] : 0);
  }
}

// Makes the current pin's first index of `kind` equal `before`, with up to 6 per earlier pin.
void SetBefore(DeviceConfiguration& config, AddressKind kind, int before, int own_count) {
  std::vector<int> counts;
  for (int left = before; left > 0; left -= 6) counts.push_back(std::min(left, 6));
  counts.push_back(own_count);
  SetCounts(config, kind, counts);
  config.current_pin = static_cast<std::uint8_t>(counts.size() - 1);
}

std::string Show(D display, const DeviceConfiguration& config, const LinkAddressing& link = {}) {
  return ShowAddressDisplay(display, config, link).text;
}

TEST(AddressSumsTest, RunningSumsPerKind) {
  DeviceConfiguration config;
  const AddressSums start = SumAddresses(config, AddressKind::kSerial);
  EXPECT_EQ(start.before[31], 31);
  EXPECT_EQ(start.total, 32);

  SetCounts(config, AddressKind::kBasicDcc, {2, 0, 3});
  const AddressSums sums = SumAddresses(config, AddressKind::kBasicDcc);
  EXPECT_EQ(sums.before[0], 0);
  EXPECT_EQ(sums.before[1], 2);
  EXPECT_EQ(sums.before[2], 2);
  EXPECT_EQ(sums.before[3], 5);
  EXPECT_EQ(sums.total, 5);
  EXPECT_EQ(AddressTotal(config, AddressKind::kBasicDcc), 5);
  for (int p = 0; p < kPinCount; ++p) {
    EXPECT_EQ(AddressesBefore(config, AddressKind::kBasicDcc, p), sums.before[p]);
  }
  EXPECT_EQ(AddressTotal(config, AddressKind::kExtendedDcc), 32);  // other kinds untouched
}

TEST(AddressDisplayTest, PinDccAddressesFollowEarlierPins) {
  DeviceConfiguration config;
  SetCounts(config, AddressKind::kBasicDcc, {2, 0, 3});
  SetCounts(config, AddressKind::kExtendedDcc, {1, 0, 1});
  config.general_settings.extended_dcc_address = 100;
  config.current_pin = 2;
  EXPECT_EQ(Show(D::kPinBasicDccAddress, config), "3");
  EXPECT_EQ(Show(D::kPinExtendedDccAddress, config), "101");
  config.current_pin = 1;
  EXPECT_EQ(Show(D::kPinBasicDccAddress, config), "-");
  EXPECT_EQ(Show(D::kPinExtendedDccAddress, config), "-");
  config.general_settings.allow_address_0 = true;  // F_X moves by N
  config.current_pin = 2;
  EXPECT_EQ(Show(D::kPinExtendedDccAddress, config), "102");
}

struct RangeCase {
  int start;
  bool allow0;
  int n;
  int total;
  std::string text;
  bool red;
};

// The range display of one kind for `c.total` pins of one address each from start `c.start`.
AddressText ShowRange(const RangeCase& c, AddressKind kind, int GeneralSettings::*start,
                      D display) {
  DeviceConfiguration config;
  config.general_settings.*start = c.start;
  config.general_settings.allow_address_0 = c.allow0;
  config.numbering_base = static_cast<std::uint8_t>(c.n);
  SetCounts(config, kind, std::vector<int>(c.total, 1));
  return ShowAddressDisplay(display, config, {});
}

class BasicDccRangeTest : public ::testing::TestWithParam<RangeCase> {};

TEST_P(BasicDccRangeTest, TextAndOverflow) {
  const RangeCase& c = GetParam();
  const AddressText shown =
      ShowRange(c, AddressKind::kBasicDcc, &GeneralSettings::dcc_address, D::kBasicDccRange);
  EXPECT_EQ(shown.text, c.text);
  EXPECT_EQ(shown.overflow, c.red);
}

INSTANTIATE_TEST_SUITE_P(
    Edges, BasicDccRangeTest,
    ::testing::Values(RangeCase{1, false, 1, 5, "Output 1 .. 5", false},
                      RangeCase{1, false, 0, 5, "Output 1 .. 5", false},
                      RangeCase{1, true, 1, 5, "Output 5 .. 9", false},
                      RangeCase{1, true, 0, 5, "Output 4 .. 8", false},
                      RangeCase{0, true, 0, 1, "Output 0 .. 0", false},
                      RangeCase{510, false, 1, 4, "Output 2037 .. 2040", false},
                      RangeCase{510, false, 1, 5, "Output 2037 .. OVFLOW", true},
                      RangeCase{510, true, 1, 4, "Output 2041 .. 2044", false},
                      RangeCase{510, true, 0, 5, "Output 2040 .. OVFLOW", true},
                      RangeCase{7, false, 1, 0, "No addr in use", false}));

class ExtendedDccRangeTest : public ::testing::TestWithParam<RangeCase> {};

TEST_P(ExtendedDccRangeTest, TextAndOverflow) {
  const RangeCase& c = GetParam();
  const AddressText shown = ShowRange(c, AddressKind::kExtendedDcc,
                                      &GeneralSettings::extended_dcc_address, D::kExtendedDccRange);
  EXPECT_EQ(shown.text, c.text);
  EXPECT_EQ(shown.overflow, c.red);
}

INSTANTIATE_TEST_SUITE_P(
    Edges, ExtendedDccRangeTest,
    ::testing::Values(RangeCase{2040, false, 1, 6, "Output 2040 .. 2045", false},
                      RangeCase{2040, false, 1, 7, "Output 2040 .. OVERFLOW", true},
                      RangeCase{2040, true, 1, 6, "Output 2041 .. 2046", false},
                      RangeCase{0, true, 1, 2, "Output 1 .. 2", false},
                      RangeCase{0, true, 0, 2, "Output 0 .. 1", false},
                      RangeCase{5, false, 0, 0, "No addr in use", false}));

struct SerialCase {
  S mode;
  int module;
  bool extended;
  int before;
  int own_count;
  int n;
  std::string serial;
  std::string bus;
};

class PinSerialAddressTest : public ::testing::TestWithParam<SerialCase> {};

TEST_P(PinSerialAddressTest, SerialAndBusAddress) {
  const SerialCase& c = GetParam();
  DeviceConfiguration config;
  config.general_settings.serial_addressing = c.mode;
  config.general_settings.serial_base_address = 10;
  config.numbering_base = static_cast<std::uint8_t>(c.n);
  SetBefore(config, AddressKind::kSerial, c.before, c.own_count);
  const LinkAddressing link{c.module, c.extended, 5};
  EXPECT_EQ(Show(D::kPinSerialAddress, config, link), c.serial);
  EXPECT_EQ(Show(D::kPinBusAddress, config, link), c.bus);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, PinSerialAddressTest,
    ::testing::Values(SerialCase{S::kNone, 2, false, 5, 1, 1, "70", "3.6"},
                      SerialCase{S::kNone, 2, true, 5, 1, 1, "70", "3.6.6"},
                      SerialCase{S::kNone, 0, false, 31, 1, 0, "31", "0.31"},
                      SerialCase{S::kNone, 0, false, 32, 1, 1, "-", "1.33"},
                      SerialCase{S::kTarnNative, 1, false, 40, 1, 1, "169", "2.41"},
                      SerialCase{S::kTarnNative, 0, false, 127, 1, 0, "127", "0.127"},
                      SerialCase{S::kTarnNative, 0, false, 128, 1, 0, "-", "-"},
                      SerialCase{S::kVeskFlexible, 3, false, 40, 1, 0, "80", "3.40"},
                      SerialCase{S::kVeskFlexible, 3, false, 130, 1, 1, "171", "-"},
                      SerialCase{S::kVeskFlexible, 3, true, 2, 0, 1, "-", "-"}));

TEST(AddressDisplayTest, PinGroupHeadingFollowsNumbering) {
  DeviceConfiguration config;
  EXPECT_EQ(Show(D::kPinGroupHeading, config),
            "Pin       1..8         9..16      17..24       25..32");
  config.numbering_base = 0;
  EXPECT_EQ(Show(D::kPinGroupHeading, config),
            "Pin       0..7         8..15      16..23       24..31");
}

TEST(AddressTypedTextTest, TakesTheLeadingNumberOfTheText) {
  struct Case {
    std::string typed;
    std::string text;
  };
  DeviceConfiguration config;
  config.general_settings.allow_address_0 = true;  // 0..510
  LinkAddressing link;
  for (const Case& c :
       {Case{"", "0"}, Case{"abc", "0"}, Case{"-", "0"}, Case{"  12", "12"}, Case{"12abc", "12"},
        Case{"1-2", "1"}, Case{"+3", "3"}, Case{"12.5", "13"}, Case{"12.4", "12"},
        Case{"99999999999999999999", "510"}, Case{"-99999999999999999999", "0"}}) {
    EXPECT_EQ(ConfirmAddressField(F::kBasicDccStart, c.typed, config, link).text, c.text)
        << c.typed;
  }
}

// The stored value a field's confirm lands in, read straight from the model.
int Stored(F field, const DeviceConfiguration& config, const LinkAddressing& link) {
  const GeneralSettings& g = config.general_settings;
  const PinRecord& pin = config.pins[config.current_pin];
  switch (field) {
    case F::kModuleAddress:
      return link.module_address;
    case F::kLinkExtendedAddress:
      return link.extended_address;
    case F::kModuleExtendedAddress:
      return g.module_extended_address;
    case F::kBasicDccStart:
      return g.dcc_address;
    case F::kExtendedDccStart:
      return g.extended_dcc_address;
    case F::kVeskBase:
      return g.serial_base_address;
    case F::kPinDccCount:
      return pin.dcc_address_count;
    case F::kPinVeskCount:
      return pin.vesk_address_count;
    case F::kPinXdccCount:
      break;
  }
  return pin.xdcc_address_count;
}

struct ConfirmCase {
  F field;
  int n;
  bool allow0;
  std::string typed;
  std::string text;
  int stored;
};

class AddressConfirmTest : public ::testing::TestWithParam<ConfirmCase> {};

TEST_P(AddressConfirmTest, ClampsStoresAndWritesBack) {
  const ConfirmCase& c = GetParam();
  DeviceConfiguration config;
  config.numbering_base = static_cast<std::uint8_t>(c.n);
  config.general_settings.allow_address_0 = c.allow0;
  config.current_pin = 4;
  LinkAddressing link;
  const AddressConfirmation result = ConfirmAddressField(c.field, c.typed, config, link);
  EXPECT_EQ(result.text, c.text);
  EXPECT_EQ(Stored(c.field, config, link), c.stored);
  EXPECT_EQ(AddressFieldText(c.field, config, link), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, AddressConfirmTest,
    ::testing::Values(ConfirmCase{F::kModuleAddress, 1, false, "0", "1", 0},
                      ConfirmCase{F::kModuleAddress, 1, false, "17", "16", 15},
                      ConfirmCase{F::kModuleAddress, 1, false, "5", "5", 4},
                      ConfirmCase{F::kModuleAddress, 1, false, "abc", "1", 0},
                      ConfirmCase{F::kModuleAddress, 0, false, "16", "15", 15},
                      ConfirmCase{F::kModuleAddress, 0, false, "-3", "0", 0},
                      ConfirmCase{F::kLinkExtendedAddress, 0, false, "200", "95", 95},
                      ConfirmCase{F::kLinkExtendedAddress, 1, false, "96", "96", 95},
                      ConfirmCase{F::kLinkExtendedAddress, 1, false, "97", "96", 95},
                      ConfirmCase{F::kModuleExtendedAddress, 1, false, "50", "50", 49},
                      ConfirmCase{F::kModuleExtendedAddress, 0, false, "96", "95", 95},
                      ConfirmCase{F::kModuleExtendedAddress, 1, false, "", "1", 0},
                      ConfirmCase{F::kBasicDccStart, 1, false, "0", "1", 1},
                      ConfirmCase{F::kBasicDccStart, 1, true, "0", "0", 0},
                      ConfirmCase{F::kBasicDccStart, 0, false, "511", "510", 510},
                      ConfirmCase{F::kBasicDccStart, 1, true, "-5", "0", 0},
                      ConfirmCase{F::kExtendedDccStart, 1, false, "2047", "2046", 2046},
                      ConfirmCase{F::kExtendedDccStart, 1, false, "0", "1", 1},
                      ConfirmCase{F::kExtendedDccStart, 1, true, "x", "0", 0},
                      ConfirmCase{F::kExtendedDccStart, 0, false, "5x", "5", 5},
                      ConfirmCase{F::kVeskBase, 0, false, "13", "12", 3},
                      ConfirmCase{F::kVeskBase, 1, false, "13", "13", 3},
                      ConfirmCase{F::kVeskBase, 1, false, "12", "9", 2},
                      ConfirmCase{F::kVeskBase, 0, false, "600", "508", 127},
                      ConfirmCase{F::kVeskBase, 1, false, "509", "509", 127},
                      ConfirmCase{F::kVeskBase, 1, false, "0", "1", 0},
                      ConfirmCase{F::kPinDccCount, 1, false, "7", "6", 6},
                      ConfirmCase{F::kPinDccCount, 1, false, "-1", "0", 0},
                      ConfirmCase{F::kPinVeskCount, 0, false, "6", "6", 6},
                      ConfirmCase{F::kPinVeskCount, 0, false, "9", "6", 6},
                      ConfirmCase{F::kPinXdccCount, 1, false, "2", "1", 1},
                      ConfirmCase{F::kPinXdccCount, 1, false, "0", "0", 0}));

struct RefreshCase {
  F field;
  AddressRefresh refresh;
  bool module_take_over;
  bool extended_take_over;
};

class AddressConfirmRefreshTest : public ::testing::TestWithParam<RefreshCase> {};

TEST_P(AddressConfirmRefreshTest, RefreshesExactlyItsDisplays) {
  const RefreshCase& c = GetParam();
  DeviceConfiguration config;
  LinkAddressing link;
  const std::string start = AddressFieldText(c.field, config, link);
  const AddressConfirmation typed = ConfirmAddressField(c.field, "3", config, link);
  EXPECT_EQ(typed.refresh, c.refresh);
  EXPECT_EQ(typed.take_over_module_address, c.module_take_over);
  EXPECT_EQ(typed.take_over_extended_address, c.extended_take_over);
  EXPECT_EQ(typed.changed, typed.text != start);
  const AddressConfirmation stepped = StepAddressField(c.field, StepDirection::kUp, config, link);
  EXPECT_EQ(stepped.refresh, c.refresh);
  EXPECT_EQ(stepped.take_over_module_address, c.module_take_over);
  EXPECT_EQ(stepped.changed, stepped.text != typed.text);
  // The same number again changes nothing, wherever it came from.
  EXPECT_FALSE(ConfirmAddressField(c.field, stepped.text, config, link).changed);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, AddressConfirmRefreshTest,
    ::testing::Values(
        RefreshCase{F::kModuleAddress, {D::kPinSerialAddress, D::kPinBusAddress}, true, false},
        RefreshCase{
            F::kLinkExtendedAddress, {D::kPinSerialAddress, D::kPinBusAddress}, false, true},
        RefreshCase{F::kModuleExtendedAddress, {}, false, false},
        RefreshCase{F::kBasicDccStart, {D::kBasicDccRange, D::kPinBasicDccAddress}, false, false},
        RefreshCase{
            F::kExtendedDccStart, {D::kExtendedDccRange, D::kPinExtendedDccAddress}, false, false},
        RefreshCase{F::kVeskBase, {D::kPinSerialAddress, D::kPinBusAddress}, false, false},
        RefreshCase{F::kPinDccCount, {D::kPinBasicDccAddress}, false, false},
        RefreshCase{F::kPinVeskCount, {D::kPinSerialAddress, D::kPinBusAddress}, false, false},
        RefreshCase{F::kPinXdccCount, {D::kPinExtendedDccAddress}, false, false}));

TEST(AddressCountTest, CountsChangeOnlyTheCurrentPin) {
  DeviceConfiguration config;
  LinkAddressing link;
  config.current_pin = 7;
  ConfirmAddressField(F::kPinDccCount, "4", config, link);
  ConfirmAddressField(F::kPinXdccCount, "0", config, link);
  ConfirmAddressField(F::kPinVeskCount, "2", config, link);
  EXPECT_EQ(AddressTotal(config, AddressKind::kBasicDcc), 35);
  EXPECT_EQ(AddressTotal(config, AddressKind::kExtendedDcc), 31);
  EXPECT_EQ(AddressTotal(config, AddressKind::kSerial), 33);
  EXPECT_EQ(AddressesBefore(config, AddressKind::kBasicDcc, 8), 11);
}

struct StepCase {
  F field;
  int n;
  bool allow0;
  int stored_before;
  StepDirection direction;
  std::string text;
  int stored;
};

class AddressStepTest : public ::testing::TestWithParam<StepCase> {};

TEST_P(AddressStepTest, StepsWithinBoundsAndConfirms) {
  const StepCase& c = GetParam();
  DeviceConfiguration config;
  config.numbering_base = static_cast<std::uint8_t>(c.n);
  config.general_settings.allow_address_0 = c.allow0;
  LinkAddressing link;
  switch (c.field) {
    case F::kModuleAddress:
      link.module_address = c.stored_before;
      break;
    case F::kBasicDccStart:
      config.general_settings.dcc_address = c.stored_before;
      break;
    case F::kVeskBase:
      config.general_settings.serial_base_address = static_cast<std::uint8_t>(c.stored_before);
      break;
    default:
      config.pins[0].xdcc_address_count = static_cast<std::uint8_t>(c.stored_before);
  }
  const AddressConfirmation result = StepAddressField(c.field, c.direction, config, link);
  EXPECT_EQ(result.text, c.text);
  EXPECT_EQ(Stored(c.field, config, link), c.stored);
}

constexpr StepDirection kUp = StepDirection::kUp;
constexpr StepDirection kDown = StepDirection::kDown;

INSTANTIATE_TEST_SUITE_P(
    Fields, AddressStepTest,
    ::testing::Values(StepCase{F::kModuleAddress, 1, false, 3, kUp, "5", 4},
                      StepCase{F::kModuleAddress, 1, false, 15, kUp, "16", 15},
                      StepCase{F::kModuleAddress, 1, false, 0, kDown, "1", 0},
                      StepCase{F::kBasicDccStart, 1, false, 1, kDown, "1", 1},
                      StepCase{F::kBasicDccStart, 1, true, 1, kDown, "0", 0},
                      StepCase{F::kBasicDccStart, 0, false, 510, kUp, "510", 510},
                      StepCase{F::kBasicDccStart, 0, false, 600, kDown, "509", 509},
                      StepCase{F::kBasicDccStart, 1, false, 0, kUp, "1", 1},
                      StepCase{F::kBasicDccStart, 1, false, 0, kDown, "1", 1},
                      StepCase{F::kVeskBase, 1, false, 3, kUp, "17", 4},
                      StepCase{F::kVeskBase, 0, false, 0, kDown, "0", 0},
                      StepCase{F::kVeskBase, 1, false, 126, kUp, "509", 127},
                      StepCase{F::kVeskBase, 0, false, 127, kUp, "508", 127},
                      StepCase{F::kVeskBase, 0, false, 200, kDown, "504", 126},
                      StepCase{F::kPinXdccCount, 1, false, 1, kUp, "1", 1},
                      StepCase{F::kPinXdccCount, 1, false, 0, kDown, "0", 0}));

TEST(AddressSwitchTest, AllowAddress0ReconfirmsBothStarts) {
  DeviceConfiguration config;
  config.general_settings.allow_address_0 = true;
  config.general_settings.dcc_address = 0;
  config.general_settings.extended_dcc_address = 0;
  const AddressRefresh refresh = SwitchAllowAddress0(false, config);
  EXPECT_EQ(config.general_settings.dcc_address, 1);
  EXPECT_EQ(config.general_settings.extended_dcc_address, 1);
  AddressRefresh expected{D::kBasicDccRange, D::kPinBasicDccAddress, D::kExtendedDccRange,
                          D::kPinExtendedDccAddress};
  expected.Add(F::kBasicDccStart).Add(F::kExtendedDccStart);
  EXPECT_EQ(refresh, expected);
}

TEST(AddressSwitchTest, NumberingBaseReshowsEveryShiftedNumber) {
  DeviceConfiguration config;
  LinkAddressing link{2, true, 7};
  config.general_settings.serial_base_address = 3;
  const AddressRefresh refresh = SwitchNumberingBase(false, config);
  EXPECT_EQ(config.numbering_base, 0);
  for (D d : kAddressDisplays) EXPECT_TRUE(refresh.Has(d)) << AddressDisplayName(d);
  for (F f :
       {F::kModuleAddress, F::kLinkExtendedAddress, F::kModuleExtendedAddress, F::kVeskBase}) {
    EXPECT_TRUE(refresh.Has(f)) << AddressFieldName(f);
  }
  EXPECT_FALSE(refresh.Has(F::kBasicDccStart));
  EXPECT_FALSE(refresh.Has(F::kPinDccCount));
  EXPECT_EQ(AddressFieldText(F::kModuleAddress, config, link), "2");
  EXPECT_EQ(AddressFieldText(F::kVeskBase, config, link), "12");
  SwitchNumberingBase(true, config);
  EXPECT_EQ(AddressFieldText(F::kLinkExtendedAddress, config, link), "8");
  EXPECT_EQ(AddressFieldText(F::kVeskBase, config, link), "13");
}

}  // namespace
}  // namespace tarn
