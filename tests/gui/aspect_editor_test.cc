// The aspect program editor through its widgets, on the simulated Tarn: a pin built from nothing
// and written, a pin read and shown, the visibility rules, the commit rules, the row edits, the
// "Test" button and the device fields.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <array>
#include <functional>

#include "gui/window_fixture.h"
#include "model/general_settings.h"
#include "ui/widgets/up_down.h"

namespace tarn::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Payload = std::vector<std::uint8_t>;
using VeskFrame = std::array<std::uint8_t, 4>;
using WireStep = std::array<std::uint8_t, sim::kStepWireBytes>;

using namespace Qt::StringLiterals;

QString Row(const char* name, int row) {
  return QString::fromLatin1(name) + u'_' + QString::number(row);
}

class AspectEditorTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    SetExpert(true);
    Find<QTabWidget>(u"SSTab_Main"_s)->setCurrentIndex(2);
    TakeMessages();
    // Leaving a field by Tab needs the focus that only an active window hands around.
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  }

  DeviceConfiguration& config() { return window->workspace().config; }

  void SetExpert(bool on) {
    prompter.answers = {on ? PromptAnswer::kYes : PromptAnswer::kNo};
    QTest::mouseClick(Button(u"Release"_s), Qt::RightButton);
    prompter.messages.clear();
  }
  void SetDetails(bool on) {
    if (Button(u"CheckPAspShowDetails"_s)->isChecked() != on) Click(u"CheckPAspShowDetails"_s);
  }
  void StepUp(const QString& name) {
    QTest::mouseClick(Find<ui::UpDown>(name)->up(), Qt::LeftButton);
  }
  bool Shown(const QString& name) {
    auto* widget = Find<QWidget>(name);
    return widget != nullptr && widget->isVisibleTo(window.get());
  }

  // Chooses an instruction as a user does: the row's list opens and the entry is clicked.
  void Choose(int row, const char* instruction) {
    auto* box = Find<QComboBox>(Row("ComboPAspInst", row));
    const int index = box->findText(QString::fromLatin1(instruction));
    ASSERT_GE(index, 0) << instruction;
    box->showPopup();
    QAbstractItemView* list = box->view();
    list->scrollTo(list->model()->index(index, 0));
    const QPoint at = list->visualRect(list->model()->index(index, 0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    ASSERT_EQ(box->currentIndex(), index) << instruction;
  }

  // The selected entry of a tab set, clicked as a user does.
  void ChooseTab(const QString& tabs, int index) {
    QTabBar* bar = Find<QTabWidget>(tabs)->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
  }
};

// One step as typed into the editor, and the bytes the Tarn holds for it afterwards.
struct TypedStep {
  int aspect;
  int row;
  const char* instruction;
  bool fade;
  std::array<const char*, 4> typed;  // nullptr: left as it is
  WireStep wire;                     // opcode byte (fade x 16 + opcode), w0..w3
};

TEST_F(AspectEditorTest, PinBuiltThroughTheWidgetsIsWhatTheTarnHoldsAfterWritePin) {
  const TypedStep program[] = {
      {0, 0, "Set Level", true, {"0", "20", nullptr, nullptr}, {54, 0, 20, 0, 0}},
      {0, 1, "Wait", false, {nullptr, nullptr, "25", "1"}, {102, 0, 0, 25, 1}},
      {0, 2, "Off", true, {"-2", "10", nullptr, nullptr}, {24, 30, 10, 0, 0}},
      {1, 0, "SetLevel & Wait", false, {"-1", "31", "63", "3"}, {96, 127, 31, 63, 3}},
      {1, 8, "Jump", false, {"0", "2", "12", nullptr}, {1, 0, 2, 8, 0}},
      {2, 0, "Multibit 3", true, {"1", "5", nullptr, nullptr}, {29, 1, 5, 0, 0}},
      {2, 4, "Wait Random", false, {nullptr, nullptr, "70", "9"}, {103, 0, 0, 63, 3}},
      {3, 0, "SendSerial 2", false, {nullptr, "200", "10", nullptr}, {5, 1, 72, 10, 0}},
      {3, 1, "Set Servo", true, {nullptr, "-64", nullptr, nullptr}, {55, 0, 0, 0, 0}},
  };

  Type(u"TextPAspOutput"_s, u"10"_s);  // pin 9, numbered from 1
  ChooseTab(u"SSTabPCFG"_s, 2);        // PWM
  Type(u"TextPWMInitLevel"_s, u"5"_s);
  Type(u"TextPWMAccel"_s, u"12"_s);
  Click(u"OptionPAspConf_1"_s);  // layout "4"
  Type(u"TextPAspInit"_s, u"2"_s);
  Type(u"TextPaspDCCn"_s, u"2"_s);
  for (const TypedStep& step : program) {
    if (Text(u"TextPAspAspect"_s).toInt() != step.aspect) {
      Type(u"TextPAspAspect"_s, QString::number(step.aspect));
    }
    Choose(step.row, step.instruction);
    if (step.fade) Click(Row("CheckPAspFade", step.row));
    const char* fields[] = {"TextPAspOffset", "TextPAspPar1", "TextPAspPar2", "TextPAspPar3"};
    for (int i = 0; i < 4; ++i) {
      if (step.typed[i] != nullptr)
        Type(Row(fields[i], step.row), QString::fromLatin1(step.typed[i]));
    }
  }
  RunOperation(u"CommandWritePin"_s);
  EXPECT_THAT(TakeMessages(), IsEmpty());

  const sim::PinMemory& held = tarn.memory().pins[9];
  EXPECT_EQ(held.aspect_layout, 3);
  EXPECT_EQ(held.initial_aspect, 0x72);
  EXPECT_EQ(held.dcc_byte, 8 + 2) << "one extended and two basic DCC addresses";
  EXPECT_EQ(held.serial_byte, 0x11);
  EXPECT_EQ(held.pointer_byte, 0x40);
  EXPECT_EQ(held.config, (std::array<std::uint8_t, 13>{2, 5, 0, 12, 0, 31}));
  std::array<WireStep, sim::kStepSlots> steps{};
  for (const TypedStep& step : program) steps[step.aspect * 9 + step.row] = step.wire;
  for (int slot = 0; slot < sim::kStepSlots; ++slot) {
    EXPECT_EQ(held.steps[slot], steps[slot]) << "aspect " << slot / 9 << " step " << slot % 9;
  }
  // The last row typed is shown as the Tarn has it, and its headings describe it.
  EXPECT_EQ(Text(u"TextPAspPar1_1"_s), u"-64"_s);
  EXPECT_EQ(Find<QLabel>(u"LabelPAspHParam1"_s)->text(), u"Pos."_s);
}

// A pin the Tarn holds, read with "Read Pin": every field shows it by the display rules.
TEST_F(AspectEditorTest, ReadPinShowsEveryFieldByTheDisplayRules) {
  const struct {
    WireStep wire;
    const char* instruction;
    bool fade;
    bool fade_shown;
    std::array<const char*, 4> texts;
    std::array<bool, 4> greyed;
    const char* time;
  } rows[] = {
      {{54, 30, 20, 0, 0},
       "Set Level",
       true,
       true,
       {"-2", "20", "0", "0"},
       {false, false, true, true},
       "00:00.00"},
      {{96, 127, 31, 63, 3},
       "SetLevel & Wait",
       false,
       false,
       {"-1", "31", "63", "3"},
       {false, false, false, false},
       "10:45.12"},
      {{55, 0, 0, 0, 0},
       "Set Servo",
       true,
       true,
       {"0", "-64", "0", "0"},
       {false, false, true, true},
       "00:00.00"},
      {{18, 5, 10, 7, 0},
       "MXpulse",
       false,
       false,
       {"6", "10", "7", "0"},
       {false, false, false, true},
       "00:00.00"},
      {{7, 1, 3, 0, 0},
       "Clone",
       false,
       true,
       {"1", "4", "0", "0"},
       {false, false, true, true},
       "00:00.00"},
      {{5, 1, 72, 10, 0},
       "SendSerial 2",
       false,
       false,
       {"0", "200", "10", "0"},
       {true, false, false, true},
       "00:00.00"},
      {{102, 0, 0, 25, 0},
       "Wait",
       false,
       false,
       {"0", "0", "25", "0"},
       {true, true, false, false},
       "00:00.50"},
      {{2, 3, 4, 5, 6},
       "-",
       false,
       false,
       {"0", "0", "0", "0"},
       {true, true, true, true},
       "00:00.00"},
      // Every instruction from opcode 64 on waits for a "Time" and "Base" after its action.
      {{104, 12, 0x7E, 2, 1},
       "If Equal",
       false,
       false,
       {"-20", "-2", "2", "1"},
       {false, false, false, false},
       "00:00.32"},
  };
  sim::PinMemory& pin = tarn.memory().pins[20];
  pin.aspect_layout = 3;
  for (int row = 0; row < 9; ++row) pin.steps[9 + row] = rows[row].wire;  // aspect 1
  pin.initial_aspect = 0x71;
  pin.dcc_byte = 0x03;
  pin.serial_byte = 0x12;
  pin.pointer_byte = 0x40 + 30;  // head 18
  pin.config = {3, 12, 1, 20, 2, 29};

  Type(u"TextPAspOutput"_s, u"21"_s);
  RunOperation(u"CommandReadPin"_s);
  Type(u"TextPAspAspect"_s, u"1"_s);
  EXPECT_THAT(TakeMessages(), IsEmpty());

  EXPECT_TRUE(Button(u"OptionPAspConf_1"_s)->isChecked());
  EXPECT_EQ(Text(u"TextPAspAspect"_s), u"1"_s);
  EXPECT_EQ(Text(u"TextPAspInit"_s), u"1"_s);
  EXPECT_EQ(Text(u"TextPaspVeskn"_s), u"2"_s);
  EXPECT_EQ(Text(u"TextPaspDCCn"_s), u"3"_s);
  EXPECT_EQ(Text(u"TextPAspXDCCn"_s), u"0"_s);
  EXPECT_EQ(Text(u"TextDevicePin"_s), u"19"_s);
  EXPECT_EQ(Text(u"TextDeviceDescription"_s), u""_s);
  EXPECT_TRUE(Find<QLineEdit>(u"TextDeviceDescription"_s)->isReadOnly());
  EXPECT_EQ(Find<QTabWidget>(u"SSTabPCFG"_s)->currentIndex(), 2);
  EXPECT_EQ(Text(u"TextPWMInitLevel"_s), u"12"_s);
  EXPECT_TRUE(Button(u"CheckPWMInverted"_s)->isChecked());
  const char* fields[] = {"TextPAspOffset", "TextPAspPar1", "TextPAspPar2", "TextPAspPar3"};
  for (int row = 0; row < 9; ++row) {
    SCOPED_TRACE(rows[row].instruction);
    EXPECT_EQ(Find<QComboBox>(Row("ComboPAspInst", row))->currentText(),
              QString::fromLatin1(rows[row].instruction));
    EXPECT_EQ(Button(Row("CheckPAspFade", row))->isChecked(), rows[row].fade);
    EXPECT_EQ(Shown(Row("CheckPAspFade", row)), rows[row].fade_shown);
    for (int i = 0; i < 4; ++i) {
      auto* field = Find<ui::NumberField>(Row(fields[i], row));
      EXPECT_EQ(field->text(), QString::fromLatin1(rows[row].texts[i])) << fields[i];
      EXPECT_EQ(field->greyed(), rows[row].greyed[i]) << fields[i];
      EXPECT_EQ(field->palette().color(QPalette::Base),
                QApplication::palette(field).color(rows[row].greyed[i] ? QPalette::Button
                                                                       : QPalette::Base))
          << fields[i];
    }
    EXPECT_EQ(Button(Row("LabelPAspTime", row))->text(), QString::fromLatin1(rows[row].time));
  }
  // Showing settled the model: the unknown opcode kept, its parameters gone.
  EXPECT_EQ(config().pins[20].aspects[1].steps[7], (Step{.opcode = 2}));
}

// What shows, by "Show Details", expert mode, the layout option and the address counts.
TEST_F(AspectEditorTest, VisibilityFollowsDetailsExpertModeLayoutAndCounts) {
  const QStringList aspect_controls = {u"TextPAspAspect"_s,  u"UpDownPAspAspect"_s,
                                       u"TextPAspInit"_s,    u"UpDownPAspInit"_s,
                                       u"TextPAspAspDesc"_s, u"CommandPAspTestAspect"_s};
  const QStringList single = {u"CommandPAspWriteAspect"_s, u"LabelPAspHStep"_s,
                              u"LabelPAspHInst"_s};
  const QStringList details = {u"AspDetails"_s, u"SSTabPCFG"_s, u"CommandGetPinConfig_0"_s,
                               u"CommandSetPinConfig_0"_s};
  const QStringList details_and_expert = {u"CommandGetPinConfig_1"_s, u"CommandSetPinConfig_1"_s,
                                          u"CommandPAspReadPin"_s, u"CommandPAspWritePin"_s};
  const QStringList expert = {u"CommandReadPin"_s, u"CommandWritePin"_s, u"CommandVerifyAllPins"_s};
  const QStringList counts = {u"TextPaspVeskn"_s, u"TextPaspDCCn"_s, u"TextPAspXDCCn"_s};
  const QStringList count_up_downs = {u"UpDownPaspVeskn"_s, u"UpDownPaspDCCn"_s,
                                      u"UpDownPaspXDCCn"_s};
  const struct {
    const char* what;
    bool details;
    bool expert;
    int option;         // OptionPAspConf index: "0", "4", "12"
    const char* count;  // typed into B-DCC with the details on, before they are set
    int rows;           // step rows shown
    std::array<bool, 3> counts_shown;
  } cases[] = {
      {"layout 0, details, expert", true, true, 0, "1", 0, {true, true, true}},
      {"layout 4, details, expert", true, true, 1, "1", 9, {true, true, true}},
      {"layout 12, details, not expert", true, false, 2, "1", 3, {true, true, true}},
      {"layout 4, no details, expert", false, true, 1, "1", 9, {false, false, false}},
      {"layout 12, no details, not expert", false, false, 2, "1", 3, {false, false, false}},
      {"a count of 2 stays without details", false, false, 0, "2", 0, {false, true, false}},
      {"a count of 0 stays without details", false, true, 1, "0", 9, {false, true, false}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    SetDetails(true);
    Type(u"TextPaspDCCn"_s, QString::fromLatin1(c.count));
    SetDetails(c.details);
    SetExpert(c.expert);
    Click(Row("OptionPAspConf", c.option));
    const bool layout = c.option != 0;
    for (const QString& name : aspect_controls)
      EXPECT_EQ(Shown(name), layout) << name.toStdString();
    for (const QString& name : single) {
      EXPECT_EQ(Shown(name), layout && c.details) << name.toStdString();
    }
    for (const QString& name : details) EXPECT_EQ(Shown(name), c.details) << name.toStdString();
    for (const QString& name : details_and_expert) {
      EXPECT_EQ(Shown(name), c.details && c.expert) << name.toStdString();
    }
    for (const QString& name : expert) EXPECT_EQ(Shown(name), c.expert) << name.toStdString();
    for (int row = 0; row < 9; ++row) {
      EXPECT_EQ(Shown(Row("ComboPAspInst", row)), c.details && row < c.rows) << row;
    }
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(Shown(counts[i]), c.counts_shown[i]) << counts[i].toStdString();
      EXPECT_EQ(Shown(count_up_downs[i]), c.counts_shown[i]) << counts[i].toStdString();
    }
    EXPECT_EQ(Shown(u"LabelPAspNrOfAddresses"_s),
              c.counts_shown[0] || c.counts_shown[1] || c.counts_shown[2]);
  }
}

// Typed entries take effect when the field is left, clicked or Enter is pressed, and before the
// pin or the aspect changes; the clamped value is written back.
TEST_F(AspectEditorTest, EntriesCommitOnLeavingClickEnterAndBeforeAChange) {
  enum class How { kEnter, kLeave, kClick, kPinUp, kAspectUp };
  const struct {
    const char* what;
    const char* field;
    const char* typed;
    How how;
    const char* shown;  // what the field shows afterwards (on the pin or aspect it belongs to)
    std::function<bool(const DeviceConfiguration&)> stored;
  } cases[] = {
      {"Enter clamps the level", "TextPAspPar1_0", "40", How::kEnter, "31",
       [](const DeviceConfiguration& c) { return c.pins[3].aspects[1].steps[0].p2 == 31; }},
      {"leaving by Tab", "TextPAspPar1_2", "7", How::kLeave, "7",
       [](const DeviceConfiguration& c) { return c.pins[3].aspects[1].steps[2].p2 == 7; }},
      {"a click into the field", "TextPAspOffset_0", "-9", How::kClick, "-3",
       [](const DeviceConfiguration& c) { return c.pins[3].aspects[1].steps[0].p1 == 29; }},
      {"a pin up/down takes the row over first", "TextPAspPar1_8", "12", How::kPinUp, "12",
       [](const DeviceConfiguration& c) { return c.pins[3].aspects[1].steps[8].p2 == 12; }},
      {"an aspect up/down takes the row over first", "TextPAspPar1_4", "99", How::kAspectUp, "31",
       [](const DeviceConfiguration& c) { return c.pins[3].aspects[1].steps[4].p2 == 31; }},
      {"a pin up/down takes the initial aspect over", "TextPAspInit", "9", How::kPinUp, "3",
       [](const DeviceConfiguration& c) { return c.pins[3].initial_aspect == 4; }},
      {"a pin up/down takes the device pin over", "TextDevicePin", "2", How::kPinUp, "2",
       [](const DeviceConfiguration& c) { return c.pins[3].device_pointer == -2; }},
      {"the aspect field clamps to the layout", "TextPAspAspect", "6", How::kEnter, "3",
       [](const DeviceConfiguration& c) { return c.current_aspect == 3; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    window->Edit("Program", [this] {
      config() = DeviceConfiguration{};
      config().current_pin = 3;
      config().current_aspect = 1;
      config().pins[3].aspect_layout = 3;
      for (Step& step : config().pins[3].aspects[1].steps) step = Step{.opcode = 38};
    });
    window->ShowEverything();
    const QString field = QString::fromLatin1(c.field);
    auto* edit = Find<QLineEdit>(field);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, QString::fromLatin1(c.typed));
    switch (c.how) {
      case How::kEnter:
        QTest::keyClick(edit, Qt::Key_Return);
        break;
      case How::kLeave:
        QTest::keyClick(edit, Qt::Key_Tab);
        break;
      case How::kClick:
        QTest::mouseClick(edit, Qt::LeftButton);
        break;
      case How::kPinUp:
        StepUp(u"UpDownPAspOutput"_s);
        EXPECT_EQ(Text(u"TextPAspOutput"_s), u"5"_s);
        Type(u"TextPAspOutput"_s, u"4"_s);
        break;
      case How::kAspectUp:
        StepUp(u"UpDownPAspAspect"_s);
        EXPECT_EQ(Text(u"TextPAspAspect"_s), u"2"_s);
        Type(u"TextPAspAspect"_s, u"1"_s);
        break;
    }
    EXPECT_TRUE(c.stored(config()));
    EXPECT_EQ(edit->text(), QString::fromLatin1(c.shown));
  }
  EXPECT_THAT(TakeMessages(), IsEmpty());
}

// The edge cases of a row: what an instruction change, an unknown opcode and a double-click do,
// with the headings describing the row worked in last.
TEST_F(AspectEditorTest, RowEditsGreyUnusedFieldsAndSetTheHeadings) {
  const struct {
    const char* what;
    Step start;
    std::function<void()> act;
    Step stored;
    std::array<const char*, 5> headings;  // "Fade" and the four parameter columns
    std::array<bool, 4> greyed;
    std::vector<std::string> messages;
    const char* dialog;  // the calculator that opened, or nullptr
  } cases[] = {
      {"Wait over Set Level",
       Step{.opcode = 38, .fade = 1, .p1 = 1, .p2 = 20},
       [this] { Choose(5, "Wait"); },
       Step{.opcode = 102},
       {"", "", "", "Time", "Base"},
       {true, true, false, false},
       {},
       nullptr},
      {"fade cleared",
       Step{.opcode = 38, .fade = 1, .p2 = 20},
       [this] { Click(u"CheckPAspFade_5"_s); },
       Step{.opcode = 38, .p2 = 20},
       {"Fade", "P.O.", "Level", "", ""},
       {false, false, true, true},
       {},
       nullptr},
      {"p2 of Set Level has no help tool",
       Step{.opcode = 38, .p2 = 20},
       [this] { QTest::mouseDClick(Find<QLineEdit>(u"TextPAspPar1_5"_s), Qt::LeftButton); },
       Step{.opcode = 38, .p2 = 20},
       {"Fade", "P.O.", "Level", "", ""},
       {false, false, true, true},
       {"Help tool not available for this box with the selected command"},
       nullptr},
      {"p3 of Wait opens the time calculator",
       Step{.opcode = 102, .p3 = 5, .p4 = 1},
       [this] { QTest::mouseDClick(Find<QLineEdit>(u"TextPAspPar2_5"_s), Qt::LeftButton); },
       Step{.opcode = 102, .p3 = 5, .p4 = 1},
       {"", "", "", "Time", "Base"},
       {true, true, false, false},
       {},
       "dlgCT"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    window->Edit("Program", [&] {
      config().current_pin = 0;
      config().current_aspect = 0;
      config().pins[0].aspect_layout = 3;
      config().pins[0].aspects[0].steps[5] = c.start;
      config().pins[0].aspects[0].steps[0] = Step{.opcode = 1};  // "Jump": other headings
    });
    window->ShowEverything();
    QString opened;
    if (c.dialog != nullptr) {
      QTimer::singleShot(0, window.get(), [&opened] {
        if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
          opened = modal->objectName();
          modal->reject();
        }
      });
    }
    c.act();
    EXPECT_EQ(config().pins[0].aspects[0].steps[5], c.stored);
    EXPECT_EQ(opened, QString::fromLatin1(c.dialog != nullptr ? c.dialog : ""));
    const char* headings[] = {"LabelPAspHFade", "LabelPAspOffset", "LabelPAspHParam1",
                              "LabelPASpHParam2", "LabelPAspHParam3"};
    for (int i = 0; i < 5; ++i) {
      EXPECT_EQ(Find<QLabel>(QString::fromLatin1(headings[i]))->text(),
                QString::fromLatin1(c.headings[i]))
          << headings[i];
    }
    const char* fields[] = {"TextPAspOffset_5", "TextPAspPar1_5", "TextPAspPar2_5",
                            "TextPAspPar3_5"};
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(Find<ui::NumberField>(QString::fromLatin1(fields[i]))->greyed(), c.greyed[i])
          << fields[i];
    }
    EXPECT_THAT(TakeMessages(), ::testing::ContainerEq(c.messages));
  }
}

// "Test" sends by the modifier keys held when it is pressed.
TEST_F(AspectEditorTest, TestButtonSendsByTheModifierKeys) {
  const std::string help =
      "Test = Send Tarn Set Aspect\nShift + Test = Send Legacy Vesk Set Aspect\n"
      "Control + Test = Send Tarn Set Aspect, use Address Map\n"
      "Shift + Control + Test = Send Legacy Vesk Set Aspect, use Address Map\n"
      "Alt + Test = Show this message";
  const struct {
    const char* what;
    Qt::KeyboardModifiers keys;
    int vesk_count;  // of pin 6; pins 0..5 take one serial address each
    bool flexible;   // Vesk flexible addressing with base 10
    std::vector<Payload> tarn;
    std::vector<VeskFrame> vesk;
    std::vector<std::string> messages;
  } cases[] = {
      {"none", Qt::NoModifier, 1, false, {{0, 0, 6, 2}}, {}, {}},
      {"Shift", Qt::ShiftModifier, 1, false, {}, {{3, 0, 6, 2}}, {}},
      {"Control", Qt::ControlModifier, 1, false, {{0, 1, 6, 2}}, {}, {}},
      {"Shift + Control",
       Qt::ShiftModifier | Qt::ControlModifier,
       1,
       false,
       {},
       {{3, 1, 6, 2}},
       {}},
      {"Shift with flexible addressing",
       Qt::ShiftModifier,
       1,
       true,
       {},
       {{1 * 4 + 3, 1, (40 + 6) % 32, 2}},
       {}},
      {"Control without a serial address",
       Qt::ControlModifier,
       0,
       false,
       {},
       {},
       {"You have no Vesk-address(es) assigned to Pin 7"}},
      {"Alt", Qt::AltModifier, 1, false, {}, {}, {help}},
      {"Alt with Shift", Qt::AltModifier | Qt::ShiftModifier, 1, false, {}, {}, {help}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    window->Edit("Pin", [&] {
      config().current_pin = 6;
      config().current_aspect = 2;
      config().pins[6].aspect_layout = 3;
      config().pins[6].vesk_address_count = static_cast<std::uint8_t>(c.vesk_count);
      SetVeskFlexibleAddressing(c.flexible, config().general_settings);
      config().general_settings.serial_base_address = 10;
    });
    window->ShowEverything();
    const std::size_t tarn_before = tarn.live_messages().size();
    const std::size_t vesk_before = tarn.vesk_frames().size();
    QTest::mouseClick(Button(u"CommandPAspTestAspect"_s), Qt::LeftButton, c.keys);
    EXPECT_EQ(std::vector<Payload>(tarn.live_messages().begin() + tarn_before,
                                   tarn.live_messages().end()),
              c.tarn);
    EXPECT_EQ(
        std::vector<VeskFrame>(tarn.vesk_frames().begin() + vesk_before, tarn.vesk_frames().end()),
        c.vesk);
    EXPECT_THAT(TakeMessages(), ::testing::ContainerEq(c.messages));
  }
  EXPECT_EQ(Button(u"CommandPAspTestAspect"_s)->toolTip(), u"Alt + Click for Options"_s);
}

// Every row names its controls by the number its label shows and a field by what its instruction
// uses it for, as the heading reads; it says what its tips say.
TEST_F(AspectEditorTest, RowsHaveScreenReaderNamesAndTips) {
  Click(u"OptionPAspConf_1"_s);
  const QString help = u"Double-click for help-tool"_s;
  const struct {
    const char* name;
    const char* spoken;
    const char* tip;  // nullptr: none
  } columns[] = {
      {"LabelPAspStep", "Step %1", "Click to Insert/Delete step"},
      {"ComboPAspInst", "Step %1 Instruction", nullptr},
      {"CheckPAspFade", "Step %1 Fade", nullptr},
      {"TextPAspOffset", "Step %1 Par 0", nullptr},
      {"TextPAspPar1", "Step %1 Par 1", "Double-click for help-tool"},
      {"TextPAspPar2", "Step %1 Par 2", "Double-click for help-tool"},
      {"TextPAspPar3", "Step %1 Par 3", "Double-click for help-tool"},
      {"LabelPAspTime", "Step %1 Step Time", "Double-click for help-tool"},
  };
  for (int row = 0; row < 9; ++row) {
    EXPECT_EQ(Button(Row("LabelPAspStep", row))->text(), QString::number(row));
    for (const auto& column : columns) {
      auto* widget = Find<QWidget>(Row(column.name, row));
      EXPECT_EQ(widget->accessibleName(), QString::fromLatin1(column.spoken).arg(row));
      EXPECT_EQ(widget->toolTip(), QString::fromLatin1(column.tip != nullptr ? column.tip : ""))
          << column.name;
    }
  }
  // "Wait" in row 4: its fields are its time and base, and an entry is undone under that name.
  auto* instruction = Find<QComboBox>(Row("ComboPAspInst", 4));
  instruction->setCurrentIndex(instruction->findText(u"Wait"_s));
  const char* const wait_names[] = {"Step 4 Par 0", "Step 4 Par 1", "Step 4 Time", "Step 4 Base"};
  const char* const fields[] = {"TextPAspOffset", "TextPAspPar1", "TextPAspPar2", "TextPAspPar3"};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(Find<QWidget>(Row(fields[i], 4))->accessibleName(),
              QString::fromLatin1(wait_names[i]));
  }
  EXPECT_EQ(Find<QLabel>(u"LabelPASpHParam2"_s)->text(), u"Time"_s) << "as the heading reads";
  Type(Row("TextPAspPar2", 4), u"20"_s);
  EXPECT_EQ(Find<QAction>(u"ActionUndo"_s)->text(), u"Undo Step 4 Time"_s);
  const struct {
    const char* name;
    const char* tip;
  } tips[] = {
      {"LabelPAspOutput", "Click for copy/paste tools"},
      {"LabelPAspAspect", "Click for copy/paste tools"},
      {"TextPaspDCCn", "Nr of DCC addresses assigned to Pin"},
      {"TextPaspVeskn", "Nr of Serial addresses assigned to Pin"},
  };
  for (const auto& tip : tips) {
    EXPECT_EQ(Find<QWidget>(QString::fromLatin1(tip.name))->toolTip(),
              QString::fromLatin1(tip.tip));
  }
  // Every control of the tab that a screen reader meets has a name.
  std::vector<std::string> unnamed;
  for (QWidget* control : Find<QWidget>(u"TabDeviceConfiguration"_s)->findChildren<QWidget*>()) {
    const bool speaks = qobject_cast<QAbstractButton*>(control) != nullptr ||
                        qobject_cast<QLineEdit*>(control) != nullptr ||
                        qobject_cast<QComboBox*>(control) != nullptr;
    if (speaks && control->accessibleName().isEmpty())
      unnamed.push_back(control->objectName().toStdString());
  }
  EXPECT_THAT(unnamed, IsEmpty());
}

// A device from the standard library on pin 30 wraps round to pin 0; every member shows the
// head and its name, only the head may rename it, and it saves as a library of its own.
TEST_F(AspectEditorTest, DeviceOnPin30KeepsItsMembersShowsItsNameAndSavesForReload) {
  Type(u"TextPAspOutput"_s, u"31"_s);
  auto* list = Find<QComboBox>(u"cboDevice"_s);
  list->setCurrentIndex(list->findText(u"Signal 3 lamps"_s));
  Click(u"CommandPAspPreLoad"_s);
  EXPECT_THAT(TakeMessages(), IsEmpty());

  const struct {
    const char* pin;  // as typed, numbered from 1
    int pointer;
    bool editable;
  } members[] = {{"31", 0, true}, {"32", -1, false}, {"1", 30, false}};
  for (const auto& member : members) {
    SCOPED_TRACE(member.pin);
    Type(u"TextPAspOutput"_s, QString::fromLatin1(member.pin));
    EXPECT_EQ(config().pins[config().current_pin].device_pointer, member.pointer);
    EXPECT_EQ(Text(u"TextDevicePin"_s), u"31"_s);
    EXPECT_EQ(Text(u"TextDeviceDescription"_s), u"Signal 3 lamps"_s);
    EXPECT_EQ(Find<QLineEdit>(u"TextDeviceDescription"_s)->isReadOnly(), !member.editable);
    EXPECT_FALSE(Text(u"TextPAspDesc"_s).isEmpty());
  }
  EXPECT_EQ(config().pins[1].device_pointer, 0) << "the pin after the device";

  // Saved from a member: the head's device goes to its own file, which Reload DD lists.
  const fs::path file =
      fs::temp_directory_path() /
      ("tarn_editor_" + std::to_string(QCoreApplication::applicationPid()) + ".def");
  files.saves = {file};
  Click(u"CommandSaveDevice"_s);
  files.opens = {file};
  Click(u"CommandReloadDD"_s);
  EXPECT_THAT(TakeMessages(), IsEmpty());
  ASSERT_EQ(list->count(), 1);
  EXPECT_EQ(list->itemText(0), u"Signal 3 lamps"_s);
  EXPECT_EQ(Find<QLabel>(u"lblDDVersion"_s)->text(), u"Signal 3 lamps"_s);
  // And loads back elsewhere with the same shape.
  Type(u"TextPAspOutput"_s, u"6"_s);
  Click(u"CommandPAspPreLoad"_s);
  for (int pin : {5, 6, 7}) {
    EXPECT_EQ(config().pins[pin].device_pointer, 5 - pin);
    EXPECT_EQ(config().pins[pin].aspects, config().pins[(pin + 25) % 32].aspects) << pin;
  }
  EXPECT_THAT(TakeMessages(), IsEmpty());
  fs::remove(file);
}

// The pin field marks a pin whose configuration differs from what the Tarn holds.
TEST_F(AspectEditorTest, PinFieldMarksAPinThatDiffersFromTheTarn) {
  LoadIntoTarn(ExampleFile());
  RunOperation(u"CommandReadAll"_s);
  auto* pin_field = Find<QLineEdit>(u"TextPAspOutput"_s);
  auto* mark = Find<QLabel>(u"LabelPAspDiffers"_s);
  EXPECT_EQ(pin_field->accessibleDescription(), u""_s);
  EXPECT_EQ(mark->text(), u""_s);
  Type(u"TextPAspOutput"_s, u"3"_s);
  const int count = Text(u"TextPaspDCCn"_s).toInt();
  Type(u"TextPaspDCCn"_s, QString::number((count + 1) % 7));
  EXPECT_EQ(pin_field->accessibleDescription(), u"differs from the Tarn"_s);
  EXPECT_FALSE(mark->text().isEmpty());
  EXPECT_EQ(mark->toolTip(), u"Differs from what the Tarn holds"_s);
  Type(u"TextPAspOutput"_s, u"4"_s);  // a pin left alone
  EXPECT_EQ(pin_field->accessibleDescription(), u""_s);
  EXPECT_EQ(mark->text(), u""_s);
  Type(u"TextPAspOutput"_s, u"3"_s);
  EXPECT_EQ(pin_field->accessibleDescription(), u"differs from the Tarn"_s);
  EXPECT_THAT(TakeMessages(), IsEmpty());
}

}  // namespace
}  // namespace tarn::testing

