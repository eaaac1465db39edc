#include <gtest/gtest.h>

#include <vector>

#include "files/item_reader.h"
#include "files/item_writer.h"

namespace tarn {
namespace {

using namespace std::string_view_literals;

std::vector<Item> AllItems(std::string_view contents) {
  ItemReader reader(contents);
  std::vector<Item> items;
  while (std::optional<Item> item = reader.Next()) items.push_back(*item);
  return items;
}

Item Q(std::string text) { return {std::move(text), true}; }
Item U(std::string text) { return {std::move(text), false}; }

struct ReaderCase {
  const char* name;
  std::string_view contents;
  std::vector<Item> items;
};

class ItemReaderTest : public ::testing::TestWithParam<ReaderCase> {};

TEST_P(ItemReaderTest, SplitsIntoItems) {
  EXPECT_EQ(AllItems(GetParam().contents), GetParam().items);
}

INSTANTIATE_TEST_SUITE_P(
    Streams, ItemReaderTest,
    ::testing::Values(
        ReaderCase{"CrLf",
                   "\"Pin\",3,-2\r\n  \"Dev\",0\r\n",
                   {Q("Pin"), U("3"), U("-2"), Q("Dev"), U("0")}},
        ReaderCase{"LfOnly", "\"A\",1\n\"B\"\n", {Q("A"), U("1"), Q("B")}},
        ReaderCase{"LoneCr", "1\r2", {U("1"), U("2")}},
        ReaderCase{
            "BlanksAndEmptyLines", " \t\"A\" ,  7 \r\n\r\n\n    8", {Q("A"), U("7"), U("8")}},
        ReaderCase{"QuoteRunsOverCommaAndLineEnd", "\"a,b\r\nc\",9", {Q("a,b\r\nc"), U("9")}},
        ReaderCase{"JunkAfterClosingQuoteIgnored", "\"a\"xy,\"b\"", {Q("a"), Q("b")}},
        ReaderCase{"QuotedBlanksKept", "\"  x  \"", {Q("  x  ")}},
        ReaderCase{"EmptyItemsBetweenCommas", "1,,\"\",2", {U("1"), U(""), Q(""), U("2")}},
        ReaderCase{"OpenQuoteEndsTheStream", "1,\"abc", {U("1")}},
        ReaderCase{
            "EightBitBytes", "\"\xE9\x81\x00\xFF\""sv, {Q(std::string("\xE9\x81\x00\xFF", 4))}}),
    [](const auto& test_info) { return std::string(test_info.param.name); });

TEST(ParseWholeNumberTest, AcceptsOnlyWholeDecimalNumbers) {
  EXPECT_EQ(ParseWholeNumber("12"), 12);
  EXPECT_EQ(ParseWholeNumber("-3"), -3);
  EXPECT_EQ(ParseWholeNumber("0023"), 23);
  EXPECT_EQ(ParseWholeNumber("7.00"), 7);
  for (std::string_view bad : {"", "-", "+4", "1.5", "1e3", "12a", " 5", "9999999999999999999"}) {
    EXPECT_EQ(ParseWholeNumber(bad), std::nullopt) << bad;
  }
}

TEST(ItemWriterTest, WritesLinesWithIndentCommasAndCrLf) {
  ItemWriter writer;
  writer.Line().Text("Pin").Number(0).Number(-12).Text("");
  writer.Line(4).Text("Ins").Number(100);
  writer.Line().Text("End");
  EXPECT_EQ(writer.Finish(), "\"Pin\",0,-12,\"\"\r\n    \"Ins\",100\r\n\"End\"\r\n");
}

TEST(ItemWriterTest, TextsAreMadeReadable) {
  EXPECT_EQ(StorableText("say \"hi\""), "say 'hi'");
  EXPECT_EQ(StorableText("a\r\nb\nc\rd\n\re"), "a b c d  e");
  EXPECT_EQ(StorableText(std::string("\x00\xE9\x81,", 4)), std::string("\x00\xE9\x81,", 4));
  ItemWriter writer;
  writer.Line().Text("x\"y\r\nz");
  EXPECT_EQ(writer.Finish(), "\"x'y z\"\r\n");
}

}  // namespace
}  // namespace tarn
