// Live control against the simulated Tarn: what the device records for every button, modifier
// combination and clamp, and what is refused before anything goes out.

#include "protocol/live_control.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "model/general_settings.h"
#include "support/simulated_line.h"

namespace tarn {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Vesk = std::array<std::uint8_t, 4>;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr std::uint8_t kModule = 2;
constexpr std::uint8_t kModuleFirstByte = kModule * 4 + 3;  // 11

// The link has resynchronised before the test starts (on the direct link the resynchronisation
// before a first Vesk frame is itself a Vesk frame, which the Tarn would record).
struct LiveLine : testing::SimulatedLine {
  explicit LiveLine(bool tunnelled = false)
      : SimulatedLine(tunnelled, kModule), live(link, prompter, config) {
    link.SendTarnMessage(true, {});
    primed = port.written().size();
  }

  bool NothingWritten() const { return port.written().size() == primed; }

  DeviceConfiguration config;
  LiveControl live;
  std::size_t primed = 0;
};

// Pin 3 with pins 0..2 taking 1, 2 and 2 serial addresses: its first serial address index is 5,
// so a frame that carries the pin number where the index belongs shows.
void UseTestPin(DeviceConfiguration& config) {
  config.pins[0].vesk_address_count = 1;
  config.pins[1].vesk_address_count = 2;
  config.pins[2].vesk_address_count = 2;
  config.current_pin = 3;
  config.current_aspect = 7;
}

void UseFlexibleAddressing(DeviceConfiguration& config, std::uint8_t base) {
  SetVeskFlexibleAddressing(true, config.general_settings);
  config.general_settings.serial_base_address = base;
}

class LiveControlTest : public ::testing::TestWithParam<bool> {};

TEST_P(LiveControlTest, TestButtonForEveryModifierCombination) {
  const struct {
    const char* name;
    ModifierKeys keys;
    bool flexible;
    std::vector<Bytes> live;
    std::vector<Vesk> vesk;
  } cases[] = {
      {"plain", {}, false, {{0, 0, 3, 7}}, {}},
      {"shift", {.shift = true}, false, {}, {{kModuleFirstByte, 0, 3, 7}}},
      {"control", {.control = true}, false, {{0, 1, 5, 7}}, {}},
      {"shift+control", {.shift = true, .control = true}, false, {}, {{kModuleFirstByte, 1, 5, 7}}},
      {"plain, flexible", {}, true, {{0, 0, 3, 7}}, {}},
      {"control, flexible", {.control = true}, true, {{0, 1, 5, 7}}, {}},
      // Base 10: n = 45, serial address 13 of module 1.
      {"shift, flexible", {.shift = true}, true, {}, {{7, 1, 13, 7}}},
      {"shift+control, flexible", {.shift = true, .control = true}, true, {}, {{7, 1, 13, 7}}},
  };
  for (const auto& c : cases) {
    LiveLine line(GetParam());
    UseTestPin(line.config);
    if (c.flexible) UseFlexibleAddressing(line.config, 10);
    EXPECT_TRUE(line.live.TestAspect(c.keys)) << c.name;
    EXPECT_EQ(line.tarn.live_messages(), c.live) << c.name;
    EXPECT_EQ(line.tarn.vesk_frames(), c.vesk) << c.name;
    EXPECT_THAT(line.prompter.Texts(), IsEmpty()) << c.name;
  }
}

TEST_P(LiveControlTest, AltShowsTheHelpAndSendsNothing) {
  for (const ModifierKeys keys :
       {ModifierKeys{.alt = true}, ModifierKeys{.shift = true, .alt = true},
        ModifierKeys{.shift = true, .control = true, .alt = true}}) {
    LiveLine line(GetParam());
    UseTestPin(line.config);
    EXPECT_FALSE(line.live.TestAspect(keys));
    EXPECT_THAT(line.prompter.Texts(), ElementsAre(kTestHelpText));
    EXPECT_THAT(line.tarn.live_messages(), IsEmpty());
    EXPECT_THAT(line.tarn.vesk_frames(), IsEmpty());
  }
}

TEST_P(LiveControlTest, AddressMapNeedsAVeskAddress) {
  const struct {
    ModifierKeys keys;
    bool flexible;
  } cases[] = {
      {{.control = true}, false},
      {{.shift = true, .control = true}, false},
      {{.shift = true}, true},
      {{.shift = true, .control = true}, true},
  };
  for (const auto& c : cases) {
    for (const std::uint8_t base : {std::uint8_t{0}, std::uint8_t{1}}) {
      LiveLine line(GetParam());
      UseTestPin(line.config);
      line.config.numbering_base = base;
      line.config.pins[3].vesk_address_count = 0;
      if (c.flexible) UseFlexibleAddressing(line.config, 10);
      EXPECT_FALSE(line.live.TestAspect(c.keys));
      ASSERT_EQ(line.prompter.messages.size(), 1u);
      EXPECT_EQ(line.prompter.messages[0].text, std::string(kNoVeskAddress) + (base ? "4" : "3"));
      EXPECT_EQ(line.prompter.messages[0].icon, PromptIcon::kWarning);
      EXPECT_THAT(line.tarn.live_messages(), IsEmpty());
      EXPECT_THAT(line.tarn.vesk_frames(), IsEmpty());
    }
  }
  // Shift alone uses the pin number, not the address map.
  LiveLine line(GetParam());
  line.config.pins[0].vesk_address_count = 0;
  EXPECT_TRUE(line.live.TestAspect({.shift = true}));
  EXPECT_THAT(line.tarn.vesk_frames(), ElementsAre(Vesk{kModuleFirstByte, 0, 0, 0}));
}

TEST_P(LiveControlTest, VeskTestButtonsAndTheirModules) {
  const struct {
    VeskTest test;
    int button;
    std::uint8_t first_byte;
  } cases[] = {
      {VeskTest::kClearAll, 0, kModuleFirstByte},
      {VeskTest::kClearAll, 1, 3},
      {VeskTest::kLampTest, 0, kModuleFirstByte},
      {VeskTest::kLampTest, 1, 3},
      {VeskTest::kLampTest, 2, 63},
      {VeskTest::kReset, 0, kModuleFirstByte},
      {VeskTest::kReset, 1, 63},
  };
  for (const auto& c : cases) {
    LiveLine line(GetParam());
    EXPECT_TRUE(line.live.SendVeskTest(c.test, c.button));
    std::vector<Vesk> expected;
    if (c.test == VeskTest::kReset) {
      expected.push_back({c.first_byte, 2, 0, 0});
    } else {
      for (std::uint8_t pin = 0; pin < kPinCount; ++pin) {
        expected.push_back(c.test == VeskTest::kClearAll ? Vesk{c.first_byte, 8, pin, 0}
                                                         : Vesk{c.first_byte, 10, pin, 30});
      }
    }
    EXPECT_EQ(line.tarn.vesk_frames(), expected) << static_cast<int>(c.test) << c.button;
    EXPECT_THAT(line.tarn.live_messages(), IsEmpty());
    EXPECT_THAT(line.prompter.Texts(), IsEmpty());
  }
  LiveLine line(GetParam());
  EXPECT_FALSE(line.live.SendVeskTest(VeskTest::kClearAll, 2));
  EXPECT_FALSE(line.live.SendVeskTest(VeskTest::kReset, 2));
  EXPECT_THAT(line.tarn.vesk_frames(), IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(DirectAndTunnelled, LiveControlTest, ::testing::Bool(), testing::LineName);

TEST(LiveControlClosedPortTest, ClearAllSaysSoOnceAndResetLeavesItToTheLink) {
  LiveLine line;
  line.link.ClosePort();
  EXPECT_FALSE(line.live.SendVeskTest(VeskTest::kClearAll, 0));
  EXPECT_FALSE(line.live.SendVeskTest(VeskTest::kLampTest, 2));
  EXPECT_FALSE(line.live.SendVeskTest(VeskTest::kReset, 1));
  EXPECT_THAT(line.prompter.Texts(),
              ElementsAre("Select communications port", "Select communications port",
                          "Select communications port"));
}

TEST(LiveControlSetAspectTest, ButtonsToggleAndSeries) {
  LiveLine line;
  for (int button = 0; button < 4; ++button) EXPECT_TRUE(line.live.TarnSetAspect(button, 9));
  for (int press = 0; press < 3; ++press)
    EXPECT_TRUE(line.live.TarnSetAspect(kTarnToggleButton, 12));
  EXPECT_EQ(line.live.toggle_aspect(), 1);
  EXPECT_THAT(
      line.tarn.live_messages(),
      ElementsAre(Bytes{0, 1, 9, 0}, Bytes{0, 1, 9, 1}, Bytes{0, 1, 9, 2}, Bytes{0, 1, 9, 3},
                  Bytes{0, 1, 12, 0}, Bytes{0, 1, 12, 1}, Bytes{0, 1, 12, 0}));

  for (const int button : {kTarnEightTimesSa0, kTarnEightTimesSa1}) {
    LiveLine series;
    // The output field plays no part in a series, even when it holds no valid output.
    EXPECT_TRUE(series.live.TarnSetAspect(button, 500));
    std::vector<Bytes> expected;
    for (std::uint8_t output = 0; output < 8; ++output) {
      expected.push_back({0, 1, output, static_cast<std::uint8_t>(button - kTarnEightTimesSa0)});
    }
    EXPECT_EQ(series.tarn.live_messages(), expected);
  }
  EXPECT_FALSE(line.live.TarnSetAspect(kTarnSetAspectButtons, 0));
}

TEST(LiveControlSetAspectTest, AnOutputAFrameCannotCarryIsRefused) {
  for (const int output : {-1, 128, 100000}) {
    LiveLine line;
    EXPECT_FALSE(line.live.TarnSetAspect(1, output));
    EXPECT_FALSE(line.live.TarnSetAspect(kTarnToggleButton, output));
    EXPECT_EQ(line.live.toggle_aspect(), 0) << "a refused press does not toggle";
    const std::string message =
        "TarnSetAspect: Value out of range (0..127), value = " + std::to_string(output) +
        "; nothing was sent";
    EXPECT_THAT(line.prompter.Texts(), ElementsAre(message, message));
    EXPECT_TRUE(line.NothingWritten());
  }
}

TEST(LiveControlSetAspectTest, SeriesStopsAtTheFirstUnsentMessage) {
  LiveLine line;
  line.link.ClosePort();
  EXPECT_FALSE(line.live.TarnSetAspect(kTarnEightTimesSa1, 0));
  MatrixOutputs all;
  all.fill(true);
  EXPECT_FALSE(line.live.SetMatrix(3, all));
  EXPECT_THAT(line.prompter.Texts(),
              ElementsAre("Select communications port", "Select communications port"));
}

TEST(LiveControlVeskSendTest, SendsTheThreeFieldsOrRefusesTheFrame) {
  LiveLine line;
  EXPECT_TRUE(line.live.VeskSend({0, 127, 64}));
  EXPECT_THAT(line.tarn.vesk_frames(), ElementsAre(Vesk{kModuleFirstByte, 0, 127, 64}));
  // The fields' texts are read as every typed field is: rounded, trailing text ignored.
  EXPECT_TRUE(line.live.VeskSend(std::array<std::string_view, 3>{"12.5", " 7x", "abc"}));
  EXPECT_THAT(line.tarn.vesk_frames(), ElementsAre(Vesk{kModuleFirstByte, 0, 127, 64},
                                                   Vesk{kModuleFirstByte, 13, 7, 0}));

  const struct {
    std::array<int, 3> values;
    int reported;
  } refused[] = {{{128, 1, 2}, 128}, {{1, -1, 2}, -1}, {{1, 2, 300}, 300}, {{-5, 200, 2}, -5}};
  for (const auto& c : refused) {
    LiveLine other;
    EXPECT_FALSE(other.live.VeskSend(c.values));
    EXPECT_THAT(other.prompter.Texts(),
                ElementsAre("VeskSend: Value out of range (0..127), value = " +
                            std::to_string(c.reported) + "; nothing was sent"));
    EXPECT_TRUE(other.NothingWritten());
  }
}

TEST(LiveControlMatrixTest, TickedOutputsInOrder) {
  LiveLine line;
  MatrixOutputs outputs{};
  outputs[1] = outputs[4] = outputs[9] = true;
  EXPECT_TRUE(line.live.SetMatrix(17, outputs));
  EXPECT_THAT(line.tarn.live_messages(),
              ElementsAre(Bytes{0, 1, 1, 17}, Bytes{0, 1, 4, 17}, Bytes{0, 1, 9, 17}));

  LiveLine none;
  EXPECT_TRUE(none.live.SetMatrix(5, MatrixOutputs{}));
  EXPECT_FALSE(none.live.SetMatrix(kMatrixButtons, outputs));
  EXPECT_TRUE(none.NothingWritten());
}

TEST(LiveControlLevelTest, ConfirmedValuesAreClampedStoredAndSent) {
  const struct {
    LiveOutput output;
    bool gradual;
    int typed;
    int shown;
    std::uint8_t sub_command;
    std::uint8_t sent;
  } cases[] = {
      {LiveOutput::kPwm, false, 40, 31, 38, 31},     {LiveOutput::kPwm, true, -3, 0, 54, 0},
      {LiveOutput::kServo, false, -100, -64, 39, 0}, {LiveOutput::kServo, true, 64, 63, 55, 127},
      {LiveOutput::kServo, false, -1, -1, 39, 63},
  };
  for (const auto& c : cases) {
    LiveLine line;
    line.config.current_pin = 6;
    line.live.SetGradual(c.output, c.gradual);
    EXPECT_TRUE(line.live.ConfirmLevel(c.output, c.typed)) << c.typed;
    EXPECT_EQ(line.live.value(c.output), c.shown) << c.typed;
    EXPECT_EQ(line.config.pins[6].live_value, c.sent) << c.typed;
    EXPECT_THAT(line.tarn.live_messages(), ElementsAre(Bytes{0, c.sub_command, 6, c.sent}))
        << c.typed;
    EXPECT_EQ(line.tarn.memory().pins[6].live_value, c.sent) << c.typed;
  }
}

TEST(LiveControlLevelTest, JumpIgnoresTheGradualBox) {
  LiveLine line;
  line.config.current_pin = 2;
  line.live.SetGradual(LiveOutput::kPwm, true);
  line.live.SetGradual(LiveOutput::kServo, true);
  line.live.ConfirmLevel(LiveOutput::kPwm, 9);
  line.live.ConfirmLevel(LiveOutput::kServo, -10);
  EXPECT_TRUE(line.live.Jump(LiveOutput::kPwm));
  EXPECT_TRUE(line.live.Jump(LiveOutput::kServo));
  EXPECT_THAT(line.tarn.live_messages(), ElementsAre(Bytes{0, 54, 2, 9}, Bytes{0, 55, 2, 54},
                                                     Bytes{0, 38, 2, 9}, Bytes{0, 39, 2, 54}));
}

TEST(LiveControlLevelTest, SliderSendsOnlyWhileItHasTheFocus) {
  for (const LiveOutput output : {LiveOutput::kPwm, LiveOutput::kServo}) {
    LiveLine line;
    line.config.current_pin = 4;
    const int offset = RangeOf(output).wire_offset;
    const std::uint8_t sub_command = RangeOf(output).sub_command;

    EXPECT_FALSE(line.live.MoveSlider(output, 12));  // set by the program
    EXPECT_EQ(line.live.value(output), 12);
    EXPECT_EQ(line.config.pins[4].live_value, 12 + offset);
    EXPECT_THAT(line.tarn.live_messages(), IsEmpty());

    line.live.SetSliderFocus(output, true);
    line.live.SetGradual(output, true);
    EXPECT_TRUE(line.live.MoveSlider(output, 13));
    line.live.SetSliderFocus(output, false);
    EXPECT_FALSE(line.live.MoveSlider(output, 14));
    EXPECT_THAT(line.tarn.live_messages(),
                ElementsAre(Bytes{0, static_cast<std::uint8_t>(sub_command + 16), 4,
                                  static_cast<std::uint8_t>(13 + offset)}));
  }
}

TEST(LiveControlLevelTest, ShowingAPinTakesItsLiveValueWithoutSending) {
  const struct {
    LiveOutput output;
    std::uint8_t live_value;
    int level;
  } cases[] = {
      {LiveOutput::kPwm, 17, 17},  {LiveOutput::kPwm, 200, 31},  // a Tarn may report anything
      {LiveOutput::kServo, 70, 6}, {LiveOutput::kServo, 0, -64}, {LiveOutput::kServo, 255, 63},
  };
  for (const auto& c : cases) {
    LiveLine line;
    line.config.current_pin = 9;
    line.config.pins[9].live_value = c.live_value;
    line.live.SetSliderFocus(c.output, true);
    line.live.FollowCurrentPin(c.output);
    EXPECT_EQ(line.live.value(c.output), c.level) << int{c.live_value};
    EXPECT_EQ(line.config.pins[9].live_value, c.live_value) << "the pin keeps its byte";
    EXPECT_TRUE(line.NothingWritten());
  }
}

TEST(LiveControlLevelTest, ClosedPortStoresButSendsNothingAndSaysNothing) {
  LiveLine line;
  line.link.ClosePort();
  line.live.SetSliderFocus(LiveOutput::kPwm, true);
  EXPECT_FALSE(line.live.ConfirmLevel(LiveOutput::kPwm, 50));
  EXPECT_FALSE(line.live.MoveSlider(LiveOutput::kPwm, 20));
  EXPECT_FALSE(line.live.ConfirmLevel(LiveOutput::kServo, 5));
  EXPECT_EQ(line.live.value(LiveOutput::kPwm), 20);
  EXPECT_EQ(line.config.pins[0].live_value, 69);
  EXPECT_THAT(line.prompter.Texts(), IsEmpty());
  // "Jump" goes to the link, which tells the user.
  EXPECT_FALSE(line.live.Jump(LiveOutput::kPwm));
  EXPECT_THAT(line.prompter.Texts(), ElementsAre("Select communications port"));
}

}  // namespace
}  // namespace tarn
