#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

#include "link/frame_checksum.h"
#include "link/tarn_frame.h"
#include "link/tolvik_frame.h"

namespace tarn {
namespace {

using Bytes = std::vector<std::uint8_t>;
using ::testing::ElementsAreArray;

struct TarnFrameCase {
  const char* name;
  TarnFrameOptions options;
  Bytes payload;
  Bytes frame;
};

class TarnFrameTest : public ::testing::TestWithParam<TarnFrameCase> {};

TEST_P(TarnFrameTest, EncodesByteExact) {
  const TarnFrameCase& c = GetParam();
  EXPECT_THAT(EncodeTarnFrame(c.options, c.payload), ElementsAreArray(c.frame));
}

INSTANTIATE_TEST_SUITE_P(
    Frames, TarnFrameTest,
    ::testing::Values(
        TarnFrameCase{
            "Module3Toggle0", {0, 3, true, {}}, {0x70, 0x01}, {0x0F, 0xE2, 0xF0, 0x81, 0x9E}},
        TarnFrameCase{
            "Module3Toggle64", {64, 3, true, {}}, {0x70, 0x01}, {0x4F, 0xE2, 0xF0, 0x81, 0xDE}},
        TarnFrameCase{"ExtendedAddress5",
                      {0, 3, true, 5},
                      {0x70, 0x01},
                      {0x0F, 0xF2, 0x85, 0xF0, 0x81, 0x89}},
        TarnFrameCase{
            "OneWayHasNoReplyBit", {0, 0, false, {}}, {0x70, 0x00}, {0x03, 0xC2, 0xF0, 0x80, 0xCB}},
        TarnFrameCase{"EmptyPoll", {64, 15, true, {}}, {}, {0x7F, 0xE0, 0xA1}},
        TarnFrameCase{"FifteenValues",
                      {0, 0, true, {}},
                      Bytes(15, 0),
                      [] {
                        Bytes f = {0x03, 0xEF};
                        f.insert(f.end(), 15, 0x80);
                        f.push_back(FrameChecksum(f));
                        return f;
                      }()}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(FrameChecksumTest, EveryFrameAddsUpToAMultipleOf128) {
  // Any frame, checksum included, sums to a multiple of 128 on its seven-bit values.
  for (int first = 0; first < 128; ++first) {
    for (int second = 128; second < 256; second += 7) {
      const Bytes frame = {static_cast<std::uint8_t>(first), static_cast<std::uint8_t>(second),
                           0xFF};
      const std::uint8_t checksum = FrameChecksum(frame);
      ASSERT_GE(checksum, 0x80);
      const int sum = first + (second & 0x7F) + 0x7F + (checksum & 0x7F);
      ASSERT_EQ(sum % 128, 0) << first << " " << second;
    }
  }
}

TEST(FrameChecksumTest, SumOfExactly256GivesChecksum0x80) {
  // 0x40 + 0xC0 is 256, which stays 256: the checksum is then 0x80, not 0.
  EXPECT_EQ(FrameChecksum(Bytes{0x40, 0xC0}), 0x80);
}

TEST(ResynchronisationTest, Module0EndsWithAnEmptyFrameWithToggle0) {
  EXPECT_THAT(ResynchronisationBytes(0),
              ElementsAreArray(
                  Bytes{0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xAA, 0xAA, 0xAA, 0x03, 0xC0, 0xBD}));
}

TEST(VeskFrameTest, EmptyVeskFrameClosesWith256MinusFirst) {
  EXPECT_THAT(EncodeVeskFrame(0x0F, 0, 0, 0),
              ElementsAreArray(Bytes{0x0F, 0x80, 0x80, 0x80, 256 - 0x0F}));
  EXPECT_THAT(EncodeVeskFrame(0x03, 1, 2, 3),
              ElementsAreArray(
                  Bytes{0x03, 0x81, 0x82, 0x83, FrameChecksum(Bytes{0x03, 0x81, 0x82, 0x83})}));
}

struct TolvikFrameCase {
  const char* name;
  int toggle;
  Bytes data;
  Bytes frame;
};

class TolvikFrameTest : public ::testing::TestWithParam<TolvikFrameCase> {};

TEST_P(TolvikFrameTest, EncodesByteExact) {
  const TolvikFrameCase& c = GetParam();
  EXPECT_THAT(EncodeTolvikFrame(c.toggle, c.data), ElementsAreArray(c.frame));
}

INSTANTIATE_TEST_SUITE_P(
    Frames, TolvikFrameTest,
    ::testing::Values(
        TolvikFrameCase{"EmptyToggle1", 1, {}, {0x68, 0x98}},
        TolvikFrameCase{"ProtocolQuery", 0, {1, 2}, {0x2A, 0x81, 0x82, 0xD3}},
        TolvikFrameCase{"InterfaceQuery", 0, {1, 10}, {0x2A, 0x81, 0x8A, 0xCB}},
        TolvikFrameCase{"TransparentToggle0", 0, {1, 5, 16}, {0x2B, 0x81, 0x85, 0x90, 0xBF}},
        TolvikFrameCase{"TransparentToggle1", 1, {1, 5, 16}, {0x6B, 0x81, 0x85, 0x90, 0xFF}},
        TolvikFrameCase{"TunnelledVersionRequest",
                        0,
                        {0, 0x63, 0x60, 0x70, 0x00},
                        {0x2D, 0x80, 0xE3, 0xE0, 0xF0, 0x80, 0xA0}}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(TolvikHeaderTest, LengthCodesRoundTripForEveryCountAndToggle) {
  const struct {
    int count;
    int toggle;
    std::uint8_t header;
  } cases[] = {{0, 0, 0x28},  {7, 1, 0x6F},  {8, 0, 0x00},  {8, 1, 0x40}, {15, 0, 0x07},
               {16, 0, 0x10}, {16, 1, 0x50}, {19, 0, 0x13}, {23, 1, 0x57}};
  for (const auto& c : cases) {
    EXPECT_EQ(TolvikHeader(c.count, c.toggle), c.header) << c.count;
    EXPECT_EQ(TolvikDataCount(c.header), c.count) << c.count;
  }
  for (int count = 0; count <= 23; ++count) {
    EXPECT_EQ(TolvikDataCount(TolvikHeader(count, 0)), count);
    EXPECT_EQ(TolvikDataCount(TolvikHeader(count, 1)), count);
  }
  // The short form's status flags (bits 4 and 5) do not change the count.
  EXPECT_EQ(TolvikDataCount(0x1B), 3);
  EXPECT_EQ(TolvikDataCount(0x3B), 3);
}

TEST(VersionTest, FourDigitsFromTwoBytes) {
  const struct {
    std::uint8_t x, y;
    int version;
    const char* text;
  } cases[] = {{0x19, 0x00, 3100, "3.100"},
               {0x1A, 0x00, 3200, "3.200"},
               {0x1A, 0x2A, 3252, "3.252"},
               {0x18, 0x28, 3050, "3.50"},
               {0x08, 0x13, 1023, "1.23"}};
  for (const auto& c : cases) {
    EXPECT_EQ(FourDigitVersion(c.x, c.y), c.version);
    EXPECT_EQ(VersionText(c.version), c.text);
  }
}

}  // namespace
}  // namespace tarn
