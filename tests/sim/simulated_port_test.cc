#include "sim/simulated_port.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

#include "sim/manual_clock.h"
#include "sim/simulated_tarn.h"
#include "tarn_test_frames.h"

namespace tarn::sim {
namespace {

using testing::Bytes;
using ::testing::ElementsAre;
using testing::TarnRequest;

constexpr double kByte19200 = 11.0 / 19200;
constexpr double kStart = 100.0;

class SimulatedPortTest : public ::testing::Test {
 protected:
  SimulatedPortTest() { EXPECT_TRUE(port_.Open("sim")); }

  // Reads one byte as a receiver does: waits for it, then takes it.
  std::optional<std::uint8_t> Next(double deadline) {
    if (!port_.WaitForBytes(deadline)) return std::nullopt;
    return port_.ReadByte();
  }

  SimulatedTarn tarn_;
  ManualClock clock_{kStart};
  SimulatedPort port_{tarn_, clock_};
};

TEST_F(SimulatedPortTest, RequestAndReplyTakeTheirWireTime) {
  // Five bytes out, eight back: 13 byte times at 19200 baud.
  ASSERT_TRUE(port_.Write(TarnRequest(0, {0x76, 3})));
  EXPECT_EQ(port_.BytesWaiting(), 0);
  clock_.AdvanceTo(kStart + 6 * kByte19200 - 1e-9);
  EXPECT_EQ(port_.BytesWaiting(), 0) << "first reply byte not yet there";

  std::vector<double> arrivals;
  Bytes reply;
  while (const auto byte = Next(kStart + 2.0)) {
    arrivals.push_back(clock_.Now());
    reply.push_back(*byte);
  }
  ASSERT_EQ(reply.size(), 8u);
  EXPECT_THAT(testing::DecodeFrames(reply)[0].values, ElementsAre(0x76, 3, 0x00, 0x10, 0x40));
  EXPECT_NEAR(arrivals.front(), kStart + 6 * kByte19200, 1e-9);
  EXPECT_NEAR(arrivals.back(), kStart + 13 * kByte19200, 1e-9);
  EXPECT_EQ(clock_.Now(), kStart + 2.0) << "the last wait ran to its deadline";
}

TEST_F(SimulatedPortTest, ByteTimeFollowsTheBitRate) {
  for (const auto& [settings, bits_per_second] :
       {std::pair{"9600,o,8,1", 9600.0}, std::pair{"38400,o,8,1", 38400.0}}) {
    ASSERT_TRUE(port_.ApplySettings(settings));
    const double start = clock_.Now();
    ASSERT_TRUE(port_.Write(TarnRequest(0, {0x70, 0})));
    ASSERT_TRUE(port_.WaitForBytes(start + 1.0));
    EXPECT_NEAR(clock_.Now() - start, 6 * 11 / bits_per_second, 1e-9) << settings;
    while (Next(start + 1.0)) {
    }
  }
  EXPECT_FALSE(port_.ApplySettings("19200,x,8,1"));
  EXPECT_EQ(port_.settings().bits_per_second, 38400) << "a bad string changes nothing";
}

TEST_F(SimulatedPortTest, WritesQueueBehindEachOtherOnTheLine) {
  // The second request goes out only after the first has left the port.
  ASSERT_TRUE(port_.Write(TarnRequest(0, {}, 0, std::nullopt, false)));
  ASSERT_TRUE(port_.Write(TarnRequest(0, {0x70, 0})));
  ASSERT_TRUE(port_.WaitForBytes(kStart + 1.0));
  EXPECT_NEAR(clock_.Now(), kStart + (3 + 5 + 1) * kByte19200, 1e-9);
}

TEST_F(SimulatedPortTest, ALateReplyArrivesAfterTheDelay) {
  tarn_.InjectFault(Fault::kLateReply);
  ASSERT_TRUE(port_.Write(TarnRequest(0, {0x70, 0})));
  EXPECT_FALSE(port_.WaitForBytes(kStart + 2.0));
  EXPECT_EQ(clock_.Now(), kStart + 2.0);
  ASSERT_TRUE(port_.WaitForBytes(kStart + 4.0));
  EXPECT_NEAR(clock_.Now(), kStart + 6 * kByte19200 + kLateReplyDelaySeconds, 1e-9);
}

TEST_F(SimulatedPortTest, InjectedNoiseArrivesBeforeTheReply) {
  port_.InjectReceived(Bytes{0x12, 0x85});
  ASSERT_TRUE(port_.Write(TarnRequest(0, {0x70, 0})));
  EXPECT_EQ(Next(kStart + 1.0), 0x12);
  EXPECT_NEAR(clock_.Now(), kStart + kByte19200, 1e-9);
  EXPECT_EQ(Next(kStart + 1.0), 0x85);
  EXPECT_EQ(Next(kStart + 1.0), 0x03) << "then the reply";
}

TEST_F(SimulatedPortTest, WaitingWithNothingComingRunsToTheDeadline) {
  EXPECT_FALSE(port_.WaitForBytes(kStart + 2.0));
  EXPECT_EQ(clock_.Now(), kStart + 2.0);
  EXPECT_FALSE(port_.WaitForBytes(kStart + 1.0));
  EXPECT_EQ(clock_.Now(), kStart + 2.0) << "the clock never runs back";
  clock_.SleepFor(100);
  EXPECT_NEAR(clock_.Now(), kStart + 2.1, 1e-9);
}

TEST_F(SimulatedPortTest, OpensOnlyTheSimulatedName) {
  EXPECT_EQ(port_.PortName(1), "sim");
  EXPECT_EQ(port_.PortName(2), "");
  EXPECT_EQ(port_.PortName(0), "");
  port_.Close();
  EXPECT_FALSE(port_.IsOpen());
  EXPECT_FALSE(port_.Write(Bytes{0x03}));
  EXPECT_FALSE(port_.Open("/dev/ttyS0"));
  EXPECT_EQ(port_.ErrorText(), "no such device");
  EXPECT_TRUE(port_.Open("sim"));
}

TEST_F(SimulatedPortTest, ClosingDropsBytesOnTheirWay) {
  ASSERT_TRUE(port_.Write(TarnRequest(0, {0x70, 0})));
  port_.Close();
  ASSERT_TRUE(port_.Open("sim"));
  EXPECT_FALSE(port_.WaitForBytes(kStart + 1.0));
}

TEST_F(SimulatedPortTest, AVanishedPortFailsAtOnceAndStaysGone) {
  ASSERT_TRUE(port_.Write(TarnRequest(0, {0x70, 0})));
  clock_.Advance(1.0);
  port_.Vanish();
  EXPECT_TRUE(port_.Failed());
  EXPECT_EQ(port_.BytesWaiting(), 0);
  EXPECT_EQ(port_.ReadByte(), std::nullopt);
  EXPECT_FALSE(port_.WaitForBytes(kStart + 3.0));
  EXPECT_EQ(clock_.Now(), kStart + 1.0) << "no waiting on a dead port";
  EXPECT_FALSE(port_.Write(Bytes{0x03}));

  port_.Close();
  EXPECT_FALSE(port_.Open("sim"));
  EXPECT_EQ(port_.ErrorText(), "no such device");
  EXPECT_EQ(port_.PortName(1), "");
  EXPECT_THAT(port_.ListPorts(), ::testing::IsEmpty());

  // Plugged in again, it is listed and opens.
  port_.ComeBack();
  EXPECT_THAT(port_.ListPorts(), ::testing::ElementsAre(ListedPort{1, "sim"}));
  EXPECT_TRUE(port_.Open("sim"));
  EXPECT_FALSE(port_.Failed());
}

}  // namespace
}  // namespace tarn::sim
