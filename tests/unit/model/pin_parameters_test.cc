#include "model/pin_parameters.h"

#include <gtest/gtest.h>

#include "model/pin_parameter_view.h"
#include "model/servo_flags.h"

namespace tarn {
namespace {

PinConfig ConfigOfMode(PinMode mode) {
  PinConfig config{};
  config[0] = static_cast<std::uint8_t>(mode);
  return config;
}

// ---- Servo byte 2 ----

struct ServoFlagsCase {
  std::uint8_t byte;
  ServoFlags shown;
};

class ServoFlagsShownTest : public ::testing::TestWithParam<ServoFlagsCase> {};

TEST_P(ServoFlagsShownTest, DecodesByte) {
  EXPECT_EQ(ServoFlagsOf(GetParam().byte), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, ServoFlagsShownTest,
    ::testing::Values(ServoFlagsCase{0x2B, {3, false, true, false}},  // "L", Suspended
                      ServoFlagsCase{7, {0, false, false, false}},    // range 7 shows "Off"
                      ServoFlagsCase{5, {0, false, false, false}},
                      ServoFlagsCase{0x4C, {4, false, false, true}},  // "XL", Servo Initialised
                      ServoFlagsCase{0x1A, {2, true, false, false}}));

struct ServoComposeCase {
  std::uint8_t before;
  ServoFlags chosen;
  std::uint8_t after;
};

class ServoFlagsComposeTest : public ::testing::TestWithParam<ServoComposeCase> {};

TEST_P(ServoFlagsComposeTest, RebuildsByteWithoutInitialised) {
  PinConfig config = ConfigOfMode(PinMode::kServo);
  config[2] = GetParam().before;
  ASSERT_TRUE(SetServoFlags(GetParam().chosen, config));
  EXPECT_EQ(config[2], GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Choices, ServoFlagsComposeTest,
    ::testing::Values(ServoComposeCase{0x0A, {2, true, false, false}, 26},  // Auto Suspend on "M"
                      ServoComposeCase{0x4A, {2, true, false, true}, 26},   // Initialised dropped
                      ServoComposeCase{0x00, {0, false, false, false}, 8},
                      ServoComposeCase{0x00, {4, true, true, false}, 60},
                      ServoComposeCase{0x2B, {3, false, true, false}, 0x2B},
                      ServoComposeCase{0x00, {6, false, false, false}, 8}));  // no such range

TEST(ServoFlagsTest, KeptAndOlderLayouts) {
  EXPECT_EQ(ServoFlagsToKeep(88), 24);
  EXPECT_EQ(ServoFlagsToKeep(200), 8);
  EXPECT_EQ(ConvertOlderServoFlags(0x20), 42);
  EXPECT_EQ(ConvertOlderServoFlags(0x28), 0x28);  // layout bit set: current layout
  EXPECT_EQ(ConvertOlderServoFlags(15), 15);
  EXPECT_EQ(ConvertOlderServoFlags(16), 41);
  // A byte of 128 or more (only a file holds one) converts once and stays converted.
  EXPECT_EQ(ConvertOlderServoFlags(247), 47);
  EXPECT_EQ(ConvertOlderServoFlags(ConvertOlderServoFlags(247)), 47);
}

// ---- Tab choice and mode defaults ----

struct TabChoiceCase {
  std::uint8_t mode;
  PinConfigTab tab;
  bool changes;
  std::array<std::uint8_t, 12> bytes;  // bytes 0..11 after a change
  std::uint8_t live_value;             // after a change
};

class PinTabChoiceTest : public ::testing::TestWithParam<TabChoiceCase> {};

TEST_P(PinTabChoiceTest, AppliesDefaultsOnlyOnAnotherGroup) {
  const TabChoiceCase& c = GetParam();
  PinRecord pin;
  pin.pin_config = {c.mode, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 7};
  pin.live_value = 99;
  const PinRecord before = pin;
  EXPECT_EQ(SelectPinConfigTab(c.tab, pin), c.changes);
  if (!c.changes) {
    EXPECT_EQ(pin, before);
    return;
  }
  for (int i = 0; i < 12; ++i) EXPECT_EQ(pin.pin_config[i], c.bytes[i]) << "byte " << i;
  EXPECT_EQ(pin.pin_config[12], 7);  // used by no mode
  EXPECT_EQ(pin.live_value, c.live_value);
}

INSTANTIATE_TEST_SUITE_P(
    Tabs, PinTabChoiceTest,
    ::testing::Values(
        TabChoiceCase{1, PinConfigTab::kClear, true, {}, 0},
        TabChoiceCase{
            0, PinConfigTab::kServo, true, {1, 64, 0, 64, 127, 58, 127, 127, 64, 0, 64, 0}, 64},
        TabChoiceCase{4, PinConfigTab::kPwm, true, {2, 0, 0, 28, 0, 31}, 0},
        TabChoiceCase{2, PinConfigTab::kInput, true, {5, 0, 0, 4, 4}, 0},
        TabChoiceCase{200, PinConfigTab::kClear, true, {}, 0},
        TabChoiceCase{3, PinConfigTab::kPwm, false, {}, 0},
        TabChoiceCase{4, PinConfigTab::kInput, false, {}, 0},
        TabChoiceCase{1, PinConfigTab::kServo, false, {}, 0},
        TabChoiceCase{0, PinConfigTab::kClear, false, {}, 0}));

// ---- Typed values, buttons ----

PinConfig ConfigFor(PinParameterId id) {
  switch (PinParameterOf(id).tab) {
    case PinConfigTab::kServo:
      return ConfigOfMode(PinMode::kServo);
    case PinConfigTab::kPwm:
      return ConfigOfMode(PinMode::kPwmInverted);
    default:
      return ConfigOfMode(PinMode::kInput);
  }
}

struct ConfirmCase {
  PinParameterId id;
  const char* typed;
  const char* shown;
  std::uint8_t stored;
};

class PinParameterConfirmTest : public ::testing::TestWithParam<ConfirmCase> {};

TEST_P(PinParameterConfirmTest, ClampsAndEncodes) {
  const ConfirmCase& c = GetParam();
  const PinParameter& parameter = PinParameterOf(c.id);
  PinConfig config = ConfigFor(c.id);
  const PinFieldResult result = ConfirmPinParameter(parameter, c.typed, config);
  EXPECT_TRUE(result.stored);
  EXPECT_EQ(result.text, c.shown);
  EXPECT_EQ(config[parameter.byte], c.stored);
  EXPECT_EQ(ShownValue(parameter, config), result.value);
}

INSTANTIATE_TEST_SUITE_P(
    Edges, PinParameterConfirmTest,
    ::testing::Values(ConfirmCase{PinParameterId::kInitialPosition, "-70", "-64", 0},
                      ConfirmCase{PinParameterId::kInitialPosition, "80", "63", 127},
                      ConfirmCase{PinParameterId::kMidpoint, "0", "0", 64},
                      ConfirmCase{PinParameterId::kMidpoint, "abc", "0", 64},
                      ConfirmCase{PinParameterId::kBounceUp, "5", "0", 64},
                      ConfirmCase{PinParameterId::kBounceUp, "-63", "-63", 1},
                      ConfirmCase{PinParameterId::kBounceUp, "-64", "-63", 1},
                      ConfirmCase{PinParameterId::kBounceDown, "-1", "0", 64},
                      ConfirmCase{PinParameterId::kBounceDown, "64", "63", 127},
                      ConfirmCase{PinParameterId::kMaxSpeed, "0", "1", 1},
                      ConfirmCase{PinParameterId::kMaxAcceleration, "0", "1", 1},
                      ConfirmCase{PinParameterId::kAntiMass, "99999999999999999999", "127", 127},
                      ConfirmCase{PinParameterId::kDamping, "12.5", "13", 13},
                      ConfirmCase{PinParameterId::kInitialLevel, "32", "31", 31},
                      ConfirmCase{PinParameterId::kOnLevel, " -1", "0", 0},
                      ConfirmCase{PinParameterId::kOnDelay, "7x", "7", 7},
                      ConfirmCase{PinParameterId::kOffDelay, "", "0", 0}));

struct StepCase {
  PinParameterId id;
  std::uint8_t before;
  int steps;
  int shown;
  std::uint8_t stored;
};

class PinParameterStepTest : public ::testing::TestWithParam<StepCase> {};

TEST_P(PinParameterStepTest, StaysInButtonRange) {
  const StepCase& c = GetParam();
  const PinParameter& parameter = PinParameterOf(c.id);
  PinConfig config = ConfigFor(c.id);
  config[parameter.byte] = c.before;
  const PinFieldResult result = StepPinParameter(parameter, c.steps, config);
  EXPECT_EQ(result.value, c.shown);
  EXPECT_EQ(config[parameter.byte], c.stored);
}

INSTANTIATE_TEST_SUITE_P(
    Edges, PinParameterStepTest,
    ::testing::Values(StepCase{PinParameterId::kMaxAcceleration, 1, -1, 0, 0},  // buttons only
                      StepCase{PinParameterId::kBounceUp, 1, -1, -64, 0},       // buttons only
                      StepCase{PinParameterId::kBounceUp, 0, -1, -64, 0},
                      StepCase{PinParameterId::kBounceUp, 64, 1, 0, 64},
                      StepCase{PinParameterId::kMaxSpeed, 1, -1, 1, 1},
                      StepCase{PinParameterId::kInitialPosition, 127, 1, 63, 127},
                      StepCase{PinParameterId::kBounceDown, 64, -1, 0, 64},
                      StepCase{PinParameterId::kOffDelay, 31, 1, 31, 31}));

TEST(PinParameterTest, EditsOnAPinOfAnotherModeStoreNothing) {
  PinConfig config{};
  config[0] = 9;  // unknown mode: the tab still shows another pin's values
  config[3] = 5;
  const PinParameter& midpoint = PinParameterOf(PinParameterId::kMidpoint);
  EXPECT_FALSE(ConfirmPinParameter(midpoint, "10", config).stored);
  EXPECT_FALSE(StepPinParameter(midpoint, 1, config).stored);
  config[0] = static_cast<std::uint8_t>(PinMode::kPwm);
  EXPECT_FALSE(ConfirmPinParameter(midpoint, "10", config).stored);
  EXPECT_EQ(config[3], 5);
}

TEST(PinParameterTest, TypingStoresInitialValuesInsideTheRangeOnly) {
  const PinParameter& level = PinParameterOf(PinParameterId::kInitialLevel);
  PinConfig config = ConfigOfMode(PinMode::kPwm);
  EXPECT_TRUE(TypePinParameter(level, "2", config));
  EXPECT_EQ(config[1], 2);
  EXPECT_FALSE(TypePinParameter(level, "40", config));
  EXPECT_EQ(config[1], 2);
  const PinParameter& position = PinParameterOf(PinParameterId::kInitialPosition);
  config = ConfigOfMode(PinMode::kServo);
  EXPECT_TRUE(TypePinParameter(position, "-5", config));
  EXPECT_EQ(config[1], 59);
  for (const char* partial : {"", "-", " "}) {
    EXPECT_FALSE(TypePinParameter(position, partial, config)) << '"' << partial << '"';
  }
  EXPECT_EQ(config[1], 59);
  EXPECT_FALSE(TypePinParameter(PinParameterOf(PinParameterId::kMidpoint), "5", config));
  EXPECT_EQ(config[3], 0);
}

TEST(PinParameterTest, TakesOverTheLiveValue) {
  PinRecord pin;
  pin.pin_config = ConfigOfMode(PinMode::kServo);
  pin.live_value = 30;
  const auto position = TakeOverLiveValue(PinParameterOf(PinParameterId::kInitialPosition), pin);
  ASSERT_TRUE(position.has_value());
  EXPECT_EQ(position->text, "-34");
  EXPECT_EQ(pin.pin_config[1], 30);
  EXPECT_FALSE(TakeOverLiveValue(PinParameterOf(PinParameterId::kMidpoint), pin).has_value());
  EXPECT_FALSE(TakeOverLiveValue(PinParameterOf(PinParameterId::kInitialLevel), pin).has_value());
  pin.pin_config = ConfigOfMode(PinMode::kPwm);
  pin.live_value = 200;
  ASSERT_TRUE(TakeOverLiveValue(PinParameterOf(PinParameterId::kInitialLevel), pin).has_value());
  EXPECT_EQ(pin.pin_config[1], 31);
}

TEST(PinParameterTest, GroupToggles) {
  PinConfig config = ConfigOfMode(PinMode::kPwm);
  EXPECT_TRUE(SetPwmInverted(true, config));
  EXPECT_EQ(config[0], 3);
  config[2] = 3;
  EXPECT_EQ(PwmCurvesOf(config[2]), (PwmCurves{1, 1}));
  EXPECT_TRUE(SetPwmCurves({0, 1}, config));  // "Logaritmic" drive mode
  EXPECT_EQ(config[2], 2);
  EXPECT_FALSE(SetInputLowActive(true, config));
  EXPECT_EQ(config[0], 3);
  config = ConfigOfMode(PinMode::kInputLowActive);
  EXPECT_TRUE(SetInputLowActive(false, config));
  EXPECT_EQ(config[0], 4);
  EXPECT_FALSE(SetPwmInverted(true, config));
  EXPECT_FALSE(SetServoFlags({2, true, false, false}, config));
  EXPECT_EQ(config[2], 0);
}

// ---- Hardware configuration mismatch ----

struct MismatchCase {
  int pin;
  std::uint8_t mode;
  int sink_group;    // -1: none
  int source_group;  // -1: none
  bool warns;
};

class HardwareMismatchTest : public ::testing::TestWithParam<MismatchCase> {};

TEST_P(HardwareMismatchTest, WarnsOnServoAndInputPinsOfADrivenGroup) {
  const MismatchCase& c = GetParam();
  GeneralSettings settings;
  if (c.sink_group >= 0) settings.sink_driver[c.sink_group] = true;
  if (c.source_group >= 0) settings.source_driver[c.source_group] = true;
  EXPECT_EQ(HardwareConfigurationMismatch(settings, c.pin, c.mode), c.warns);
}

INSTANTIATE_TEST_SUITE_P(
    Groups, HardwareMismatchTest,
    ::testing::Values(MismatchCase{13, 1, 1, -1, true}, MismatchCase{13, 2, 1, -1, false},
                      MismatchCase{13, 3, 1, 1, false}, MismatchCase{13, 4, -1, 1, true},
                      MismatchCase{15, 5, 1, -1, true}, MismatchCase{16, 1, 1, 1, false},
                      MismatchCase{7, 1, 1, -1, false}, MismatchCase{8, 0, 1, -1, false},
                      MismatchCase{8, 9, 1, -1, false}, MismatchCase{31, 4, 3, -1, true}));

// ---- Showing a pin ----

TEST(ShowPinConfigTest, ServoTab) {
  DeviceConfiguration config;
  config.current_pin = 13;
  config.general_settings.sink_driver[1] = true;
  PinRecord& pin = config.pins[13];
  pin.pin_config = {1, 0, 0x2B, 64, 127, 58, 127, 127, 64, 0, 1, 0, 0};
  pin.live_value = 70;
  const PinConfigView view = ShowPinConfig(config);
  EXPECT_EQ(view.tab, PinConfigTab::kServo);
  const auto on = [&view](std::string_view name) {
    const ShownControl* control = FindShownControl(view, name);
    return control != nullptr && control->on;
  };
  EXPECT_EQ(FindShownControl(view, "TextPosition")->text, "6");
  EXPECT_EQ(FindShownControl(view, "SliderServo")->value, 6);
  EXPECT_EQ(FindShownControl(view, "TextSrvInitPos")->text, "-64");
  EXPECT_EQ(FindShownControl(view, "TextBounceUp")->text, "-63");
  EXPECT_EQ(FindShownControl(view, "UpDownBU")->value, -63);
  EXPECT_TRUE(on("OptionServoRange_3"));
  EXPECT_FALSE(on("OptionServoRange_0"));
  EXPECT_TRUE(on("ChkSrvSuspended"));
  EXPECT_FALSE(on("ChkSrvAutoSuspend"));
  EXPECT_TRUE(on(kServoWarningLabel));
  EXPECT_EQ(FindShownControl(view, "TextPWMInitLevel"), nullptr);

  pin.pin_config[0] = 2;  // the same pin as PWM: no warning; 0x2B has bits 0 and 1: "Linear"
  const PinConfigView pwm = ShowPinConfig(config);
  EXPECT_EQ(pwm.tab, PinConfigTab::kPwm);
  EXPECT_EQ(FindShownControl(pwm, kServoWarningLabel), nullptr);
  EXPECT_TRUE(FindShownControl(pwm, "OptionPWMDriveMode_1")->on);
  EXPECT_FALSE(FindShownControl(pwm, "OptionPWMDriveMode_0")->on);
  EXPECT_TRUE(FindShownControl(pwm, "OptionPWMAccelMode_1")->on);
  EXPECT_FALSE(FindShownControl(pwm, "CheckPWMInverted")->on);
  EXPECT_EQ(FindShownControl(pwm, "SliderPWM")->value, 70);
}

TEST(ShowPinConfigTest, InputClearAndUnknownModes) {
  DeviceConfiguration config;
  config.pins[0].pin_config = {5, 0, 0, 3, 12};
  PinConfigView view = ShowPinConfig(config);
  EXPECT_EQ(view.tab, PinConfigTab::kInput);
  EXPECT_TRUE(FindShownControl(view, "CheckInputInvert")->on);
  EXPECT_EQ(FindShownControl(view, "TextInputDelay_0")->text, "3");
  EXPECT_EQ(FindShownControl(view, "UpDownInputDelay_1")->value, 12);
  EXPECT_FALSE(FindShownControl(view, kInputWarningLabel)->on);

  config.pins[0].pin_config[0] = 0;
  view = ShowPinConfig(config);
  EXPECT_EQ(view.tab, PinConfigTab::kClear);
  EXPECT_TRUE(view.controls.empty());

  config.pins[0].pin_config[0] = 7;
  view = ShowPinConfig(config);
  EXPECT_FALSE(view.tab.has_value());
  EXPECT_EQ(view.unknown_configuration, "Unknown configuration: 7");
  EXPECT_TRUE(view.controls.empty());
}

}  // namespace
}  // namespace tarn
