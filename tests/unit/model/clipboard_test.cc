#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>

#include "model/aspect_clipboard.h"
#include "model/aspect_layout.h"
#include "model/devices.h"
#include "model/pin_clipboard.h"
#include "model/step_editing.h"

namespace tarn {
namespace {

constexpr auto kCaseName = [](const auto& test) { return test.param.what; };

void Point(DeviceConfiguration& config, int pin, int head) {
  config.pins[pin].device_pointer = static_cast<std::int16_t>(head - pin);
}

// Every byte set, so that a step moved, kept or wiped shows it in all six.
Step FullStep(int opcode) {
  const auto b = static_cast<std::uint8_t>(opcode);
  return opcode == 0 ? Step{} : Step{b, 1, b, b, b, b};
}

struct PointerShiftCase {
  std::string what;
  int source;
  std::int16_t pointer;
  int target;
  std::int16_t pasted;
};

class PinPasteTest : public ::testing::TestWithParam<PointerShiftCase> {};

TEST_P(PinPasteTest, PastedPinNamesTheSameHead) {
  const PointerShiftCase& c = GetParam();
  DeviceConfiguration config;
  config.pins[c.source].device_pointer = c.pointer;
  config.current_pin = static_cast<std::uint8_t>(c.source);
  PinClipboard clipboard;
  clipboard.Copy(config);
  config.current_pin = static_cast<std::uint8_t>(c.target);
  EXPECT_TRUE(clipboard.Paste(config).pasted);
  EXPECT_EQ(config.pins[c.target].device_pointer, c.pasted);
}

INSTANTIATE_TEST_SUITE_P(Cases, PinPasteTest,
                         ::testing::Values(PointerShiftCase{"AcrossDevice", 3, -2, 10, -9},
                                           PointerShiftCase{"OntoItsOwnHead", 3, -2, 1, 0},
                                           PointerShiftCase{"HeadStaysAHead", 3, 0, 10, 0}),
                         kCaseName);

TEST(PinClipboardTest, PasteReleasesTheDeviceItLandsOn) {
  DeviceConfiguration config;
  config.pins[10].device_name = "Signal";
  Point(config, 11, 10);
  Point(config, 13, 14);
  config.pins[5] = {"Lamp", "", 0, {}, 9, 1, 3, 0, 2, kLayoutFourAspects};
  config.pins[5].aspects[2].steps[1] = FullStep(9);
  PinClipboard clipboard;
  config.current_pin = 5;
  clipboard.Copy(config);
  config.current_pin = 10;
  clipboard.Paste(config);
  EXPECT_EQ(config.pins[10], config.pins[5]);
  EXPECT_EQ(config.pins[11], PinRecord{});
  EXPECT_EQ(DeviceHead(config, 13), 14);
}

TEST(PinClipboardTest, ClearReleasesAndEmptiesButKeepsCountsAndLiveValue) {
  DeviceConfiguration config;
  Point(config, 11, 10);
  PinRecord& pin = config.pins[10];
  pin = {"Lamp", "Signal", 0, {}, 40, 3, 2, 0, 4, kLayoutFourAspects};
  pin.pin_config.fill(7);
  pin.aspects[0] = {"Red", {FullStep(9), FullStep(102)}};
  pin.aspects[12].description = "spare";
  PinRecord expected{"", "", 0, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 7}, 40, 0, 2, 0, 4, 0};
  expected.aspects[12].description = "spare";
  config.current_pin = 10;
  ClearPin(config);
  EXPECT_EQ(config.pins[10], expected);
  EXPECT_EQ(config.pins[11].device_pointer, 0);
}

TEST(ClipboardTest, PasteBeforeCopyChangesNothing) {
  DeviceConfiguration config;
  config.pins[0].description = "Lamp";
  const DeviceConfiguration before = config;
  for (const PasteOutcome& outcome :
       {PinClipboard().Paste(config), AspectClipboard().Paste(config)}) {
    EXPECT_FALSE(outcome.pasted);
    EXPECT_EQ(outcome.message, "Nothing to Paste");
  }
  EXPECT_EQ(config, before);
}

TEST(AspectClipboardTest, CopyPasteAndClearActOnTheCurrentAspect) {
  DeviceConfiguration config;
  const Aspect red{"Red", {FullStep(9), FullStep(102), FullStep(8)}};
  config.pins[4].aspects[2] = red;
  config.current_pin = 4;
  config.current_aspect = 2;
  AspectClipboard clipboard;
  clipboard.Copy(config);
  config.current_pin = 7;
  config.current_aspect = 0;
  clipboard.Paste(config);
  EXPECT_EQ(config.pins[7].aspects[0], red);
  config.pins[7].aspects[0].steps[9] = FullStep(5);  // a spare slot no layout uses
  ClearAspect(config);
  Aspect cleared;
  cleared.steps[9] = FullStep(5);
  EXPECT_EQ(config.pins[7].aspects[0], cleared);
  EXPECT_EQ(config.pins[4].aspects[2], red);
}

struct CleanupCase {
  std::string what;
  std::array<int, kMaxStepsPerAspect> opcodes;
  int kept;  // steps before the first empty one
};

class CleanupAspectTest : public ::testing::TestWithParam<CleanupCase> {};

TEST_P(CleanupAspectTest, WipesFromTheFirstEmptyStep) {
  const CleanupCase& c = GetParam();
  DeviceConfiguration config;
  Aspect& aspect = config.pins[0].aspects[0];
  aspect.description = "Green";
  for (int s = 0; s < kMaxStepsPerAspect; ++s) {
    aspect.steps[s] = FullStep(c.opcodes[s]);
    aspect.steps[s].p2 = 5;  // stale bytes on empty steps too
  }
  const Aspect before = aspect;
  CleanupAspect(config);
  EXPECT_EQ(aspect.description, "");
  for (int s = 0; s < kMaxStepsPerAspect; ++s) {
    EXPECT_EQ(aspect.steps[s], s < c.kept ? before.steps[s] : Step{}) << s;
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, CleanupAspectTest,
                         ::testing::Values(CleanupCase{"OnEmptyOff", {9, 0, 8}, 1},
                                           CleanupCase{"FirstStepEmpty", {0, 9, 9, 9}, 0},
                                           CleanupCase{
                                               "NoEmptyStep", {9, 9, 9, 9, 9, 9, 9, 9, 9}, 9}),
                         kCaseName);

struct StepEditCase {
  std::string what;
  std::uint8_t layout;
  bool insert;
  int step;
  std::array<int, kMaxStepsPerAspect> opcodes;  // afterwards; 0 is an all-zero step
};

class StepEditTest : public ::testing::TestWithParam<StepEditCase> {};

TEST_P(StepEditTest, MovesStepsWithinTheLayout) {
  const StepEditCase& c = GetParam();
  DeviceConfiguration config;
  config.current_pin = 6;
  config.current_aspect = 1;
  config.pins[6].aspect_layout = c.layout;
  Aspect& aspect = config.pins[6].aspects[1];
  for (int s = 0; s < kMaxStepsPerAspect; ++s) aspect.steps[s] = FullStep(s + 1);
  c.insert ? InsertStep(config, c.step) : DeleteStep(config, c.step);
  for (int s = 0; s < kMaxStepsPerAspect; ++s) {
    EXPECT_EQ(aspect.steps[s], FullStep(c.opcodes[s])) << s;
  }
}

constexpr std::uint8_t kFour = kLayoutFourAspects, kTwelve = kLayoutTwelveAspects;

INSTANTIATE_TEST_SUITE_P(
    Cases, StepEditTest,
    ::testing::Values(
        StepEditCase{"InsertFirstOfFour", kFour, true, 0, {0, 1, 2, 3, 4, 5, 6, 7, 8}},
        StepEditCase{"InsertLastOfFour", kFour, true, 8, {1, 2, 3, 4, 5, 6, 7, 8, 0}},
        StepEditCase{"DeleteFirstOfFour", kFour, false, 0, {2, 3, 4, 5, 6, 7, 8, 9, 0}},
        StepEditCase{"InsertFirstOfTwelve", kTwelve, true, 0, {0, 1, 2, 4, 5, 6, 7, 8, 9}},
        StepEditCase{"DeleteFirstOfTwelve", kTwelve, false, 0, {2, 3, 0, 4, 5, 6, 7, 8, 9}},
        StepEditCase{"DeleteLastOfTwelve", kTwelve, false, 2, {1, 2, 0, 4, 5, 6, 7, 8, 9}},
        StepEditCase{"DeleteBeyondTwelve", kTwelve, false, 5, {1, 2, 3, 4, 5, 6, 7, 8, 9}},
        StepEditCase{"NoLayoutIsThreeSteps", 0, true, 1, {1, 0, 2, 4, 5, 6, 7, 8, 9}}),
    kCaseName);

}  // namespace
}  // namespace tarn
