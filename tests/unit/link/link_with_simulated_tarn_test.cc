// The link against the simulated Tarn, which decodes frames with its own code: direct and
// tunnelled, with and without the extended address, and with the faults a real line has.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "link/link.h"
#include "sim/simulated_port.h"
#include "sim/simulated_tarn.h"
#include "sim/simulated_tolvik_unit.h"
#include "support/simulated_line.h"

namespace tarn {
namespace {

using Bytes = std::vector<std::uint8_t>;
using sim::Fault;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using testing::SimulatedLine;

const Bytes kVersionRequest = {0x70, 0x00};
const Bytes kVersionReply = {0x70, 0x00, 3, 1, 0, 10};

class LinkWithSimulatedTarnTest : public ::testing::TestWithParam<bool> {};

TEST_P(LinkWithSimulatedTarnTest, VersionRequestAtEveryBitRate) {
  SimulatedLine line(GetParam(), 5);
  for (int index = 0; index < static_cast<int>(std::size(kBitRateSettings)); ++index) {
    line.link.SelectBitRate(index);
    line.link.SetBidirectional(true);
    if (GetParam() && !line.link.tunnelling()) line.link.SwitchTunnelling(true);
    for (int repeat = 0; repeat < 3; ++repeat) {  // both link toggles, and a resynchronisation
      ASSERT_TRUE(line.link.SendTarnMessage(true, kVersionRequest)) << index;
      EXPECT_TRUE(line.link.reply_valid()) << index;
      EXPECT_TRUE(line.link.tarn_reply_received()) << index;
      EXPECT_EQ(line.link.ReplyPayload(), kVersionReply) << index;
    }
  }
  EXPECT_THAT(line.prompter.Texts(), IsEmpty());
}

TEST_P(LinkWithSimulatedTarnTest, ExtendedAddressSelectsTheTarn) {
  SimulatedLine line(GetParam());
  const Bytes store_seven = {0x60, 2, 7};
  line.link.SetBidirectional(false);
  ASSERT_TRUE(line.link.SendTarnMessage(false, store_seven));
  line.link.SetBidirectional(true);
  line.link.SetExtendedAddressing(true);

  line.link.TakeOverExtendedAddress(7);
  ASSERT_TRUE(line.link.SendTarnMessage(true, Bytes{0x70, 2}));
  EXPECT_TRUE(line.link.tarn_reply_received());
  EXPECT_THAT(line.link.ReplyPayload(), ElementsAre(0x70, 2, 7));

  // Another extended address: the Tarn keeps quiet.
  line.link.TakeOverExtendedAddress(8);
  line.link.SendTarnMessage(true, Bytes{0x70, 2});
  EXPECT_FALSE(line.link.tarn_reply_received());
  if (!GetParam()) {
    EXPECT_THAT(line.prompter.Texts(),
                ElementsAre("No response received, resetting bidirectional communication"));
  }
}

TEST_P(LinkWithSimulatedTarnTest, AnotherModuleAddressGetsNoReply) {
  SimulatedLine line(GetParam(), 2);
  line.link.TakeOverModuleAddress(3);
  line.link.SetBidirectional(true);
  line.link.SendTarnMessage(true, kVersionRequest);
  EXPECT_FALSE(line.link.tarn_reply_received());
  // The next message to the right module is answered again.
  line.link.TakeOverModuleAddress(2);
  line.link.SetBidirectional(true);
  ASSERT_TRUE(line.link.SendTarnMessage(true, kVersionRequest));
  EXPECT_EQ(line.link.ReplyPayload(), kVersionReply);
}

TEST_P(LinkWithSimulatedTarnTest, StopEndsEveryExchangeUntilItIsLifted) {
  SimulatedLine line(GetParam());
  bool stop = true;
  line.link.SetStopCheck([&stop] { return stop; });
  const std::size_t written = line.port.written().size();
  EXPECT_FALSE(line.link.SendTarnMessage(true, kVersionRequest));
  EXPECT_FALSE(line.link.SendTarnMessage(true, kVersionRequest));
  EXPECT_FALSE(line.link.TolvikExchange({}));
  line.link.SendVeskMessage(0, 1, 2, 3);
  EXPECT_EQ(line.port.written().size(), written) << "nothing goes out while stopped";
  EXPECT_THAT(line.prompter.Texts(), ElementsAre(std::string(kStoppedByUser)));

  stop = false;
  ASSERT_TRUE(line.link.SendTarnMessage(true, kVersionRequest));
  EXPECT_EQ(line.link.ReplyPayload(), kVersionReply);
  stop = true;  // a second stop is told again
  EXPECT_FALSE(line.link.SendTarnMessage(true, kVersionRequest));
  EXPECT_EQ(line.prompter.Texts().size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(DirectAndTunnelled, LinkWithSimulatedTarnTest, ::testing::Bool(),
                         testing::LineName);

// Faults on the direct line: what the user is told, what the caller sees, and that the next
// message gets through again.
TEST(LinkFaultsTest, DirectFaultsAreReportedAndTheLinkRecovers) {
  const struct {
    Fault fault;
    bool reply_valid;
    const char* message;  // substring of the first message shown; empty: none
  } cases[] = {
      {Fault::kNoReply, false, "No response received, resetting bidirectional communication"},
      {Fault::kBadChecksum, false, "No response received"},
      {Fault::kPreviousToggle, false, "Invalid response received"},
      {Fault::kWrongEcho, true, ""},  // the link does not judge the payload; callers do
      {Fault::kLateReply, false, "No response received"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.fault));
    SimulatedLine line(false);
    line.tarn.InjectFault(c.fault);
    EXPECT_TRUE(line.link.SendTarnMessage(true, kVersionRequest)) << "the sent flag stays on";
    EXPECT_EQ(line.link.reply_valid(), c.reply_valid);
    if (*c.message) {
      ASSERT_FALSE(line.prompter.messages.empty());
      EXPECT_THAT(line.prompter.messages.front().text, HasSubstr(c.message));
    } else {
      EXPECT_THAT(line.prompter.Texts(), IsEmpty());
    }
    if (c.fault == Fault::kWrongEcho) {
      EXPECT_NE(line.link.ReplyPayload(), kVersionReply);
    }

    line.clock.Advance(5.0);
    line.prompter.messages.clear();
    line.link.SetBidirectional(true);
    // A late reply still waiting on the line is not taken for the answer to the next request.
    ASSERT_TRUE(line.link.SendTarnMessage(true, Bytes{0x70, 2}));
    EXPECT_TRUE(line.link.reply_valid());
    EXPECT_THAT(line.link.ReplyPayload(), ElementsAre(0x70, 2, 0));
  }
}

TEST(LinkFaultsTest, TunnelledWaitThatRunsOutTakesNoReply) {
  SimulatedLine line(true);
  line.tarn.InjectFault(Fault::kNoReply);
  const double start = line.clock.Now();
  line.link.SendTarnMessage(true, kVersionRequest);
  EXPECT_TRUE(line.link.reply_valid()) << "the unit answered every poll";
  EXPECT_FALSE(line.link.tarn_reply_received());
  EXPECT_GE(line.clock.Now() - start, kReplyTimeLimitSeconds);
  ASSERT_TRUE(line.link.SendTarnMessage(true, kVersionRequest));
  EXPECT_TRUE(line.link.tarn_reply_received());
  EXPECT_EQ(line.link.ReplyPayload(), kVersionReply);
}

TEST(LinkFaultsTest, GarbageBeforeTheReplyIsSkipped) {
  SimulatedLine line(false);
  const Bytes noise = {0xFF, 0x13, 0x80, 0x42, 0xE6, 0x00};
  line.port.InjectReceived(noise);
  ASSERT_TRUE(line.link.SendTarnMessage(true, kVersionRequest));
  EXPECT_TRUE(line.link.tarn_reply_received());
  EXPECT_EQ(line.link.ReplyPayload(), kVersionReply);
}

TEST(LinkFaultsTest, PortThatVanishesEndsTheExchangeWithAMessage) {
  for (const bool tunnelled : {false, true}) {
    SimulatedLine line(tunnelled);
    line.port.Vanish();
    EXPECT_FALSE(line.link.SendTarnMessage(true, kVersionRequest)) << tunnelled;
    EXPECT_FALSE(line.link.reply_valid());
    ASSERT_FALSE(line.prompter.messages.empty());
    EXPECT_THAT(line.prompter.messages.front().text, HasSubstr("is gone")) << tunnelled;
    // The port is closed: the next message is refused without touching the line, in silence
    // while the request that lost the port goes on, with a word once a new one begins.
    line.prompter.messages.clear();
    EXPECT_FALSE(line.link.SendTarnMessage(true, kVersionRequest));
    EXPECT_TRUE(line.link.port_lost());
    EXPECT_THAT(line.prompter.Texts(), IsEmpty());
    line.link.ForgetPortLoss();
    EXPECT_FALSE(line.link.SendTarnMessage(true, kVersionRequest));
    EXPECT_THAT(line.prompter.Texts(), ElementsAre("Select communications port"));
  }
}

}  // namespace
}  // namespace tarn
