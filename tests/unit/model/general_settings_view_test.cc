#include "model/general_settings_view.h"

#include <gtest/gtest.h>

namespace tarn {
namespace {

// Where each choice lands in the byte the Tarn is sent.
int IndexInByte(GeneralChoice choice, const GeneralSettings& s) {
  const int serial = SerialPortSettingsByte(s);
  switch (choice) {
    case GeneralChoice::kPacketRetention:
      return DccOptionsByte(s) & 3;
    case GeneralChoice::kSerialBitRate:
      return serial & 7;
    case GeneralChoice::kSerialDataBits:
      return (serial >> 3) & 1;
    case GeneralChoice::kSerialStopBits:
      return (serial >> 6) & 1;
    case GeneralChoice::kSerialParity:
      return (serial >> 4) & 3;
  }
  return -1;
}

TEST(GeneralChoiceTest, EveryEntryChosenIsShownAndSent) {
  for (const GeneralChoice choice :
       {GeneralChoice::kPacketRetention, GeneralChoice::kSerialBitRate,
        GeneralChoice::kSerialDataBits, GeneralChoice::kSerialStopBits,
        GeneralChoice::kSerialParity}) {
    SCOPED_TRACE(GeneralChoiceName(choice));
    for (const ChoiceEntry& entry : GeneralChoiceEntries(choice)) {
      GeneralSettings s;
      Choose(choice, entry.index, s);
      EXPECT_EQ(SelectedChoice(choice, s), entry.index) << entry.caption;
      EXPECT_EQ(IndexInByte(choice, s), entry.index) << entry.caption;
    }
  }
}

struct StoredCase {
  const char* what;
  GeneralSettings settings;
  GeneralChoice choice;
  int shown;
};

GeneralSettings With(void (*set)(GeneralSettings&)) {
  GeneralSettings s;
  set(s);
  return s;
}

TEST(GeneralChoiceTest, AStoredValueShowsTheEntryAWriteSends) {
  const StoredCase cases[] = {
      {"start values", GeneralSettings{}, GeneralChoice::kPacketRetention, 2},
      {"start values", GeneralSettings{}, GeneralChoice::kSerialDataBits, 0},
      {"start values", GeneralSettings{}, GeneralChoice::kSerialParity, 0},
      {"retention past the four", With([](GeneralSettings& s) { s.packet_retention = 6; }),
       GeneralChoice::kPacketRetention, 2},
      {"parity code 1", With([](GeneralSettings& s) { s.serial_parity = 1; }),
       GeneralChoice::kSerialParity, 0},
      {"odd parity", With([](GeneralSettings& s) { s.serial_parity = kParityOdd; }),
       GeneralChoice::kSerialParity, 3},
      {"8 data bits", With([](GeneralSettings& s) { s.serial_data_bits = 8; }),
       GeneralChoice::kSerialDataBits, 1},
      {"2 stop bits", With([](GeneralSettings& s) { s.serial_stop_bits = 2; }),
       GeneralChoice::kSerialStopBits, 1},
  };
  for (const StoredCase& c : cases) {
    EXPECT_EQ(SelectedChoice(c.choice, c.settings), c.shown) << c.what;
    EXPECT_EQ(IndexInByte(c.choice, c.settings), c.shown) << c.what;
  }
}

TEST(GeneralChoiceTest, AnIndexThatIsNoEntryChangesNothing) {
  GeneralSettings s;
  s.serial_parity = kParityEven;
  Choose(GeneralChoice::kSerialParity, 1, s);
  Choose(GeneralChoice::kPacketRetention, 4, s);
  Choose(GeneralChoice::kSerialBitRate, -1, s);
  GeneralSettings expected;
  expected.serial_parity = kParityEven;
  EXPECT_EQ(s, expected);
}

TEST(DriverBoxNameTest, NamesTheGroupAndThePinsAsTheHeadingShowsThem) {
  EXPECT_EQ(DriverBoxName(0, false, 1), "Group 1 Sink, pins 1..8");
  EXPECT_EQ(DriverBoxName(3, true, 1), "Group 4 Source, pins 25..32");
  EXPECT_EQ(DriverBoxName(1, true, 0), "Group 2 Source, pins 8..15");
  // The heading shows the same ranges.
  for (int base : {0, 1}) {
    for (int group = 0; group < kDriverGroupCount; ++group) {
      EXPECT_NE(PinGroupHeading(base).find(DriverGroupPins(group, base)), std::string_view::npos);
    }
  }
  EXPECT_EQ(ExtendedGroupBoxName(15), "Extended group 15");
}

}  // namespace
}  // namespace tarn
