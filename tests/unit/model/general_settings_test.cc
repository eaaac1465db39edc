#include "model/general_settings.h"

#include <gtest/gtest.h>

namespace tarn {
namespace {

TEST(AddressingModeTest, NativeAndVeskNeverBothSet) {
  GeneralSettings s;
  SetVeskFlexibleAddressing(true, s);
  SetTarnNativeMode(true, s);
  EXPECT_TRUE(IsTarnNativeMode(s));
  EXPECT_FALSE(IsVeskFlexibleAddressing(s));
  SetVeskFlexibleAddressing(false, s);  // not the current mode: native stays
  EXPECT_TRUE(IsTarnNativeMode(s));
  SetVeskFlexibleAddressing(true, s);
  EXPECT_TRUE(IsVeskFlexibleAddressing(s));
  EXPECT_FALSE(IsTarnNativeMode(s));
  SetVeskFlexibleAddressing(false, s);
  EXPECT_FALSE(IsVeskFlexibleAddressing(s));
  EXPECT_FALSE(IsTarnNativeMode(s));
}

TEST(DccOptionsTest, EncodesAndDecodesEveryByte) {
  GeneralSettings s;
  EXPECT_EQ(DccOptionsByte(s), 2);  // start: 250ms, no flags
  s.packet_retention = 1;
  s.basic_packet_state_invert = true;
  EXPECT_EQ(DccOptionsByte(s), 5);
  s.allow_address_0 = true;
  EXPECT_EQ(DccOptionsByte(s), 13);
  EXPECT_EQ(MinimumDccAddress(s), 0);
  for (int byte = 0; byte < 16; ++byte) {
    GeneralSettings decoded;
    ApplyDccOptionsByte(static_cast<std::uint8_t>(byte), decoded);
    EXPECT_EQ(DccOptionsByte(decoded), byte);
  }
}

struct SerialAddressCase {
  std::uint8_t flex;
  std::uint8_t value;
  SerialAddressing mode;
  std::uint8_t base;
  std::uint8_t byte_back;  // what the model then sends
};

class SerialAddressingTest : public ::testing::TestWithParam<SerialAddressCase> {};

TEST_P(SerialAddressingTest, DeviceValuesRoundTrip) {
  const SerialAddressCase& c = GetParam();
  GeneralSettings s;
  s.serial_base_address = 99;
  ApplySerialAddressing(c.flex, c.value, s);
  EXPECT_EQ(s.serial_addressing, c.mode);
  EXPECT_EQ(s.serial_base_address, c.base);
  EXPECT_EQ(SerialAddressByte(s), c.byte_back);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SerialAddressingTest,
    ::testing::Values(SerialAddressCase{0, 64, SerialAddressing::kTarnNative, 0, 64},
                      SerialAddressCase{0, 0, SerialAddressing::kNone, 0, 0},
                      SerialAddressCase{0, 96, SerialAddressing::kTarnNative, 0, 64},
                      SerialAddressCase{0, 63, SerialAddressing::kNone, 0, 0},
                      SerialAddressCase{1, 64, SerialAddressing::kVeskFlexible, 64, 64},
                      SerialAddressCase{1, 5, SerialAddressing::kVeskFlexible, 5, 5},
                      SerialAddressCase{3, 127, SerialAddressing::kVeskFlexible, 127, 127}));

TEST(SerialAddressByteTest, StaleBaseIsNotSentWithoutFlexibleAddressing) {
  GeneralSettings s;
  s.serial_base_address = 70;  // bit 6 set: would read back as native mode
  EXPECT_EQ(SerialAddressByte(s), 0);
}

TEST(ExtendedGroupMaskTest, GroupMapsToBitOfItsNibble) {
  GeneralSettings s;
  s.extended_group_mask[0] = true;
  s.extended_group_mask[5] = true;
  s.extended_group_mask[11] = true;
  s.extended_group_mask[15] = true;
  const std::array<std::uint8_t, 4> values = ExtendedGroupMaskValues(s);
  EXPECT_EQ(values, (std::array<std::uint8_t, 4>{1, 2, 8, 8}));
  GeneralSettings decoded;
  ApplyExtendedGroupMaskValues({1, 2, 8 | 0x70, 8}, decoded);  // bits above 3 mean nothing
  EXPECT_EQ(decoded.extended_group_mask, s.extended_group_mask);
}

TEST(HardwareConfigurationTest, SourceIsBitOneSinkBitZero) {
  GeneralSettings s;
  s.sink_driver = {true, false, true, false};
  s.source_driver = {false, true, true, false};
  EXPECT_EQ(HardwareConfigurationValues(s), (std::array<std::uint8_t, 4>{1, 2, 3, 0}));
  GeneralSettings decoded;
  for (int g = 0; g < kDriverGroupCount; ++g) {
    EXPECT_TRUE(ApplyHardwareConfigurationValue(g, HardwareConfigurationValues(s)[g], decoded));
  }
  EXPECT_EQ(decoded, s);
}

TEST(HardwareConfigurationTest, ValueAboveThreeLeavesGroupAlone) {
  GeneralSettings s;
  s.sink_driver[2] = true;
  EXPECT_FALSE(ApplyHardwareConfigurationValue(2, 4, s));
  EXPECT_TRUE(s.sink_driver[2]);
  EXPECT_FALSE(s.source_driver[2]);
  EXPECT_FALSE(ApplyHardwareConfigurationValue(4, 1, s));
}

TEST(SerialPortSettingsTest, ByteSelectsRateBitsParityAndStop) {
  GeneralSettings s;
  EXPECT_EQ(SerialPortSettingsByte(s), 0);  // 9600, 7 bits, no parity, 1 stop
  ApplySerialPortSettingsByte(0x4D, s);
  EXPECT_EQ(kSerialBitRateTexts[s.serial_bit_rate], "57600");
  EXPECT_EQ(s.serial_data_bits, 8);
  EXPECT_EQ(s.serial_parity, kParityNone);
  EXPECT_EQ(s.serial_stop_bits, 2);
  EXPECT_EQ(SerialPortSettingsByte(s), 0x4D);
  ApplySerialPortSettingsByte(0x37, s);
  EXPECT_EQ(s.serial_parity, kParityOdd);
  EXPECT_EQ(s.serial_data_bits, 7);
  EXPECT_EQ(s.serial_stop_bits, 1);
  EXPECT_EQ(SerialPortSettingsByte(s), 0x37);
  ApplySerialPortSettingsByte(0x20, s);
  EXPECT_EQ(s.serial_parity, kParityEven);
  ApplySerialPortSettingsByte(0x10, s);  // code 1 has no option
  EXPECT_EQ(s.serial_parity, kParityNone);
  EXPECT_EQ(SerialPortSettingsByte(s), 0);
}

TEST(SerialPortSettingsTest, BitRateTextsMapToIndex) {
  EXPECT_EQ(SerialBitRateIndex("9600"), 0);
  EXPECT_EQ(SerialBitRateIndex("115200"), 7);
  EXPECT_EQ(SerialBitRateIndex("4800"), std::nullopt);
}

TEST(PinGroupHeadingTest, FollowsNumberingBase) {
  EXPECT_EQ(PinGroupHeading(1), "Pin       1..8         9..16      17..24       25..32");
  EXPECT_EQ(PinGroupHeading(0), "Pin       0..7         8..15      16..23       24..31");
}

}  // namespace
}  // namespace tarn
