#include "model/devices.h"

#include <gtest/gtest.h>

namespace tarn {
namespace {

class DevicesTest : public ::testing::Test {
 protected:
  void Point(int pin, int head) {
    config_.pins[pin].device_pointer = static_cast<std::int16_t>(head - pin);
  }

  DeviceConfiguration config_;
};

TEST_F(DevicesTest, MemberReachesItsHead) {
  config_.pins[5].device_pointer = -5;
  EXPECT_EQ(DeviceHead(config_, 5), 0);
  EXPECT_EQ(DeviceHead(config_, 0), 0);
  EXPECT_TRUE(BelongsToDevice(config_, 5, 0));
  EXPECT_TRUE(BelongsToDevice(config_, 0, 0));
  EXPECT_FALSE(BelongsToDevice(config_, 5, 5));
}

TEST_F(DevicesTest, PointerOffThePinsHasNoHead) {
  config_.pins[30].device_pointer = 2;
  config_.pins[1].device_pointer = -2;
  EXPECT_EQ(DeviceHead(config_, 30), std::nullopt);
  EXPECT_EQ(DeviceHead(config_, 1), std::nullopt);
  EXPECT_TRUE(IsBrokenReferral(config_, 30));
  EXPECT_FALSE(AllDevicePointersValid(config_));
  config_.pins[30].device_pointer = 1;
  config_.pins[1].device_pointer = -1;
  EXPECT_TRUE(AllDevicePointersValid(config_));
}

TEST_F(DevicesTest, DissolveOnMemberChangesNothing) {
  Point(5, 4);
  Point(6, 4);
  Point(7, 5);  // a broken referral that names the member as its head
  config_.pins[4].device_name = "Signal";
  config_.pins[5].device_name = "stale";
  const DeviceConfiguration before = config_;
  DissolveDevice(config_, 5);
  EXPECT_EQ(config_, before);
}

TEST_F(DevicesTest, DissolveOnHeadFreesHeadAndMembersOnly) {
  Point(5, 4);
  Point(6, 4);
  Point(9, 8);  // another device
  config_.pins[4].device_name = "Signal";
  config_.pins[6].device_name = "stale";
  config_.pins[8].device_name = "Other";
  DissolveDevice(config_, 4);
  for (int pin : {4, 5, 6}) {
    EXPECT_EQ(config_.pins[pin].device_pointer, 0) << pin;
    EXPECT_EQ(config_.pins[pin].device_name, "") << pin;
  }
  EXPECT_EQ(DeviceHead(config_, 9), 8);
  EXPECT_EQ(config_.pins[8].device_name, "Other");
}

// Pin 3 starts with pointer 7; a refused text leaves it there.
struct TypedPinCase {
  std::uint8_t base;
  std::string typed;
  bool set;
  std::int16_t pointer;
};

class TypedDevicePinTest : public ::testing::TestWithParam<TypedPinCase> {};

TEST_P(TypedDevicePinTest, SetsPointerOnlyForAPin) {
  const TypedPinCase& c = GetParam();
  DeviceConfiguration config;
  config.numbering_base = c.base;
  config.pins[3].device_pointer = 7;
  EXPECT_EQ(SetDevicePointerFromText(config, 3, c.typed), c.set);
  EXPECT_EQ(config.pins[3].device_pointer, c.pointer);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TypedDevicePinTest,
    ::testing::Values(TypedPinCase{1, "32", true, 28}, TypedPinCase{1, "0", false, 7},
                      TypedPinCase{1, "33", false, 7}, TypedPinCase{1, "1", true, -3},
                      TypedPinCase{1, "4", true, 0}, TypedPinCase{0, "0", true, -3},
                      TypedPinCase{0, "32", false, 7}, TypedPinCase{0, "31", true, 28},
                      TypedPinCase{1, " 12 ", true, 8}, TypedPinCase{1, "", false, 7},
                      TypedPinCase{1, "abc", false, 7}, TypedPinCase{1, "5x", false, 7},
                      TypedPinCase{1, "-1", false, 7},
                      TypedPinCase{1, "99999999999999999999", false, 7}));

TEST_F(DevicesTest, FieldShowsHeadInUserNumbering) {
  SetDevicePointerFromText(config_, 3, "0");  // refused: no pin 0 when counting from 1
  EXPECT_EQ(DevicePinText(config_, 3), "4");
  SetDevicePointerFromText(config_, 3, "32");
  EXPECT_EQ(DevicePinText(config_, 3), "32");
  config_.numbering_base = 0;
  EXPECT_EQ(DevicePinText(config_, 3), "31");
}

TEST_F(DevicesTest, HeadShowsOwnNameEditable) {
  config_.pins[4].device_name = "Signal";
  const DeviceNameView view = ShowDeviceName(config_, 4);
  EXPECT_EQ(view.text, "Signal");
  EXPECT_TRUE(view.editable);
}

TEST_F(DevicesTest, MemberShowsHeadNameAndLosesItsOwn) {
  Point(5, 4);
  config_.pins[4].device_name = "Signal";
  config_.pins[5].device_name = "left over";
  const DeviceNameView view = ShowDeviceName(config_, 5);
  EXPECT_EQ(view.text, "Signal");
  EXPECT_FALSE(view.editable);
  EXPECT_EQ(config_.pins[5].device_name, "");
  EXPECT_EQ(config_.pins[4].device_name, "Signal");
}

TEST_F(DevicesTest, ChainedReferralIsNoDevice) {
  Point(2, 1);
  Point(1, 0);
  config_.pins[0].device_name = "Head";
  config_.pins[1].device_name = "Middle";
  EXPECT_TRUE(IsBrokenReferral(config_, 2));
  EXPECT_FALSE(IsBrokenReferral(config_, 1));
  EXPECT_FALSE(IsBrokenReferral(config_, 0));
  const DeviceNameView view = ShowDeviceName(config_, 2);
  EXPECT_EQ(view.text, "<Referral is no Device !>");
  EXPECT_FALSE(view.editable);
}

TEST_F(DevicesTest, PointerOffThePinsShowsAsNoDevice) {
  config_.pins[31].device_pointer = 5;
  config_.pins[31].device_name = "x";
  const DeviceNameView view = ShowDeviceName(config_, 31);
  EXPECT_EQ(view.text, kBrokenReferralText);
  EXPECT_FALSE(view.editable);
  EXPECT_EQ(config_.pins[31].device_name, "");
}

}  // namespace
}  // namespace tarn
