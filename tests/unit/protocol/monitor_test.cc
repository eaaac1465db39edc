// The traffic monitor against the simulated Tarn, whose report to an empty poll tells the last
// live-control message and how many came.

#include "protocol/monitor.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

#include "link/frame_checksum.h"
#include "protocol/live_control.h"
#include "support/scripted_port.h"
#include "support/simulated_line.h"

namespace tarn {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Optional;

TEST(MonitorLineTest, EachValueInBracketsFollowedByABlank) {
  const std::uint8_t report[] = {112, 3, 0, 127};
  EXPECT_EQ(MonitorLine(report), "<112> <3> <0> <127> ");
}

class MonitorTest : public ::testing::TestWithParam<testing::LineKind> {};

// A report is printed whenever the Tarn gives one: at every poll, or only when something happened.
TEST_P(MonitorTest, PollsPrintTheTarnsReports) {
  testing::SimulatedLine line(GetParam(), 4);
  const bool every_poll = GetParam().choices.poll_reports == sim::PollReports::kEveryPoll;
  const auto nothing_new = [every_poll](const std::string& report) {
    return every_poll ? std::optional<std::string>(report) : std::nullopt;
  };
  TrafficMonitor monitor(line.link, line.prompter);
  const std::size_t written = line.port.written().size();
  EXPECT_EQ(monitor.Poll(), std::nullopt) << "the timer is off";
  EXPECT_EQ(line.port.written().size(), written);

  EXPECT_THAT(monitor.MonitorPressed(), Optional(std::string("Start Monitoring")));
  EXPECT_EQ(monitor.MonitorPressed(), std::nullopt) << "once only";
  EXPECT_TRUE(monitor.timer_on());
  EXPECT_EQ(monitor.Poll(), nothing_new("<0> <0> <0> <0> "));

  DeviceConfiguration config;
  config.current_pin = 9;
  LiveControl live(line.link, line.prompter, config);
  live.ConfirmLevel(LiveOutput::kServo, 20);
  EXPECT_THAT(monitor.Poll(), Optional(std::string("<39> <9> <84> <1> ")));
  EXPECT_EQ(monitor.Poll(), nothing_new("<39> <9> <84> <1> "));

  EXPECT_EQ(monitor.MonitorLostFocus(), "Monitoring Stopped");
  EXPECT_FALSE(monitor.timer_on());
  EXPECT_EQ(monitor.Poll(), std::nullopt);
  EXPECT_THAT(monitor.MonitorPressed(), Optional(std::string("Start Monitoring")));
  EXPECT_THAT(line.prompter.Texts(), IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(Tarns, MonitorTest, ::testing::ValuesIn(testing::AllLineKinds()),
                         testing::LineKindName);

TEST(MonitorFailureTest, ClosedPortLeavesTheTimerOff) {
  testing::SimulatedLine line;
  line.link.ClosePort();
  TrafficMonitor monitor(line.link, line.prompter);
  EXPECT_EQ(monitor.MonitorPressed(), std::nullopt);
  EXPECT_FALSE(monitor.timer_on());
  EXPECT_THAT(line.prompter.Texts(), ElementsAre("Select Comm-port"));
}

// A port that goes away ends the monitoring once, instead of asking for a port at every tick.
TEST(MonitorFailureTest, APortThatClosesOrFailsStopsTheTimer) {
  for (const bool fails : {false, true}) {
    testing::SimulatedLine line;
    TrafficMonitor monitor(line.link, line.prompter);
    monitor.MonitorPressed();
    if (fails) {
      line.port.Vanish();
    } else {
      line.link.ClosePort();
    }
    EXPECT_THAT(monitor.Poll(), Optional(std::string("Monitoring Stopped"))) << fails;
    EXPECT_FALSE(monitor.timer_on());
    EXPECT_EQ(monitor.Poll(), std::nullopt);
    // Only the failure itself is reported, by the link.
    EXPECT_EQ(line.prompter.Texts().size(), fails ? 1U : 0U);
  }
}

// Replies of any length to the poll, from a scripted line: only four values make a report.
TEST(MonitorFailureTest, OnlyAFourValueReplyIsAReport) {
  testing::FakeClock clock;
  testing::ScriptedPort port(clock);
  testing::RecordingPrompter prompter;
  Link link(port, clock, prompter);
  ASSERT_TRUE(link.SelectPort("1 /dev/ttyS0"));
  std::vector<std::uint8_t> payload;
  port.on_write = [&payload](testing::ScriptedPort& p, std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 2 || bytes[0] == 0 || (bytes[1] & 0xE0) != 0xE0) return;
    std::vector<std::uint8_t> reply = {bytes[0], static_cast<std::uint8_t>(0xE0 | payload.size())};
    for (const std::uint8_t value : payload) reply.push_back(0x80 | value);
    reply.push_back(FrameChecksum(reply));
    p.Queue(reply);
  };
  TrafficMonitor monitor(link, prompter);
  monitor.MonitorPressed();
  const struct {
    std::vector<std::uint8_t> reply;
    std::optional<std::string> line;
  } cases[] = {
      {{112, 3, 0, 127}, "<112> <3> <0> <127> "}, {{112, 3, 0}, std::nullopt},
      {{112, 3, 0, 127, 5}, std::nullopt},        {{}, std::nullopt},
      {{1, 2, 3, 4}, "<1> <2> <3> <4> "},
  };
  for (const auto& c : cases) {
    payload = c.reply;
    EXPECT_EQ(monitor.Poll(), c.line) << c.reply.size();
  }
  EXPECT_THAT(prompter.Texts(), IsEmpty());
}

}  // namespace
}  // namespace tarn
