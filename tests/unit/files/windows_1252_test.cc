#include "files/windows_1252.h"

#include <gtest/gtest.h>

#include "rich_configuration.h"

namespace tarn {
namespace {

TEST(Windows1252Test, EveryByteSurvivesUnicodeAndBack) {
  const std::string bytes = testing::AllBytes();
  const std::string utf8 = Windows1252ToUtf8(bytes);
  EXPECT_EQ(Utf8ToWindows1252(utf8), bytes);
  for (int b = 0; b < 256; ++b) {
    const auto byte = static_cast<std::uint8_t>(b);
    EXPECT_EQ(Windows1252ByteOf(CodePointOfWindows1252(byte)), byte) << b;
  }
}

TEST(Windows1252Test, MapsTheSpecialRowAndLatin1) {
  EXPECT_EQ(CodePointOfWindows1252(0x80), U'\u20AC');
  EXPECT_EQ(CodePointOfWindows1252(0x8A), U'\u0160');
  EXPECT_EQ(CodePointOfWindows1252(0x93), U'\u201C');
  EXPECT_EQ(CodePointOfWindows1252(0x9F), U'\u0178');
  for (int undefined : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) {
    EXPECT_EQ(CodePointOfWindows1252(static_cast<std::uint8_t>(undefined)),
              static_cast<char32_t>(undefined));
  }
  EXPECT_EQ(CodePointOfWindows1252(0xA0), U'\u00A0');
  EXPECT_EQ(CodePointOfWindows1252(0xE9), U'\u00E9');
  EXPECT_EQ(Windows1252ToUtf8("\x80\xE9"), "\u20AC\u00E9");
}

TEST(Windows1252Test, WhatCannotBeHeldBecomesQuestionMarks) {
  // C1 controls that Windows-1252 uses for printable characters have no byte of their own.
  EXPECT_EQ(Windows1252ByteOf(0x0080), std::nullopt);
  EXPECT_EQ(Windows1252ByteOf(0x0100), std::nullopt);
  EXPECT_EQ(Utf8ToWindows1252("a\u4E2D\U0001F600b"), "a??b");
  EXPECT_EQ(Utf8ToWindows1252("\xE2\x82"), "??");       // cut short
  EXPECT_EQ(Utf8ToWindows1252("\xC0\xA9"), "??");       // overlong
  EXPECT_EQ(Utf8ToWindows1252("\xED\xA0\x80"), "???");  // surrogate
  EXPECT_EQ(Utf8ToWindows1252("\xFFx"), "?x");
}

}  // namespace
}  // namespace tarn
