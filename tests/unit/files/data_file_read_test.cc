#include <gtest/gtest.h>

#include "files/data_file.h"
#include "rich_configuration.h"
#include "support/recording_prompter.h"

namespace tarn {
namespace {

using testing::RecordingPrompter;

// A hand-written file: the header with `version`, the records in `body`, and "End".
std::string OldFile(std::string_view version, std::string_view body) {
  return "\"TarnConfiguration " + std::string(version) + "\"\n" + std::string(body) + "\"End\"\n";
}

class DataFileReadTest : public ::testing::Test {
 protected:
  void Load(const std::string& text) { ASSERT_TRUE(ReadDataFile(text, config_, prompter_)); }

  const GeneralSettings& general() const { return config_.general_settings; }

  DeviceConfiguration config_;
  RecordingPrompter prompter_;
};

TEST_F(DataFileReadTest, Version23HasNoExtendedAddressesAndNoNativeMode) {
  Load(OldFile("0023",
               "\"DCC\",300,13\n\"XAD\",64,0,5,1,0,0,8\n"
               "\"Pin\",2,3,1,\"p\"\n\"PAM\",4,5\n\"Asp\",0,\"a\"\n"));
  ASSERT_EQ(prompter_.messages.size(), 1u);
  EXPECT_EQ(prompter_.messages[0].text, "Data File Version = 23");
  EXPECT_EQ(prompter_.messages[0].icon, PromptIcon::kInformation);
  EXPECT_EQ(general().dcc_address, 300);
  EXPECT_EQ(general().extended_dcc_address, 1);
  EXPECT_EQ(general().packet_retention, 1);
  EXPECT_TRUE(general().basic_packet_state_invert);
  EXPECT_TRUE(general().allow_address_0);
  EXPECT_EQ(general().serial_addressing, SerialAddressing::kNone);
  EXPECT_EQ(general().module_extended_address, 5);
  EXPECT_TRUE(general().extended_group_mask[0]);
  EXPECT_TRUE(general().extended_group_mask[15]);
  EXPECT_EQ(config_.pins[2].xdcc_address_count, 1);
  EXPECT_EQ(config_.pins[2].dcc_address_count, 4);
  EXPECT_EQ(config_.pins[2].vesk_address_count, 5);
  EXPECT_EQ(config_.pins[2].aspects[0].description, "a");
}

TEST_F(DataFileReadTest, Version22HasNoDccOptions) {
  Load(OldFile("0022", "\"DCC\",300\n\"LED\",3,4\n"));
  EXPECT_EQ(general().dcc_address, 300);
  EXPECT_EQ(general().packet_retention, 2);
  EXPECT_EQ(general().green_led_mask, 3);
}

TEST_F(DataFileReadTest, Version31And32SplitAtTheExtendedAddress) {
  Load(OldFile("0031", "\"DCC\",300,5\n\"Pin\",1,0,0,\"\"\n\"PAM\",0,6\n"));
  EXPECT_EQ(general().extended_dcc_address, 1);
  EXPECT_EQ(general().packet_retention, 1);
  EXPECT_EQ(config_.pins[1].dcc_address_count, 0);
  Load(OldFile("0032", "\"DCC\",300,2000,5\n\"Pin\",1,0,0,\"\"\n\"PAM\",0,6,2\n"));
  EXPECT_EQ(general().extended_dcc_address, 2000);
  EXPECT_EQ(config_.pins[1].xdcc_address_count, 0);
  EXPECT_EQ(config_.pins[1].dcc_address_count, 6);
  EXPECT_EQ(config_.pins[1].vesk_address_count, 2);
}

TEST_F(DataFileReadTest, PwmLevelsBeforeVersion20AreOffAndFull) {
  config_.pins[0].pin_config.fill(9);
  Load(OldFile("0019", "\"DCC\",7\n\"Pin\",0,0,0,\"\"\n\"Cfg\",3,10,1,2\n"));
  EXPECT_EQ(general().dcc_address, 7);
  EXPECT_EQ(config_.pins[0].pin_config, (PinConfig{3, 10, 1, 2, 0, 31, 0, 0, 0, 0, 0, 0, 9}));
  EXPECT_EQ(config_.pins[0].live_value, 10);
  Load(OldFile("0020", "\"Pin\",0,0,0,\"\"\n\"Cfg\",2,10,1,2,4,20\n"));
  EXPECT_EQ(config_.pins[0].pin_config, (PinConfig{2, 10, 1, 2, 4, 20, 0, 0, 0, 0, 0, 0, 9}));
}

TEST_F(DataFileReadTest, VersionIsTheLeadingDigitsOfTheLastFour) {
  Load(OldFile("12ab", ""));
  Load(OldFile("abcd", ""));
  Load(OldFile("3100", ""));
  Load(OldFile("9999", ""));
  EXPECT_EQ(prompter_.Texts(),
            (std::vector<std::string>{"Data File Version = 12", "Data File Version = 0"}));
}

TEST_F(DataFileReadTest, NativeModeFromTheSerialAddressByte) {
  const std::vector<std::pair<int, bool>> kCases = {
      {0, false},   {32, false}, {33, true},  {64, true},   {95, true},  {96, false},
      {160, false}, {161, true}, {223, true}, {224, false}, {255, false}};
  for (const auto& [byte, native] : kCases) {
    config_.general_settings.serial_base_address = 9;
    Load(OldFile("3100", "\"XAD\"," + std::to_string(byte) + ",0,0,0,0,0,0\n"));
    EXPECT_EQ(IsTarnNativeMode(general()), native) << byte;
    EXPECT_FALSE(IsVeskFlexibleAddressing(general()));
    EXPECT_EQ(general().serial_base_address, 0);
  }
  Load(OldFile("3099", "\"XAD\",64,0,0,0,0,0,0\n"));
  EXPECT_FALSE(IsTarnNativeMode(general()));
  Load(OldFile("3100", "\"XAD\",20,1,3,0,0,0,0\n"));
  EXPECT_TRUE(IsVeskFlexibleAddressing(general()));
  EXPECT_EQ(general().serial_base_address, 20);
  EXPECT_EQ(general().module_extended_address, 3);
}

TEST_F(DataFileReadTest, GeneralRecordsDecodeTheirCodes) {
  config_.general_settings.serial_bit_rate = 4;
  Load(OldFile("3100",
               "\"ID$\",\"A long ID string\"\n\"HWC\",1,2,3,7\n\"LED\",255,128\n"
               "\"SPC\",1,\"31250\",9,1,3\n"));
  EXPECT_EQ(general().id_string, "A long ID string");
  EXPECT_EQ(general().sink_driver, (std::array<bool, 4>{true, false, true, true}));
  EXPECT_EQ(general().source_driver, (std::array<bool, 4>{false, true, true, true}));
  EXPECT_EQ(general().green_led_mask, 127);
  EXPECT_EQ(general().orange_led_mask, 0);
  EXPECT_TRUE(general().serial_port_enable);
  EXPECT_EQ(general().serial_bit_rate, 4) << "an unknown rate keeps the selection";
  EXPECT_EQ(general().serial_data_bits, 7);
  EXPECT_EQ(general().serial_parity, kParityNone);
  EXPECT_EQ(general().serial_stop_bits, 1);
  Load(OldFile("3100", "\"SPC\",2,\"57600\",8,2,2\n"));
  EXPECT_FALSE(general().serial_port_enable);
  EXPECT_EQ(general().serial_bit_rate, 5);
  EXPECT_EQ(general().serial_data_bits, 8);
  EXPECT_EQ(general().serial_parity, kParityEven);
  EXPECT_EQ(general().serial_stop_bits, 2);
}

TEST_F(DataFileReadTest, EventRecordsAndTheEvtAlias) {
  Load(OldFile("3100", "\"Evt\",5,0,12,1,2\n\"Eof\",31,12,0,0,3\n\"Eon\",6,1,1,1,1\n"));
  EXPECT_EQ(config_.event_actions[5].on, (std::array<std::int16_t, 4>{-1, 11, 0, 1}));
  EXPECT_EQ(config_.event_actions[31].off, (std::array<std::int16_t, 4>{11, -1, -1, 2}));
  EXPECT_EQ(config_.event_actions[6].on, (std::array<std::int16_t, 4>{0, 0, 0, 0}));
  EXPECT_EQ(config_.event_actions[5].off, PinEventActions{}.off);
}

TEST_F(DataFileReadTest, UnknownItemsAreSkippedOneByOne) {
  Load(OldFile("3100", "\"Foo\",42,\"Bar\"\n\n  \"LED\",1,2\n7,\"Nope\"\n"));
  EXPECT_EQ(general().green_led_mask, 1);
  EXPECT_EQ(general().orange_led_mask, 2);
}

TEST_F(DataFileReadTest, PinRecordResetsCountsAndProgram) {
  PinRecord& pin = config_.pins[3];
  pin.dcc_address_count = 6;
  pin.aspects[11].description = "x";
  pin.aspects[11].steps[8] = {9, 1, 1, 1, 1, 1};
  pin.aspects[12].description = "spare";
  pin.aspects[0].steps[9] = {9, 0, 0, 0, 0, 0};
  pin.device_pointer = -3;
  Load(OldFile("3100", "\"Pin\",3,2,12,\"Three\"\n"));
  EXPECT_EQ(pin.description, "Three");
  EXPECT_EQ(pin.aspect_layout, 2);
  EXPECT_EQ(pin.initial_aspect, 12);
  EXPECT_EQ(pin.dcc_address_count, 1);
  EXPECT_EQ(pin.aspects[11], Aspect{});
  EXPECT_EQ(pin.aspects[12].description, "spare");
  EXPECT_EQ(pin.aspects[0].steps[9].opcode, 9);
  EXPECT_EQ(pin.device_pointer, -3) << "only \"Dev\" sets the pointer";
}

struct ConfigCase {
  const char* cfg;
  PinConfig bytes;
};

TEST_F(DataFileReadTest, ConfigRecordPerMode) {
  const std::vector<ConfigCase> kCases = {
      {"7,5,5,5", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 9}},  // 5,5,5 are skipped as items
      {"0", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 9}},
      {"4,1,2,3,4", {4, 1, 2, 3, 4, 9, 9, 9, 9, 9, 9, 9, 9}},
      {"2,1,2,3,4,5", {2, 1, 2, 3, 4, 5, 0, 0, 0, 0, 0, 0, 9}},
      {"1,64,32,3,4,5,6,7,8,9,10,11", {1, 64, 42, 3, 4, 5, 6, 7, 8, 9, 10, 11, 9}},
      {"1,64,40,3,4,5,6,7,8,9,10,11", {1, 64, 40, 3, 4, 5, 6, 7, 8, 9, 10, 11, 9}},
      {"1,64,15,3,4,5,6,7,8,9,10,11", {1, 64, 15, 3, 4, 5, 6, 7, 8, 9, 10, 11, 9}},
      // Only three bits of range move, so the converted byte reads as current on the next load.
      {"1,64,240,3,4,5,6,7,8,9,10,11", {1, 64, 47, 3, 4, 5, 6, 7, 8, 9, 10, 11, 9}},
  };
  for (const ConfigCase& c : kCases) {
    config_.pins[8].pin_config.fill(9);
    Load(OldFile("3100", "\"Pin\",8,0,0,\"\"\n\"Cfg\"," + std::string(c.cfg) + "\n"));
    EXPECT_EQ(config_.pins[8].pin_config, c.bytes) << c.cfg;
    EXPECT_EQ(config_.pins[8].live_value, c.bytes[1]) << c.cfg;
  }
}

