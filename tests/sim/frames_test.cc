// The simulator's own checksum and Tolvik length codes, checked against frames written out by
// hand, so that the simulator can stand as an independent witness for the program's encoder.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

#include "sim/frame_checksum.h"
#include "sim/tolvik_frame.h"
#include "tarn_test_frames.h"

namespace tarn::sim {
namespace {

using testing::Bytes;
using testing::DecodeTolvikFrames;
using ::testing::ElementsAreArray;

TEST(FrameChecksumTest, ClosesFramesWrittenOutByHand) {
  const struct {
    Bytes frame;
    std::uint8_t checksum;
  } cases[] = {
      {{0x0F, 0xE2, 0xF0, 0x81}, 0x9E},        // module 3, version request 0x70, 1
      {{0x4F, 0xE2, 0xF0, 0x81}, 0xDE},        // the same with toggle 64
      {{0x0F, 0xF2, 0x85, 0xF0, 0x81}, 0x89},  // with extended address 5
      {{0x03, 0xC0}, 0xBD},                    // empty frame closing a resynchronisation
      {{0x68}, 0x98},                          // empty Tolvik frame, toggle 1
      {{0x2A, 0x81, 0x82}, 0xD3},              // protocol query
      {{0x2B, 0x81, 0x85, 0x90}, 0xBF},        // transparent mode request
      {{0x40, 0xC0}, 0x80},                    // running sum exactly 256
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FrameChecksum(c.frame), c.checksum) << static_cast<int>(c.frame[0]);
    Bytes closed = c.frame;
    CloseFrame(closed);
    EXPECT_TRUE(FrameAddsUp(closed));
    closed.back() ^= 0x01;
    EXPECT_FALSE(FrameAddsUp(closed));
  }
}

TEST(TolvikFrameTest, LengthCodesBothWays) {
  const struct {
    int count;
    int toggle;
    std::uint8_t header;
  } cases[] = {{0, 0, 0x28}, {0, 1, 0x68},  {5, 0, 0x2D},  {7, 1, 0x6F},  {8, 0, 0x00},
               {8, 1, 0x40}, {15, 0, 0x07}, {16, 0, 0x10}, {16, 1, 0x50}, {23, 0, 0x17}};
  for (const auto& c : cases) {
    EXPECT_EQ(TolvikHeader(c.count, c.toggle), c.header) << c.count;
    EXPECT_EQ(TolvikDataCount(c.header), c.count) << c.count;
  }
  // The short form's two status flags do not change the count.
  EXPECT_EQ(TolvikDataCount(0x1B), 3);
}

TEST(TolvikFrameTest, DecoderRestartsOnAHeaderAndDropsBadFrames) {
  Bytes eight = {0x00, 0x81, 0x82, 0x83, 0x84, 0x85, 0x86, 0x87, 0x88};
  CloseFrame(eight);
  Bytes stream = {0x85,                     // stray byte before any header
                  0x2A, 0x81,               // a frame cut short by the next header
                  0x2A, 0x81, 0x82, 0xD4};  // bad checksum
  stream.insert(stream.end(), eight.begin(), eight.end());

  const std::vector<TolvikFrame> frames = DecodeTolvikFrames(stream);
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].toggle(), 0);
  EXPECT_THAT(frames[0].data, ElementsAreArray({1, 2, 3, 4, 5, 6, 7, 8}));
}

}  // namespace
}  // namespace tarn::sim
