#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "model/event_pattern_calculator.h"
#include "model/help_tools.h"
#include "model/level_calculator.h"
#include "model/pattern_calculator.h"
#include "model/time_calculator.h"

namespace tarn {
namespace {

constexpr auto kCaseName = [](const auto& test) { return test.param.what; };

struct LevelCase {
  std::string what;
  std::string opened;
  int level;
  int time_index;
  std::string delay;
  std::string parameter;
};

class LevelOpenTest : public ::testing::TestWithParam<LevelCase> {};

TEST_P(LevelOpenTest, SplitsTheClampedParameter) {
  const LevelCase& c = GetParam();
  const LevelCalculator calc = OpenLevelCalculator(c.opened);
  EXPECT_EQ(calc.level_text, std::to_string(c.level));
  EXPECT_EQ(calc.time_index_text, std::to_string(c.time_index));
  EXPECT_EQ(calc.delay_text, c.delay);
  EXPECT_EQ(calc.parameter.text, c.parameter);
  EXPECT_EQ(ClosingParameter(calc.parameter, false), c.parameter);
}

INSTANTIATE_TEST_SUITE_P(Cases, LevelOpenTest,
                         ::testing::Values(LevelCase{"ThirtySeven", "37", 5, 2, "0.7", "37"},
                                           LevelCase{"AboveRange", "200", 15, 7, "4", "127"},
                                           LevelCase{"Negative", "-3", 0, 0, "0", "0"}),
                         kCaseName);

TEST(LevelCalculatorTest, TypedValueOutOfRangeWaitsForLeaving) {
  LevelCalculator calc = OpenLevelCalculator("37");
  calc = TypeLevelField(calc, LevelField::kLevel, "20");
  EXPECT_EQ(calc.parameter.text, "37");
  EXPECT_EQ(calc.level_text, "20");
  calc = LeaveLevelField(calc, LevelField::kLevel, "20");
  EXPECT_EQ(calc.level_text, "15");
  EXPECT_EQ(calc.parameter.text, "47");
  calc = TypeLevelField(calc, LevelField::kTimeIndex, "6");
  EXPECT_EQ(calc.parameter.text, "111");
  EXPECT_EQ(calc.delay_text, "2.8");
  EXPECT_EQ(ClosingParameter(calc.parameter, true), "111");
  EXPECT_EQ(ClosingParameter(calc.parameter, false), "37");
}

// Bits 0..6 the output boxes, bit 7 "All Dark", bit 8 "No Dark-phase".
int Mask(const PatternCalculator& calc, bool CheckBoxView::*flag) {
  int mask = (calc.all_dark.*flag ? 1 << 7 : 0) | (calc.no_dark.*flag ? 1 << 8 : 0);
  for (int i = 0; i < kPatternBoxCount; ++i) mask |= calc.output_boxes[i].*flag ? 1 << i : 0;
  return mask;
}

struct PatternCase {
  std::string what;
  int outputs;
  int value;
  int checked;
  int enabled;
  std::string parameter;
};

class PatternOpenTest : public ::testing::TestWithParam<PatternCase> {};

TEST_P(PatternOpenTest, TicksTheBitsTheOutputsHave) {
  const PatternCase& c = GetParam();
  const PatternCalculator calc = OpenPatternCalculator(c.value, c.outputs, "12");
  EXPECT_EQ(Mask(calc, &CheckBoxView::checked), c.checked);
  EXPECT_EQ(Mask(calc, &CheckBoxView::enabled), c.enabled);
  EXPECT_EQ(calc.parameter.text, c.parameter);
  EXPECT_EQ(ClosingParameter(calc.parameter, false), "12");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PatternOpenTest,
    ::testing::Values(PatternCase{"ThreeOutputs", 3, 5, 0x005, 0x187, "5"},
                      PatternCase{"ThreeDropsUnusedBit", 3, 64 + 8 + 1, 0x101, 0x187, "65"},
                      PatternCase{"FiveBothDarkBits", 5, 96 + 3, 0x083, 0x19F, "35"},
                      PatternCase{"SixOutputs", 6, 127, 0x03F, 0x03F, "63"},
                      PatternCase{"SevenOutputs", 7, 127, 0x07F, 0x07F, "127"}),
    kCaseName);

TEST(PatternCalculatorTest, DarkBoxesExcludeEachOther) {
  PatternCalculator calc = SetAllDark(OpenPatternCalculator(5, 3, "5"), true);
  EXPECT_EQ(calc.parameter.text, "37");
  calc = SetNoDark(calc, true);
  EXPECT_FALSE(calc.all_dark.checked);
  EXPECT_EQ(calc.parameter.text, "69");
  calc = SetPatternOutput(calc, 4, true);  // beyond three outputs: disabled
  calc = SetPatternOutput(calc, 1, true);
  EXPECT_EQ(calc.parameter.text, "71");
  EXPECT_EQ(SetAllDark(OpenPatternCalculator(3, 7, "3"), true).parameter.text, "3");
}

struct EventCase {
  std::string what;
  int value;
  int inputs;  // bit i: "Event Input i" ticked
  int option;
  std::string parameter;
};

class EventPatternOpenTest : public ::testing::TestWithParam<EventCase> {};

TEST_P(EventPatternOpenTest, ConvertsValuesWithoutAnAction) {
  const EventCase& c = GetParam();
  const EventPatternCalculator calc = OpenEventPatternCalculator(c.value, "x");
  int inputs = 0;
  for (int i = 0; i < kEventInputCount; ++i) inputs |= calc.inputs[i] ? 1 << i : 0;
  EXPECT_EQ(inputs, c.inputs);
  EXPECT_EQ(calc.option, c.option);
  EXPECT_EQ(calc.parameter.text, c.parameter);
  EXPECT_EQ(ClosingParameter(calc.parameter, false), "x");
}

INSTANTIATE_TEST_SUITE_P(Cases, EventPatternOpenTest,
                         ::testing::Values(EventCase{"Two", 2, 0b0100, 1, "20"},
                                           EventCase{"Five", 5, 0b0010, 5, "82"},
                                           EventCase{"SixtySix", 66, 0b0100, 1, "20"},
                                           EventCase{"Ten", 10, 0, 1, "16"},
                                           EventCase{"SeventyFour", 74, 0, 5, "80"},
                                           EventCase{"OneFifteen", 115, 0b0011, 7, "115"},
                                           EventCase{"LowSevenBits", 200, 0, 5, "80"}),
                         kCaseName);

TEST(EventPatternCalculatorTest, BoxesAndOptionComposeTheByte) {
  EventPatternCalculator calc = OpenEventPatternCalculator(115, "115");
  calc = ChooseEventOption(calc, 2);
  EXPECT_EQ(calc.parameter.text, "35");
  calc = ChooseEventOption(calc, 4);  // no such option
  calc = SetEventInput(calc, 3, true);
  EXPECT_EQ(calc.parameter.text, "43");
  calc = ChooseEventOption(calc, 6);
  EXPECT_EQ(calc.parameter.text, "107");
}

struct TimeCase {
  int base;
  int time;
  std::string max_time;
  std::string time_text;
};

class TimeCalculatorTest : public ::testing::TestWithParam<TimeCase> {};

TEST_P(TimeCalculatorTest, ShowsDurationAndLongestAtTheBase) {
  const TimeCase& c = GetParam();
  const Step wait{
      102, 0, 0, 0, static_cast<std::uint8_t>(c.time), static_cast<std::uint8_t>(c.base)};
  const TimeCalculator calc = OpenTimeCalculator(wait);
  EXPECT_EQ(calc.max_time_text, c.max_time);
  EXPECT_EQ(calc.time_text, c.time_text);
  EXPECT_EQ(MoveTimeSlider(SetTimeBase(TimeCalculator{}, c.base), c.time).time_text, c.time_text);
}

INSTANTIATE_TEST_SUITE_P(Cases, TimeCalculatorTest,
                         ::testing::Values(TimeCase{0, 25, "00:01.26", "00:00.50"},
                                           TimeCase{1, 0, "00:10.08", "00:00.00"},
                                           TimeCase{2, 25, "01:20.64", "00:32.00"},
                                           TimeCase{3, 63, "10:45.12", "10:45.12"}));

TEST(TimeCalculatorTest, TypedBaseIsClampedAndCancelRestores) {
  Step step{102, 0, 0, 0, 10, 1};
  TimeCalculator calc = EnterTimeBase(OpenTimeCalculator(step), "7");
  EXPECT_EQ(calc.base_text, "3");
  calc = EnterTimeBase(MoveTimeSlider(calc, 25), "-1");
  EXPECT_EQ(calc.base_text, "0");
  EXPECT_EQ(calc.time_text, "00:00.50");
  StoreWaitTime(step, CancelTimeCalculator(calc));
  EXPECT_EQ(step, (Step{102, 0, 0, 0, 10, 1}));
  StoreWaitTime(step, calc);
  EXPECT_EQ(step, (Step{102, 0, 0, 0, 25, 0}));
}

struct HelpToolCase {
  std::string what;
  std::uint8_t opcode;
  HelpToolBox box;
  HelpTool tool;
  int outputs;
};

class HelpToolTest : public ::testing::TestWithParam<HelpToolCase> {};

TEST_P(HelpToolTest, OpensTheCalculatorOfTheBox) {
  const HelpToolCase& c = GetParam();
  const HelpToolChoice choice = ChooseHelpTool(Step{c.opcode}, c.box);
  const std::string_view message =
      c.tool == HelpTool::kNone ? kHelpToolNotAvailableText : std::string_view{};
  EXPECT_EQ(choice, (HelpToolChoice{c.tool, c.outputs, message}));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HelpToolTest,
    ::testing::Values(HelpToolCase{"SetLevelP2", 38, HelpToolBox::kP2, HelpTool::kNone, 0},
                      HelpToolCase{"WaitP3", 102, HelpToolBox::kP3, HelpTool::kTime, 0},
                      HelpToolCase{"WaitStepTime", 102, HelpToolBox::kStepTime, HelpTool::kTime, 0},
                      HelpToolCase{"SetAspectP4", 112, HelpToolBox::kP4, HelpTool::kTime, 0},
                      HelpToolCase{"SetLevelWaitP1", 96, HelpToolBox::kP1, HelpTool::kNone, 0},
                      HelpToolCase{"Multibit3P2", 13, HelpToolBox::kP2, HelpTool::kPattern, 3},
                      HelpToolCase{"Multibit7NdP2", 37, HelpToolBox::kP2, HelpTool::kPattern, 7},
                      HelpToolCase{"Multibit3P3", 13, HelpToolBox::kP3, HelpTool::kNone, 0},
                      HelpToolCase{"EventInputP2", 16, HelpToolBox::kP2, HelpTool::kEventPattern,
                                   0}),
    kCaseName);

struct OpeningValueCase {
  std::string what;
  std::uint8_t opcode;
  std::string p2_text;
  int value;
};

class CalculatorOpeningValueTest : public ::testing::TestWithParam<OpeningValueCase> {};

TEST_P(CalculatorOpeningValueTest, ReadsTheFieldAsCommittingWouldStoreIt) {
  const OpeningValueCase& c = GetParam();
  EXPECT_EQ(CalculatorOpeningValue(Step{c.opcode}, c.p2_text, 5, 1), c.value);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CalculatorOpeningValueTest,
    ::testing::Values(OpeningValueCase{"Shown", 13, "37", 37},
                      OpeningValueCase{"AboveTheRange", 13, "200", 127},
                      OpeningValueCase{"Negative", 16, "-3", 0},
                      OpeningValueCase{"Rounded", 16, "4.6", 5},
                      OpeningValueCase{"NoNumber", 33, "x", 0}),
    kCaseName);

}  // namespace
}  // namespace tarn
