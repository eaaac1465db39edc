// The link against the simulated Tarn, which decodes frames with its own code: direct and
// tunnelled, with and without the extended address, and with the faults a real line has.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "link/link.h"
#include "sim/simulated_port.h"
#include "sim/simulated_tarn.h"
#include "sim/simulated_tolvik_unit.h"
#include "support/recording_prompter.h"

namespace tarn {
namespace {

using Bytes = std::vector<std::uint8_t>;
using sim::Fault;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

const Bytes kVersionRequest = {0x70, 0x00};
const Bytes kVersionReply = {0x70, 0x00, 3, 1, 0, 10};

// A link whose port is wired to a simulated Tarn, directly or through a Tolvik unit.
class SimulatedLine {
 public:
  explicit SimulatedLine(bool tunnelled, std::uint8_t module = 0)
      : tarn_(module),
        unit_(tarn_),
        port_(tunnelled ? static_cast<sim::SimulatedDevice&>(unit_) : tarn_, clock_),
        link_(port_, clock_, prompter_) {
    link_.TakeOverModuleAddress(module);
    EXPECT_TRUE(link_.SelectPort("1 sim"));
    link_.SetBidirectional(true);
    if (tunnelled) {
      link_.SwitchTunnelling(true);
      EXPECT_TRUE(link_.tunnelling());
    }
  }

  sim::ManualClock clock_;
  sim::SimulatedTarn tarn_;
  sim::SimulatedTolvikUnit unit_;
  sim::SimulatedPort port_;
  testing::RecordingPrompter prompter_;
  Link link_;
};

class LinkWithSimulatedTarnTest : public ::testing::TestWithParam<bool> {};

TEST_P(LinkWithSimulatedTarnTest, VersionRequestAtEveryBitRate) {
  SimulatedLine line(GetParam(), 5);
  for (int index = 0; index < static_cast<int>(std::size(kBitRateSettings)); ++index) {
    line.link_.SelectBitRate(index);
    line.link_.SetBidirectional(true);
    if (GetParam() && !line.link_.tunnelling()) line.link_.SwitchTunnelling(true);
    for (int repeat = 0; repeat < 3; ++repeat) {  // both link toggles, and a resynchronisation
      ASSERT_TRUE(line.link_.SendTarnMessage(true, kVersionRequest)) << index;
      EXPECT_TRUE(line.link_.reply_valid()) << index;
      EXPECT_TRUE(line.link_.tarn_reply_received()) << index;
      EXPECT_EQ(line.link_.ReplyPayload(), kVersionReply) << index;
    }
  }
  EXPECT_THAT(line.prompter_.Texts(), IsEmpty());
}

TEST_P(LinkWithSimulatedTarnTest, ExtendedAddressSelectsTheTarn) {
  SimulatedLine line(GetParam());
  const Bytes store_seven = {0x60, 2, 7};
  line.link_.SetBidirectional(false);
  ASSERT_TRUE(line.link_.SendTarnMessage(false, store_seven));
  line.link_.SetBidirectional(true);
  line.link_.SetExtendedAddressing(true);

  line.link_.TakeOverExtendedAddress(7);
  ASSERT_TRUE(line.link_.SendTarnMessage(true, Bytes{0x70, 2}));
  EXPECT_TRUE(line.link_.tarn_reply_received());
  EXPECT_THAT(line.link_.ReplyPayload(), ElementsAre(0x70, 2, 7));

  // Another extended address: the Tarn keeps quiet.
  line.link_.TakeOverExtendedAddress(8);
  line.link_.SendTarnMessage(true, Bytes{0x70, 2});
  EXPECT_FALSE(line.link_.tarn_reply_received());
  if (!GetParam()) {
    EXPECT_THAT(line.prompter_.Texts(),
                ElementsAre("No response received, resetting bidirectional communication"));
  }
}

TEST_P(LinkWithSimulatedTarnTest, AnotherModuleAddressGetsNoReply) {
  SimulatedLine line(GetParam(), 2);
  line.link_.TakeOverModuleAddress(3);
  line.link_.SetBidirectional(true);
  line.link_.SendTarnMessage(true, kVersionRequest);
  EXPECT_FALSE(line.link_.tarn_reply_received());
  // The next message to the right module is answered again.
  line.link_.TakeOverModuleAddress(2);
  line.link_.SetBidirectional(true);
  ASSERT_TRUE(line.link_.SendTarnMessage(true, kVersionRequest));
  EXPECT_EQ(line.link_.ReplyPayload(), kVersionReply);
}

INSTANTIATE_TEST_SUITE_P(DirectAndTunnelled, LinkWithSimulatedTarnTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& param) {
                           return param.param ? "Tunnelled" : "Direct";
                         });

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
    line.tarn_.InjectFault(c.fault);
    EXPECT_TRUE(line.link_.SendTarnMessage(true, kVersionRequest)) << "the sent flag stays on";
    EXPECT_EQ(line.link_.reply_valid(), c.reply_valid);
    if (*c.message) {
      ASSERT_FALSE(line.prompter_.messages.empty());
      EXPECT_THAT(line.prompter_.messages.front().text, HasSubstr(c.message));
    } else {
      EXPECT_THAT(line.prompter_.Texts(), IsEmpty());
    }
    if (c.fault == Fault::kWrongEcho) {
      EXPECT_NE(line.link_.ReplyPayload(), kVersionReply);
    }

