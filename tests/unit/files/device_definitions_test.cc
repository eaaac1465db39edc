#include "files/device_definitions.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "files/device_library.h"
#include "support/recording_prompter.h"
#include "temporary_folder.h"

namespace tarn {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using testing::RecordingPrompter;

// A definitions file: the header with `version`, the records in `body`, and "End".
std::string Definitions(std::string_view version, std::string_view body) {
  return "\"TarnDeviceDefinitions " + std::string(version) + "\"\r\n" + std::string(body) +
         "\"End\"\r\n";
}

// A library of `count` one-pin devices named prefix0, prefix1, ...
std::string Library(std::string_view version, std::string_view prefix, int count) {
  std::string body;
  for (int i = 0; i < count; ++i) {
    body += "\"Dev\",\"" + std::string(prefix) + std::to_string(i) + "\"\r\n  \"Pin\",0,0,0,\"p" +
            std::to_string(i) + "\"\r\n";
  }
  return Definitions(version, body);
}

std::vector<int> HeadsOf(const DeviceConfiguration& config, std::initializer_list<int> pins) {
  std::vector<int> heads;
  for (int pin : pins) heads.push_back(pin + config.pins[pin].device_pointer);
  return heads;
}

class DeviceDefinitionsTest : public testing::TemporaryFolderTest {
 protected:
  fs::path Write(const std::string& name, std::string_view contents) {
    const fs::path path = folder_ / name;
    std::ofstream(path, std::ios::binary) << contents;
    return path;
  }

  // Loads `name` from `contents` onto pin `current`.
  bool Load(std::string_view contents, std::string_view name, int current) {
    config_.current_pin = static_cast<std::uint8_t>(current);
    return LoadDevice(config_, {std::string(name), Write("load.def", contents)}, prompter_);
  }

  // A three-pin device on pins 4, 5, 6 and a member pin 2 of it, with something on every pin.
  void BuildDeviceAtFour() {
    for (int pin : {2, 4, 5, 6}) {
      PinRecord& r = config_.pins[pin];
      r.description = "pin " + std::to_string(pin);
      r.device_pointer = static_cast<std::int16_t>(4 - pin);
      r.aspect_layout = 3;
      r.initial_aspect = 2;
      r.pin_config = {2, 5, 1, 20, 3, 30};
      r.dcc_address_count = static_cast<std::uint8_t>(pin % 3);
      r.aspects[1].description = "Clear";
      r.aspects[1].steps[4] = {14, 1, 0, 6, 0, 0};
    }
    config_.pins[4].device_name = "Signal";
    config_.pins[4].pin_config = {1, 70, 88, 64, 60, 58, 20, 10, 64, 0, 64, 0};
    // An aspect without a description still keeps its steps.
    config_.pins[5].aspects[2].steps[0] = {102, 0, 0, 0, 25, 1};
  }

