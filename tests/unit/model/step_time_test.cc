#include "model/step_time.h"

#include <gtest/gtest.h>

#include <string>

namespace tarn {
namespace {

struct TimeCase {
  int time;
  int base;
  int ticks;
  std::string text;
};

class WaitTimeTest : public ::testing::TestWithParam<TimeCase> {};

TEST_P(WaitTimeTest, TicksAndText) {
  const TimeCase& c = GetParam();
  EXPECT_EQ(WaitTicks(c.time, c.base), c.ticks);
  EXPECT_EQ(TicksText(c.ticks), c.text);
  const Step wait{
      102, 0, 0, 0, static_cast<std::uint8_t>(c.time), static_cast<std::uint8_t>(c.base)};
  EXPECT_EQ(StepTicks(wait), c.ticks);
  EXPECT_EQ(StepTimeText(wait), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Times, WaitTimeTest,
    ::testing::Values(TimeCase{0, 0, 0, "00:00.00"}, TimeCase{1, 0, 1, "00:00.02"},
                      TimeCase{25, 0, 25, "00:00.50"}, TimeCase{49, 0, 49, "00:00.98"},
                      TimeCase{50, 0, 50, "00:01.00"}, TimeCase{63, 0, 63, "00:01.26"},
                      TimeCase{1, 1, 8, "00:00.16"}, TimeCase{63, 1, 504, "00:10.08"},
                      TimeCase{25, 2, 1600, "00:32.00"}, TimeCase{47, 2, 3008, "01:00.16"},
                      TimeCase{63, 2, 4032, "01:20.64"}, TimeCase{6, 3, 3072, "01:01.44"},
                      TimeCase{63, 3, 32256, "10:45.12"}));

TEST(TicksTextTest, FieldsCarryAtTheirBoundaries) {
  EXPECT_EQ(TicksText(2999), "00:59.98");
  EXPECT_EQ(TicksText(3000), "01:00.00");
  EXPECT_EQ(TicksText(3050), "01:01.00");
  EXPECT_EQ(TicksText(29999), "09:59.98");
  EXPECT_EQ(TicksText(30000), "10:00.00");
  EXPECT_EQ(TicksText(300000), "100:00.00");  // minutes have no cap
  EXPECT_EQ(TicksText(-5), "00:00.00");
}

TEST(StepTimeTest, OnlyWaitingInstructionsTakeTime) {
  EXPECT_EQ(StepTimeText(Step{63, 0, 0, 0, 63, 3}), "00:00.00");
  EXPECT_EQ(StepTicks(Step{38, 1, 4, 20, 63, 3}), 0);
  EXPECT_EQ(StepTimeText(Step{64, 0, 0, 0, 1, 0}), "00:00.02");
  EXPECT_EQ(StepTimeText(Step{127, 0, 3, 0, 63, 3}), "10:45.12");
}

TEST(StepTimeTest, OutOfRangeBytesDoNotOverflow) {
  EXPECT_EQ(WaitTicks(63, 200), 32256);
  EXPECT_EQ(WaitTicks(255, 255), 255 * 512);
  EXPECT_EQ(WaitTicks(-4, 1), 0);
  EXPECT_EQ(WaitTicks(1000, 0), 255);
}

}  // namespace
}  // namespace tarn
