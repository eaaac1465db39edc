#include "model/device_configuration.h"

#include <gtest/gtest.h>

#include "model/aspect_layout.h"
#include "model/pin_program.h"

namespace tarn {
namespace {

TEST(DeviceConfigurationTest, StartValues) {
  const DeviceConfiguration config;
  EXPECT_EQ(config.numbering_base, 1);
  EXPECT_EQ(config.current_pin, 0);
  EXPECT_EQ(config.current_aspect, 0);
  const GeneralSettings& g = config.general_settings;
  EXPECT_EQ(g.dcc_address, 1);
  EXPECT_EQ(g.extended_dcc_address, 1);
  EXPECT_EQ(kPacketRetentionTexts[g.packet_retention], "250ms");
  EXPECT_EQ(kSerialBitRateTexts[g.serial_bit_rate], "9600");
  EXPECT_EQ(g.serial_data_bits, 7);
  EXPECT_EQ(g.serial_stop_bits, 1);
  EXPECT_EQ(g.serial_addressing, SerialAddressing::kNone);
  for (int pin = 0; pin < kPinCount; ++pin) {
    const PinRecord& p = config.pins[pin];
    EXPECT_EQ(p.dcc_address_count, 1);
    EXPECT_EQ(p.xdcc_address_count, 1);
    EXPECT_EQ(p.vesk_address_count, 1);
    EXPECT_EQ(p.device_pointer, 0);
    EXPECT_EQ(p.aspect_layout, 0);
    EXPECT_EQ(p.pin_config, PinConfig{});
    EXPECT_EQ(ModeOf(p), PinMode::kNotConfigured);
    for (int i = 0; i < kEventInputCount; ++i) {
      EXPECT_EQ(config.event_actions[pin].on[i], i);
      EXPECT_EQ(config.event_actions[pin].off[i], kNoEventAction);
    }
  }
}

TEST(PinModeTest, OnlyZeroToFiveNameAMode) {
  PinRecord pin;
  SetMode(pin, PinMode::kInputLowActive);
  EXPECT_EQ(pin.pin_config[0], 5);
  EXPECT_EQ(ModeOf(pin), PinMode::kInputLowActive);
  pin.pin_config[0] = 6;
  EXPECT_EQ(ModeOf(pin), std::nullopt);
}

TEST(AspectLayoutTest, SizesPerLayout) {
  struct Case {
    std::uint8_t layout;
    int aspects;
    int steps;
  };
  for (const Case& c : {Case{0, 0, 0}, Case{2, 12, 3}, Case{3, 4, 9}, Case{1, 0, 0}, Case{5, 0, 0},
                        Case{255, 0, 0}}) {
    EXPECT_EQ(AspectCount(c.layout), c.aspects) << int{c.layout};
    EXPECT_EQ(StepsPerAspect(c.layout), c.steps) << int{c.layout};
  }
}

TEST(PinProgramTest, ClearEmptiesUsedSlotsOnly) {
  PinRecord pin;
  pin.description = "Signal 1";
  pin.aspect_layout = kLayoutFourAspects;
  pin.initial_aspect = 2;
  const Step full{3, 1, 4, 5, 6, 7};
  for (Aspect& aspect : pin.aspects) {
    aspect.description = "x";
    aspect.steps.fill(full);
  }
  ClearPinProgram(pin);
  for (int a = 0; a < kMaxAspects; ++a) {
    EXPECT_EQ(pin.aspects[a].description, "") << a;
    for (int s = 0; s < kMaxStepsPerAspect; ++s) EXPECT_EQ(pin.aspects[a].steps[s], Step{});
    EXPECT_EQ(pin.aspects[a].steps[9], full);
  }
  EXPECT_EQ(pin.aspects[12].description, "x");
  EXPECT_EQ(pin.description, "Signal 1");
  EXPECT_EQ(pin.aspect_layout, kLayoutFourAspects);
  EXPECT_EQ(pin.initial_aspect, 2);
}

}  // namespace
}  // namespace tarn
