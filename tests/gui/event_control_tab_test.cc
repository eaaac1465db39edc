// The "Tarn Event Control" tab: its fields' rules through the widgets, and its buttons against
// the simulated Tarn.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QTabWidget>
#include <QToolButton>

#include "gui/window_fixture.h"
#include "sim/tarn_memory.h"
#include "ui/widgets/up_down.h"

namespace tarn::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class EventControlTabTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    Find<QTabWidget>(QStringLiteral("SSTab_Main"))->setCurrentIndex(1);
  }
  bool Grey(const QString& name) {
    auto* field = Find<QLineEdit>(name);
    return field->palette().color(QPalette::Base) != QApplication::palette(field).color(QPalette::Base);
  }
  const PinEventActions& Actions(int pin) { return window->workspace().config.event_actions[pin]; }
  void StepUp(const QString& name) { QTest::mouseClick(Find<ui::UpDown>(name)->up(), Qt::LeftButton); }
};

// A typed or stepped value: what the field shows, whether it is grey, and what pin 0 stores.
struct FieldCase {
  const char* field;
  const char* typed;  // nullptr: one step up with the field's up/down
  const char* shown;
  bool grey;
  bool on;
  int input;
  int stored;
};

TEST_F(EventControlTabTest, FieldsClampGreyAndStoreForTheEventPin) {
  const FieldCase cases[] = {
      {"TextECon_0", "40", "11", false, true, 0, 11},
      {"TextECon_1", "-7", "-1", true, true, 1, -1},
      {"TextECoff_2", "12", "11", false, false, 2, 11},
      {"TextECon_0", nullptr, "11", false, true, 0, 11},  // the up/down stays within -1..11
      {"TextECon_1", nullptr, "0", false, true, 1, 0},
  };
  for (const FieldCase& c : cases) {
    const QString name = QString::fromLatin1(c.field);
    if (c.typed != nullptr) {
      Type(name, QString::fromLatin1(c.typed));
    } else {
      StepUp(QString(name).replace(QStringLiteral("Text"), QStringLiteral("UpDown")));
    }
    EXPECT_EQ(Text(name), QLatin1String(c.shown)) << c.field << " " << (c.typed ? c.typed : "up");
    EXPECT_EQ(Grey(name), c.grey) << c.field;
    const auto& edge = c.on ? Actions(0).on : Actions(0).off;
    EXPECT_EQ(edge[c.input], c.stored) << c.field;
  }
  EXPECT_THAT(TakeMessages(), IsEmpty());
}

TEST_F(EventControlTabTest, EventPinClampsWithTheNumberingBaseAndCopyToAllGivesEveryPinTheFields) {
  Type(QStringLiteral("TextECpin"), QStringLiteral("40"));
  EXPECT_EQ(Text(QStringLiteral("TextECpin")), QStringLiteral("32"));
  Type(QStringLiteral("TextECon_0"), QStringLiteral("7"));
  EXPECT_EQ(Actions(31).on[0], 7) << "pin 32 as shown is pin 31";
  Type(QStringLiteral("TextECpin"), QStringLiteral("0"));
  EXPECT_EQ(Text(QStringLiteral("TextECpin")), QStringLiteral("1"));
  EXPECT_EQ(Text(QStringLiteral("TextECon_0")), QStringLiteral("0")) << "pin 0 keeps its own";

  const char* on[] = {"3", "-1", "-1", "0"};
  for (int input = 0; input < 4; ++input) {
    Type(QStringLiteral("TextECon_%1").arg(input), QLatin1String(on[input]));
  }
  Click(QStringLiteral("CommandECcopy"));
  for (int pin = 0; pin < kPinCount; ++pin) {
    EXPECT_THAT(Actions(pin).on, ElementsAre(3, -1, -1, 0)) << pin;
    EXPECT_THAT(Actions(pin).off, ElementsAre(-1, -1, -1, -1)) << pin;
  }
  // One undo takes the whole copy back.
  window->Undo();
  EXPECT_EQ(Actions(31).on[0], 7);
}

TEST_F(EventControlTabTest, ButtonsReadAndWriteTheEventPinAndTheEnableMap) {
  Type(QStringLiteral("TextECpin"), QStringLiteral("6"));  // pin 5
  Type(QStringLiteral("TextECon_2"), QStringLiteral("9"));
  Type(QStringLiteral("TextECoff_1"), QStringLiteral("4"));
  Click(QStringLiteral("CommandECWriteSingle"));
  const sim::PinMemory& memory = tarn.memory().pins[5];
  EXPECT_THAT(memory.event_on, ElementsAre(0x00, 0x11, 0x29, 0x33));
  EXPECT_THAT(memory.event_off, ElementsAre(0x0F, 0x14, 0x2F, 0x3F));

  // What the Tarn holds comes back into the fields, the no-action grey with it.
  tarn.memory().pins[5].event_on = {0x0F, 0x15, 0x2B, 0x15};  // 0x15 at input 3: not input 3's
  Click(QStringLiteral("CommandECReadSingle"));
  EXPECT_EQ(Text(QStringLiteral("TextECon_0")), QStringLiteral("-1"));
  EXPECT_EQ(Text(QStringLiteral("TextECon_1")), QStringLiteral("5"));
  EXPECT_EQ(Text(QStringLiteral("TextECon_2")), QStringLiteral("11"));
  EXPECT_EQ(Text(QStringLiteral("TextECon_3")), QStringLiteral("-1"));
  EXPECT_TRUE(Grey(QStringLiteral("TextECon_3")));

  // Enable map: a cleared box is a set bit of its mask.
  Click(QStringLiteral("CheckInitEE_1"));
  Click(QStringLiteral("CheckInitEE_3"));
  Click(QStringLiteral("CheckInitEE_4"));
  Click(QStringLiteral("CommandECInitWrite"));
  EXPECT_THAT(tarn.memory().registers[sim::kEventEnableMapRegister], ElementsAre(0x0A, 0x01));
  tarn.memory().registers[sim::kEventEnableMapRegister] = {0x0F, 0x00};
  Click(QStringLiteral("CommandECInitRead"));
  for (int box = 0; box < 8; ++box) {
    EXPECT_EQ(Find<QCheckBox>(QStringLiteral("CheckInitEE_%1").arg(box))->isChecked(), box >= 4)
        << box;
  }
  EXPECT_THAT(TakeMessages(), IsEmpty());
}

}  // namespace
}  // namespace tarn::testing
