// The scheduler's single pending slot and its press checks.

#include "operations/scheduler.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/simulated_line.h"

namespace tarn {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testing::SimulatedLine;

class RecordingListener : public SchedulerListener {
 public:
  void BusyChanged(bool busy) override { busy_changes.push_back(busy); }
  void OperationFinished(const OperationResult& result) override { finished.push_back(result); }
  std::vector<bool> busy_changes;
  std::vector<OperationResult> finished;
};

class SchedulerTest : public ::testing::Test {
 protected:
  SchedulerTest()
      : session_(line_.link, line_.clock, line_.prompter, progress_, workspace_),
        scheduler_(session_, listener_) {}

  SimulatedLine line_;
  SilentProgress progress_;
  Workspace workspace_;
  Session session_;
  RecordingListener listener_;
  Scheduler scheduler_;
};

TEST_F(SchedulerTest, TheTableHoldsFifteenDistinctNames) {
  for (const OperationEntry& entry : kOperationTable) {
    EXPECT_EQ(OperationNamed(entry.name), entry.operation) << entry.name;
    EXPECT_EQ(&EntryOf(entry.operation), &entry);
  }
  EXPECT_EQ(OperationNamed("readall"), std::nullopt) << "names compare case and all";
}

TEST_F(SchedulerTest, OnlyTheLastRequestRunsOnce) {
  ASSERT_TRUE(scheduler_.Press(Operation::kReadAllEvents));
  ASSERT_TRUE(scheduler_.Press(Operation::kReadPin));
  EXPECT_EQ(scheduler_.pending(), "ReadPin");
  EXPECT_TRUE(scheduler_.busy());
  EXPECT_TRUE(scheduler_.Tick());
  ASSERT_EQ(listener_.finished.size(), 1u);
  EXPECT_EQ(listener_.finished[0].operation, Operation::kReadPin);
  EXPECT_TRUE(listener_.finished[0].succeeded);
  EXPECT_THAT(listener_.finished[0].refresh, ::testing::ElementsAreArray(FullRefresh()));
  EXPECT_FALSE(scheduler_.busy());
  EXPECT_FALSE(scheduler_.Tick()) << "the slot was emptied";
  EXPECT_THAT(listener_.busy_changes, ElementsAre(true, false));
}

TEST_F(SchedulerTest, ATickWithAnEmptySlotSendsNothing) {
  const std::size_t written = line_.port.written().size();
  EXPECT_FALSE(scheduler_.Tick());
  EXPECT_EQ(line_.port.written().size(), written);
  EXPECT_THAT(listener_.busy_changes, IsEmpty());
}

TEST_F(SchedulerTest, VerifyingNeedsAnOpenPort) {
  line_.link.ClosePort();
  for (const Operation operation :
       {Operation::kVerifyAll, Operation::kVerifyAllPins, Operation::kVerifyEvents}) {
    line_.prompter.messages.clear();
    EXPECT_FALSE(scheduler_.Press(operation));
    EXPECT_THAT(line_.prompter.Texts(), ElementsAre("Select communications port"));
  }
  EXPECT_FALSE(scheduler_.busy());
  EXPECT_FALSE(scheduler_.Tick());
}

TEST_F(SchedulerTest, ReadAllWithTheClosedPortFailsAtItsFirstMessage) {
  line_.link.ClosePort();
  ASSERT_TRUE(scheduler_.Press(Operation::kReadAll));
  EXPECT_TRUE(scheduler_.busy());
  scheduler_.Tick();
  EXPECT_FALSE(scheduler_.busy());
  ASSERT_EQ(listener_.finished.size(), 1u);
  EXPECT_FALSE(listener_.finished[0].succeeded);
  EXPECT_THAT(line_.prompter.Texts(), ElementsAre("Select communications port"));
}

TEST_F(SchedulerTest, WriteDeviceRefusesABrokenReferral) {
  DeviceConfiguration& config = workspace_.config;
  config.current_pin = 6;
  config.pins[6].device_pointer = -2;  // leads to pin 4 ...
  config.pins[4].device_pointer = 1;   // ... which is itself a member
  EXPECT_FALSE(scheduler_.Press(Operation::kWriteDevice));
  EXPECT_THAT(line_.prompter.Texts(), ElementsAre("Referral is not a device"));
  EXPECT_EQ(scheduler_.pending(), "");
  config.pins[4].device_pointer = 0;
  EXPECT_TRUE(scheduler_.Press(Operation::kWriteDevice));
}

TEST_F(SchedulerTest, ReadAspsRefreshesTheEditorOnlyWhenItSucceeded) {
  ASSERT_TRUE(scheduler_.Press(Operation::kReadPinAspects));
  scheduler_.Tick();
  line_.tarn.InjectFault(sim::Fault::kNoReply, sim::kAlways);
  ASSERT_TRUE(scheduler_.Press(Operation::kReadPinAspects));
  scheduler_.Tick();
  ASSERT_EQ(listener_.finished.size(), 2u);
  EXPECT_TRUE(listener_.finished[0].succeeded);
  EXPECT_THAT(listener_.finished[0].refresh,
              ElementsAre(Refresh::kAspectEditor, Refresh::kDetailsView));
  EXPECT_FALSE(listener_.finished[1].succeeded);
  EXPECT_THAT(listener_.finished[1].refresh, IsEmpty());
  EXPECT_FALSE(scheduler_.busy()) << "the busy label goes whatever the outcome";
}

}  // namespace
}  // namespace tarn
