// The faults a test can make the simulated Tarn show, each on its own and for as many replies as
// asked.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "sim/frame_checksum.h"
#include "sim/simulated_tarn.h"
#include "tarn_test_frames.h"

namespace tarn::sim {
namespace {

using testing::Ask;
using testing::Bytes;
using testing::DecodeFrames;
using ::testing::ElementsAre;
using testing::Feed;
using ::testing::IsEmpty;
using ::testing::Optional;
using testing::TarnRequest;

const Bytes kVersionRequest = TarnRequest(0, {0x70, 0}, 64);
const Bytes kGoodReply = {0x43, 0xE6, 0xF0, 0x80, 0x83, 0x81, 0x80, 0x8A, 0xD9};

TEST(TarnFaultsTest, EachFaultSpoilsTheReplyItsWay) {
  const struct {
    Fault fault;
    Bytes reply;
  } cases[] = {
      {Fault::kNoReply, {}},
      {Fault::kBadChecksum, {0x43, 0xE6, 0xF0, 0x80, 0x83, 0x81, 0x80, 0x8A, 0xDA}},
      {Fault::kPreviousToggle, {0x03, 0xE6, 0xF0, 0x80, 0x83, 0x81, 0x80, 0x8A, 0x99}},
      {Fault::kWrongEcho, {0x43, 0xE6, 0xF1, 0x80, 0x83, 0x81, 0x80, 0x8A, 0xD8}},
      {Fault::kLateReply, kGoodReply},
      {Fault::kWrongTarget, {0x43, 0xE6, 0xF0, 0x81, 0x83, 0x81, 0x80, 0x8A, 0xD8}},
      {Fault::kShortReply, {0x43, 0xE5, 0xF0, 0x80, 0x83, 0x81, 0x80, 0xE4}},
  };
  for (const auto& c : cases) {
    SimulatedTarn tarn;
    tarn.InjectFault(c.fault);
    EXPECT_EQ(Feed(tarn, kVersionRequest), c.reply) << static_cast<int>(c.fault);
    EXPECT_EQ(Feed(tarn, kVersionRequest), kGoodReply) << "fault lasted";
    EXPECT_EQ(tarn.LastAnswerDelay(), 0.0);
  }
}

TEST(TarnFaultsTest, ALateReplyTellsItsDelay) {
  SimulatedTarn tarn;
  tarn.InjectFault(Fault::kLateReply);
  Feed(tarn, kVersionRequest);
  EXPECT_EQ(tarn.LastAnswerDelay(), kLateReplyDelaySeconds);
  EXPECT_GT(kLateReplyDelaySeconds, 2.0) << "must miss the program's 2-second limit";
  tarn.set_late_reply_delay(0.25);
  tarn.InjectFault(Fault::kLateReply);
  Feed(tarn, kVersionRequest);
  EXPECT_EQ(tarn.LastAnswerDelay(), 0.25);
}

TEST(TarnFaultsTest, FaultsCountTheRepliesTheyApplyTo) {
  SimulatedTarn tarn;
  tarn.InjectFault(Fault::kNoReply, 2);
  EXPECT_THAT(Feed(tarn, kVersionRequest), IsEmpty());
  // A frame that wants no reply does not use the fault up.
  Feed(tarn, TarnRequest(0, {0x60, 6, 1}, 0, std::nullopt, false));
  EXPECT_THAT(Feed(tarn, kVersionRequest), IsEmpty());
  EXPECT_EQ(Feed(tarn, kVersionRequest), kGoodReply);

  tarn.InjectFault(Fault::kBadChecksum, kAlways);
  for (int i = 0; i < 5; ++i) EXPECT_FALSE(FrameAddsUp(Feed(tarn, kVersionRequest)));
  tarn.ClearFaults();
  EXPECT_EQ(Feed(tarn, kVersionRequest), kGoodReply);
}

TEST(TarnFaultsTest, RefusedEventReadsAnswerWithTheEchoAlone) {
  SimulatedTarn tarn;
  tarn.InjectFault(Fault::kRefuseEventReads, kAlways);
  for (std::uint8_t pin = 0; pin < 32; ++pin) {
    EXPECT_THAT(Ask(tarn, {0x74, pin}), Optional(ElementsAre(0x74)));
    EXPECT_THAT(Ask(tarn, {0x75, pin}), Optional(ElementsAre(0x75)));
  }
  EXPECT_THAT(Ask(tarn, {0x72, 0}), Optional(ElementsAre(0x72, 0, 0))) << "other reads go on";

  tarn.InjectFault(Fault::kRefuseEventReads, 1);
  EXPECT_THAT(Ask(tarn, {0x74, 0}), Optional(ElementsAre(0x74)));
  EXPECT_THAT(Ask(tarn, {0x74, 0}), Optional(ElementsAre(0x74, 0, 0x7F, 0x0F, 0x1F, 0x2F, 0x3F)));
}

TEST(TarnFaultsTest, FaultsOnRepliesDoNotStopTheCommandFromTakingEffect) {
  SimulatedTarn tarn;
  tarn.InjectFault(Fault::kNoReply);
  EXPECT_THAT(Feed(tarn, TarnRequest(0, {0x60, 6, 5})), IsEmpty());
  const auto replies = DecodeFrames(Feed(tarn, TarnRequest(0, {0x70, 6})));
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_THAT(replies[0].values, ElementsAre(0x70, 6, 5));
}

}  // namespace
}  // namespace tarn::sim
