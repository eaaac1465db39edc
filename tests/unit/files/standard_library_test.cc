// The standard device library that ships beside the program: every device loads cleanly and
// holds only what the Tarn accepts.

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "files/device_definitions.h"
#include "files/device_library.h"
#include "model/aspect_layout.h"
#include "model/instruction_set.h"
#include "model/pin_parameters.h"
#include "support/recording_prompter.h"
#include "temporary_folder.h"

namespace tarn {
namespace {

namespace fs = std::filesystem;

const fs::path kLibraryPath = fs::path(TARN_SOURCE_DIR) / "data" / "TarnDevices.def";

// The "Dev" section of `name` as the library holds it, up to the next section or "End".
std::string SectionOf(const std::string& text, const std::string& name) {
  const std::size_t start = text.find("\"Dev\",\"" + name + "\"\r\n");
  if (start == std::string::npos) return {};
  std::size_t end = text.find("\"Dev\"", start + 1);
  if (end == std::string::npos) end = text.find("\"End\"", start);
  return text.substr(start, end - start);
}

bool Within(int value, const ValueRange& a, const ValueRange& b) {
  return a.Contains(value) || b.Contains(value);
}

// Every byte a pin's mode uses lies in its parameter's range; every other byte is 0.
void ExpectConfigInRange(const PinConfig& config, const std::string& where) {
  const std::optional<PinConfigTab> tab = TabOfModeByte(config[0]);
  ASSERT_TRUE(tab) << where << ": mode " << int{config[0]};
  std::set<int> used = {0};
  for (const PinParameter& parameter : PinParametersOf(*tab)) {
    used.insert(parameter.byte);
    EXPECT_TRUE(
        Within(config[parameter.byte] - parameter.offset, parameter.typed, parameter.stepped))
        << where << ": " << parameter.label << " byte " << int{config[parameter.byte]};
  }
  if (*tab == PinConfigTab::kServo) {
    used.insert(2);
    const std::uint8_t flags = config[2];
    EXPECT_EQ(flags, ServoFlagsByte(ServoFlagsOf(flags)))
        << where << ": servo flags " << int{flags};
  } else if (*tab == PinConfigTab::kPwm) {
    used.insert(2);
    EXPECT_LE(config[2], 3) << where << ": PWM curves";
  }
  for (int i = 0; i < kPinConfigSize; ++i) {
    if (!used.contains(i)) {
      EXPECT_EQ(config[i], 0) << where << ": byte " << i;
    }
  }
}

class StandardLibraryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    text_ = testing::FileText(kLibraryPath);
    ASSERT_FALSE(text_.empty()) << kLibraryPath;
    const std::optional<DeviceLibraryIndex> index = ReadDeviceLibraryIndex(text_);
    ASSERT_TRUE(index);
    index_ = *index;
  }

  std::string text_;
  DeviceLibraryIndex index_;
};

TEST_F(StandardLibraryTest, HasAVersionAndEnoughDistinctDevices) {
  EXPECT_FALSE(index_.version_text.empty());
  EXPECT_GE(index_.device_names.size(), 8u);
  const std::set<std::string> names(index_.device_names.begin(), index_.device_names.end());
  EXPECT_EQ(names.size(), index_.device_names.size());
  for (std::size_t i = 0; i < text_.size(); ++i) {
    if (text_[i] == '\n') {
      ASSERT_TRUE(i > 0 && text_[i - 1] == '\r') << "line ends are CR LF";
    }
  }
}

TEST_F(StandardLibraryTest, EveryDeviceLoadsCleanlyAndFollowsTheRules) {
  for (const std::string& name : index_.device_names) {
    for (int head : {0, 30}) {
      const std::string where = name + " at " + std::to_string(head);
      DeviceConfiguration config;
      config.current_pin = static_cast<std::uint8_t>(head);
      testing::RecordingPrompter prompter;
      ASSERT_TRUE(LoadDevice(config, {name, kLibraryPath}, prompter)) << where;
      EXPECT_TRUE(prompter.messages.empty()) << where;
      EXPECT_EQ(config.pins[head].device_name, name);

      int pins = 0;
      for (int pin = 0; pin < kPinCount; ++pin) {
        const PinRecord& record = config.pins[pin];
        if (record.description.empty()) continue;
        ++pins;
        const std::string at = where + ", pin " + std::to_string(pin);
        EXPECT_EQ(pin + record.device_pointer, head) << at << ": pointer lands on the head";
        ExpectConfigInRange(record.pin_config, at);
        EXPECT_LE(record.dcc_address_count, 6) << at;
        EXPECT_LE(record.xdcc_address_count, 1) << at;
        EXPECT_LE(record.vesk_address_count, 6) << at;
        EXPECT_LE(record.initial_aspect, AspectCount(record.aspect_layout)) << at;
        for (int a = 0; a < AspectCount(record.aspect_layout); ++a) {
          for (int s = 0; s < StepsPerAspect(record.aspect_layout); ++s) {
            const Step& step = record.aspects[a].steps[s];
            const std::string in =
                at + ", aspect " + std::to_string(a) + ", step " + std::to_string(s);
            if (step.opcode == 0) continue;
            const InstructionDescriptor d = InstructionOf(step.opcode);
            ASSERT_TRUE(d.defined()) << in;
            EXPECT_EQ(NormalisedStep(step), step) << in;
            const int p2 = d.p2_signed() ? SevenBitSigned(step.p2) : step.p2;
            EXPECT_TRUE(p2 >= d.p2_min && p2 <= d.p2_max) << in << ": p2 " << p2;
            EXPECT_LE(step.p3, d.p3_max) << in;
            EXPECT_LE(step.p4, 3) << in;
            if (d.p1_kind == P1Kind::kAccel) {
              EXPECT_TRUE(step.p1 <= 31 || step.p1 == 127) << in;
            } else if (d.uses_param(StepParam::kP1)) {
              // Steps act on pins of their own device only.
              ASSERT_LT(step.p1, kPinCount) << in;
              const PinRecord& target = config.pins[(pin + step.p1) % kPinCount];
              EXPECT_FALSE(target.description.empty()) << in << ": acts outside the device";
              const int aspect = step.opcode == 1 ? step.p2 : step.opcode - 112;
              if (step.opcode == 1 || (step.opcode >= 112 && step.opcode <= 123)) {
                EXPECT_LT(aspect, AspectCount(target.aspect_layout)) << in << ": no such aspect";
              }
            }
          }
        }
      }
      EXPECT_GE(pins, 1) << where;

      // The library is written exactly as Save Device writes the device (which, from a head
      // other than 0, lists the members that wrapped round first).
      if (head != 0) continue;
      const std::string saved = WriteDeviceDefinition(config, head);
      const std::size_t dev = saved.find("\"Dev\"");
      EXPECT_EQ(saved.substr(dev, saved.rfind("\"End\"") - dev), SectionOf(text_, name)) << where;
    }
  }
}

}  // namespace
}  // namespace tarn
