#include "files/layout_index.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>

#include "support/recording_prompter.h"
#include "temporary_folder.h"

namespace tarn {
namespace {

using ::testing::HasSubstr;

LayoutIndex TwoTarns() {
  LayoutIndex index;
  index.Put({{3, 12},
             38400,
             true,
             "3.1.0.10",
             "Gare \xE9st",
             "2026-12-09T05:02:54Z",
             "tarn-03-x12-Gare \xC3\xA9st.dat"});
  index.Put({{0, std::nullopt},
             19200,
             false,
             "3.1.0.10",
             "Nord Yard 7",
             "2026-12-09T05:03:10Z",
             "tarn-00-Nord Yard 7.dat"});
  return index;
}

TEST(LayoutIndexTest, RoundTripKeepsEveryFieldAndTheAddressOrder) {
  const LayoutIndex index = TwoTarns();
  ASSERT_EQ(index.entries.front().address.module_address, 0);
  const std::string text = WriteLayoutIndex(index);
  // The ID string's Windows-1252 travels as UTF-8.
  EXPECT_THAT(text, HasSubstr("\"id_string\": \"Gare \xC3\xA9st\""));
  EXPECT_THAT(text, HasSubstr("\"extended_address\": null"));
  std::string error;
  const std::optional<LayoutIndex> back = ReadLayoutIndex(text, error);
  ASSERT_TRUE(back) << error;
  EXPECT_EQ(*back, index);

  LayoutIndex replaced = index;
  LayoutEntry again = index.entries.back();
  again.firmware = "3.2.0.1";
  replaced.Put(again);
  EXPECT_EQ(replaced.entries.size(), 2u);
  EXPECT_EQ(replaced.Find({3, 12})->firmware, "3.2.0.1");
  EXPECT_EQ(replaced.Find({3, std::nullopt}), nullptr);
}

TEST(LayoutIndexTest, FileNamesAPersonRecognisesAndNoTwoTarnsShare) {
  const struct {
    LayoutAddress address;
    const char* id;
    const char* name;
  } cases[] = {
      {{3, std::nullopt}, "Nord Yard", "tarn-03-Nord Yard.dat"},
      {{3, 12}, "Nord Yard", "tarn-03-x12-Nord Yard.dat"},
      {{4, std::nullopt}, "Nord Yard", "tarn-04-Nord Yard.dat"},
      {{15, 5}, "", "tarn-15-x05.dat"},
      {{1, std::nullopt}, "a/b\\c:d*e?\"<>|", "tarn-01-a_b_c_d_e_____.dat"},
      {{1, std::nullopt}, "..", "tarn-01.dat"},
      {{1, std::nullopt}, ".hidden. ", "tarn-01-_hidden.dat"},
      {{2, std::nullopt}, "Bahn\xFC", "tarn-02-Bahn\xC3\xBC.dat"},
      {{2, std::nullopt}, "tab\there", "tarn-02-tab_here.dat"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LayoutFileName(c.address, c.id), c.name) << c.id;
  }
}

TEST(LayoutIndexTest, UtcTimeIsIso8601) {
  const auto time = std::chrono::system_clock::time_point(std::chrono::seconds(1'796'792'574));
  EXPECT_EQ(UtcTimeText(time), "2026-12-09T05:02:54Z");
}

TEST(LayoutIndexTest, ABrokenOrWrongIndexIsRefusedNamingTheLineOrTheEntry) {
  const std::string good = WriteLayoutIndex(TwoTarns());
  const auto replaced = [&good](const std::string& from, const std::string& to) {
    std::string text = good;
    text.replace(text.find(from), from.size(), to);
    return text;
  };
  const struct {
    const char* name;
    std::string text;
    const char* error;
  } cases[] = {
      {"empty", "", "line 1: "},
      {"cut short", good.substr(0, good.find("\"tunnelled\": true")), "line 19: "},
      {"a comma too many",
       replaced("\"firmware\": \"3.1.0.10\",\n", "\"firmware\": \"3.1.0.10\",,\n"),
       "line 10: syntax error"},
      {"a quote missing", replaced("\"Nord Yard 7\"", "\"Nord Yard 7"), "line 11: "},
      {"not a layout", "{\"tarns\": []}", "no layout index"},
      {"another version", replaced("\"version\": 1", "\"version\": 2"), "\"version\" must be 1"},
      {"module out of range", replaced("\"module_address\": 3", "\"module_address\": 16"),
       "Tarn entry 2: \"module_address\" must be a whole number from 0 to 15"},
      {"module a text", replaced("\"module_address\": 0", "\"module_address\": \"0\""),
       "Tarn entry 1: \"module_address\" must be a whole number"},
      {"extended address out of range",
       replaced("\"extended_address\": 12", "\"extended_address\": 96"),
       "Tarn entry 2: \"extended_address\" must be a whole number from 0 to 95"},
      {"odd bit rate", replaced("\"bits_per_second\": 38400", "\"bits_per_second\": 4800"),
       "Tarn entry 2: \"bits_per_second\" must be 9600, 19200 or 38400"},
      {"tunnelled a number", replaced("\"tunnelled\": true", "\"tunnelled\": 1"),
       "Tarn entry 2: \"tunnelled\" must be true or false"},
      {"file missing", replaced("\"file\": \"tarn-00-Nord Yard 7.dat\"", "\"flie\": \"x\""),
       "Tarn entry 1: \"file\" is missing"},
      {"file elsewhere", replaced("tarn-00-Nord Yard 7.dat", "../../home/x.dat"),
       "Tarn entry 1: \"file\" must name a file in the layout folder"},
      {"tarns not a list", "{\"format\": \"tarnconfig-layout\", \"version\": 1, \"tarns\": 3}",
       "\"tarns\" must be a list"},
  };
  for (const auto& c : cases) {
    std::string error;
    EXPECT_FALSE(ReadLayoutIndex(c.text, error)) << c.name;
    EXPECT_THAT(error, HasSubstr(c.error)) << c.name;
  }
  std::string twice = replaced("\"module_address\": 3", "\"module_address\": 0");
  twice = twice.replace(twice.find("\"extended_address\": 12"), 22, "\"extended_address\": null");
  std::string error;
  EXPECT_FALSE(ReadLayoutIndex(twice, error));
  EXPECT_THAT(error, HasSubstr("module 0 is listed twice"));
}

class LayoutFolderTest : public testing::TemporaryFolderTest {};

TEST_F(LayoutFolderTest, ARefusedIndexIsShownAndLeftAsItWas) {
  testing::RecordingPrompter prompter;
  // No index yet: empty, unless one must be there.
  ASSERT_TRUE(LoadLayoutIndex(folder_, false, prompter));
  EXPECT_TRUE(LoadLayoutIndex(folder_, false, prompter)->entries.empty());
  EXPECT_FALSE(LoadLayoutIndex(folder_, true, prompter));
  EXPECT_THAT(prompter.messages.back().text, HasSubstr("There is no layout index in"));

  ASSERT_TRUE(SaveLayoutIndex(folder_, TwoTarns(), prompter));
  ASSERT_EQ(LoadLayoutIndex(folder_, true, prompter), TwoTarns());
  const std::string cut = testing::FileText(folder_ / kLayoutIndexName).substr(0, 100);
  std::ofstream(folder_ / kLayoutIndexName, std::ios::binary | std::ios::trunc) << cut;
  EXPECT_FALSE(LoadLayoutIndex(folder_, false, prompter));
  EXPECT_THAT(prompter.messages.back().text, HasSubstr("layout.json cannot be used: line 7: "));
  EXPECT_THAT(prompter.messages.back().text, HasSubstr("Nothing in the folder was changed."));
  EXPECT_EQ(testing::FileText(folder_ / kLayoutIndexName), cut);
}

}  // namespace
}  // namespace tarn