TEST_F(DataFileReadTest, StepCodeCarriesFadeOnlyFrom19To63WithBit4) {
  const std::vector<std::pair<int, Step>> kCases = {
      {19, {3, 1, 1, 2, 3, 4}},  {35, {35, 0, 1, 2, 3, 4}},   {51, {35, 1, 1, 2, 3, 4}},
      {16, {16, 0, 1, 2, 3, 4}}, {17, {17, 0, 1, 2, 3, 4}},   {18, {18, 0, 1, 2, 3, 4}},
      {48, {32, 1, 1, 2, 3, 4}}, {63, {47, 1, 1, 2, 3, 4}},   {64, {64, 0, 1, 2, 3, 4}},
      {80, {80, 0, 1, 2, 3, 4}}, {116, {116, 0, 1, 2, 3, 4}}, {255, {255, 0, 1, 2, 3, 4}}};
  for (const auto& [code, step] : kCases) {
    // No "Pin" record: the step's old fade flag must not survive the code.
    config_.pins[0].aspects[2].steps[9] = {38, 1, 0, 0, 0, 0};
    Load(OldFile("3100", "\"Asp\",2,\"\"\n\"Ins\",9," + std::to_string(code) + ",1,2,3,4\n"));
    EXPECT_EQ(config_.pins[0].aspects[2].steps[9], step) << code;
  }
}

