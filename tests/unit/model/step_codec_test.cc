#include "model/step_codec.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <ostream>

#include "model/instruction_set.h"

namespace tarn {
namespace {

struct SplitCase {
  int code;
  int opcode;
  int fade;
};

void PrintTo(const SplitCase& c, std::ostream* os) { *os << "code " << c.code; }

class SplitOpcodeCodeTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitOpcodeCodeTest, FadeOnlyFromCodes19To63WithBit4) {
  const SplitCase& c = GetParam();
  const OpcodeAndFade expected{static_cast<std::uint8_t>(c.opcode),
                               static_cast<std::uint8_t>(c.fade)};
  const auto code = static_cast<std::uint8_t>(c.code);
  EXPECT_EQ(SplitOpcodeCode(code), expected);
  EXPECT_EQ(DecodeDeviceStep({code, {}}).opcode, c.opcode);
  EXPECT_EQ(DecodeDeviceStep({code, {}}).fade, c.fade);
  const std::optional<Step> from_file = DecodeFileStep({c.code, {}});
  ASSERT_TRUE(from_file.has_value());
  EXPECT_EQ(from_file->opcode, c.opcode);
  EXPECT_EQ(from_file->fade, c.fade);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, SplitOpcodeCodeTest,
    ::testing::Values(SplitCase{3, 3, 0}, SplitCase{15, 15, 0}, SplitCase{16, 16, 0},
                      SplitCase{17, 17, 0}, SplitCase{18, 18, 0}, SplitCase{19, 3, 1},
                      SplitCase{31, 15, 1}, SplitCase{32, 32, 0}, SplitCase{35, 35, 0},
                      SplitCase{47, 47, 0}, SplitCase{48, 32, 1}, SplitCase{51, 35, 1},
                      SplitCase{54, 38, 1}, SplitCase{63, 47, 1}, SplitCase{64, 64, 0},
                      SplitCase{80, 80, 0}, SplitCase{96, 96, 0}, SplitCase{112, 112, 0},
                      SplitCase{127, 127, 0}, SplitCase{144, 144, 0}));

TEST(OpcodeCodeTest, EveryInstructionThatFadesCanCarryIt) {
  for (const InstructionMenuEntry& entry : InstructionMenu()) {
    if (InstructionOf(entry.opcode).fade_allowed) {
      EXPECT_TRUE(CanCarryFade(entry.opcode)) << entry.name;
    }
  }
}

TEST(OpcodeCodeTest, FoldsFadeOnlyWhereItComesBack) {
  EXPECT_EQ(OpcodeCode(Step{38, 1, 30, 20, 0, 0}), 54);  // "Set Level" with fade
  EXPECT_EQ(OpcodeCode(Step{3, 1, 0, 0, 0, 0}), 19);
  EXPECT_EQ(OpcodeCode(Step{47, 1, 0, 0, 0, 0}), 63);
  // A stray fade flag would turn the step into another instruction; it is dropped instead.
  EXPECT_EQ(OpcodeCode(Step{0, 1, 0, 0, 0, 0}), 0);
  EXPECT_EQ(OpcodeCode(Step{1, 1, 0, 0, 0, 0}), 1);
  EXPECT_EQ(OpcodeCode(Step{2, 1, 0, 0, 0, 0}), 2);
  EXPECT_EQ(OpcodeCode(Step{16, 1, 0, 0, 0, 0}), 16);
  EXPECT_EQ(OpcodeCode(Step{48, 1, 0, 0, 0, 0}), 48);
  EXPECT_EQ(OpcodeCode(Step{102, 1, 0, 0, 0, 0}), 102);
}

struct SerialCase {
  int p2;
  int p3;
  int w0;
  int w1;
  int w2;
};

class SendSerialTest : public ::testing::TestWithParam<SerialCase> {};

TEST_P(SendSerialTest, HighBitsTravelInW0) {
  const SerialCase& c = GetParam();
  for (std::uint8_t opcode : std::initializer_list<std::uint8_t>{4, 5}) {
    const Step step{opcode, 0, 0, static_cast<std::uint8_t>(c.p2), static_cast<std::uint8_t>(c.p3),
                    2};
    const DeviceStepBytes bytes = EncodeDeviceStep(step);
    const DeviceStepBytes expected{
        opcode,
        {static_cast<std::uint8_t>(c.w0), static_cast<std::uint8_t>(c.w1),
         static_cast<std::uint8_t>(c.w2), 2}};
    EXPECT_EQ(bytes, expected);
    EXPECT_EQ(DecodeDeviceStep(bytes), step);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, SendSerialTest,
    ::testing::Values(SerialCase{200, 10, 1, 72, 10}, SerialCase{10, 200, 2, 10, 72},
                      SerialCase{127, 127, 0, 127, 127}, SerialCase{128, 127, 1, 0, 127},
                      SerialCase{127, 128, 2, 127, 0}, SerialCase{255, 255, 3, 127, 127},
                      SerialCase{0, 0, 0, 0, 0}));

TEST(DeviceStepTest, SendSerialDoesNotSendP1) {
  const DeviceStepBytes bytes = EncodeDeviceStep(Step{5, 0, 9, 200, 10, 0});
  EXPECT_EQ(bytes.w[0], 1);
  EXPECT_EQ(DecodeDeviceStep(bytes), (Step{5, 0, 0, 200, 10, 0}));
}

TEST(DeviceStepTest, OtherStepsSendParametersAsTheyAre) {
  const Step step{38, 1, 30, 20, 0, 0};
  EXPECT_EQ(EncodeDeviceStep(step), (DeviceStepBytes{54, {30, 20, 0, 0}}));
  EXPECT_EQ(DecodeDeviceStep({54, {30, 20, 0, 0}}), step);
  const Step wait{96, 0, 127, 31, 63, 3};
  EXPECT_EQ(EncodeDeviceStep(wait), (DeviceStepBytes{96, {127, 31, 63, 3}}));
}

TEST(DeviceStepTest, EveryPayloadValueFitsSevenBits) {
  // Only a file can put such bytes into the model.
  EXPECT_EQ(EncodeDeviceStep(Step{102, 0, 0, 0, 200, 130}), (DeviceStepBytes{102, {0, 0, 72, 2}}));
  EXPECT_EQ(EncodeDeviceStep(Step{200, 0, 1, 2, 3, 0}), DeviceStepBytes{});
}

// Every instruction, with and without fade, comes back whole from both encodings.
TEST(StepCodecTest, NormalisedStepsRoundTrip) {
  for (const InstructionMenuEntry& entry : InstructionMenu()) {
    for (std::uint8_t fade : std::initializer_list<std::uint8_t>{0, 1}) {
      const Step step = NormalisedStep(Step{entry.opcode, fade, 29, 127, 63, 3});
      EXPECT_EQ(DecodeDeviceStep(EncodeDeviceStep(step)), step) << entry.name;
      EXPECT_EQ(DecodeFileStep(EncodeFileStep(step)), step) << entry.name;
    }
  }
}

TEST(FileStepTest, CarriesFullBytes) {
  const Step step{5, 0, 0, 200, 255, 0};
  EXPECT_EQ(EncodeFileStep(step), (FileStepItems{5, {0, 200, 255, 0}}));
  EXPECT_EQ(EncodeFileStep(Step{3, 1, 31, 1, 0, 0}), (FileStepItems{19, {31, 1, 0, 0}}));
}

TEST(FileStepTest, NegativeIfValueIsHeldInSevenBits) {
  EXPECT_EQ(DecodeFileStep({104, {2, -1, 0, 0}}), (Step{104, 0, 2, 127, 0, 0}));
  EXPECT_EQ(DecodeFileStep({107, {2, -64, 0, 0}}), (Step{107, 0, 2, 64, 0, 0}));
  EXPECT_EQ(EncodeFileStep(Step{104, 0, 2, 127, 0, 0}), (FileStepItems{104, {2, 127, 0, 0}}));
  EXPECT_EQ(DecodeFileStep({107, {2, -65, 0, 0}}), std::nullopt);
  EXPECT_EQ(DecodeFileStep({39, {2, -1, 0, 0}}), std::nullopt);
}

TEST(FileStepTest, NumbersThatFitNoByteAreRefused) {
  EXPECT_EQ(DecodeFileStep({256, {0, 0, 0, 0}}), std::nullopt);
  EXPECT_EQ(DecodeFileStep({-1, {0, 0, 0, 0}}), std::nullopt);
  EXPECT_EQ(DecodeFileStep({102, {0, 0, 300, 0}}), std::nullopt);
  EXPECT_EQ(DecodeFileStep({102, {-1, 0, 0, 0}}), std::nullopt);
  EXPECT_EQ(DecodeFileStep({102, {255, 255, 255, 255}}), (Step{102, 0, 255, 255, 255, 255}));
}

}  // namespace
}  // namespace tarn
