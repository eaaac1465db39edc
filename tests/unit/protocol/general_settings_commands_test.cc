// The general settings commands against the simulated Tarn, which decodes the frames with its
// own code: what each write leaves in the Tarn's memory, what each read puts into the model, and
// what the user is told when a reply is wrong.

#include "protocol/general_settings_commands.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "sim/direct_frame.h"
#include "support/simulated_line.h"

namespace tarn {
namespace {

using Bytes = std::vector<std::uint8_t>;
using sim::Fault;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testing::SimulatedLine;

struct Line : SimulatedLine {
  explicit Line(bool tunnelled = false) : SimulatedLine(tunnelled), commands(link, prompter) {}
  const Bytes& Register(int number) { return tarn.memory().registers[number]; }
  GeneralSettingsCommands commands;
};

// Settings whose every group differs from the Tarn's factory contents.
GeneralSettings RichSettings() {
  GeneralSettings s;
  s.id_string = "North Yard";
  s.dcc_address = 1000;
  s.extended_dcc_address = 64;
  s.packet_retention = 3;
  s.basic_packet_state_invert = true;
  s.allow_address_0 = false;
  s.serial_addressing = SerialAddressing::kVeskFlexible;
  s.serial_base_address = 37;
  s.module_extended_address = 5;
  for (const int group : {0, 5, 15}) s.extended_group_mask[group] = true;
  s.sink_driver = {true, false, true, false};
  s.source_driver = {false, true, true, false};
  s.green_led_mask = 0x15;
  s.orange_led_mask = 0x40;
  s.serial_port_enable = true;
  s.serial_bit_rate = 5;
  s.serial_data_bits = 8;
  s.serial_parity = kParityNone;
  s.serial_stop_bits = 2;
  return s;
}

// Every write, on the direct bus and tunnelled, with and without "Bidirectional Comm.".
class WritesTest : public ::testing::TestWithParam<std::tuple<bool, bool>> {};

TEST_P(WritesTest, EveryWriteLandsInTheTarnByteForByte) {
  const auto [tunnelled, bidirectional] = GetParam();
  Line line(tunnelled);
  line.link.SetBidirectional(bidirectional);
  GeneralSettings settings = RichSettings();

  ASSERT_TRUE(line.commands.WriteIdString(settings));
  ASSERT_TRUE(line.commands.WriteAddressing(settings));
  ASSERT_TRUE(line.commands.WriteDcc(settings));
  ASSERT_TRUE(line.commands.WriteHardwareConfiguration(settings));
  ASSERT_TRUE(line.commands.WriteSerialPort(settings));
  ASSERT_TRUE(line.commands.WriteLamps(settings));

  EXPECT_EQ(line.Register(10), Bytes(settings.id_string.begin(), settings.id_string.end()));
  EXPECT_THAT(line.Register(8), ElementsAre(1, 37));
  EXPECT_THAT(line.Register(3), ElementsAre(0x01, 0x02, 0x00, 0x08));
  EXPECT_THAT(line.Register(2), ElementsAre(5));
  EXPECT_THAT(line.Register(5), ElementsAre(3 + 4));
  EXPECT_THAT(line.Register(4), ElementsAre(40, 15));  // 1000 = 15 x 64 + 40
  EXPECT_THAT(line.Register(12), ElementsAre(0, 1));
  EXPECT_THAT(line.Register(1), ElementsAre(1, 2, 3, 0));
  EXPECT_THAT(line.Register(13), ElementsAre(1, 0x4D));
  EXPECT_THAT(line.Register(6), ElementsAre(0x15));
  EXPECT_THAT(line.Register(7), ElementsAre(0x40));
  EXPECT_THAT(line.prompter.Texts(), IsEmpty());
  EXPECT_EQ(line.link.bidirectional(), bidirectional) << "writes leave the link mode alone";
}

INSTANTIATE_TEST_SUITE_P(Links, WritesTest,
                         ::testing::Combine(::testing::Bool(), ::testing::Bool()));

// Single groups whose bytes depend on a choice.
TEST(GeneralWriteTest, EncodingsOfSingleChoices) {
  const struct {
    const char* name;
    std::function<void(GeneralSettings&)> change;
    bool (GeneralSettingsCommands::*write)(const GeneralSettings&);
    int reg;
    Bytes expected;
  } cases[] = {
      {"native mode",
       [](GeneralSettings& s) { s.serial_addressing = SerialAddressing::kTarnNative; },
       &GeneralSettingsCommands::WriteAddressing,
       8,
       {0, 64}},
      // A base address left from flexible addressing would read as native mode on the Tarn.
      {"neither mode",
       [](GeneralSettings& s) {
         s.serial_addressing = SerialAddressing::kNone;
         s.serial_base_address = 70;
       },
       &GeneralSettingsCommands::WriteAddressing,
       8,
       {0, 0}},
      {"allow address 0, 62.5ms",
       [](GeneralSettings& s) {
         s.packet_retention = 0;
         s.allow_address_0 = true;
       },
       &GeneralSettingsCommands::WriteDcc,
       5,
       {8}},
      {"retention out of range",
       [](GeneralSettings& s) { s.packet_retention = 7; },
       &GeneralSettingsCommands::WriteDcc,
       5,
       {2}},
      {"DCC address 64",
       [](GeneralSettings& s) { s.dcc_address = 64; },
       &GeneralSettingsCommands::WriteDcc,
       4,
       {0, 1}},
      {"DCC address below 0",
       [](GeneralSettings& s) { s.dcc_address = -5; },
       &GeneralSettingsCommands::WriteDcc,
       4,
       {0, 0}},
      {"DCC address beyond two values",
       [](GeneralSettings& s) { s.dcc_address = 9000; },
       &GeneralSettingsCommands::WriteDcc,
       4,
       {63, 127}},
      {"odd parity, 7 bits, 19200",
       [](GeneralSettings& s) {
         s.serial_bit_rate = 2;
         s.serial_parity = kParityOdd;
       },
       &GeneralSettingsCommands::WriteSerialPort,
       13,
       {0, 2 + 48}},
      {"even parity, 115200",
       [](GeneralSettings& s) {
         s.serial_bit_rate = 7;
         s.serial_parity = kParityEven;
       },
       &GeneralSettingsCommands::WriteSerialPort,
       13,
       {0, 7 + 32}},
  };
  for (const auto& c : cases) {
    Line line;
    GeneralSettings settings;
    c.change(settings);
    ASSERT_TRUE((line.commands.*c.write)(settings)) << c.name;
    EXPECT_EQ(line.Register(c.reg), c.expected) << c.name;
  }
}

TEST(GeneralWriteTest, IdStringIsCutToTwelveAndAnEmptyOneClearsTheTarns) {
  Line line;
  GeneralSettings settings;
  settings.id_string = "ABCDEFGHIJKLMNO";
  ASSERT_TRUE(line.commands.WriteIdString(settings));
  EXPECT_EQ(settings.id_string, "ABCDEFGHIJKL");
  EXPECT_EQ(line.Register(10), Bytes(settings.id_string.begin(), settings.id_string.end()));

  settings.id_string.clear();
  ASSERT_TRUE(line.commands.WriteIdString(settings));
  EXPECT_THAT(line.Register(10), IsEmpty());
}

TEST(GeneralWriteTest, AnIdCharacterAbove127IsRefusedWhole) {
  Line line;
  GeneralSettings settings;
  settings.id_string = "Caf\xE9";
  EXPECT_FALSE(line.commands.WriteIdString(settings));
  EXPECT_THAT(line.Register(10), IsEmpty());
  EXPECT_EQ(line.prompter.messages.size(), 1u);
}

// Reads: what the Tarn holds ends up in the model.
class ReadsTest : public ::testing::TestWithParam<bool> {};

TEST_P(ReadsTest, EveryReadFillsTheModelWithWhatTheTarnHolds) {
  Line line(GetParam());
  line.link.SetBidirectional(false);  // every read switches it on
  const GeneralSettings written = RichSettings();
  GeneralSettings copy = written;
  ASSERT_TRUE(line.commands.WriteIdString(copy));
  ASSERT_TRUE(line.commands.WriteAddressing(written));
  ASSERT_TRUE(line.commands.WriteDcc(written));
  ASSERT_TRUE(line.commands.WriteHardwareConfiguration(written));
  ASSERT_TRUE(line.commands.WriteSerialPort(written));
  ASSERT_TRUE(line.commands.WriteLamps(written));

  GeneralSettings read;
  std::string version;
  EXPECT_TRUE(line.commands.ReadVersion(version));
  EXPECT_TRUE(line.link.bidirectional());
  EXPECT_TRUE(line.commands.ReadIdString(read));
  EXPECT_TRUE(line.commands.ReadAddressing(read));
  EXPECT_TRUE(line.commands.ReadDcc(read));
  EXPECT_TRUE(line.commands.ReadHardwareConfiguration(read));
  EXPECT_TRUE(line.commands.ReadSerialPort(read));
  EXPECT_TRUE(line.commands.ReadLamps(read));

  EXPECT_EQ(version, "3.1.0.10");
  EXPECT_EQ(read, written);
  EXPECT_THAT(line.prompter.Texts(), IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(DirectAndTunnelled, ReadsTest, ::testing::Bool());

TEST(GeneralReadTest, RegisterContentsDecodeIntoTheModel) {
  Line line;
  auto& regs = line.tarn.memory().registers;
  regs[8] = {0, 64};
  regs[13] = {0, 0x4D};
  regs[6] = {0};
  regs[7] = {0x7F};
  regs[1] = {3, 0, 1, 2};
  GeneralSettings read;
  read.serial_port_enable = true;
  read.green_led_mask = 0x11;
  ASSERT_TRUE(line.commands.ReadAddressing(read));
  ASSERT_TRUE(line.commands.ReadSerialPort(read));
  ASSERT_TRUE(line.commands.ReadLamps(read));
  ASSERT_TRUE(line.commands.ReadHardwareConfiguration(read));

  EXPECT_EQ(read.serial_addressing, SerialAddressing::kTarnNative);
  EXPECT_EQ(read.serial_base_address, 0);
  EXPECT_FALSE(read.serial_port_enable);
  EXPECT_EQ(read.serial_bit_rate, 5);  // 57600
  EXPECT_EQ(read.serial_data_bits, 8);
  EXPECT_EQ(read.serial_parity, kParityNone);
  EXPECT_EQ(read.serial_stop_bits, 2);
  EXPECT_EQ(read.green_led_mask, 0);
  EXPECT_EQ(LampBoxStates(read.green_led_mask)[kLedIdleBox], LedBoxState::kGreyed);
  EXPECT_EQ(read.orange_led_mask, 0x7F);
  EXPECT_THAT(read.sink_driver, ElementsAre(true, false, true, false));
  EXPECT_THAT(read.source_driver, ElementsAre(true, false, false, true));

  regs[8] = {0, 0};
  ASSERT_TRUE(line.commands.ReadAddressing(read));
  EXPECT_EQ(read.serial_addressing, SerialAddressing::kNone);
}

// A reply that does not fit: the message, the outcome, and whether the model was left alone.
TEST(GeneralReadTest, WrongRepliesShowTheirMessages) {
  using Read = std::function<bool(GeneralSettingsCommands&, GeneralSettings&)>;
  const Read version = [](GeneralSettingsCommands& c, GeneralSettings&) {
    std::string text;
    return c.ReadVersion(text);
  };
  const Read id = [](GeneralSettingsCommands& c, GeneralSettings& s) { return c.ReadIdString(s); };
  const Read addressing = [](GeneralSettingsCommands& c, GeneralSettings& s) {
    return c.ReadAddressing(s);
  };
  const Read dcc = [](GeneralSettingsCommands& c, GeneralSettings& s) { return c.ReadDcc(s); };
  const Read hardware = [](GeneralSettingsCommands& c, GeneralSettings& s) {
    return c.ReadHardwareConfiguration(s);
  };
  const Read serial = [](GeneralSettingsCommands& c, GeneralSettings& s) {
    return c.ReadSerialPort(s);
  };
  const Read lamps = [](GeneralSettingsCommands& c, GeneralSettings& s) { return c.ReadLamps(s); };
  const struct {
    const char* name;
    Read read;
    Fault fault;
    bool success;
    const char* message;
  } cases[] = {
      {"version echo", version, Fault::kWrongEcho, false, "GetVersion: No valid response"},
      {"version size", version, Fault::kShortReply, false,
       "GetVersion: No valid response, size <> 6"},
      {"id echo", id, Fault::kWrongTarget, false, "No valid response"},
      {"vesk size", addressing, Fault::kShortReply, true,
       "No valid response, size = 3 expected = 4"},
      {"vesk echo", addressing, Fault::kWrongEcho, true,
       "No valid response, msg = 113,8 expected = 112,8"},
      {"vesk register", addressing, Fault::kWrongTarget, true,
       "No valid response, msg = 112,9 expected = 112,8"},
      {"dcc options size", dcc, Fault::kShortReply, true,
       "Received Address, cannot read DCC options"},
      {"dcc options echo", dcc, Fault::kWrongEcho, true, "Received Address: No valid response"},
      {"hardware size", hardware, Fault::kShortReply, true, "No valid response size"},
      {"hardware echo", hardware, Fault::kWrongEcho, true, "No valid response type"},
      {"serial size", serial, Fault::kShortReply, true, "No valid response, size = 3 expected = 4"},
      {"serial echo", serial, Fault::kWrongTarget, true,
       "No valid response, msg = 112,14 expected = 112,13"},
      {"green echo", lamps, Fault::kWrongEcho, true, "No valid response"},
  };
  for (const auto& c : cases) {
    Line line;
    line.tarn.memory().registers[8] = {1, 9};
    line.tarn.memory().registers[5] = {3};
    line.tarn.memory().registers[1] = {3, 3, 3, 3};
    line.tarn.memory().registers[13] = {1, 1};
    line.tarn.memory().registers[6] = {1};
    line.tarn.InjectFault(c.fault);
    GeneralSettings settings;
    EXPECT_EQ(c.read(line.commands, settings), c.success) << c.name;
    EXPECT_THAT(line.prompter.Texts(), ElementsAre(c.message)) << c.name;
    // The first request's reply is the spoilt one: what it carries never lands.
    const GeneralSettings factory;
    EXPECT_EQ(settings.serial_addressing, factory.serial_addressing) << c.name;
    EXPECT_EQ(settings.packet_retention, factory.packet_retention) << c.name;
    EXPECT_EQ(settings.sink_driver, factory.sink_driver) << c.name;
    EXPECT_EQ(settings.serial_port_enable, factory.serial_port_enable) << c.name;
    EXPECT_EQ(settings.green_led_mask, factory.green_led_mask) << c.name;
  }
}

TEST(GeneralReadTest, AWrongReplyDoesNotStopTheNextRequests) {
  Line line;
  line.tarn.memory().registers[3] = {1, 0, 0, 8};
  line.tarn.memory().registers[2] = {7};
  line.tarn.memory().registers[7] = {0x21};
  line.tarn.InjectFault(Fault::kWrongEcho);
  GeneralSettings settings;
  EXPECT_TRUE(line.commands.ReadAddressing(settings));
  EXPECT_EQ(settings.module_extended_address, 7);
  EXPECT_TRUE(settings.extended_group_mask[0]);
  EXPECT_TRUE(settings.extended_group_mask[15]);

  line.tarn.InjectFault(Fault::kShortReply);
  EXPECT_TRUE(line.commands.ReadLamps(settings));
  EXPECT_EQ(settings.orange_led_mask, 0x21);
}

TEST(GeneralReadTest, AMissingReplyStopsTheRead) {
  Line line;
  line.tarn.memory().registers[3] = {1, 0, 0, 8};
  line.tarn.memory().registers[2] = {7};
  line.tarn.InjectFault(Fault::kNoReply);
  GeneralSettings settings;
  EXPECT_FALSE(line.commands.ReadAddressing(settings));
  EXPECT_EQ(settings.module_extended_address, 0) << "no further request";
  EXPECT_THAT(line.prompter.Texts(),
              ElementsAre("No response received, resetting bidirectional communication"));

  line.tarn.InjectFault(Fault::kNoReply);
  std::string version = "3.1.0.10";
  EXPECT_FALSE(line.commands.ReadVersion(version));
  EXPECT_EQ(version, "Unknown");
}

// The payloads of the Tarn frames the host put on the direct bus, in order, leaving out the
// empty frame of the link's resynchronisation.
std::vector<Bytes> RequestsSent(const Line& line) {
  sim::DirectFrameDecoder decoder;
  std::vector<Bytes> requests;
  for (const std::uint8_t byte : line.port.written()) {
    const auto frame = decoder.Take(byte);
    if (frame && frame->kind == sim::DirectFrame::Kind::kTarn && !frame->values.empty()) {
      requests.push_back(frame->values);
    }
  }
  return requests;
}

TEST(GeneralOrderTest, EveryOperationSendsItsRegistersInOrder) {
  using Operation = std::function<bool(GeneralSettingsCommands&, GeneralSettings&)>;
  const struct {
    const char* name;
    Operation operation;
    std::vector<Bytes> requests;
  } cases[] = {
      {"version",
       [](auto& c, auto&) {
         std::string version;
         return c.ReadVersion(version);
       },
       {{112, 0}}},
      {"id read", [](auto& c, auto& s) { return c.ReadIdString(s); }, {{112, 10}}},
      {"addressing read",
       [](auto& c, auto& s) {
         return c.ReadAddressing(s);
       },
       {{112, 8}, {112, 2}, {112, 3}}},
      {"dcc read", [](auto& c, auto& s) { return c.ReadDcc(s); }, {{112, 5}, {112, 4}, {112, 12}}},
      {"hardware read",
       [](auto& c, auto& s) { return c.ReadHardwareConfiguration(s); },
       {{112, 1}}},
      {"serial read", [](auto& c, auto& s) { return c.ReadSerialPort(s); }, {{112, 13}}},
      {"lamps read", [](auto& c, auto& s) { return c.ReadLamps(s); }, {{112, 6}, {112, 7}}},
      {"addressing write",
       [](auto& c, auto& s) { return c.WriteAddressing(s); },
       {{96, 8, 1, 37}, {96, 3, 1, 2, 0, 8}, {96, 2, 5}}},
      {"dcc write",
       [](auto& c, auto& s) { return c.WriteDcc(s); },
       {{96, 5, 7}, {96, 4, 40, 15}, {96, 12, 0, 1}}},
      {"hardware write",
       [](auto& c, auto& s) { return c.WriteHardwareConfiguration(s); },
       {{96, 1, 1, 2, 3, 0}}},
      {"serial write", [](auto& c, auto& s) { return c.WriteSerialPort(s); }, {{96, 13, 1, 0x4D}}},
      {"lamps write",
       [](auto& c, auto& s) { return c.WriteLamps(s); },
       {{96, 6, 0x15}, {96, 7, 0x40}}},
      {"erase",
       [](auto& c, auto&) { return c.EraseFlash(); },
       {{96, 0, 0x45, 0x72, 0x61, 0x73, 0x65, 0x21, 0x0D, 0x0A}}},
  };
  for (const auto& c : cases) {
    Line line;
    line.prompter.answers = {PromptAnswer::kOk, PromptAnswer::kCancel};
    GeneralSettings settings = RichSettings();
    EXPECT_TRUE(c.operation(line.commands, settings)) << c.name;
    EXPECT_EQ(RequestsSent(line), c.requests) << c.name;
  }
}

// Each request of a several-request read has its own messages; none of them stops the next.
TEST(GeneralReadTest, LaterRequestsShowTheirOwnMessages) {
  const struct {
    const char* name;
    std::function<void(Line&)> spoil;
    std::vector<std::string> addressing;
    std::vector<std::string> dcc;
  } cases[] = {
      {"sizes",
       [](Line& line) {
         auto& regs = line.tarn.memory().registers;
         regs[8] = {1};
         regs[2] = {};
         regs[3] = {1, 2, 3};
         regs[5] = {};
         regs[4] = {40};
         regs[12] = {0, 1, 2};
       },
       {"No valid response, size = 3 expected = 4", "No valid response, size = 2 expected = 3",
        "No valid response, size = 5 expected = 6"},
       {"Received Address, cannot read DCC options",
        "Get DCC Address: No valid response, size <> 4", "No valid response"}},
      {"echoes",
       [](Line& line) { line.tarn.InjectFault(Fault::kWrongEcho, 3); },
       {"No valid response, msg = 113,8 expected = 112,8",
        "No valid response, msg = 113,2 expected = 112,2",
        "No valid response, msg = 113,3 expected = 112,3"},
       {"Received Address: No valid response", "Get DCC Address: No valid response",
        "No valid response"}},
  };
  for (const auto& c : cases) {
    Line line;
    GeneralSettings settings;
    c.spoil(line);
    EXPECT_TRUE(line.commands.ReadAddressing(settings)) << c.name;
    EXPECT_EQ(line.prompter.Texts(), c.addressing) << c.name;
    line.prompter.messages.clear();
    c.spoil(line);
    EXPECT_TRUE(line.commands.ReadDcc(settings)) << c.name;
    EXPECT_EQ(line.prompter.Texts(), c.dcc) << c.name;
    EXPECT_EQ(settings, GeneralSettings{}) << c.name << ": nothing landed";
  }
}

TEST(GeneralReadTest, HardwareGroupOutOfRangeRefusesTheWholeReply) {
  Line line;
  line.tarn.memory().registers[1] = {1, 2, 4, 3};
  GeneralSettings settings;
  EXPECT_FALSE(line.commands.ReadHardwareConfiguration(settings));
  EXPECT_THAT(line.prompter.Texts(), ElementsAre("No valid response byte"));
  // Nothing of a spoilt reply reaches the model, not even the groups before the bad one.
  EXPECT_EQ(settings, GeneralSettings());
}

// Tunnelled, a Tarn that keeps quiet leaves only the interface unit's answers: the read shows
// its size message and fails, even where a wrong size would otherwise count as a reply.
TEST(GeneralReadTest, TunnelledSilenceIsNoReply) {
  Line line(true);
  line.tarn.InjectFault(Fault::kNoReply);
  GeneralSettings settings;
  EXPECT_FALSE(line.commands.ReadHardwareConfiguration(settings));
  EXPECT_THAT(line.prompter.Texts(), ElementsAre("No valid response size"));
}

TEST(AddressingVisibilityTest, FieldsFollowTheAddressingChoice) {
  const struct {
    SerialAddressing addressing;
    AddressingVisibility visible;
  } cases[] = {
      {SerialAddressing::kNone, {.vesk_base = false, .tarn_native = true, .vesk_flexible = true}},
      {SerialAddressing::kVeskFlexible,
       {.vesk_base = true, .tarn_native = false, .vesk_flexible = true}},
      {SerialAddressing::kTarnNative,
       {.vesk_base = false, .tarn_native = true, .vesk_flexible = false}},
  };
  for (const auto& c : cases) {
    GeneralSettings settings;
    settings.serial_addressing = c.addressing;
    EXPECT_EQ(AddressingFieldsVisibility(settings), c.visible);
  }
}

// --- Erase Flash -------------------------------------------------------------------------------

TEST(EraseFlashTest, TheUnlockCodeIsTheOneTheSimulatedTarnExpects) {
  EXPECT_EQ(kEraseUnlockCode, sim::kDefaultEraseUnlockCode);
  for (const std::uint8_t value : kEraseUnlockCode) EXPECT_LE(value, 127);
}

TEST(EraseFlashTest, ErasesOnlyWhenBothQuestionsAllowIt) {
  const struct {
    std::vector<PromptAnswer> answers;
    bool erased;
  } cases[] = {
      {{PromptAnswer::kOk, PromptAnswer::kCancel}, true},
      {{PromptAnswer::kCancel}, false},
      {{PromptAnswer::kOk, PromptAnswer::kOk}, false},  // OK to "Do you want to cancel ...?"
  };
  for (const auto& c : cases) {
    for (const bool bidirectional : {true, false}) {
      Line line;
      line.link.SetBidirectional(bidirectional);
      line.tarn.memory().registers[6] = {5};
      line.prompter.answers.assign(c.answers.begin(), c.answers.end());
      const std::size_t written_before = line.port.written().size();

      EXPECT_EQ(line.commands.EraseFlash(), c.erased);
      EXPECT_THAT(line.tarn.memory().registers[6], ElementsAre(c.erased ? 0 : 5));
      EXPECT_EQ(line.link.bidirectional(), bidirectional) << "restored";
      EXPECT_EQ(line.prompter.messages.size(), c.answers.size());
      if (!c.erased) {
        EXPECT_EQ(line.port.written().size(), written_before) << "nothing sent";
      }
    }
  }
}

TEST(EraseFlashTest, AsksWithWarningsAndTheirExactTexts) {
  Line line;
  line.prompter.answers = {PromptAnswer::kOk, PromptAnswer::kCancel};
  ASSERT_TRUE(line.commands.EraseFlash());
  ASSERT_EQ(line.prompter.messages.size(), 2u);
  EXPECT_EQ(line.prompter.messages[0].text,
            "WARNING !!\nThis operation will erase the Tarn Configuration Memory\nContinue?");
  EXPECT_EQ(line.prompter.messages[1].text,
            "WARNING !!\nThis operation will erase the Tarn Configuration Memory\n"
            "The green LED on the Tarn will be ON during this process\n"
            "The erase process may take up to 45 seconds, please be patient\n\n"
            "Do you want to cancel this operation?");
  for (const auto& message : line.prompter.messages) {
    EXPECT_EQ(message.icon, PromptIcon::kWarning);
    EXPECT_EQ(message.buttons, PromptButtons::kOkCancel);
  }
}

TEST(EraseFlashTest, ATarnWithAnotherCodeKeepsItsMemory) {
  Line line;
  line.tarn.set_erase_unlock_code({1, 2, 3, 4, 5, 6, 7, 8});
  line.tarn.memory().registers[6] = {5};
  line.prompter.answers = {PromptAnswer::kOk, PromptAnswer::kCancel};
  EXPECT_TRUE(line.commands.EraseFlash());
  EXPECT_THAT(line.tarn.memory().registers[6], ElementsAre(5));
}

}  // namespace
}  // namespace tarn