struct RefusalCase {
  const char* name;
  std::string text;
};

class DataFileRefusalTest : public ::testing::TestWithParam<RefusalCase> {};

// Records that change the model before the faulty one, so that a half-applied load would show.
constexpr std::string_view kApplied =
    "\"ID$\",\"changed\"\n\"LED\",1,1\n\"Pin\",0,3,1,\"changed\"\n\"Dev\",0,\"changed\"\n"
    "\"Asp\",0,\"changed\"\n\"Ins\",0,38,1,1,1,1\n";

std::string Refused(std::string_view tail, bool end = true) {
  std::string text = "\"TarnConfiguration 3100\"\n" + std::string(kApplied) + std::string(tail);
  return end ? text + "\n\"End\"\n" : text;
}

TEST_P(DataFileRefusalTest, LeavesTheModelAsItWas) {
  DeviceConfiguration config = testing::RichConfiguration();
  const DeviceConfiguration before = config;
  RecordingPrompter prompter;
  EXPECT_FALSE(ReadDataFile(GetParam().text, config, prompter));
  EXPECT_EQ(config, before);
  ASSERT_FALSE(prompter.messages.empty());
  EXPECT_EQ(prompter.messages.back().text, "Invalid configuration file");
  EXPECT_EQ(prompter.messages.back().icon, PromptIcon::kWarning);
}