  DeviceConfiguration config_;
  RecordingPrompter prompter_;
};

TEST_F(DeviceDefinitionsTest, SaveWritesRelativePinNumbersHeadFirst) {
  BuildDeviceAtFour();
  config_.current_pin = 5;
  const fs::path path = folder_ / "signal.def";
  std::string offered = "not asked";
  ASSERT_TRUE(SaveDevice(
      config_,
      [&](std::string_view name) {
        offered = name;
        return std::optional<fs::path>(path);
      },
      prompter_));
  EXPECT_EQ(offered, "");
  EXPECT_TRUE(prompter_.messages.empty());
  const std::string text = testing::FileText(path);
  EXPECT_EQ(text.substr(0, text.find("  \"Pin\",30,")),
            "\"TarnDeviceDefinitions Signal\"\r\n\"Dev\",\"Signal\"\r\n"
            "  \"Pin\",0,3,2,\"pin 4\"\r\n"
            "    \"Cfg\",1,70,24,64,60,58,20,10,64,0,64,0\r\n"
            "    \"PAM\",1,1,1\r\n"
            "    \"Asp\",1,\"Clear\"\r\n"
            "      \"Ins\",4,30,0,6,0,0\r\n");
  // Then the members in pin order: pin 2 as 30 (round the wrap), pins 5 and 6 as 1 and 2.
  EXPECT_LT(text.find("\"Pin\",0,"), text.find("\"Pin\",30,"));
  EXPECT_LT(text.find("\"Pin\",30,"), text.find("\"Pin\",1,"));
  EXPECT_LT(text.find("\"Pin\",1,"), text.find("\"Pin\",2,"));
  EXPECT_NE(text.find("    \"Asp\",2,\"\"\r\n      \"Ins\",0,102,0,0,25,1\r\n"), std::string::npos);
  EXPECT_EQ(config_.pins[4].pin_config[2], 24) << "Servo Initialised is dropped in the model";
}

TEST_F(DeviceDefinitionsTest, SavedDeviceLoadsAcrossThePin31Wrap) {
  BuildDeviceAtFour();
  const std::string text = WriteDeviceDefinition(config_, 4);
  const DeviceConfiguration saved = config_;
  const struct {
    int current;
    std::vector<int> pins;  // where head, +1, +2 and the member written as 30 land
  } cases[] = {{30, {30, 31, 0, 28}}, {0, {0, 1, 2, 30}}, {4, {4, 5, 6, 2}}, {31, {31, 0, 1, 29}}};
  for (const auto& c : cases) {
    config_ = DeviceConfiguration{};
    prompter_.messages.clear();
    ASSERT_TRUE(Load(text, "Signal", c.current)) << c.current;
    EXPECT_TRUE(prompter_.messages.empty()) << c.current;
    EXPECT_EQ(config_.pins[c.current].device_name, "Signal");
    const int from[] = {4, 5, 6, 2};
    for (int i = 0; i < 4; ++i) {
      const PinRecord& loaded = config_.pins[c.pins[i]];
      const PinRecord& original = saved.pins[from[i]];
      EXPECT_EQ(c.pins[i] + loaded.device_pointer, c.current) << c.current << " pin " << c.pins[i];
      EXPECT_EQ(loaded.description, original.description);
      EXPECT_EQ(loaded.aspects, original.aspects) << c.current << " pin " << c.pins[i];
      EXPECT_EQ(loaded.dcc_address_count, original.dcc_address_count);
    }
    EXPECT_EQ(config_.pins[c.current].pin_config[2], 24);
  }
}

TEST_F(DeviceDefinitionsTest, LoadOverAnExistingDeviceReleasesItAndReportsUsedPins) {
  // Pin 3 heads pins 3, 8 and 9; pin 5 is in use; the current pin 2 is a member of head 0.
  config_.pins[3].device_name = "Old";
  config_.pins[8].device_pointer = -5;
  config_.pins[9].device_pointer = -6;
  config_.pins[3].description = "old head";
  config_.pins[5].description = "in use";
  config_.pins[2].device_pointer = -2;
  const std::string text = Definitions("v", R"("Dev","Three"
  "Pin",0,0,0,"a"
  "Pin",1,0,0,"b"
  "Pin",3,0,0,"c"
  "Pab",35,0,0,"d"
"Dev","Next"
)");
  ASSERT_TRUE(Load(text, "Three", 2));
  EXPECT_THAT(HeadsOf(config_, {2, 3, 5}), ElementsAre(2, 2, 2));
  EXPECT_EQ(config_.pins[3].description, "d") << "\"Pab\" 35 targets pin 3";
  EXPECT_EQ(config_.pins[3].device_name, "");
  EXPECT_THAT(HeadsOf(config_, {8, 9}), ElementsAre(8, 9)) << "members of the old head are free";
  EXPECT_EQ(config_.pins[2].device_name, "Three");
  ASSERT_EQ(prompter_.messages.size(), 1u);
  EXPECT_EQ(prompter_.messages[0].text, "The following Pin numbers were already used: \n\r 3, 5");
  EXPECT_EQ(prompter_.messages[0].icon, PromptIcon::kWarning);
}

TEST_F(DeviceDefinitionsTest, TheCurrentPinBecomesTheHeadAndOwnsLeadingRecords) {
  // Pin 6 is a member of head 5, and pin 7 a broken referral to pin 6.
  config_.pins[5].device_name = "Old";
  config_.pins[6].device_pointer = -1;
  config_.pins[7].device_pointer = -1;
  config_.pins[0].pin_config[0] = 2;
  ASSERT_TRUE(
      Load(Definitions("", "\"Dev\",\"D\"\r\n  \"Cfg\",4,0,0,9,9\r\n  \"Pin\",2,0,0,\"m\"\r\n"),
           "D", 6));
  EXPECT_EQ(config_.pins[6].device_pointer, 0);
  EXPECT_EQ(config_.pins[6].device_name, "D");
  EXPECT_EQ(config_.pins[6].pin_config[0], 4) << "a record before any pin belongs to the head";
  EXPECT_EQ(config_.pins[0].pin_config[0], 2);
  EXPECT_EQ(config_.pins[7].device_pointer, 0) << "a stray pin does not join the new device";
  EXPECT_EQ(config_.pins[8].device_pointer, -2);
  EXPECT_EQ(config_.pins[5].device_name, "Old");
}

TEST_F(DeviceDefinitionsTest, InitialAspectReadFromATarnLoadsBack) {
  config_.pins[4].description = "head";
  config_.pins[4].initial_aspect = 15;  // aspect 14, as a Tarn may report it
  config_.pins[4].device_name = "D";
  const std::string text = WriteDeviceDefinition(config_, 4);
  config_ = DeviceConfiguration{};
  ASSERT_TRUE(Load(text, "D", 9));
  EXPECT_EQ(config_.pins[9].initial_aspect, 15);
  EXPECT_FALSE(Load(Definitions("", "\"Dev\",\"D\"\r\n  \"Pin\",0,0,16,\"x\"\r\n"), "D", 9));
  EXPECT_EQ(config_.pins[9].initial_aspect, 15);
}

TEST_F(DeviceDefinitionsTest, PwmConfigMayLeaveOutItsLevels) {
  const struct {
    const char* name;
    const char* cfg;
    PinConfig expected;
  } cases[] = {
      {"four bytes, then a tag",
       "\"Cfg\",3,7,1,9\r\n    \"PAM\",0,2,0",
       {3, 7, 1, 9, 44, 55, 66, 0, 0, 0, 0, 0, 0}},
      {"four bytes, then an empty item",
       "\"Cfg\",2,7,1,9,,\"PAM\",0,2,0",
       {2, 7, 1, 9, 44, 55, 66, 0, 0, 0, 0, 0, 0}},
      {"six bytes",
       "\"Cfg\",2,7,1,9,4,5\r\n    \"PAM\",0,2,0",
       {2, 7, 1, 9, 4, 5, 66, 0, 0, 0, 0, 0, 0}},
      {"input",
       "\"Cfg\",4,1,2,3,4\r\n    \"PAM\",0,2,0",
       {4, 1, 2, 3, 4, 55, 66, 0, 0, 0, 0, 0, 0}},
      {"unknown mode",
       "\"Cfg\",9\r\n    \"PAM\",0,2,0",
       {9, 0, 0, 0, 44, 55, 66, 0, 0, 0, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    config_ = DeviceConfiguration{};
    config_.pins[0].pin_config = {0, 0, 0, 0, 44, 55, 66};
    config_.pins[0].live_value = 17;
    ASSERT_TRUE(Load(Definitions("", std::string("\"Dev\",\"D\"\r\n  \"Pin\",0,0,0,\"\"\r\n    ") +
                                         c.cfg + "\r\n"),
                     "D", 0))
        << c.name;
    EXPECT_EQ(config_.pins[0].pin_config, c.expected) << c.name;
    EXPECT_EQ(config_.pins[0].dcc_address_count, 2) << c.name << ": \"PAM\" was read";
    EXPECT_EQ(config_.pins[0].live_value, 17) << c.name;
  }
}

TEST_F(DeviceDefinitionsTest, RefusedLoadsChangeNothing) {
  config_.pins[0].description = "kept";
  config_.pins[1].device_pointer = -1;
  const DeviceConfiguration before = config_;
  const struct {
    const char* name;
    std::string text;
    const char* message;
  } cases[] = {
      {"section ends with the file",
       "\"TarnDeviceDefinitions \"\r\n\"Dev\",\"D\"\r\n  \"Pin\",1,0,0,\"x\"\r\n",
       "Invalid definition file"},
      {"pin item too large", Definitions("", "\"Dev\",\"D\"\r\n  \"Pin\",256,0,0,\"x\"\r\n"),
       "Invalid definition file"},
      {"config byte too large",
       Definitions("", "\"Dev\",\"D\"\r\n  \"Pin\",0,0,0,\"x\"\r\n  \"Cfg\",1,300\r\n"),
       "Invalid definition file"},
      {"step index too large",
       Definitions("",
                   "\"Dev\",\"D\"\r\n  \"Pin\",0,3,0,\"x\"\r\n  \"Asp\",0,\"a\"\r\n"
                   "  \"Ins\",10,9,0,0,0,0\r\n"),
       "Invalid definition file"},
      {"name absent", Definitions("", "\"Dev\",\"d\"\r\n  \"Pin\",0,0,0,\"x\"\r\n"),
       "No match found"},
      {"not a definitions file", "\"TarnConfiguration 3100\"\r\n\"Dev\",\"D\"\r\n\"End\"\r\n",
       "No match found"},
  };
  for (const auto& c : cases) {
    prompter_.messages.clear();
    EXPECT_FALSE(Load(c.text, "D", 0)) << c.name;
    EXPECT_EQ(config_, before) << c.name;
    EXPECT_THAT(prompter_.Texts(), ElementsAre(c.message)) << c.name;
  }
}

TEST_F(DeviceDefinitionsTest, LoadWithoutSelectionOrFile) {
  EXPECT_FALSE(LoadDevice(config_, {"", folder_ / "any.def"}, prompter_));
  EXPECT_FALSE(LoadDevice(config_, {"D", folder_ / "vanished.def"}, prompter_));
  EXPECT_THAT(prompter_.Texts(), ElementsAre("Select Devicename to load", "No match found"));
  EXPECT_EQ(prompter_.messages[0].buttons, PromptButtons::kOk);
  EXPECT_EQ(config_, DeviceConfiguration{});
}

TEST_F(DeviceDefinitionsTest, SaveRefusesABrokenReferral) {
  config_.pins[2].device_pointer = -1;
  config_.pins[1].device_pointer = -1;
  config_.current_pin = 2;
  bool asked = false;
  EXPECT_FALSE(SaveDevice(
      config_,
      [&](std::string_view) {
        asked = true;
        return std::optional<fs::path>(folder_ / "x.def");
      },
      prompter_));
  EXPECT_FALSE(asked);
  EXPECT_THAT(prompter_.Texts(), ElementsAre("Referral is not a device"));
  // A cancelled dialog writes nothing and says nothing.
  config_.current_pin = 1;
  EXPECT_FALSE(SaveDevice(
      config_, [](std::string_view) { return std::optional<fs::path>(); }, prompter_));
  EXPECT_EQ(prompter_.messages.size(), 1u);
  EXPECT_TRUE(fs::is_empty(folder_));
}

TEST_F(DeviceDefinitionsTest, ReloadWithShiftAppendsAndLoadsFromTheRightFile) {
  DeviceList list;
  const fs::path a = Write("a.def", Library("A 1.0", "a", 10));
  const fs::path b = Write("b.def", Library("B 2.0", "b", 3));
  ASSERT_TRUE(ReloadDeviceLibrary(a, ReloadMode::kReplace, list, prompter_));
  ASSERT_TRUE(ReloadDeviceLibrary(b, ReloadMode::kAppend, list, prompter_));
  ASSERT_EQ(list.entries.size(), 13u);
  EXPECT_EQ(list.entries[9], (DeviceListEntry{"a9", a}));
  EXPECT_EQ(list.entries[12], (DeviceListEntry{"b2", b}));
  EXPECT_EQ(list.version_label, "A 1.0 + B 2.0");
  ASSERT_TRUE(LoadDevice(config_, list.entries[12], prompter_));
  EXPECT_EQ(config_.pins[0].description, "p2");
  EXPECT_EQ(config_.pins[0].device_name, "b2");

  ASSERT_TRUE(ReloadDeviceLibrary(b, ReloadMode::kReplace, list, prompter_));
  EXPECT_EQ(list.entries.size(), 3u);
  EXPECT_EQ(list.version_label, "B 2.0");
  EXPECT_TRUE(prompter_.messages.empty());
}

TEST(ReloadModeTest, OnlyShiftAloneAppends) {
  const struct {
    bool shift, control, alt;
    ReloadMode mode;
  } cases[] = {
      {false, false, false, ReloadMode::kReplace}, {true, false, false, ReloadMode::kAppend},
      {true, true, false, ReloadMode::kReplace},   {true, false, true, ReloadMode::kReplace},
      {false, true, false, ReloadMode::kReplace},  {false, false, true, ReloadMode::kReplace},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReloadModeFor(c.shift, c.control, c.alt), c.mode) << c.shift << c.control << c.alt;
  }
}

TEST_F(DeviceDefinitionsTest, ReloadFailuresLeaveTheList) {
  DeviceList list;
  ASSERT_TRUE(ReloadDeviceLibrary(Write("a.def", Library("A", "a", 2)), ReloadMode::kReplace, list,
                                  prompter_));
  const std::vector<DeviceListEntry> before = list.entries;
  const struct {
    const char* name;
    std::optional<fs::path> chosen;
    const char* message;
  } cases[] = {
      {"cancelled", std::nullopt, "No Device Configuration file selected"},
      {"missing", folder_ / "missing.def", "No Device Configuration file selected"},
      {"empty file", Write("empty.def", ""), "Invalid definition file"},
      {"wrong header", Write("data.dat", "\"TarnConfiguration 3100\"\r\n\"End\"\r\n"),
       "Invalid definition file"},
      {"no End", Write("cut.def", "\"TarnDeviceDefinitions x\"\r\n\"Dev\",\"c\"\r\n"),
       "Invalid definition file"},
  };
  for (const auto& c : cases) {
    prompter_.messages.clear();
    EXPECT_FALSE(ReloadDeviceLibrary(c.chosen, ReloadMode::kAppend, list, prompter_)) << c.name;
    EXPECT_EQ(list.entries, before) << c.name;
    EXPECT_EQ(list.version_label, "A") << c.name;
    EXPECT_THAT(prompter_.Texts(), ElementsAre(c.message)) << c.name;
    EXPECT_EQ(prompter_.messages[0].icon, PromptIcon::kWarning);
  }
}

TEST_F(DeviceDefinitionsTest, DescriptionsThatReadLikeTagsAreNoSections) {
  const std::optional<DeviceLibraryIndex> index = ReadDeviceLibraryIndex(Definitions(
      "v",
      "\"Dev\",\"one\"\r\n  \"Pin\",0,3,0,\"Dev\"\r\n  \"Asp\",0,\"End\"\r\n\"Dev\",\"two\"\r\n"));
  ASSERT_TRUE(index);
  EXPECT_THAT(index->device_names, ElementsAre("one", "two"));
}

TEST_F(DeviceDefinitionsTest, VersionLabel) {
  const struct {
    const char* name;
    std::string header_rest;  // after "TarnDeviceDefinitions"
    const char* at_start;
  } cases[] = {
      {"22 characters", " ", "Unknown"},
      {"21 characters", "", "Unknown"},
      {"a version", " V3", "V3"},
  };
  for (const auto& c : cases) {
    DeviceList list;
    EXPECT_EQ(list.version_label, "None");
    Write("TarnDevices.def", "\"TarnDeviceDefinitions" + c.header_rest + "\"\r\n\"End\"\r\n");
    ASSERT_TRUE(LoadStandardLibrary(folder_, {}, list, prompter_)) << c.name;
    EXPECT_EQ(list.version_label, c.at_start) << c.name;
  }

  const std::string v30(30, 'x');
  const std::string v18(18, 'y');
  DeviceList list;
  ASSERT_TRUE(ReloadDeviceLibrary(Write("a.def", Definitions(v30, "")), ReloadMode::kReplace, list,
                                  prompter_));
  // 30 + 3 + 17 = 50 characters stay whole; one more is cut to ".." and the last 48.
  ASSERT_TRUE(ReloadDeviceLibrary(Write("b.def", Definitions(v18.substr(1), "")),
                                  ReloadMode::kAppend, list, prompter_));
  EXPECT_EQ(list.version_label, v30 + " + " + v18.substr(1));
  list.version_label = v30;
  ASSERT_TRUE(ReloadDeviceLibrary(Write("c.def", Definitions(v18, "")), ReloadMode::kAppend, list,
                                  prompter_));
  EXPECT_EQ(list.version_label, ".." + v30.substr(3) + " + " + v18);
  EXPECT_EQ(list.version_label.size(), 50u);
}

TEST_F(DeviceDefinitionsTest, StartUpFallsBackToTheDialog) {
  const fs::path chosen = Write("mine.def", Library("Mine", "m", 2));
  const fs::path program = folder_ / "bin";
  fs::create_directories(program);
  const struct {
    const char* name;
    std::optional<fs::path> answer;
    bool loaded;
    std::vector<std::string> messages;
  } cases[] = {
      {"chosen", chosen, true, {"Can not find Device Configuration file at standard location"}},
      {"cancelled",
       std::nullopt,
       false,
       {"Can not find Device Configuration file at standard location",
        "No Device Configuration available"}},
      {"missing too",
       folder_ / "nope.def",
       false,
       {"Can not find Device Configuration file at standard location",
        "No Device Configuration available"}},
  };
  for (const auto& c : cases) {
    DeviceList list;
    prompter_.messages.clear();
    std::string offered;
    EXPECT_EQ(LoadStandardLibrary(
                  program,
                  [&](std::string_view name) {
                    offered = name;
                    return c.answer;
                  },
                  list, prompter_),
              c.loaded)
        << c.name;
    EXPECT_EQ(offered, "TarnDevices.def");
    EXPECT_EQ(prompter_.Texts(), c.messages) << c.name;
    EXPECT_EQ(list.entries.size(), c.loaded ? 2u : 0u) << c.name;
    EXPECT_EQ(list.version_label, c.loaded ? "Mine" : "None") << c.name;
  }
}

TEST_F(DeviceDefinitionsTest, StandardLibraryIsBesideTheProgramOrInstalled) {
  const fs::path program = folder_ / "prefix" / "bin";
  const fs::path installed = folder_ / "prefix" / "share" / "tarnconfig" / "TarnDevices.def";
  fs::create_directories(program);
  fs::create_directories(installed.parent_path());
  EXPECT_EQ(StandardLibraryPath(program), program / "TarnDevices.def")
      << "neither: the usual place";
  std::ofstream(installed) << "x";
  EXPECT_EQ(StandardLibraryPath(program), installed);
  std::ofstream(program / "TarnDevices.def") << "x";
  EXPECT_EQ(StandardLibraryPath(program), program / "TarnDevices.def");
}

}  // namespace
}  // namespace tarn
