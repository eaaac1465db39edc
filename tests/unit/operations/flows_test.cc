// The read, write and verify flows end to end against the simulated Tarn, direct and tunnelled,
// whatever a write's answer carries and however late, within its limit, the Tarn answers.

#include "operations/flows.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include "files/data_file.h"
#include "link/link.h"
#include "operations/scheduler.h"
#include "operations/verification.h"
#include "sim/manual_clock.h"
#include "sim/simulated_port.h"
#include "support/simulated_line.h"
#include "unit/operations/device_ready_configuration.h"

namespace tarn {
namespace {

using sim::Fault;
using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::Not;
using testing::DeviceReadyConfiguration;
using testing::SimulatedLine;

// What a Tarn does not keep: descriptions and device names.
std::string SavedWithoutTexts(DeviceConfiguration config) {
  for (PinRecord& pin : config.pins) {
    pin.description.clear();
    pin.device_name.clear();
    for (Aspect& aspect : pin.aspects) aspect.description.clear();
  }
  return WriteDataFile(config, DataFileForm::kFull);
}

// Calls back on every progress report, so a test can break the line at a chosen moment.
class ProgressHook : public Progress {
 public:
  void Report(int, int, std::string_view what) override {
    if (hook) hook(what);
  }
  std::function<void(std::string_view)> hook;
};

class FlowsTest : public ::testing::TestWithParam<testing::LineKind> {
 protected:
  FlowsTest()
      : line_(GetParam()),
        session_(line_.link, line_.clock, line_.prompter, progress_, workspace_),
        flows_(session_),
        verification_(session_) {}

  sim::TarnMemory& Device() { return line_.tarn.memory(); }

