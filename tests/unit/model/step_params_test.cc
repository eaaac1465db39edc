#include "model/step_params.h"

#include <gtest/gtest.h>

#include <array>
#include <ostream>
#include <string>
#include <string_view>

namespace tarn {
namespace {

constexpr std::uint8_t kJump = 1, kSendSerial2 = 5, kClone = 7, kMxPulse = 18, kSetLevel = 38,
                       kSetServo = 39, kSetLevelWait = 96, kServoWait = 100, kWait = 102,
                       kIfEqual = 104, kIfNotLess = 107, kSetAspect3 = 115;

struct EntryCase {
  std::string what;
  std::uint8_t opcode;
  StepParam param;
  int pin;
  int base;
  std::string typed;
  std::uint8_t stored;
  std::string text;  // field text afterwards
};

void PrintTo(const EntryCase& c, std::ostream* os) { *os << c.what; }

constexpr auto kCaseName = [](const auto& test) { return test.param.what; };

class EnterParamTest : public ::testing::TestWithParam<EntryCase> {};

TEST_P(EnterParamTest, ClampsStoresAndShows) {
  const EntryCase& c = GetParam();
  Step step;
  step.opcode = c.opcode;
  const ParamEntry entry = EnterParam(step, c.param, c.typed, c.pin, c.base);
  EXPECT_EQ(int{entry.stored}, int{c.stored});
  EXPECT_EQ(int{ParamByte(step, c.param)}, int{c.stored});
  EXPECT_EQ(entry.text, c.text);
  EXPECT_EQ(entry.rewritten, c.text != c.typed);
  EXPECT_EQ(ShownParamText(step, c.param, c.pin, c.base), c.text);
}

constexpr StepParam P1 = StepParam::kP1, P2 = StepParam::kP2, P3 = StepParam::kP3,
                    P4 = StepParam::kP4;

INSTANTIATE_TEST_SUITE_P(
    PinOffset, EnterParamTest,
    ::testing::Values(EntryCase{"Pin5Minus2", kSetLevel, P1, 5, 1, "-2", 30, "-2"},
                      EntryCase{"Pin5Minus5", kSetLevel, P1, 5, 1, "-5", 27, "-5"},
                      EntryCase{"Pin5Minus6", kSetLevel, P1, 5, 1, "-6", 27, "-5"},
                      EntryCase{"Pin5Plus26", kSetLevel, P1, 5, 1, "26", 26, "26"},
                      EntryCase{"Pin5Plus27", kSetLevel, P1, 5, 1, "27", 26, "26"},
                      EntryCase{"Pin0Minus1", kJump, P1, 0, 1, "-1", 0, "0"},
                      EntryCase{"Pin0Plus31", kJump, P1, 0, 1, "31", 31, "31"},
                      EntryCase{"Pin31Minus31", kIfEqual, P1, 31, 0, "-31", 1, "-31"},
                      EntryCase{"Pin31Minus32", kIfEqual, P1, 31, 0, "-32", 1, "-31"},
                      EntryCase{"Pin31Plus1", kIfEqual, P1, 31, 0, "1", 0, "0"},
                      EntryCase{"Pin16Minus16", kSetAspect3, P1, 16, 0, "-16", 16, "-16"},
                      EntryCase{"Pin16Plus15", kSetAspect3, P1, 16, 0, "15", 15, "15"}),
    kCaseName);

INSTANTIATE_TEST_SUITE_P(
    OtherP1Kinds, EnterParamTest,
    ::testing::Values(EntryCase{"AccelNone", kSetLevelWait, P1, 9, 1, "-1", 127, "-1"},
                      EntryCase{"AccelBelowNone", kSetLevelWait, P1, 9, 1, "-5", 127, "-1"},
                      EntryCase{"AccelZero", kSetLevelWait, P1, 9, 1, "0", 0, "0"},
                      EntryCase{"AccelTop", kSetLevelWait, P1, 9, 1, "32", 31, "31"},
                      EntryCase{"MxPinFirstFromOne", kMxPulse, P1, 9, 1, "1", 0, "1"},
                      EntryCase{"MxPinZeroFromOne", kMxPulse, P1, 9, 1, "0", 0, "1"},
                      EntryCase{"MxPinLastFromOne", kMxPulse, P1, 9, 1, "33", 31, "32"},
                      EntryCase{"MxPinLastFromZero", kMxPulse, P1, 9, 0, "32", 31, "31"},
                      EntryCase{"UnusedP1", kWait, P1, 9, 1, "5", 0, "0"}),
    kCaseName);

INSTANTIATE_TEST_SUITE_P(
    P2, EnterParamTest,
    ::testing::Values(EntryCase{"ServoCentre", kSetServo, P2, 0, 1, "0", 64, "0"},
                      EntryCase{"ServoLow", kSetServo, P2, 0, 1, "-64", 0, "-64"},
                      EntryCase{"ServoBelowLow", kSetServo, P2, 0, 1, "-65", 0, "-64"},
                      EntryCase{"ServoHigh", kSetServo, P2, 0, 1, "63", 127, "63"},
                      EntryCase{"ServoAboveHigh", kSetServo, P2, 0, 1, "100", 127, "63"},
                      EntryCase{"ServoWaitAboveHigh", kServoWait, P2, 0, 1, "64", 127, "63"},
                      EntryCase{"CloneFirstFromOne", kClone, P2, 0, 1, "1", 0, "1"},
                      EntryCase{"CloneZeroFromOne", kClone, P2, 0, 1, "0", 0, "1"},
                      EntryCase{"CloneLastFromOne", kClone, P2, 0, 1, "33", 31, "32"},
                      EntryCase{"CloneLastFromZero", kClone, P2, 0, 0, "31", 31, "31"},
                      EntryCase{"IfMinusOne", kIfEqual, P2, 0, 1, "-1", 127, "-1"},
                      EntryCase{"IfLowest", kIfNotLess, P2, 0, 1, "-64", 64, "-64"},
                      EntryCase{"IfBelowLowest", kIfNotLess, P2, 0, 1, "-65", 64, "-64"},
                      EntryCase{"IfHighest", kIfEqual, P2, 0, 1, "63", 63, "63"},
                      EntryCase{"IfAboveHighest", kIfEqual, P2, 0, 1, "64", 63, "63"},
                      EntryCase{"JumpAspect", kJump, P2, 0, 1, "12", 11, "11"},
                      EntryCase{"SerialFullByte", kSendSerial2, P2, 0, 1, "255", 255, "255"},
                      EntryCase{"SerialAboveByte", kSendSerial2, P2, 0, 1, "256", 255, "255"}),
    kCaseName);

INSTANTIATE_TEST_SUITE_P(
    P3P4, EnterParamTest,
    ::testing::Values(EntryCase{"JumpStep8", kJump, P3, 0, 1, "8", 8, "8"},
                      EntryCase{"JumpStep9", kJump, P3, 0, 1, "9", 8, "8"},
                      EntryCase{"SerialByte255", kSendSerial2, P3, 0, 1, "255", 255, "255"},
                      EntryCase{"SerialByte256", kSendSerial2, P3, 0, 1, "256", 255, "255"},
                      EntryCase{"MxLevel31", kMxPulse, P3, 0, 1, "31", 31, "31"},
                      EntryCase{"MxLevel32", kMxPulse, P3, 0, 1, "32", 31, "31"},
                      EntryCase{"WaitTime63", kWait, P3, 0, 1, "63", 63, "63"},
                      EntryCase{"WaitTime64", kWait, P3, 0, 1, "64", 63, "63"},
                      EntryCase{"SetAspectTime64", kSetAspect3, P3, 0, 1, "64", 63, "63"},
                      EntryCase{"NegativeTime", kWait, P3, 0, 1, "-3", 0, "0"},
                      EntryCase{"Base3", kWait, P4, 0, 1, "3", 3, "3"},
                      EntryCase{"Base4", kWait, P4, 0, 1, "4", 3, "3"},
                      EntryCase{"BaseNegative", kWait, P4, 0, 1, "-1", 0, "0"},
                      EntryCase{"UnusedP3", kSetLevel, P3, 0, 1, "5", 0, "0"}),
    kCaseName);

INSTANTIATE_TEST_SUITE_P(
    TypedText, EnterParamTest,
    ::testing::Values(EntryCase{"Letters", kWait, P3, 0, 1, "abc", 0, "0"},
                      EntryCase{"Empty", kWait, P3, 0, 1, "", 0, "0"},
                      EntryCase{"TrailingLetters", kWait, P3, 0, 1, "12abc", 12, "12"},
                      EntryCase{"LeadingBlanks", kWait, P3, 0, 1, "  7", 7, "7"},
                      EntryCase{"FractionRounds", kWait, P3, 0, 1, "7.9", 8, "8"},
                      EntryCase{"PlusSign", kWait, P3, 0, 1, "+7", 7, "7"},
                      EntryCase{"Huge", kWait, P3, 0, 1, "99999999999999999999", 63, "63"},
                      EntryCase{"HugeNegative", kSetLevel, P1, 5, 1, "-99999999999999999999", 27,
                                "-5"}),
    kCaseName);

// Every distance a pin can reach survives entry and display, on both sides of the wrap.
TEST(PinOffsetTest, EveryReachableDistanceRoundTrips) {
  Step step;
  step.opcode = kSetLevel;
  for (int pin = 0; pin < 32; ++pin) {
    for (int distance = -pin; distance <= 31 - pin; ++distance) {
      const ParamEntry entry = EnterParam(step, P1, std::to_string(distance), pin, 1);
      EXPECT_EQ((pin + entry.stored) % 32, pin + distance) << pin << " " << distance;
      EXPECT_LT(int{entry.stored}, 32);
      EXPECT_EQ(ShownParamValue(step, P1, pin, 1), distance) << pin << " " << distance;
      EXPECT_FALSE(entry.rewritten);
    }
  }
}

TEST(ShowParamTest, StoredBytesShowAsTheUserEntersThem) {
  const Step offset{kSetLevel, 1, 26, 20, 0, 0};
  EXPECT_EQ(ShownParamValue(offset, P1, 5, 1), 26);  // pin 31
  EXPECT_EQ(ShownParamValue(offset, P1, 6, 1), -6);  // pin 0, across the wrap
  EXPECT_EQ(ShownParamValue(Step{kSetLevelWait, 0, 127, 0, 0, 0}, P1, 3, 1), -1);
  EXPECT_EQ(ShownParamValue(Step{kSetLevelWait, 0, 126, 0, 0, 0}, P1, 3, 1), 126);
  EXPECT_EQ(ShownParamValue(Step{kServoWait, 0, 0, 64, 0, 0}, P2, 3, 1), 0);
  EXPECT_EQ(ShownParamValue(Step{kIfEqual, 0, 0, 64, 0, 0}, P2, 3, 1), -64);
  EXPECT_EQ(ShownParamValue(Step{kIfEqual, 0, 0, 63, 0, 0}, P2, 3, 1), 63);
  EXPECT_EQ(ShownParamValue(Step{kClone, 0, 0, 4, 0, 0}, P2, 3, 0), 4);
  EXPECT_EQ(ShownParamValue(Step{kWait, 0, 0, 0, 40, 2}, P3, 3, 1), 40);
  EXPECT_EQ(ShownParamValue(Step{kWait, 0, 0, 0, 40, 2}, P4, 3, 1), 2);
}

TEST(EnterParamTest, NormalisesTheWholeStep) {
  Step step{kSetLevel, 1, 3, 20, 9, 2};  // stale p3, p4 from an earlier instruction
  EnterParam(step, P2, "25", 0, 1);
  EXPECT_EQ(step, (Step{kSetLevel, 1, 3, 25, 0, 0}));
}

TEST(RefreshStepRowTest, WaitAfterSetLevelGreysAndZeroesTheOutputFields) {
  Step step{kWait, 1, 4, 20, 63, 3};  // was "Set Level" with p2 = 20
  const StepRowView view = RefreshStepRow(step, 5, 1);
  EXPECT_EQ(step, (Step{kWait, 0, 0, 0, 63, 3}));
  EXPECT_EQ(InstructionMenu()[view.menu_index].name, "Wait");
  EXPECT_FALSE(view.fade_allowed);
  EXPECT_EQ(view.fade_heading, "");
  const std::array<std::string, 4> texts = {"0", "0", "63", "3"};
  const std::array<std::string_view, 4> labels = {"", "", "Time", "Base"};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(view.params[i].text, texts[i]) << i;
    EXPECT_EQ(view.params[i].label, labels[i]) << i;
    EXPECT_EQ(view.params[i].used, i >= 2) << i;
  }
  EXPECT_EQ(view.time_text, "10:45.12");
}

TEST(RefreshStepRowTest, ShowsServoStepInUserTerms) {
  Step step{kSetServo, 1, 30, 0, 0, 0};
  const StepRowView view = RefreshStepRow(step, 5, 1);
  EXPECT_EQ(view.fade_heading, "Fade");
  EXPECT_EQ(view.params[0].text, "-2");
  EXPECT_EQ(view.params[1].text, "-64");
  EXPECT_EQ(view.time_text, "00:00.00");
  Step unknown{50, 1, 1, 2, 3, 4};
  EXPECT_EQ(RefreshStepRow(unknown, 5, 1).menu_index, 0);
}

}  // namespace
}  // namespace tarn
