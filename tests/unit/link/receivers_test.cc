#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "link/direct_receiver.h"
#include "link/frame_checksum.h"
#include "link/tarn_frame.h"
#include "link/tolvik_frame.h"
#include "link/tolvik_receiver.h"

namespace tarn {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Event = DirectReceiver::Event;

// Feeds bytes until the receiver reports a good frame; returns the events seen on the way.
std::vector<Event> FeedDirect(DirectReceiver& receiver, const Bytes& bytes, bool* complete) {
  std::vector<Event> events;
  *complete = false;
  for (const std::uint8_t byte : bytes) {
    const Event event = receiver.Feed(byte);
    if (event == Event::kComplete) {
      *complete = true;
      break;
    }
    if (event != Event::kNone) events.push_back(event);
  }
  return events;
}

Bytes Reply(std::uint8_t address, const Bytes& payload, std::optional<std::uint8_t> extended = {}) {
  Bytes frame = {address, static_cast<std::uint8_t>(0xE0 | (extended ? 0x10 : 0) | payload.size())};
  if (extended) frame.push_back(0x80 | *extended);
  for (const std::uint8_t value : payload) frame.push_back(0x80 | value);
  frame.push_back(FrameChecksum(frame));
  return frame;
}

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

TEST(DirectReceiverTest, ResynchronisesOnEveryAddressByteAndDropsBadChecksums) {
  Bytes bad = Reply(0x03, {0x70, 0x01, 0x05});
  bad.back() ^= 0x01;
  const Bytes good = Reply(0x43, {0x70, 0x00, 3, 1, 0, 10});
  const struct {
    const char* name;
    Bytes stream;
    bool complete;
  } cases[] = {
      {"plain reply", good, true},
      {"noise with bit 7 set before the address", Concat({{0x80, 0xFF, 0x99}, good}), true},
      {"address byte restarts a reply cut short", Concat({{0x43, 0xE6, 0xF0}, good}), true},
      {"bad checksum then a good reply", Concat({bad, good}), true},
      {"bad checksum alone", bad, false},
      {"nothing but noise", {0x81, 0x82, 0xFF}, false},
      {"truncated reply", Bytes(good.begin(), good.end() - 1), false},
  };
  for (const auto& c : cases) {
    ReplyBuffer buffer{};
    DirectReceiver receiver(buffer, std::nullopt);
    bool complete = false;
    FeedDirect(receiver, c.stream, &complete);
    EXPECT_EQ(complete, c.complete) << c.name;
    if (c.complete) {
      EXPECT_EQ(buffer[0], 0x43) << c.name;
      EXPECT_EQ(buffer[1], 0x66) << c.name;
      EXPECT_EQ(buffer[2], 0x70) << c.name;
      EXPECT_EQ(buffer[7], 10) << c.name;
    }
  }
}

TEST(DirectReceiverTest, ChecksTheExtendedAddressByteButNeverStoresIt) {
  const struct {
    const char* name;
    std::optional<std::uint8_t> expected;
    std::optional<std::uint8_t> received;
    std::vector<Event> events;
  } cases[] = {
      {"matching", 5, 5, {}},
      {"different", 5, 6, {Event::kIncorrectExtendedAddress}},
      {"not in use", std::nullopt, 5, {Event::kUnexpectedExtendedAddress}},
  };
  for (const auto& c : cases) {
    ReplyBuffer buffer{};
    DirectReceiver receiver(buffer, c.expected);
    bool complete = false;
    const std::vector<Event> events =
        FeedDirect(receiver, Reply(0x0F, {0x70, 0x02, 0x11}, c.received), &complete);
    EXPECT_TRUE(complete) << c.name;  // reception goes on either way
    EXPECT_EQ(events, c.events) << c.name;
    EXPECT_EQ(buffer[1], 0x73) << c.name;
    EXPECT_EQ(buffer[2], 0x70) << c.name;
    EXPECT_EQ(buffer[4], 0x11) << c.name;
  }
}

TEST(TolvikReceiverTest, RestartsOnAHeaderAndDropsBytesBeforeOne) {
  const Bytes answer = EncodeTolvikFrame(0, Bytes{1, 2, 0x1A, 0x00});
  const struct {
    const char* name;
    Bytes stream;
    TolvikReceiver::Outcome outcome;
    std::string text;
  } cases[] = {
      {"plain", answer, TolvikReceiver::Outcome::kValid, "< 2C121A0"},
      {"bytes before a header are dropped", Concat({{0x90, 0xFF}, answer}),
       TolvikReceiver::Outcome::kValid, "< 2C121A0"},
      {"a header in mid-frame restarts", Concat({{0x2C, 0x81, 0x82}, answer}),
       TolvikReceiver::Outcome::kValid, "< 2C121A0"},
      {"a frame too long for the buffer is never completed", Concat({{0x14}, Bytes(21, 0x80)}),
       TolvikReceiver::Outcome::kPending, "< 14"},
  };
  for (const auto& c : cases) {
    ReplyBuffer buffer{};
    TolvikReceiver receiver(buffer);
    TolvikReceiver::Outcome outcome = TolvikReceiver::Outcome::kPending;
    for (const std::uint8_t byte : c.stream) {
      outcome = receiver.Feed(byte);
      if (outcome != TolvikReceiver::Outcome::kPending) break;
    }
    EXPECT_EQ(outcome, c.outcome) << c.name;
    if (outcome == TolvikReceiver::Outcome::kValid) {
      EXPECT_EQ(buffer[0], 4) << c.name;
      EXPECT_EQ(buffer[3], 0x1A) << c.name;
    }
    EXPECT_EQ(receiver.received_text().substr(0, c.text.size()), c.text) << c.name;
  }
}

TEST(TolvikReceiverTest, ChecksumCoversTheLastValueOfA19ValueFrame) {
  Bytes frame = EncodeTolvikFrame(0, Bytes(19, 0x11));
  ReplyBuffer buffer{};
  {
    TolvikReceiver receiver(buffer);
    TolvikReceiver::Outcome outcome{};
    for (const std::uint8_t byte : frame) outcome = receiver.Feed(byte);
    EXPECT_EQ(outcome, TolvikReceiver::Outcome::kValid);
    EXPECT_EQ(buffer[0], 19);
  }
  frame.back() ^= 0x01;  // only the checksum, which sits in the buffer's last entry, is wrong
  TolvikReceiver receiver(buffer);
  TolvikReceiver::Outcome outcome{};
  for (const std::uint8_t byte : frame) outcome = receiver.Feed(byte);
  EXPECT_EQ(outcome, TolvikReceiver::Outcome::kChecksumError);
  EXPECT_EQ(buffer[0], 0);
}

// The receivers sit on a wire that may carry anything. Feed them random streams, and random
// frames that close with a good checksum, and check they never accept what does not match the
// rules. Out-of-range writes show up under the sanitizer preset.
TEST(ReceiversAgainstGarbageTest, RandomStreamsAndRandomValidFrames) {
  std::mt19937 random(20261208);
  std::uniform_int_distribution<int> byte_value(0, 255);
  std::uniform_int_distribution<int> length(0, 64);
  int direct_accepted = 0;
  int tolvik_accepted = 0;
  for (int round = 0; round < 12000; ++round) {
    Bytes stream(static_cast<std::size_t>(length(random)));
    for (std::uint8_t& byte : stream) byte = static_cast<std::uint8_t>(byte_value(random));
    // Two rounds in three hide a well-formed frame in the noise: a Tarn reply or a Tolvik frame,
    // each with a random length and content and a checksum that closes.
    Bytes frame;
    if (round % 3 == 1) {
      const int count = std::uniform_int_distribution<int>(0, 15)(random);
      const bool extended = byte_value(random) % 2 == 0;
      frame = {static_cast<std::uint8_t>(byte_value(random) & 0x7F),
               static_cast<std::uint8_t>(0x80 | (byte_value(random) & 0x60) |
                                         (extended ? 0x10 : 0) | count)};
      for (int i = 0; i < count + (extended ? 1 : 0); ++i) {
        frame.push_back(static_cast<std::uint8_t>(0x80 | byte_value(random)));
      }
      frame.push_back(FrameChecksum(frame));
    } else if (round % 3 == 2) {
      Bytes data(static_cast<std::size_t>(std::uniform_int_distribution<int>(0, 19)(random)));
      for (std::uint8_t& value : data) value = static_cast<std::uint8_t>(byte_value(random) & 0x7F);
      frame = EncodeTolvikFrame(byte_value(random) % 2, data);
    }
    stream.insert(stream.begin() + static_cast<long>(stream.size() / 2), frame.begin(),
                  frame.end());

    ReplyBuffer direct_buffer{};
    DirectReceiver direct(direct_buffer, std::optional<std::uint8_t>(5));
    int sum = 0;
    std::size_t frame_start = 0;
    for (std::size_t i = 0; i < stream.size(); ++i) {
      if (stream[i] < 0x80) {
        frame_start = i;
        sum = 0;
      }
      sum += stream[i] & 0x7F;
      if (direct.Feed(stream[i]) == Event::kComplete) {
        ++direct_accepted;
        // What is accepted starts with an address byte, closes its checksum and holds exactly
        // the payload its header announced.
        ASSERT_EQ(direct_buffer[0], stream[frame_start]);
        ASSERT_EQ(sum % 128, 0);
        const int extended = (direct_buffer[1] & 0x10) ? 1 : 0;
        ASSERT_EQ(static_cast<int>(i - frame_start), 2 + extended + (direct_buffer[1] & 0x0F));
        break;
      }
    }

    ReplyBuffer tolvik_buffer{};
    TolvikReceiver tolvik(tolvik_buffer);
    std::size_t header_at = 0;
    for (std::size_t i = 0; i < stream.size(); ++i) {
      if (stream[i] < 0x80) header_at = i;
      const TolvikReceiver::Outcome outcome = tolvik.Feed(stream[i]);
      if (outcome != TolvikReceiver::Outcome::kValid) continue;
      {
        ++tolvik_accepted;
        // A header, exactly the values it announced and a checksum, adding up.
        const int count = tolvik_buffer[0];
        ASSERT_LE(count, kMaxTolvikDataCount);
        ASSERT_EQ(count, TolvikDataCount(stream[header_at]));
        ASSERT_EQ(static_cast<int>(i - header_at), count + 1);
        int frame_sum = stream[header_at];
        for (int k = 1; k <= count + 1; ++k)
          frame_sum += tolvik_buffer[static_cast<std::size_t>(k)];
        ASSERT_EQ(frame_sum % 128, 0);
      }
      break;
    }
  }
  // A third of the rounds carry a good frame for each receiver; most of them must be found.
  EXPECT_GT(direct_accepted, 3000);
  EXPECT_GT(tolvik_accepted, 3000);
}

}  // namespace
}  // namespace tarn