  SimulatedLine line_;
  ProgressHook progress_;
  Workspace workspace_;
  Session session_;
  Flows flows_;
  Verification verification_;
};

TEST_P(FlowsTest, WriteVerifyReadAndFindOneChangedByte) {
  workspace_.config = DeviceReadyConfiguration();
  workspace_.enable_map.on = {true, false, true, true};
  workspace_.enable_map.off = {false, false, true, false};
  ASSERT_TRUE(flows_.WriteAll());
  EXPECT_THAT(line_.prompter.Texts(), ::testing::IsEmpty());

  VerificationReport report;
  EXPECT_TRUE(verification_.VerifyAll(report)) << report.text();
  EXPECT_THAT(report.text(), ::testing::EndsWith("\r\nVerify OK"));

  Workspace read_back;
  Session reading(line_.link, line_.clock, line_.prompter, progress_, read_back);
  ASSERT_TRUE(Flows(reading).ReadAll());
  EXPECT_EQ(SavedWithoutTexts(read_back.config), SavedWithoutTexts(workspace_.config));
  EXPECT_EQ(read_back.enable_map, workspace_.enable_map);
  EXPECT_EQ(read_back.firmware_version, "3.1.0.10");
  EXPECT_FALSE(read_back.programmatic_update) << "the read's mark does not outlive it";

  // One byte of one step changes in the device: exactly one report line says where.
  sim::PinMemory& pin9 = Device().pins[9];  // layout 3: aspect 1 starts at slot 9
  pin9.steps[9 + 4][2] ^= 1;
  report.Clear();
  EXPECT_FALSE(verification_.VerifyAll(report));
  EXPECT_EQ(report.text(),
            "Start General Settings Verification\r\n"
            "Start EC Verification\r\n"
            "Note: Numbering starts at 1\r\n"
            "Start Pin Verification\r\n"
            "Note: Numbering starts at 1\r\n"
            "Pin 10: Aspect 1 does not compare\r\n"
            "Verification Stopped");
}

TEST_P(FlowsTest, ALostReplyStopsReadAllAndKeepsWhatWasRead) {
  workspace_.config = DeviceReadyConfiguration();
  ASSERT_TRUE(flows_.WriteAll());
  Workspace read_back;
  Session reading(line_.link, line_.clock, line_.prompter, progress_, read_back);
  progress_.hook = [this](std::string_view what) {
    if (what == "Reading pin 11 of 32") line_.tarn.InjectFault(Fault::kNoReply, sim::kAlways);
  };
  EXPECT_FALSE(Flows(reading).ReadAll());
  for (int pin = 0; pin < 10; ++pin) {
    EXPECT_EQ(read_back.config.pins[pin].aspect_layout, workspace_.config.pins[pin].aspect_layout);
    EXPECT_EQ(read_back.config.pins[pin].pin_config, workspace_.config.pins[pin].pin_config);
  }
  EXPECT_EQ(read_back.config.pins[10].pin_config, PinRecord().pin_config);
  EXPECT_EQ(read_back.config.event_actions, EventActions()) << "events are never reached";
  EXPECT_EQ(read_back.config.general_settings.id_string, "Nord Yard 7");
}

// Event-On reads double as initial-aspect reads: a Tarn refusing them leaves the initial aspects,
// both event halves and nothing else unread, and Read All goes on to its end.
TEST_P(FlowsTest, ADeviceRefusingEventReadsCompletesReadAllAndListsWhatItMissed) {
  line_.tarn.InjectFault(Fault::kRefuseEventReads, sim::kAlways);
  workspace_.config.pins[7].initial_aspect = 3;
  EXPECT_TRUE(flows_.ReadAll());
  EXPECT_THAT(line_.prompter.Texts(), Contains(HasSubstr("Function not supported by Device")));
  EXPECT_EQ(workspace_.config.pins[7].initial_aspect, 3) << "a refused read took nothing";
  std::vector<std::string> texts;
  for (const NotRead& item : flows_.TakeNotRead()) texts.push_back(NotReadText(item, 1));
  EXPECT_THAT(texts, ::testing::ElementsAre("the initial aspect of pins 1 to 32",
                                            "the Event-On actions of pins 1 to 32",
                                            "the Event-Off actions of pins 1 to 32"));
}

TEST_P(FlowsTest, WriteAllNeverWritesTheModuleAddressAfterAFailedStep) {
  workspace_.config = DeviceReadyConfiguration();
  const std::vector<std::uint8_t> factory_addressing =
      Device().registers[sim::kSerialAddressingRegister];
  progress_.hook = [this](std::string_view what) {
    if (what == "Writing pin 7 of 32") line_.port.Vanish();
  };
  EXPECT_FALSE(flows_.WriteAll());
  EXPECT_EQ(Device().registers[sim::kSerialAddressingRegister], factory_addressing);
  EXPECT_EQ(Device().registers[sim::kExtendedAddressRegister][0], 0);
  EXPECT_EQ(Device().pins[5].aspect_layout, workspace_.config.pins[5].aspect_layout)
      << "what went before the failure was written";
  EXPECT_THAT(line_.prompter.Texts(), Contains(HasSubstr("is gone")));
}

TEST_P(FlowsTest, WriteDeviceWritesTheHeadAndItsMembersOnly) {
  DeviceConfiguration& config = workspace_.config;
  for (int pin = 0; pin < kPinCount; ++pin) config.pins[pin].aspect_layout = 2;
  config.pins[9].device_pointer = -1;
  config.pins[10].device_pointer = -2;
  config.current_pin = 10;
  ASSERT_TRUE(flows_.WriteDevice());
  for (int pin = 0; pin < kPinCount; ++pin) {
    EXPECT_EQ(Device().pins[pin].aspect_layout, pin >= 8 && pin <= 10 ? 2 : 0) << pin;
  }
  // Reading the device back from any of its pins finds the same three pins.
  Workspace read_back;
  read_back.config.current_pin = 9;
  Session reading(line_.link, line_.clock, line_.prompter, progress_, read_back);
  ASSERT_TRUE(Flows(reading).ReadDevice());
  for (int pin = 0; pin < kPinCount; ++pin) {
    EXPECT_EQ(read_back.config.pins[pin].aspect_layout, pin >= 8 && pin <= 10 ? 2 : 0) << pin;
  }
  EXPECT_EQ(read_back.config.pins[10].device_pointer, -2);
}

TEST_P(FlowsTest, ReadDeviceWithoutAPointerSaysSoInTheUsersNumbering) {
  Device().pins[4].pointer_byte = 0x10;  // a second serial byte stands where the pointer was
  workspace_.config.current_pin = 4;
  EXPECT_FALSE(flows_.ReadDevice());
  EXPECT_THAT(line_.prompter.Texts(), Contains("Cannot read DevicePointer from Pin 5"));
}

INSTANTIATE_TEST_SUITE_P(Tarns, FlowsTest, ::testing::ValuesIn(testing::AllLineKinds()),
                         testing::LineKindName);

// Verification lines, each from one difference between the model and a written Tarn.
class VerificationLinesTest : public ::testing::Test {
 protected:
  VerificationLinesTest()
      : session_(line_.link, line_.clock, line_.prompter, progress_, workspace_),
        flows_(session_),
        verification_(session_) {
    workspace_.config = DeviceReadyConfiguration();
    EXPECT_TRUE(flows_.WriteAll());
  }

