#include <gtest/gtest.h>

#include <vector>

#include "files/data_file.h"
#include "files/item_writer.h"
#include "rich_configuration.h"
#include "support/recording_prompter.h"

namespace tarn {
namespace {

using testing::RecordingPrompter;
using testing::RichConfiguration;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  EXPECT_EQ(start, text.size()) << "text after the last CR LF";
  return lines;
}

int CountStartingWith(const std::vector<std::string>& lines, std::string_view prefix) {
  int n = 0;
  for (const std::string& line : lines) n += line.starts_with(prefix) ? 1 : 0;
  return n;
}

// What a saved model reads back as: texts lose their quotes and line breaks.
DeviceConfiguration Storable(DeviceConfiguration config) {
  config.general_settings.id_string = StorableText(config.general_settings.id_string);
  for (PinRecord& pin : config.pins) {
    pin.description = StorableText(pin.description);
    pin.device_name = StorableText(pin.device_name);
    for (Aspect& aspect : pin.aspects) aspect.description = StorableText(aspect.description);
  }
  return config;
}

TEST(DataFileWriteTest, FullFileOfStartModel) {
  DeviceConfiguration config;
  const std::string text = WriteDataFile(config, DataFileForm::kFull);
  const std::string kStart =
      "\"TarnConfiguration 3100\"\r\n\"ID$\",\"\"\r\n\"DCC\",1,1,2\r\n"
      "\"XAD\",0,0,0,0,0,0,0\r\n\"HWC\",0,0,0,0\r\n\"LED\",0,0\r\n"
      "\"SPC\",0,\"9600\",7,0,1\r\n\"Eon\",0,1,2,3,4\r\n";
  EXPECT_EQ(text.substr(0, kStart.size()), kStart);
  EXPECT_NE(text.find("\"Eof\",31,0,0,0,0\r\n\"Pin\",0,0,0,\"\"\r\n  \"Dev\",0,\"\"\r\n"
                      "  \"Cfg\",0\r\n  \"PAM\",1,1,1\r\n\"Pin\",1,"),
            std::string::npos);
  const std::vector<std::string> lines = Lines(text);
  EXPECT_EQ(CountStartingWith(lines, "\"Pin\""), 32);
  EXPECT_EQ(CountStartingWith(lines, "  \"Cfg\",0"), 32);
  EXPECT_EQ(CountStartingWith(lines, "  \"Asp\""), 0);
  EXPECT_EQ(lines.back(), "\"End\"");
}

TEST(DataFileWriteTest, CompactFileOfStartModelHasNoPins) {
  DeviceConfiguration config;
  const std::vector<std::string> lines = Lines(WriteDataFile(config, DataFileForm::kCompact));
  ASSERT_EQ(lines.size(), 1u + 6u + 64u + 1u);
  EXPECT_EQ(lines[70], "\"Eof\",31,0,0,0,0");
  EXPECT_EQ(lines[71], "\"End\"");
}

TEST(DataFileWriteTest, CompactFileWritesOnlyDescribedAspectsAndNonEmptySteps) {
  DeviceConfiguration config;
  PinRecord& pin = config.pins[7];
  pin.description = "Lamp";
  pin.aspect_layout = 2;
  pin.aspects[4].steps[0] = {38, 1, 0, 31, 0, 0};  // no description: left out
  pin.aspects[5].description = "On";
  pin.aspects[5].steps[1] = {3, 1, 1, 0, 0, 0};
  pin.aspects[5].steps[3] = {9, 0, 0, 0, 0, 0};  // beyond the layout's three steps
  pin.pin_config = {1, 64, 88, 64};
  const std::vector<std::string> lines = Lines(WriteDataFile(config, DataFileForm::kCompact));
  const std::vector<std::string> kPin = {"\"Pin\",7,2,0,\"Lamp\"",
                                         "  \"Dev\",0,\"\"",
                                         "  \"Cfg\",1,64,24,64,0,0,0,0,0,0,0,0",
                                         "  \"PAM\",1,1,1",
                                         "  \"Asp\",5,\"On\"",
                                         "    \"Ins\",1,19,1,0,0,0",
                                         "\"End\""};
  EXPECT_EQ(std::vector<std::string>(lines.end() - 7, lines.end()), kPin);
  EXPECT_EQ(pin.pin_config[2], 24) << "the Servo Initialised bit leaves the model too";
}

TEST(DataFileWriteTest, ModesWriteTheirByteCounts) {
  DeviceConfiguration config;
  config.pins[0].pin_config = {2, 1, 2, 3, 4, 5, 6, 7};
  config.pins[1].pin_config = {5, 1, 2, 3, 4, 5, 6};
  config.pins[2].pin_config = {9, 1, 2};
  const std::string text = WriteDataFile(config, DataFileForm::kFull);
  EXPECT_NE(text.find("\"Pin\",0,0,0,\"\"\r\n  \"Dev\",0,\"\"\r\n  \"Cfg\",2,1,2,3,4,5\r\n"),
            std::string::npos);
  EXPECT_NE(text.find("\"Pin\",1,0,0,\"\"\r\n  \"Dev\",0,\"\"\r\n  \"Cfg\",5,1,2,3,4\r\n"),
            std::string::npos);
  EXPECT_NE(text.find("\"Pin\",2,0,0,\"\"\r\n  \"Dev\",0,\"\"\r\n  \"Cfg\",9\r\n"),
            std::string::npos);
}

TEST(DataFileWriteTest, SaveFileSavesCompactWithShiftAloneAndNothingWithOtherKeys) {
  const struct {
    bool shift, control, alt;
    std::optional<DataFileForm> form;
  } cases[] = {
      {false, false, false, DataFileForm::kFull}, {true, false, false, DataFileForm::kCompact},
      {true, true, false, std::nullopt},          {false, true, false, std::nullopt},
      {false, false, true, std::nullopt},         {true, false, true, std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SaveFormFor(c.shift, c.control, c.alt), c.form) << c.shift << c.control << c.alt;
  }
}

TEST(DataFileRoundTripTest, FullFileLoadsBackToTheSameModel) {
  DeviceConfiguration saved = RichConfiguration();
  const std::string text = WriteDataFile(saved, DataFileForm::kFull);
  EXPECT_EQ(saved, RichConfiguration());
  for (DeviceConfiguration loaded : {DeviceConfiguration{}, RichConfiguration()}) {
    RecordingPrompter prompter;
    ASSERT_TRUE(ReadDataFile(text, loaded, prompter));
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(loaded, Storable(saved));
  }
}

// A Tarn reports initial aspects and event actions in a nibble, aspects up to 14; a model read
// from one must load back from the file it was saved to.
TEST(DataFileRoundTripTest, WhatATarnReportsLoadsBack) {
  DeviceConfiguration saved;
  saved.pins[3].description = "read from a Tarn";
  saved.pins[3].initial_aspect = 15;
  saved.event_actions[3].on = {14, 12, -1, 0};
  saved.event_actions[3].off = {13, -1, 11, 14};
  for (DataFileForm form : {DataFileForm::kFull, DataFileForm::kCompact}) {
    const std::string text = WriteDataFile(saved, form);
    DeviceConfiguration loaded;
    RecordingPrompter prompter;
    ASSERT_TRUE(ReadDataFile(text, loaded, prompter));
    EXPECT_EQ(loaded, saved);
  }
}

TEST(DataFileRoundTripTest, CompactFileKeepsWhatItLeavesOut) {
  DeviceConfiguration saved = RichConfiguration();
  const std::string text = WriteDataFile(saved, DataFileForm::kCompact);
  DeviceConfiguration old;
  for (int pin = 0; pin < kPinCount; ++pin) {
    PinRecord& r = old.pins[pin];
    r.description = "old";
    r.device_name = "old device";
    r.aspect_layout = 2;
    r.initial_aspect = 3;
    r.pin_config = {2, 9, 9, 9, 9};  // inputs keep bytes 5..11
    r.live_value = 9;
    r.dcc_address_count = 5;
    for (Aspect& aspect : r.aspects) {
      aspect.description = "old aspect";
      aspect.steps[0] = {9, 1, 1, 1, 0, 0};
    }
    r.aspects[12] = {};  // the spare slots no file touches
  }
  DeviceConfiguration expected = Storable(saved);
  for (int pin = 2; pin < kPinCount; pin += 4) expected.pins[pin] = old.pins[pin];

  RecordingPrompter prompter;
  ASSERT_TRUE(ReadDataFile(text, old, prompter));
  EXPECT_EQ(old, expected);
}

TEST(DataFileRoundTripTest, SavedServoFlagsDropTheInitialisedBit) {
  for (DataFileForm form : {DataFileForm::kFull, DataFileForm::kCompact}) {
    DeviceConfiguration config;
    config.pins[4].description = "Turnout";
    config.pins[4].pin_config = {1, 64, 88, 64, 1, 1, 1, 1, 64, 1, 64, 1};
    config.pins[4].live_value = 64;
    const std::string text = WriteDataFile(config, form);
    EXPECT_NE(text.find("\"Cfg\",1,64,24,64,"), std::string::npos);
    EXPECT_EQ(config.pins[4].pin_config[2], 24);
    DeviceConfiguration loaded;
    RecordingPrompter prompter;
    ASSERT_TRUE(ReadDataFile(text, loaded, prompter));
    EXPECT_EQ(loaded.pins[4], config.pins[4]);
  }
}

}  // namespace
}  // namespace tarn
