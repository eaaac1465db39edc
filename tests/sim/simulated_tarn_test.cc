#include "sim/simulated_tarn.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <span>
#include <string>

#include "sim/tarn_commands.h"
#include "tarn_test_frames.h"

namespace tarn::sim {
namespace {

using testing::Ask;
using testing::Bytes;
using testing::DecodeFrames;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using testing::Feed;
using ::testing::IsEmpty;
using ::testing::Optional;
using testing::TarnRequest;

TEST(SimulatedTarnTest, AnswersTheVersionRequestByteForByte) {
  SimulatedTarn tarn;
  // Module 0, toggle 0, payload 0x70, 0; the reply carries 112 0 3 1 0 10.
  EXPECT_THAT(Feed(tarn, Bytes{0x03, 0xE2, 0xF0, 0x80, 0xAB}),
              ElementsAre(0x03, 0xE6, 0xF0, 0x80, 0x83, 0x81, 0x80, 0x8A, 0x99));
}

TEST(SimulatedTarnTest, EchoesTheAddressByteWithItsToggleAndTheExtendedAddress) {
  SimulatedTarn tarn(3, {.reply_extended_address = true});
  tarn.memory().registers[kExtendedAddressRegister] = {5};
  const struct {
    const char* name;
    Bytes request;
    Bytes reply;
  } cases[] = {
      {"toggle 0",
       {0x0F, 0xE2, 0xF0, 0x81, 0x9E},
       {0x0F, 0xE6, 0xF0, 0x81, 0x80, 0x80, 0x80, 0x80, 0x9A}},
      {"toggle 64",
       {0x4F, 0xE2, 0xF0, 0x81, 0xDE},
       {0x4F, 0xE6, 0xF0, 0x81, 0x80, 0x80, 0x80, 0x80, 0xDA}},
      {"extended address 5",
       {0x0F, 0xF2, 0x85, 0xF0, 0x81, 0x89},
       {0x0F, 0xF6, 0x85, 0xF0, 0x81, 0x80, 0x80, 0x80, 0x80, 0x85}},
  };
  for (const auto& c : cases) EXPECT_EQ(Feed(tarn, c.request), c.reply) << c.name;
}

TEST(SimulatedTarnTest, KeepsQuietForFramesThatAreNotItsOwn) {
  SimulatedTarn tarn(2);
  tarn.memory().registers[kExtendedAddressRegister] = {7};
  const Bytes version = {0x70, 0};
  Bytes bad_checksum = TarnRequest(2, version);
  bad_checksum.back() ^= 0x01;
  const struct {
    const char* name;
    Bytes bytes;
  } cases[] = {
      {"another module", TarnRequest(0, version)},
      {"another extended address", TarnRequest(2, version, 0, 8)},
      {"bad checksum", bad_checksum},
      {"no reply asked for", TarnRequest(2, version, 0, std::nullopt, false)},
      {"resynchronisation and empty frame",
       {0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xAA, 0xAA, 0xAA, 0x0B, 0xC0, 0xB5}},
      {"Vesk frame", EncodeVeskFrame(0x0B, 0, 1, 2)},
      {"bytes with bit 7 before any address byte", {0xE2, 0xF0, 0x80, 0xAB}},
      {"not an address byte (low bits not 3)", {0x0A, 0xE0, 0x96}},
  };
  for (const auto& c : cases) {
    EXPECT_THAT(Feed(tarn, c.bytes), IsEmpty()) << c.name;
    // Whatever came before, the next good request is answered.
    EXPECT_THAT(Ask(tarn, {0x70, 2}, 2), Optional(ElementsAre(0x70, 2, 7))) << c.name;
  }
  // Frames without an extended address byte are answered whatever the Tarn's own is, and so are
  // those with the right one.
  const auto replies = DecodeFrames(Feed(tarn, TarnRequest(2, version, 64, 7)));
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_EQ(replies[0].address_byte, 64 + 2 * 4 + 3);
  EXPECT_EQ(replies[0].header, 0x60 | 6);
  EXPECT_EQ(replies[0].extended_address, std::nullopt);
}

// What the device contract leaves open, each way a Tarn may choose it: the answer to a write (and
// to a live message), the poll report when nothing happened, and the extended address byte.
TEST(SimulatedTarnTest, AnswersAsItsChoicesSay) {
  const Bytes dcc_write = {0x60, 4, 40, 15};
  const Bytes step_write = {0x63, 0, 0, 0, 0x13, 1, 72, 10, 2};
  const Bytes live = {0, 38, 4, 20};
  const struct {
    const char* name;
    TarnChoices choices;
    Bytes request;
    Bytes reply;
  } cases[] = {
      {"write, empty answer", {}, dcc_write, {}},
      {"write, the command", {.write_answer = WriteAnswer::kCommand}, dcc_write, {0x60}},
      {"write, the whole message", {.write_answer = WriteAnswer::kWholeMessage}, step_write,
       step_write},
      {"live message, empty answer", {}, live, {}},
      {"live message, the command", {.write_answer = WriteAnswer::kCommand}, live, {0}},
      {"a read is answered in full whatever the choice", {}, {0x70, 4}, {0x70, 4, 1, 0}},
      {"poll with nothing new", {}, {}, {}},
      {"poll report every time", {.poll_reports = PollReports::kEveryPoll}, {}, {0, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    SimulatedTarn tarn(0, c.choices);
    EXPECT_THAT(Ask(tarn, c.request), Optional(ElementsAreArray(c.reply))) << c.name;
  }
  // Asked under its extended address, a Tarn may leave the byte out of its reply or repeat it.
  for (const bool repeated : {false, true}) {
    SimulatedTarn tarn(0, {.reply_extended_address = repeated});
    const auto replies = DecodeFrames(Feed(tarn, TarnRequest(0, {0x70, 2}, 0, 0)));
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0].extended_address, repeated ? std::optional<std::uint8_t>(0) : std::nullopt);
  }
}

// The answer starts after the Tarn's latency, plus a share of its spread that varies from answer
// to answer and never goes past the bound.
TEST(SimulatedTarnTest, AnswersAfterItsLatencyAndSpread) {
  SimulatedTarn tarn(0, {.latency_seconds = 1.5, .spread_seconds = 0.4, .seed = 7});
  double shortest = 10;
  double longest = 0;
  for (int i = 0; i < 50; ++i) {
    ASSERT_TRUE(Ask(tarn, {0x70, 0}));
    shortest = std::min(shortest, tarn.LastAnswerDelay());
    longest = std::max(longest, tarn.LastAnswerDelay());
  }
  EXPECT_GE(shortest, 1.5);
  EXPECT_LE(longest, 1.9);
  EXPECT_GT(longest - shortest, 0.2) << "the delays spread";
}

TEST(SimulatedTarnTest, ANewAddressByteCutsAFrameShort) {
  SimulatedTarn tarn;
  Bytes bytes = TarnRequest(0, {0x70, 6});
  bytes.resize(3);
  const Bytes whole = TarnRequest(0, {0x70, 0});
  bytes.insert(bytes.end(), whole.begin(), whole.end());
  const auto replies = DecodeFrames(Feed(tarn, bytes));
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_THAT(replies[0].values, ElementsAre(0x70, 0, 3, 1, 0, 10));
}

// A write to a new Tarn, then the read that shows what it kept.
struct WriteThenRead {
  const char* name;
  Bytes write;
  Bytes read;
  Bytes reply;
};

// Each write is answered with an empty payload, a command the Tarn does not know with its echo;
// the read that follows with `reply`.
void ExpectWriteThenRead(std::span<const WriteThenRead> cases) {
  for (const auto& c : cases) {
    SimulatedTarn tarn;
    const Bytes answer = IsWriteCommand(c.write[0]) ? Bytes{} : Bytes{c.write[0]};
    EXPECT_THAT(Ask(tarn, c.write), Optional(answer)) << c.name;
    EXPECT_THAT(Ask(tarn, c.read), Optional(ElementsAreArray(c.reply))) << c.name;
  }
}

TEST(SimulatedTarnTest, ReadsGiveBackWhatWasWritten) {
  const WriteThenRead cases[] = {
      {"ID string",
       {0x60, 10, 'S', 'i', 'g', 'n', 'a', 'l', ' ', 'B', 'o', 'x', ' ', '1'},
       {0x70, 10},
       {0x70, 10, 'S', 'i', 'g', 'n', 'a', 'l', ' ', 'B', 'o', 'x', ' ', '1'}},
      {"empty ID string", {0x60, 10}, {0x70, 10}, {0x70, 10}},
      {"hardware configuration", {0x60, 1, 1, 2, 3, 0}, {0x70, 1}, {0x70, 1, 1, 2, 3, 0}},
      {"extended address", {0x60, 2, 95}, {0x70, 2}, {0x70, 2, 95}},
      {"group mask", {0x60, 3, 1, 2, 4, 15}, {0x70, 3}, {0x70, 3, 1, 2, 4, 15}},
      {"DCC address", {0x60, 4, 40, 15}, {0x70, 4}, {0x70, 4, 40, 15}},
      {"DCC options", {0x60, 5, 13}, {0x70, 5}, {0x70, 5, 13}},
      {"green lamp", {0x60, 6, 5}, {0x70, 6}, {0x70, 6, 5}},
      {"orange lamp", {0x60, 7, 0x41}, {0x70, 7}, {0x70, 7, 0x41}},
      {"serial addressing", {0x60, 8, 1, 10}, {0x70, 8}, {0x70, 8, 1, 10}},
      {"event enable map", {0x60, 11, 0x0A, 0x05}, {0x70, 11}, {0x70, 11, 0x0A, 0x05}},
      {"extended DCC address", {0x60, 12, 3, 2}, {0x70, 12}, {0x70, 12, 3, 2}},
      {"serial port", {0x60, 13, 1, 77}, {0x70, 13}, {0x70, 13, 1, 77}},
      {"servo configuration",
       {0x61, 5, 1, 64, 8, 4, 5, 6, 7, 8, 9, 10, 11, 12},
       {0x71, 5},
       {0x71, 5, 1, 64, 8, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
      {"PWM configuration (set)",
       {0x41, 6, 2, 10, 1, 2, 0, 31},
       {0x71, 6},
       {0x71, 6, 2, 10, 1, 2, 0, 31}},
      {"input configuration", {0x61, 31, 5, 1, 2, 3, 4}, {0x71, 31}, {0x71, 31, 5, 1, 2, 3, 4}},
      {"aspect layout", {0x62, 7, 3}, {0x72, 7}, {0x72, 7, 3}},
      {"initial aspect", {0x64, 8, 0x72}, {0x74, 8}, {0x74, 8, 0x72, 0x0F, 0x1F, 0x2F, 0x3F}},
      {"Event-On actions",
       {0x64, 9, 0x05, 0x1F, 0x2B, 0x30},
       {0x74, 9},
       {0x74, 9, 0x7F, 0x05, 0x1F, 0x2B, 0x30}},
      {"Event-Off actions",
       {0x65, 9, 0x0F, 0x11, 0x2F, 0x3A},
       {0x75, 9},
       {0x75, 9, 0x0F, 0x11, 0x2F, 0x3A}},
      {"address configuration in any order",
       {0x66, 3, 0x5D, 0x13, 0x0A},
       {0x76, 3},
       {0x76, 3, 0x0A, 0x13, 0x5D}},
      {"address byte of no kind ignored",
       {0x66, 3, 0x13, 0x25, 0x0A},
       {0x76, 3},
       {0x76, 3, 0x0A, 0x13, 0x40}},
  };
  ExpectWriteThenRead(cases);
}

TEST(SimulatedTarnTest, StepsFillTheSlotsOfThePinsLayout) {
  SimulatedTarn tarn;
  const Bytes step = {0x13, 1, 72, 10, 2};
  for (const auto& [layout, last_aspect, last_step] : {std::tuple{3, 3, 8}, std::tuple{2, 11, 2}}) {
    const auto pin = static_cast<std::uint8_t>(layout);
    ASSERT_TRUE(Ask(tarn, {0x62, pin, pin}));
    Bytes write = {0x63, pin, static_cast<std::uint8_t>(last_aspect),
                   static_cast<std::uint8_t>(last_step)};
    write.insert(write.end(), step.begin(), step.end());
    EXPECT_THAT(Ask(tarn, write), Optional(IsEmpty()));

    Bytes expected(write);
    expected[0] = 0x73;
    EXPECT_THAT(Ask(tarn, {0x73, pin, write[2], write[3]}), Optional(ElementsAreArray(expected)))
        << "layout " << layout;
    EXPECT_THAT(tarn.memory().pins[pin].steps[35], ElementsAreArray(step)) << "the last slot";
    EXPECT_THAT(Ask(tarn, {0x73, pin, 0, 0}),
                Optional(ElementsAre(0x73, pin, 0, 0, 0, 0, 0, 0, 0)));
    // A step the layout does not have is refused.
    EXPECT_THAT(Ask(tarn, {0x73, pin, static_cast<std::uint8_t>(last_aspect + 1), 0}),
                Optional(ElementsAre(0x73)));
  }
  // A pin without an aspect program keeps no steps.
  EXPECT_THAT(Ask(tarn, {0x63, 9, 0, 0, 1, 2, 3, 4, 5}), Optional(IsEmpty()));
  EXPECT_THAT(tarn.memory().pins[9].steps[0], ElementsAre(0, 0, 0, 0, 0));
}

TEST(SimulatedTarnTest, RefusesMalformedWritesAndKeepsItsMemory) {
  const WriteThenRead cases[] = {
      {"DCC address with one value", {0x60, 4, 40}, {0x70, 4}, {0x70, 4, 1, 0}},
      {"ID string of 13 characters",
       {0x60, 10, 'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h', 'i', 'j', 'k', 'l', 'm'},
       {0x70, 10},
       {0x70, 10}},
      {"version", {0x60, 0, 9, 9, 9, 9}, {0x70, 0}, {0x70, 0, 3, 1, 0, 10}},
      {"register 9", {0x60, 9, 1}, {0x70, 9}, {0x70}},
      {"pin 32", {0x62, 32, 3}, {0x72, 32}, {0x72}},
      {"unknown command", {0x7E, 1, 2}, {0x72, 0}, {0x72, 0, 0}},
  };
  ExpectWriteThenRead(cases);
}

TEST(SimulatedTarnTest, GetAnswersWithTheLiveValueAndReadWithTheStoredOne) {
  SimulatedTarn tarn;
  ASSERT_TRUE(Ask(tarn, {0x61, 4, 2, 10, 0, 0, 0, 31}));
  ASSERT_TRUE(Ask(tarn, {0, 38, 4, 20}));
  EXPECT_THAT(Ask(tarn, {0x51, 4}), Optional(ElementsAre(0x51, 4, 2, 20, 0, 0, 0, 31)));
  EXPECT_THAT(Ask(tarn, {0x71, 4}), Optional(ElementsAre(0x71, 4, 2, 10, 0, 0, 0, 31)));
}

TEST(SimulatedTarnTest, RecordsLiveMessagesAndVeskFramesAndReportsOnAPoll) {
  SimulatedTarn tarn(1);
  EXPECT_THAT(Ask(tarn, {}, 1), Optional(IsEmpty())) << "nothing to report yet";
  // Live messages usually go out without asking for a reply.
  Feed(tarn, TarnRequest(1, {0, 1, 5, 2}, 0, std::nullopt, false));
  EXPECT_THAT(Ask(tarn, {0, 39, 3, 64}, 1), Optional(IsEmpty()));
  EXPECT_THAT(Feed(tarn, EncodeVeskFrame(0x07, 10, 4, 30)), IsEmpty());
  EXPECT_THAT(Feed(tarn, EncodeVeskFrame(0x03, 8, 31, 0)), IsEmpty());

  EXPECT_THAT(tarn.live_messages(),
              ElementsAre(ElementsAre(0, 1, 5, 2), ElementsAre(0, 39, 3, 64)));
  EXPECT_THAT(tarn.vesk_frames(),
              ElementsAre(ElementsAre(0x07, 10, 4, 30), ElementsAre(0x03, 8, 31, 0)));
  EXPECT_EQ(tarn.memory().pins[3].live_value, 64);
  EXPECT_THAT(Ask(tarn, {}, 1), Optional(ElementsAre(39, 3, 64, 2)));
  EXPECT_THAT(Ask(tarn, {}, 1), Optional(IsEmpty())) << "reported once";
}

TEST(SimulatedTarnTest, EraseNeedsTheUnlockCode) {
  const auto erase_with = [](const EraseUnlockCode& code) {
    Bytes request = {0x60, 0};
    request.insert(request.end(), code.begin(), code.end());
    return request;
  };
  const EraseUnlockCode other = {1, 2, 3, 4, 5, 6, 7, 8};

  SimulatedTarn tarn;
  tarn.memory().registers[kVersionRegister] = {3, 2, 0, 1};
  ASSERT_TRUE(Ask(tarn, {0x60, 6, 5}));
  ASSERT_TRUE(Ask(tarn, {0x62, 0, 3}));
  EXPECT_THAT(Ask(tarn, erase_with(other)), Optional(IsEmpty()));
  EXPECT_THAT(Ask(tarn, {0x70, 6}), Optional(ElementsAre(0x70, 6, 5))) << "wrong code erased";

  EXPECT_THAT(Ask(tarn, erase_with(kDefaultEraseUnlockCode)), Optional(IsEmpty()));
  EXPECT_THAT(Ask(tarn, {0x70, 6}), Optional(ElementsAre(0x70, 6, 0)));
  EXPECT_THAT(Ask(tarn, {0x72, 0}), Optional(ElementsAre(0x72, 0, 0)));
  EXPECT_THAT(Ask(tarn, {0x70, 0}), Optional(ElementsAre(0x70, 0, 3, 2, 0, 1)))
      << "the firmware version survives";

  tarn.set_erase_unlock_code(other);
  ASSERT_TRUE(Ask(tarn, {0x60, 6, 5}));
  ASSERT_TRUE(Ask(tarn, erase_with(kDefaultEraseUnlockCode)));
  EXPECT_THAT(Ask(tarn, {0x70, 6}), Optional(ElementsAre(0x70, 6, 5)));
  ASSERT_TRUE(Ask(tarn, erase_with(other)));
  EXPECT_THAT(Ask(tarn, {0x70, 6}), Optional(ElementsAre(0x70, 6, 0)));
}

TEST(SimulatedTarnTest, AWrittenExtendedAddressTakesEffectAtOnce) {
  SimulatedTarn tarn;
  ASSERT_TRUE(Ask(tarn, {0x60, 2, 7}));
  EXPECT_THAT(Feed(tarn, TarnRequest(0, {0x70, 2}, 0, 0)), IsEmpty());
  const auto replies = DecodeFrames(Feed(tarn, TarnRequest(0, {0x70, 2}, 0, 7)));
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_THAT(replies[0].values, ElementsAre(0x70, 2, 7));
}

}  // namespace
}  // namespace tarn::sim
