// Every way a line lets a Tarn down, at the first, a middle and the last exchange of "Read All",
// "Write All" and "Verify All", direct and tunnelled, against Tarns that answer writes with nothing
// or with the command, promptly or late: no operation may end in a success the Tarn did not
// confirm.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "operations/scheduler.h"
#include "support/simulated_line.h"
#include "unit/operations/device_ready_configuration.h"

namespace tarn {
namespace {

using sim::Fault;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::EndsWith;
using ::testing::Not;
using ::testing::StartsWith;
using testing::SimulatedLine;

enum class At { kFirst, kMiddle, kLast };

struct FaultCase {
  const char* name;
  Fault fault;
  int times;  // sim::kAlways for a Tarn that stays that way
  At at;
  bool adapter_pulled = false;  // instead of the fault, the port goes away at that reply
};

constexpr FaultCase kFaultCases[] = {
    {"no reply, first", Fault::kNoReply, 1, At::kFirst},
    {"no reply, middle", Fault::kNoReply, 1, At::kMiddle},
    {"no reply, last", Fault::kNoReply, 1, At::kLast},
    {"garbled, first", Fault::kBadChecksum, 1, At::kFirst},
    {"garbled, middle", Fault::kBadChecksum, 1, At::kMiddle},
    {"garbled, last", Fault::kBadChecksum, 1, At::kLast},
    {"wrong echo, first", Fault::kWrongEcho, 1, At::kFirst},
    {"wrong echo, middle", Fault::kWrongEcho, 1, At::kMiddle},
    {"wrong echo, last", Fault::kWrongEcho, 1, At::kLast},
    {"silent Tarn", Fault::kNoReply, sim::kAlways, At::kFirst},
    {"refused event reads", Fault::kRefuseEventReads, sim::kAlways, At::kFirst},
    {"adapter pulled, first", Fault::kNoReply, 0, At::kFirst, true},
    {"adapter pulled, middle", Fault::kNoReply, 0, At::kMiddle, true},
    {"adapter pulled, last", Fault::kNoReply, 0, At::kLast, true},
};

// Parameters: the operation, and the Tarn and its line.
class LineFaultsTest
    : public ::testing::TestWithParam<std::tuple<Operation, testing::LineKind>> {
 protected:
  // A line to a Tarn that holds the configuration the workspace holds.
  struct Bench {
    explicit Bench(const testing::LineKind& kind) : line(kind) {
      workspace.config = testing::DeviceReadyConfiguration();
    }
    SimulatedLine line;
    SilentProgress progress;
    Workspace workspace;
    Session session{line.link, line.clock, line.prompter, progress, workspace};
    SchedulerListener listener;
    Scheduler scheduler{session, listener};
  };

  static Operation operation() { return std::get<0>(GetParam()); }
  static const testing::LineKind& kind() { return std::get<1>(GetParam()); }

  // How many replies a clean run of the operation asks for, and the Tarn's memory before it.
  void SetUp() override {
    Bench clean(kind());
    ASSERT_TRUE(clean.scheduler.Run(Operation::kWriteAll).succeeded);
    memory_ = clean.line.tarn.memory();
    const int before = clean.line.tarn.replies_asked();
    ASSERT_TRUE(clean.scheduler.Run(operation()).succeeded);
    replies_ = clean.line.tarn.replies_asked() - before;
    ASSERT_GT(replies_, 2);
  }

  int ReplyNumber(At at) const {
    switch (at) {
      case At::kFirst:
        return 1;
      case At::kMiddle:
        return replies_ / 2;
      case At::kLast:
        return replies_;
    }
    return 1;
  }

  sim::TarnMemory memory_;
  int replies_ = 0;
};

TEST_P(LineFaultsTest, NoSuccessTheTarnDidNotConfirm) {
  for (const FaultCase& c : kFaultCases) {
    SCOPED_TRACE(c.name);
    Bench bench(kind());
    bench.line.tarn.memory() = memory_;
    if (c.adapter_pulled) {
      sim::SimulatedTarn& tarn = bench.line.tarn;
      bench.line.port.VanishWhen(
          [&tarn, reply = ReplyNumber(c.at)] { return tarn.replies_asked() >= reply; });
    } else {
      bench.line.tarn.InjectFaultAtReply(c.fault, ReplyNumber(c.at), c.times);
    }
    const OperationResult result = bench.scheduler.Run(operation());
    const std::vector<std::string> messages = bench.line.prompter.Texts();
    if (c.adapter_pulled) {
      // One message that names the port and says it is gone, and the port shown closed.
      EXPECT_THAT(messages, ElementsAre(StartsWith("The serial port sim is gone")));
      EXPECT_TRUE(result.port_lost);
      EXPECT_FALSE(bench.line.link.port_open());
    }

    switch (KindOf(operation())) {
      case OperationKind::kWrite:
        if (c.fault == Fault::kRefuseEventReads) {  // a write reads nothing
          EXPECT_TRUE(result.succeeded);
          EXPECT_EQ(result.summary, kWritten);
          break;
        }
        EXPECT_FALSE(result.succeeded);
        EXPECT_FALSE(result.unconfirmed);
        EXPECT_EQ(result.summary, kWriteStopped);
        if (!c.adapter_pulled) EXPECT_THAT(messages, Contains(std::string(kWriteStopped)));
        break;
      case OperationKind::kRead:
        EXPECT_FALSE(result.succeeded);
        EXPECT_NE(result.summary, kReadDone);
        // Either it stopped, or it went on and lists what it could not take.
        if (result.unconfirmed) {
          EXPECT_THAT(result.not_read, Not(::testing::IsEmpty()));
          EXPECT_THAT(messages, Contains(::testing::StartsWith(std::string(kSomethingNotRead))));
        } else {
          EXPECT_EQ(result.summary, kReadStopped);
        }
        break;
      case OperationKind::kVerify:
        EXPECT_FALSE(result.succeeded);
        EXPECT_THAT(result.report, Not(::testing::HasSubstr(std::string(kVerifyOk))));
        EXPECT_THAT(result.report, EndsWith(std::string(kVerificationStopped)));
        break;
    }
  }
}

// With "Bidirectional Comm." off nothing can be confirmed: the write says so instead of "Written".
TEST_P(LineFaultsTest, AOneWayWriteIsNeverCalledWritten) {
  if (operation() != Operation::kWriteAll) GTEST_SKIP() << "only writes go one way";
  Bench bench(kind());
  bench.line.link.SetBidirectional(false);
  const OperationResult result = bench.scheduler.Run(Operation::kWriteAll);
  EXPECT_FALSE(result.succeeded);
  EXPECT_TRUE(result.unconfirmed);
  EXPECT_EQ(result.summary, kSentNotConfirmed);
}

std::string CaseName(
    const ::testing::TestParamInfo<std::tuple<Operation, testing::LineKind>>& info) {
  return std::string(EntryOf(std::get<0>(info.param)).name) + std::get<1>(info.param).name;
}

INSTANTIATE_TEST_SUITE_P(Operations, LineFaultsTest,
                         ::testing::Combine(::testing::Values(Operation::kReadAll,
                                                              Operation::kWriteAll,
                                                              Operation::kVerifyAll),
                                            ::testing::ValuesIn(testing::AllLineKinds())),
                         CaseName);

}  // namespace
}  // namespace tarn