    line.clock_.Advance(5.0);
    line.prompter_.messages.clear();
    line.link_.SetBidirectional(true);
    // A late reply still waiting on the line is not taken for the answer to the next request.
    ASSERT_TRUE(line.link_.SendTarnMessage(true, Bytes{0x70, 2}));
    EXPECT_TRUE(line.link_.reply_valid());
    EXPECT_THAT(line.link_.ReplyPayload(), ElementsAre(0x70, 2, 0));
  }
}

TEST(LinkFaultsTest, TunnelledWaitThatRunsOutTakesNoReply) {
  SimulatedLine line(true);
  line.tarn_.InjectFault(Fault::kNoReply);
  const double start = line.clock_.Now();
  line.link_.SendTarnMessage(true, kVersionRequest);
  EXPECT_TRUE(line.link_.reply_valid()) << "the unit answered every poll";
  EXPECT_FALSE(line.link_.tarn_reply_received());
  EXPECT_GE(line.clock_.Now() - start, kReplyTimeLimitSeconds);
  ASSERT_TRUE(line.link_.SendTarnMessage(true, kVersionRequest));
  EXPECT_TRUE(line.link_.tarn_reply_received());
  EXPECT_EQ(line.link_.ReplyPayload(), kVersionReply);
}

TEST(LinkFaultsTest, GarbageBeforeTheReplyIsSkipped) {
  SimulatedLine line(false);
  const Bytes noise = {0xFF, 0x13, 0x80, 0x42, 0xE6, 0x00};
  line.port_.InjectReceived(noise);
  ASSERT_TRUE(line.link_.SendTarnMessage(true, kVersionRequest));
  EXPECT_TRUE(line.link_.tarn_reply_received());
  EXPECT_EQ(line.link_.ReplyPayload(), kVersionReply);
}

TEST(LinkFaultsTest, PortThatVanishesEndsTheExchangeWithAMessage) {
  for (const bool tunnelled : {false, true}) {
    SimulatedLine line(tunnelled);
    line.port_.Vanish();
    EXPECT_FALSE(line.link_.SendTarnMessage(true, kVersionRequest)) << tunnelled;
    EXPECT_FALSE(line.link_.reply_valid());
    ASSERT_FALSE(line.prompter_.messages.empty());
    EXPECT_THAT(line.prompter_.messages.front().text, HasSubstr("stopped working")) << tunnelled;
    // The port is closed: the next message is refused without touching the line.
    line.prompter_.messages.clear();
    EXPECT_FALSE(line.link_.SendTarnMessage(true, kVersionRequest));
    EXPECT_THAT(line.prompter_.Texts(), ElementsAre("Select communications port"));
  }
}

}  // namespace
}  // namespace tarn