namespace tarn::testing {
namespace {

// A greyed field takes the button colour of whatever theme the desktop switches to, and an
// unused field turned used again inherits the theme's own field colour.
TEST_F(AspectEditorTest, GreyedFieldsFollowTheDesktopTheme) {
  window->Edit("Program", [this] {
    config().pins[0].aspect_layout = 3;
    config().pins[0].aspects[0].steps[0] = Step{.opcode = 102};  // "Wait": P.O. unused
  });
  window->ShowEverything();
  auto* field = Find<ui::NumberField>(u"TextPAspOffset_0"_s);
  ASSERT_TRUE(field->greyed());
  const QPalette light = QApplication::palette();
  QPalette dark = light;
  dark.setColor(QPalette::Button, QColor(40, 40, 40));
  dark.setColor(QPalette::Base, QColor(20, 20, 20));
  const auto theme = [field](QPalette::ColorRole role) {
    return QApplication::palette(field).color(role);
  };
  QApplication::setPalette(dark);
  QCoreApplication::processEvents();
  ASSERT_EQ(theme(QPalette::Button), QColor(40, 40, 40));
  EXPECT_EQ(field->palette().color(QPalette::Base), theme(QPalette::Button));
  Choose(0, "Set Level");
  EXPECT_FALSE(field->greyed());
  EXPECT_EQ(field->palette().color(QPalette::Base), theme(QPalette::Base));
  QApplication::setPalette(light);
  QCoreApplication::processEvents();
  EXPECT_EQ(field->palette().color(QPalette::Base), light.color(QPalette::Base));
}

}  // namespace
}  // namespace tarn::testing