  SimulatedLine line_;
  SilentProgress progress_;
  Workspace workspace_;
  Session session_;
  Flows flows_;
  Verification verification_;
  VerificationReport report_;
};

TEST_F(VerificationLinesTest, AnIdStringMismatchStopsVerifyAllBeforeEventsAndPins) {
  workspace_.config.general_settings.id_string = "South";
  EXPECT_FALSE(verification_.VerifyAll(report_));
  EXPECT_EQ(report_.text(),
            "Start General Settings Verification\r\n"
            "ID does not compare: TarnConfig = <South> Tarn = <Nord Yard 7>\r\n"
            "Verification Stopped");
}

TEST_F(VerificationLinesTest, PinAddressLinesUseTheShownNumberExceptTheInvalidReply) {
  workspace_.config.pins[4].device_pointer = 0;
  EXPECT_FALSE(verification_.VerifyPins(report_));
  EXPECT_THAT(report_.text(), HasSubstr("Pin 5: Device Pointer does not compare\r\n"));

  report_.Clear();
  workspace_.config.pins[4].device_pointer = -1;
  line_.tarn.memory().pins[4].serial_byte = 0x16;
  line_.tarn.memory().pins[4].pointer_byte = 0x5F;
  workspace_.config.pins[4].vesk_address_count = 6;
  EXPECT_TRUE(verification_.VerifyPins(report_)) << report_.text();
}

TEST_F(VerificationLinesTest, EventMismatchAndVerifyAllPinsWithoutAVerdict) {
  workspace_.config.event_actions[2].off[3] = 5;
  line_.tarn.memory().pins[2].event_off[3] = 0x3F;
  EXPECT_FALSE(verification_.VerifyEvents(report_));
  EXPECT_THAT(report_.text(),
              HasSubstr("Event-Off(3) for pin 3 does not compare: Configured Action = 5, Tarn "
                        "Reply = -1\r\n"));
  EXPECT_THAT(report_.text(), Not(HasSubstr("Verify OK")));

  line_.tarn.memory().pins[0].config[3] ^= 1;
  EXPECT_FALSE(verification_.VerifyAllPins(report_));
  EXPECT_EQ(report_.text(),
            "Start Pin Verification\r\nNote: Numbering starts at 1\r\n"
            "Pin 1: Pinconfig does not compare\r\n");
}

// A Tarn whose reply to one chosen request goes wrong: the fault is armed once the request's
// header and values have come in, before the checksum that makes the Tarn answer.
class FaultOnRequest : public sim::SimulatedDevice {
 public:
  explicit FaultOnRequest(sim::SimulatedTarn& tarn) : tarn_(tarn) {}

  void Arm(const std::vector<std::uint8_t>& request, Fault fault) {
    wanted_ = {static_cast<std::uint8_t>(0xE0 | request.size())};  // a reply is wanted
    for (const std::uint8_t value : request) wanted_.push_back(0x80 | value);
    fault_ = fault;
  }
  void Receive(std::uint8_t byte, std::vector<std::uint8_t>& answer) override {
    recent_.push_back(byte);
    if (recent_.size() > wanted_.size()) recent_.erase(recent_.begin());
    if (!wanted_.empty() && recent_ == wanted_) {
      tarn_.InjectFault(fault_);
      ++fired;
    }
    tarn_.Receive(byte, answer);
  }
  double LastAnswerDelay() const override { return tarn_.LastAnswerDelay(); }

  int fired = 0;

 private:
  sim::SimulatedTarn& tarn_;
  std::vector<std::uint8_t> wanted_;
  std::vector<std::uint8_t> recent_;
  Fault fault_ = Fault::kNoReply;
};

class PinVerificationFaultTest : public ::testing::Test {
 protected:
  PinVerificationFaultTest()
      : port_(device_, clock_),
        link_(port_, clock_, prompter_),
        session_(link_, clock_, prompter_, progress_, workspace_) {
    link_.TakeOverModuleAddress(0);
    link_.SelectPort("1 sim");
    link_.SetBidirectional(true);
    workspace_.config = DeviceReadyConfiguration();
    EXPECT_TRUE(Flows(session_).WriteAll());
  }

