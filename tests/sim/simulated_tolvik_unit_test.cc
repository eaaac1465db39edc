#include "sim/simulated_tolvik_unit.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

#include "sim/tolvik_frame.h"
#include "tarn_test_frames.h"

namespace tarn::sim {
namespace {

using testing::Bytes;
using testing::DecodeTolvikFrames;
using ::testing::ElementsAre;
using testing::Feed;
using ::testing::IsEmpty;

// Sends one Tolvik frame and returns the data of the single answer frame; fails the test when the
// unit does not answer with exactly one good frame.
Bytes Exchange(SimulatedTolvikUnit& unit, const Bytes& data, int toggle = 0) {
  const std::vector<TolvikFrame> frames =
      DecodeTolvikFrames(Feed(unit, EncodeTolvikFrame(data, toggle)));
  EXPECT_EQ(frames.size(), 1u) << "answers to one frame";
  if (frames.size() != 1) return {0xFF};
  EXPECT_EQ(frames[0].toggle(), 0);
  return frames[0].data;
}

const Bytes kPoll = {};

TEST(SimulatedTolvikUnitTest, AnswersThePollAndTheQueriesByteForByte) {
  SimulatedTarn tarn;
  SimulatedTolvikUnit unit(tarn);
  const struct {
    const char* name;
    Bytes request;
    Bytes answer;
  } cases[] = {
      {"poll, toggle 1", {0x68, 0x98}, {0x28, 0xD8}},
      {"protocol query", {0x2A, 0x81, 0x82, 0xD3}, {0x2C, 0x81, 0x82, 0x9A, 0x80, 0xB7}},
      {"interface query", {0x2A, 0x81, 0x8A, 0xCB}, {0x2D, 0x81, 0x8A, 0x82, 0x88, 0x90, 0xAE}},
  };
  for (const auto& c : cases) EXPECT_EQ(Feed(unit, c.request), c.answer) << c.name;
}

TEST(SimulatedTolvikUnitTest, ReportsTheConfiguredVersions) {
  SimulatedTarn tarn;
  SimulatedTolvikUnit unit(tarn);
  EXPECT_TRUE(unit.SetProtocolVersion(3100));
  EXPECT_THAT(Exchange(unit, {1, 2}), ElementsAre(1, 2, 0x19, 0x00));
  EXPECT_TRUE(unit.SetInterface(kUnitPlexa, 1030));
  EXPECT_THAT(Exchange(unit, {1, 10}), ElementsAre(1, 10, 10, 8, 24));
  EXPECT_TRUE(unit.SetInterface(kUnitNq5, 3157));
  EXPECT_THAT(Exchange(unit, {1, 10}), ElementsAre(1, 10, 3, 25, 47));
  // Digits 8 and 9 cannot travel; the unit keeps what it had.
  EXPECT_FALSE(unit.SetProtocolVersion(3180));
  EXPECT_EQ(unit.protocol_version(), 3100);
  EXPECT_FALSE(TolvikVersionBytes(1090));
  EXPECT_FALSE(TolvikVersionBytes(-1));
}

TEST(SimulatedTolvikUnitTest, TunnelledMessageIsAcknowledgedAndItsReplyHandedToALaterPoll) {
  SimulatedTarn tarn(3);
  SimulatedTolvikUnit unit(tarn);
  // The version request to module 3 exactly as the program tunnels it.
  EXPECT_THAT(Feed(unit, Bytes{0x2D, 0x80, 0xE3, 0xE0, 0xF0, 0x80, 0xA0}), ElementsAre(0x28, 0xD8));
  EXPECT_EQ(unit.queued_replies(), 1u);
  EXPECT_THAT(Exchange(unit, kPoll, 1), ElementsAre(0, 99, 0x66, 0x70, 0, 3, 1, 0, 10));
  EXPECT_THAT(Exchange(unit, kPoll, 0), IsEmpty()) << "handed out once";
}

TEST(SimulatedTolvikUnitTest, RepliesQueueUpInOrder) {
  SimulatedTarn tarn;
  SimulatedTolvikUnit unit(tarn);
  EXPECT_THAT(Exchange(unit, {0, 96, 0x60, 0x60, 6, 5}), IsEmpty());
  EXPECT_THAT(Exchange(unit, {0, 96, 0x60, 0x70, 6}), IsEmpty());
  // The write's empty answer is three values long.
  EXPECT_THAT(Exchange(unit, kPoll), ElementsAre(0, 96, 0x60));
  EXPECT_THAT(Exchange(unit, kPoll), ElementsAre(0, 96, 0x63, 0x70, 6, 5));
}

TEST(SimulatedTolvikUnitTest, TunnelsTheExtendedAddress) {
  SimulatedTarn tarn(1, {.reply_extended_address = true});
  tarn.memory().registers[kExtendedAddressRegister] = {5};
  SimulatedTolvikUnit unit(tarn);
  EXPECT_THAT(Exchange(unit, {0, 97, 0x70, 5, 0x70, 2}), IsEmpty());
  EXPECT_THAT(Exchange(unit, kPoll), ElementsAre(0, 97, 0x73, 5, 0x70, 2, 5));
  // Another extended address, or another module: the Tarn keeps quiet and polls stay empty.
  EXPECT_THAT(Exchange(unit, {0, 97, 0x70, 6, 0x70, 2}), IsEmpty());
  EXPECT_THAT(Exchange(unit, {0, 98, 0x60, 0x70, 2}), IsEmpty());
  EXPECT_EQ(unit.queued_replies(), 0u);
}

TEST(SimulatedTolvikUnitTest, PassesTunnelledVeskFramesToTheBus) {
  SimulatedTarn tarn(3);
  SimulatedTolvikUnit unit(tarn);
  EXPECT_THAT(Exchange(unit, {0, 99, 8, 4, 0}), IsEmpty());
  EXPECT_THAT(tarn.vesk_frames(), ElementsAre(ElementsAre(0x0F, 8, 4, 0)));
  EXPECT_EQ(unit.queued_replies(), 0u);
}

TEST(SimulatedTolvikUnitTest, TheTarnsFaultsReachThePoll) {
  SimulatedTarn tarn;
  SimulatedTolvikUnit unit(tarn);
  const Bytes version = {0, 96, 0x60, 0x70, 0};

  tarn.InjectFault(Fault::kNoReply);
  Exchange(unit, version);
  EXPECT_THAT(Exchange(unit, kPoll), IsEmpty());

  tarn.InjectFault(Fault::kBadChecksum);
  Exchange(unit, version);
  EXPECT_EQ(unit.queued_replies(), 0u) << "a reply that does not add up is lost on the bus";

  tarn.InjectFault(Fault::kWrongEcho);
  Exchange(unit, version);
  EXPECT_THAT(Exchange(unit, kPoll), ElementsAre(0, 96, 0x66, 0x71, 0, 3, 1, 0, 10));

  tarn.InjectFault(Fault::kLateReply);
  Exchange(unit, version);
  EXPECT_EQ(unit.LastAnswerDelay(), 0.0) << "the unit acknowledges at once";
  Exchange(unit, kPoll);
  EXPECT_EQ(unit.LastAnswerDelay(), kLateReplyDelaySeconds);
}

TEST(SimulatedTolvikUnitTest, TransparentModePassesBytesStraightThrough) {
  SimulatedTarn tarn;
  SimulatedTolvikUnit unit(tarn);
  EXPECT_THAT(Feed(unit, Bytes{0x6B, 0x81, 0x85, 0x90, 0xFF}), ElementsAre(0x28, 0xD8));
  EXPECT_TRUE(unit.transparent());
  EXPECT_THAT(Feed(unit, Bytes{0x03, 0xE2, 0xF0, 0x80, 0xAB}),
              ElementsAre(0x03, 0xE6, 0xF0, 0x80, 0x83, 0x81, 0x80, 0x8A, 0x99));
  tarn.InjectFault(Fault::kLateReply);
  Feed(unit, Bytes{0x03, 0xE2, 0xF0, 0x80, 0xAB});
  EXPECT_EQ(unit.LastAnswerDelay(), kLateReplyDelaySeconds);
}

TEST(SimulatedTolvikUnitTest, IgnoresFramesThatDoNotAddUp) {
  SimulatedTarn tarn;
  SimulatedTolvikUnit unit(tarn);
  EXPECT_THAT(Feed(unit, Bytes{0x2A, 0x81, 0x82, 0xD4}), IsEmpty());
  EXPECT_THAT(Feed(unit, Bytes{0x2B, 0x81, 0x85, 0x90, 0xBE}), IsEmpty());
  EXPECT_FALSE(unit.transparent());
  // Anything the unit does not know is still answered.
  EXPECT_THAT(Exchange(unit, {1, 99}), IsEmpty());
}

}  // namespace
}  // namespace tarn::sim
