// Pin messages against the simulated Tarn: what lands in its memory byte for byte, and what a
// read puts back into the model.

#include "protocol/pin_commands.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "model/aspect_layout.h"
#include "support/simulated_line.h"

namespace tarn {
namespace {

using sim::Fault;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;
using testing::SimulatedLine;

class PinCommandsTest : public ::testing::TestWithParam<bool> {
 protected:
  PinCommandsTest() : line_(GetParam()), commands_(line_.link, line_.clock, line_.prompter) {}

  sim::PinMemory& Memory(int pin) { return line_.tarn.memory().pins[pin]; }

  SimulatedLine line_;
  PinCommands commands_;
};

TEST_P(PinCommandsTest, ConfigurationTravelsWithTheBytesItsModeUses) {
  const struct {
    std::uint8_t mode;
    int bytes_kept;
  } cases[] = {{1, 12}, {2, 6}, {3, 6}, {4, 5}, {5, 5}, {0, 1}, {9, 1}};
  for (const auto& c : cases) {
    PinRecord pin;
    for (int i = 0; i < kPinConfigSize; ++i) pin.pin_config[i] = static_cast<std::uint8_t>(10 + i);
    pin.pin_config[0] = c.mode;
    Memory(7).config.fill(0);
    ASSERT_TRUE(commands_.SendPinConfig(pin, 7, PinConfigVariant::kWriteRead)) << int{c.mode};
    for (int i = 0; i < kPinConfigSize; ++i) {
      // An unknown mode travels as a single 0.
      const int expected = i >= c.bytes_kept ? 0 : c.bytes_kept == 1 ? 0 : pin.pin_config[i];
      EXPECT_EQ(Memory(7).config[i], expected) << "mode " << int{c.mode} << " byte " << i;
    }
  }
  EXPECT_THAT(line_.prompter.Texts(), IsEmpty());
}

TEST_P(PinCommandsTest, ServoFlagsLoseTheirTopBitsBeforeTheyAreSent) {
  PinRecord pin;
  pin.pin_config = {1, 64, 200, 3};
  ASSERT_TRUE(commands_.SendPinConfig(pin, 2, PinConfigVariant::kSetGet));
  EXPECT_EQ(pin.pin_config[2], 8) << "the model keeps what the Tarn keeps";
  EXPECT_EQ(Memory(2).config[2], 8);
}

TEST_P(PinCommandsTest, GetFillsTheLiveValueAndReadTheConfiguration) {
  Memory(4).config = {2, 90, 5, 6, 1, 30};
  Memory(4).live_value = 44;
  PinRecord got;
  ASSERT_TRUE(commands_.FetchPinConfig(got, 4, PinConfigVariant::kSetGet));
  EXPECT_EQ(got.live_value, 44);
  EXPECT_EQ(got.pin_config[1], 0) << "get leaves byte 1 alone";
  EXPECT_THAT(std::vector(got.pin_config.begin(), got.pin_config.begin() + 6),
              ElementsAre(2, 0, 5, 6, 1, 30));
  PinRecord read;
  ASSERT_TRUE(commands_.FetchPinConfig(read, 4, PinConfigVariant::kWriteRead));
  EXPECT_EQ(read.pin_config[1], 90);
}

TEST_P(PinCommandsTest, OlderServoFlagsAreConvertedOnReceipt) {
  const struct {
    std::uint8_t received;
    std::uint8_t stored;
  } cases[] = {{0x20, 42}, {0x28, 0x28}, {0x0F, 0x0F}, {0x70, 47}};
  for (const auto& c : cases) {
    Memory(1).config = {1, 64, c.received};
    PinRecord pin;
    ASSERT_TRUE(commands_.FetchPinConfig(pin, 1, PinConfigVariant::kWriteRead));
    EXPECT_EQ(pin.pin_config[2], c.stored) << int{c.received};
  }
}

// An older Tarn's four PWM bytes get the full range; a reply short of its mode's bytes is refused
// and changes nothing, since the bytes that did not come would keep stale values.
TEST_P(PinCommandsTest, AShortPwmConfigurationGetsTheFullRangeAndATruncatedOneIsRefused) {
  Memory(1).config = {2, 9, 3, 40, 2, 29};
  line_.tarn.memory().keeps_four_pwm_bytes = true;
  PinRecord pin;
  ASSERT_TRUE(commands_.FetchPinConfig(pin, 1, PinConfigVariant::kWriteRead));
  EXPECT_THAT(std::vector(pin.pin_config.begin(), pin.pin_config.begin() + 6),
              ElementsAre(2, 9, 3, 40, 0, 31));

  line_.tarn.memory().keeps_four_pwm_bytes = false;
  for (const int mode : {1, 2, 4}) {
    Memory(1).config = {static_cast<std::uint8_t>(mode), 9, 3, 40, 2, 29};
    line_.tarn.InjectFault(Fault::kShortReply);  // the last byte the mode keeps is left off
    PinRecord unchanged;
    EXPECT_FALSE(commands_.FetchPinConfig(unchanged, 1, PinConfigVariant::kWriteRead)) << mode;
    EXPECT_EQ(unchanged.pin_config, PinRecord().pin_config) << mode;
  }
}

TEST_P(PinCommandsTest, LayoutStepsAndInitialAspectRoundTrip) {
  PinRecord pin;
  pin.aspect_layout = kLayoutTwelveAspects;
  pin.initial_aspect = 3;
  // "SendSerial 1" with full bytes, a faded step, and a plain one.
  pin.aspects[0].steps[0] = {.opcode = 4, .fade = 0, .p1 = 0, .p2 = 200, .p3 = 10, .p4 = 1};
  pin.aspects[5].steps[2] = {.opcode = 3, .fade = 1, .p1 = 2, .p2 = 100, .p3 = 7, .p4 = 0};
  pin.aspects[11].steps[1] = {.opcode = 1, .fade = 0, .p1 = 31, .p2 = 0, .p3 = 0, .p4 = 0};
  ASSERT_TRUE(commands_.WriteAspectLayout(pin, 9));
  ASSERT_TRUE(commands_.WriteInitialAspect(pin, 9));
  for (int aspect = 0; aspect < 12; ++aspect) {
    ASSERT_TRUE(commands_.WriteAspectSteps(pin, 9, aspect));
  }
  EXPECT_EQ(Memory(9).aspect_layout, 2);
  EXPECT_EQ(Memory(9).initial_aspect, 0x72);
  EXPECT_THAT(Memory(9).steps[0], ElementsAre(4, 1, 72, 10, 1));
  EXPECT_THAT(Memory(9).steps[5 * 3 + 2], ElementsAre(0x13, 2, 100, 7, 0));

  PinRecord back;
  ASSERT_TRUE(commands_.ReadAspectLayout(back, 9));
  ASSERT_TRUE(commands_.ReadInitialAspect(back, 9));
  for (int aspect = 0; aspect < 12; ++aspect) {
    for (int step = 0; step < 3; ++step) ASSERT_TRUE(commands_.ReadStep(back, 9, aspect, step));
  }
  EXPECT_EQ(back, pin);
  EXPECT_THAT(line_.prompter.Texts(), IsEmpty());
}

TEST_P(PinCommandsTest, InitialAspectNoneAndUnreadable) {
  PinRecord pin;
  ASSERT_TRUE(commands_.WriteInitialAspect(pin, 0));
  EXPECT_EQ(Memory(0).initial_aspect, 0x7F);
  pin.initial_aspect = 5;
  ASSERT_TRUE(commands_.ReadInitialAspect(pin, 0));
  EXPECT_EQ(pin.initial_aspect, 0);
  EXPECT_THAT(line_.prompter.Texts(), IsEmpty());
  // A reply that carries no initial aspect is no answer: the pin keeps its own.
  Memory(0).initial_aspect = 0x35;
  pin.initial_aspect = 5;
  EXPECT_FALSE(commands_.ReadInitialAspect(pin, 0));
  EXPECT_EQ(pin.initial_aspect, 5);
  EXPECT_THAT(line_.prompter.Texts(), ElementsAre("No valid response"));
}

TEST_P(PinCommandsTest, AddressConfigurationAndTheTwosComplementPointer) {
  PinRecord pin;
  pin.dcc_address_count = 5;
  pin.xdcc_address_count = 1;
  pin.vesk_address_count = 3;
  pin.device_pointer = -3;
  ASSERT_TRUE(commands_.WriteAddressConfig(pin, 3));
  EXPECT_EQ(Memory(3).dcc_byte, 0x0D);
  EXPECT_EQ(Memory(3).serial_byte, 0x13);
  EXPECT_EQ(Memory(3).pointer_byte, 0x5D);
  PinRecord back;
  ASSERT_TRUE(commands_.ReadAddressConfig(back, 3));
  EXPECT_EQ(back.dcc_address_count, 5);
  EXPECT_EQ(back.xdcc_address_count, 1);
  EXPECT_EQ(back.vesk_address_count, 3);
  EXPECT_EQ(back.device_pointer, -3) << "head 0";
  // A member ahead of its head across the wrap: pin 30 of a device headed by pin 1.
  pin.device_pointer = -29;
  ASSERT_TRUE(commands_.WriteAddressConfig(pin, 30));
  ASSERT_TRUE(commands_.ReadAddressConfig(back, 30));
  EXPECT_EQ(back.device_pointer, -29);
}

TEST_P(PinCommandsTest, WrongRepliesAreReportedAndStop) {
  const struct {
    const char* name;
    bool (*read)(PinCommands&, PinRecord&);
    const char* message;
  } cases[] = {
      {"config",
       [](PinCommands& c, PinRecord& p) {
         return c.FetchPinConfig(p, 1, PinConfigVariant::kWriteRead);
       },
       "No valid response"},
      {"layout", [](PinCommands& c, PinRecord& p) { return c.ReadAspectLayout(p, 1); },
       "No valid response"},
      {"step", [](PinCommands& c, PinRecord& p) { return c.ReadStep(p, 1, 0, 0); },
       "No valid response"},
      {"address", [](PinCommands& c, PinRecord& p) { return c.ReadAddressConfig(p, 1); },
       "Read Pin Address Configuration: Invalid Response"},
  };
  // A configuration reply one value short is still a configuration, so that pair is left out.
  for (const Fault fault : {Fault::kWrongEcho, Fault::kWrongTarget, Fault::kShortReply}) {
    for (const auto& c : cases) {
      if (fault == Fault::kShortReply && std::string_view(c.name) == "config") continue;
      Memory(1).aspect_layout = kLayoutFourAspects;
      line_.prompter.messages.clear();
      line_.tarn.InjectFault(fault);
      PinRecord pin;
      pin.pin_config[0] = 77;
      const PinRecord before = pin;
      EXPECT_FALSE(c.read(commands_, pin)) << c.name << " fault " << static_cast<int>(fault);
      EXPECT_THAT(line_.prompter.Texts(), ElementsAre(c.message)) << c.name;
      EXPECT_EQ(pin, before) << c.name << ": the model is unchanged";
    }
  }
}

// Direct, the link reports the silence and the read adds nothing. Tunnelled, the link is silent
// (the unit answered every poll), so the read says it got nothing valid.
TEST_P(PinCommandsTest, NoReplyFails) {
  line_.tarn.InjectFault(Fault::kNoReply, sim::kAlways);
  PinRecord pin;
  pin.initial_aspect = 4;
  EXPECT_FALSE(commands_.ReadAspectLayout(pin, 0));
  EXPECT_FALSE(commands_.ReadInitialAspect(pin, 0));
  EXPECT_EQ(pin.initial_aspect, 4);
  const std::vector<std::string> expected =
      GetParam()
          ? std::vector<std::string>{"No valid response", "No valid response"}
          : std::vector<std::string>{"No response received, resetting bidirectional communication",
                                     "No response received, resetting bidirectional communication"};
  EXPECT_EQ(line_.prompter.Texts(), expected);
}

INSTANTIATE_TEST_SUITE_P(DirectAndTunnelled, PinCommandsTest, ::testing::Bool(), testing::LineName);

TEST(PinAddressBytesTest, ClassesByValue) {
  const struct {
    std::uint8_t byte;
    AddressByteKind kind;
  } cases[] = {{0x00, AddressByteKind::kDcc},           {0x0F, AddressByteKind::kDcc},
               {0x10, AddressByteKind::kSerial},        {0x1F, AddressByteKind::kSerial},
               {0x20, AddressByteKind::kInvalid},       {0x3F, AddressByteKind::kInvalid},
               {0x40, AddressByteKind::kDevicePointer}, {0x5F, AddressByteKind::kDevicePointer},
               {0x60, AddressByteKind::kInvalid},       {0x7F, AddressByteKind::kInvalid}};
  for (const auto& c : cases) EXPECT_EQ(AddressByteKindOf(c.byte), c.kind) << int{c.byte};
}

TEST(PinWritePauseTest, WritesPauseWhileBidirectionalIsOff) {
  SimulatedLine line;
  PinCommands commands(line.link, line.clock, line.prompter);
  PinRecord pin;
  pin.aspect_layout = kLayoutFourAspects;
  line.link.SetBidirectional(false);
  const double start = line.clock.Now();
  ASSERT_TRUE(commands.WriteAspectSteps(pin, 0, 0));
  EXPECT_GE(line.clock.Now() - start, 9 * 0.1 - 1e-9);
  line.link.SetBidirectional(true);
  const double again = line.clock.Now();
  ASSERT_TRUE(commands.WriteAspectSteps(pin, 0, 0));
  EXPECT_LT(line.clock.Now() - again, 0.1);
}

}  // namespace
}  // namespace tarn