  sim::ManualClock clock_;
  sim::SimulatedTarn tarn_;
  FaultOnRequest device_{tarn_};
  sim::SimulatedPort port_;
  testing::RecordingPrompter prompter_;
  Link link_;
  SilentProgress progress_;
  Workspace workspace_;
  Session session_;
  VerificationReport report_;
};

TEST_F(PinVerificationFaultTest, AnAspectThatDiffersIsNotReadFurther) {
  tarn_.memory().pins[9].steps[9 + 0][2] ^= 1;  // layout 3: aspect 1, step 0
  device_.Arm({0x73, 9, 1, 1}, Fault::kWrongEcho);
  EXPECT_FALSE(Verification(session_).VerifyPins(report_));
  EXPECT_EQ(device_.fired, 0) << "step 1 of aspect 1 was asked for";
  EXPECT_EQ(report_.text(),
            "Start Pin Verification\r\nNote: Numbering starts at 1\r\n"
            "Pin 10: Aspect 1 does not compare\r\n");
}

// Each general-settings group answered badly once: the line it writes, and whether verification
// went on to the last group (whose serial port setting differs on purpose).
TEST_F(PinVerificationFaultTest, GeneralSettingsGroupsStopOrGoOnAsTheirRowsSay) {
  constexpr const char* kLast = "Serial Port Configuration does not compare";
  const struct {
    std::uint8_t general_register;
    Fault fault;
    const char* line;  // empty: none
    bool goes_on;
  } cases[] = {
      {10, Fault::kShortReply,
       "ID does not compare: TarnConfig = <Nord Yard 7> Tarn = <Nord Yard >", true},
      {10, Fault::kNoReply, "ReadIDString: No response received", true},
      {1, Fault::kShortReply, "HWCRead: No valid response size", false},
      {1, Fault::kWrongTarget, "HWCRead: No valid response type", false},
      {4, Fault::kShortReply, "DCC Address: No valid response", true},
      {4, Fault::kWrongTarget, "DCC Address: No valid response", false},
      {4, Fault::kNoReply, "DCC Address: No response received", false},
      {12, Fault::kShortReply, "eXtended DCC Address: No valid response", true},
      {5, Fault::kShortReply, "DCC Options: No valid response", false},
      {8, Fault::kShortReply, "Serial Address Settings: No valid response, size = 3 expected = 4",
       false},
      {2, Fault::kWrongTarget, "eXtended Address: No valid response, msg = 112,3 expected = 112,2",
       false},
      {3, Fault::kShortReply, "eXtended Group Mask: No valid response, size = 5 expected = 6",
       false},
      {6, Fault::kNoReply, "ReadLEDConfig: No valid response", false},
      {7, Fault::kShortReply, "ReadLEDConfig: No valid response", false},
  };
  workspace_.config.general_settings.serial_port_enable = false;
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.general_register) + " " + c.line);
    device_.Arm({0x70, c.general_register}, c.fault);
    link_.SetBidirectional(true);
    report_.Clear();
    EXPECT_FALSE(Verification(session_).VerifyGeneralSettings(report_));
    std::string expected = "Start General Settings Verification\r\n";
    if (*c.line) expected += std::string(c.line) + "\r\n";
    if (c.goes_on) expected += std::string(kLast) + "\r\n";
    EXPECT_EQ(report_.text(), expected);
  }
}

// A pin read whose closing configuration read fails goes on, and Read All Devices with it; the
// configuration is listed as not read so that nothing takes the result for the Tarn's.
TEST_F(PinVerificationFaultTest, AFailedConfigurationReadGoesOnButIsListed) {
  device_.Arm({0x71, 3}, Fault::kWrongEcho);
  Flows flows(session_);
  EXPECT_TRUE(flows.ReadAllPins());
  EXPECT_EQ(device_.fired, 1);
  EXPECT_EQ(flows.TakeNotRead(), (std::vector<NotRead>{{"the configuration", 3, 3}}));
  EXPECT_THAT(prompter_.Texts(), ::testing::ElementsAre("No valid response"));
}

TEST_F(PinVerificationFaultTest, AnInvalidAddressReplyNamesThePinIndexAndGoesOn) {
  device_.Arm({0x76, 4}, Fault::kShortReply);
  EXPECT_FALSE(Verification(session_).VerifyPins(report_));
  EXPECT_EQ(device_.fired, 1);
  EXPECT_EQ(report_.text(),
            "Start Pin Verification\r\nNote: Numbering starts at 1\r\n"
            "Pin Address Configuration: Invalid Response, expected 5,118,4, received 4,118,4\r\n");
  // Pins after 4 were still compared: one of them differing adds its own line.
  tarn_.memory().pins[20].pointer_byte = 0x41;
  report_.Clear();
  EXPECT_FALSE(Verification(session_).VerifyPins(report_));
  EXPECT_THAT(report_.text(), HasSubstr("Pin 21: Device Pointer does not compare\r\n"));
}

}  // namespace
}  // namespace tarn