INSTANTIATE_TEST_SUITE_P(
    Files, DataFileRefusalTest,
    ::testing::Values(
        RefusalCase{"Empty", ""},
        RefusalCase{"HeaderTooShort", "\"TarnConfiguration 310\"\n\"End\"\n"},
        RefusalCase{"HeaderTooLong", "\"TarnConfiguration 31000\"\n\"End\"\n"},
        RefusalCase{"HeaderWrongName", "\"TarnConfiguratioN 3100\"\n\"End\"\n"},
        RefusalCase{"NoEnd", Refused("", false)},
        RefusalCase{"EndsInsideRecord", Refused("\"Pin\",1,3", false)},
        RefusalCase{"EndsInsideQuote", Refused("\"Pin\",1,3,1,\"abc\n\"End\"", false)},
        RefusalCase{"PinAbove31", Refused("\"Pin\",32,3,1,\"x\"")},
        RefusalCase{"PinNegative", Refused("\"Pin\",-1,3,1,\"x\"")},
        RefusalCase{"InitialAspectAbove15", Refused("\"Pin\",1,3,16,\"x\"")},
        RefusalCase{"LayoutAboveByte", Refused("\"Pin\",1,256,0,\"x\"")},
        RefusalCase{"EventPinAbove31", Refused("\"Eon\",32,1,1,1,1")},
        RefusalCase{"EventActionAbove15", Refused("\"Eof\",0,1,2,16,0")},
        RefusalCase{"EventActionNegative", Refused("\"Evt\",0,-1,0,0,0")},
        RefusalCase{"AspectAbove12", Refused("\"Asp\",13,\"x\"")},
        RefusalCase{"StepAbove9", Refused("\"Ins\",10,38,0,0,0,0")},
        RefusalCase{"StepCodeAboveByte", Refused("\"Ins\",0,256,0,0,0,0")},
        RefusalCase{"StepParameterNegative", Refused("\"Ins\",0,38,0,0,0,-1")},
        RefusalCase{"ConfigByteAboveByte", Refused("\"Cfg\",1,300,8,0,0,0,0,0,0,0,0,0")},
        RefusalCase{"ConfigModeAboveByte", Refused("\"Cfg\",256")},
        RefusalCase{"DeviceHeadBelowPin0", Refused("\"Dev\",-1,\"x\"")},
        RefusalCase{"DeviceHeadAbovePin31", Refused("\"Pin\",31,0,0,\"\"\n\"Dev\",1,\"x\"")},
        RefusalCase{"DevicePointerBeyond16Bits", Refused("\"Dev\",65536,\"x\"")},
        RefusalCase{"AddressCountAboveByte", Refused("\"PAM\",1,256,1")},
        RefusalCase{"DccAddressBeyondInt", Refused("\"DCC\",99999999999,1,2")},
        RefusalCase{"TextForNumber", Refused("\"LED\",\"abc\",0")},
        RefusalCase{"NumberNotWhole", Refused("\"HWC\",1,2.5,0,0")},
        RefusalCase{"SerialByteAboveByte", Refused("\"XAD\",256,0,0,0,0,0,0")}),
    [](const auto& test_info) { return std::string(test_info.param.name); });

}  // namespace
}  // namespace tarn
