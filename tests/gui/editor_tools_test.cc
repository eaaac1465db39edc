#include "ui/editor_tools.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAbstractSlider>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QTabWidget>
#include <QTimer>
#include <functional>
#include <string>

#include "gui/window_fixture.h"
#include "model/aspect_layout.h"
#include "model/instruction_set.h"

namespace tarn::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr std::uint8_t kWait = 102;
constexpr std::uint8_t kMultibit3 = 13;
constexpr std::uint8_t kEventInput = 16;

void Press(QDialog& dialog, const char* button) {
  auto* control = dialog.findChild<QAbstractButton*>(QString::fromLatin1(button));
  ASSERT_NE(control, nullptr) << button;
  ASSERT_TRUE(control->isEnabled()) << button;
  QTest::mouseClick(control, Qt::LeftButton);
}

QString Field(QDialog& dialog, const char* name) {
  return dialog.findChild<QLineEdit*>(QString::fromLatin1(name))->text();
}

class EditorToolsTest : public WindowTest {
 protected:
  ui::EditorTools& tools() { return *window->findChild<ui::EditorTools*>(); }
  DeviceConfiguration& config() { return window->workspace().config; }
  Step& StepAt(int row) { return CurrentAspectRecord(config()).steps[row]; }

  // Puts `step` into row `row` of aspect 0 of pin 0, a pin of four aspects, as the user would.
  void SetStep(int row, const Step& step) {
    window->Edit("Set step", [&] {
      CurrentPinRecord(config()).aspect_layout = kLayoutFourAspects;
      StepAt(row) = step;
    });
  }

  // The next modal dialog is answered by `answer`; `name` is the dialog that must be open. The
  // dialog is closed afterwards if `answer` left it open, and `seen_` tells whether it appeared.
  void Answer(const QString& name, std::function<void(QDialog&)> answer) {
    seen_ = false;
    QTimer::singleShot(0, window.get(), [this, name, answer] {
      auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      EXPECT_EQ(dialog->objectName(), name);
      seen_ = true;
      answer(*dialog);
      if (dialog->isVisible()) dialog->reject();
    });
  }

  bool seen_ = false;
};

TEST_F(EditorToolsTest, PasteBeforeAnyCopySaysNothingToPasteAndStaysOpen) {
  const DeviceConfiguration before = config();
  struct Tool {
    QString dialog;
    const char* paste;
    std::function<bool()> open;
  };
  const Tool kTools[] = {
      {QStringLiteral("dlgEditPin"), "cmdPastePin", [this] { return tools().EditPin(); }},
      {QStringLiteral("dlgEditAspect"), "cmdPasteAspect", [this] { return tools().EditAspect(); }},
  };
  for (const Tool& tool : kTools) {
    for (int opening = 0; opening < 2; ++opening) {
      bool stayed_open = false;
      Answer(tool.dialog, [&](QDialog& dialog) {
        Press(dialog, tool.paste);
        stayed_open = dialog.isVisible();
        Press(dialog, "cmdCancel");
      });
      EXPECT_FALSE(tool.open());
      EXPECT_TRUE(seen_);
      EXPECT_TRUE(stayed_open) << tool.paste << " opening " << opening;
      EXPECT_THAT(TakeMessages(), ElementsAre("Nothing to Paste"));
    }
  }
  EXPECT_EQ(config(), before);
  EXPECT_FALSE(window->isWindowModified());
}

TEST_F(EditorToolsTest, PastedPinNamesTheSameHeadAndCanBeUndone) {
  window->Edit("Set pins", [this] {
    config().pins[1].device_name = "Signal";
    config().pins[3].device_pointer = -2;
    config().pins[3].description = "Lamp";
    config().current_pin = 3;
  });
  Answer(QStringLiteral("dlgEditPin"), [](QDialog& dialog) { Press(dialog, "cmdCopyPin"); });
  EXPECT_FALSE(tools().EditPin()) << "a copy changes nothing";

  window->Edit("Pin", [this] { config().current_pin = 10; });
  const PinRecord before = config().pins[10];
  Answer(QStringLiteral("dlgEditPin"), [](QDialog& dialog) { Press(dialog, "cmdPastePin"); });
  EXPECT_TRUE(tools().EditPin());
  EXPECT_EQ(config().pins[10].device_pointer, -9);
  EXPECT_EQ(config().pins[10].description, "Lamp");
  EXPECT_EQ(window->context().history.UndoText(), "Undo Paste Pin");
  window->Undo();
  EXPECT_EQ(config().pins[10], before);
  EXPECT_THAT(TakeMessages(), IsEmpty());
}

struct TimeCase {
  std::string what;
  std::function<void(QDialog&)> close;
  bool stored;
};
void PrintTo(const TimeCase& c, std::ostream* os) { *os << c.what; }

class TimeCalculatorTest : public EditorToolsTest,
                           public ::testing::WithParamInterface<TimeCase> {};

TEST_P(TimeCalculatorTest, DoubleClickedP3TakesSliderAndBaseOnlyWithOk) {
  const TimeCase& c = GetParam();
  SetStep(2, Step{.opcode = kWait, .p3 = 10, .p4 = 1});
  window->ShowEverything();
  Find<QTabWidget>(QStringLiteral("SSTab_Main"))->setCurrentIndex(2);
  QString time_text;
  QString max_time_text;
  Answer(QStringLiteral("dlgCT"), [&](QDialog& dialog) {
    dialog.findChild<QAbstractSlider*>(QStringLiteral("SliderCTTime"))->setValue(25);
    Press(dialog, "UpDownCTBase_up");
    time_text = dialog.findChild<QLabel*>(QStringLiteral("LabelCTTime"))->text();
    max_time_text = dialog.findChild<QLabel*>(QStringLiteral("LabelCTMaxTime"))->text();
    c.close(dialog);
  });
  QTest::mouseDClick(Find<QLineEdit>(QStringLiteral("TextPAspPar2_2")), Qt::LeftButton);
  EXPECT_TRUE(seen_);
  EXPECT_EQ(time_text, QStringLiteral("00:32.00"));
  EXPECT_EQ(max_time_text, QStringLiteral("01:20.64"));
  const Step expected = c.stored ? Step{.opcode = kWait, .p3 = 25, .p4 = 2}
                                 : Step{.opcode = kWait, .p3 = 10, .p4 = 1};
  EXPECT_EQ(StepAt(2), expected);
  // The row shows what the step holds: its fields and its time.
  EXPECT_EQ(Text(QStringLiteral("TextPAspPar2_2")), QString::number(expected.p3));
  EXPECT_EQ(Text(QStringLiteral("TextPAspPar3_2")), QString::number(expected.p4));
  EXPECT_EQ(Button(QStringLiteral("LabelPAspTime_2"))->text(),
            c.stored ? QStringLiteral("00:32.00") : QStringLiteral("00:01.60"));
  EXPECT_THAT(TakeMessages(), IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TimeCalculatorTest,
    ::testing::Values(
        TimeCase{"Ok", [](QDialog& dialog) { Press(dialog, "cmdOK"); }, true},
        TimeCase{"Enter", [](QDialog& dialog) { QTest::keyClick(&dialog, Qt::Key_Return); }, true},
        TimeCase{"Cancel", [](QDialog& dialog) { Press(dialog, "cmdCancel"); }, false},
        TimeCase{"Escape", [](QDialog& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); },
                 false}),
    [](const auto& test) { return test.param.what; });

struct PatternCase {
  std::string what;
  Step step;
  QString dialog;
  QString opened;       // "Parameter" when the dialog opens
  const char* click;    // a box to tick, or nothing
  bool ok;              // closed with "OK", else "Cancel"
  std::uint8_t stored;  // p2 afterwards
};
void PrintTo(const PatternCase& c, std::ostream* os) { *os << c.what; }

class PatternCalculatorTest : public EditorToolsTest,
                              public ::testing::WithParamInterface<PatternCase> {};

TEST_P(PatternCalculatorTest, OpensOnTheFieldAndStoresParameterOnlyWithOk) {
  const PatternCase& c = GetParam();
  SetStep(0, c.step);
  QString opened;
  Answer(c.dialog, [&](QDialog& dialog) {
    opened = Field(dialog, "txtParameter");
    if (c.click != nullptr) Press(dialog, c.click);
    Press(dialog, c.ok ? "cmdOK" : "cmdCancel");
  });
  const QString shown = QString::number(c.step.p2);
  EXPECT_EQ(tools().OpenHelpTool(0, HelpToolBox::kP2, shown), c.ok);
  EXPECT_TRUE(seen_);
  EXPECT_EQ(opened, c.opened);
  EXPECT_EQ(StepAt(0).p2, c.stored);
  EXPECT_THAT(TakeMessages(), IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PatternCalculatorTest,
    ::testing::Values(PatternCase{"AllDarkOnMultibit3", Step{.opcode = kMultibit3, .p2 = 5},
                                  QStringLiteral("dlgTarnCalcPattern"), QStringLiteral("5"),
                                  "chkAllDark", true, 37},
                      PatternCase{"OutputOnMultibit3", Step{.opcode = kMultibit3, .p2 = 5},
                                  QStringLiteral("dlgTarnCalcPattern"), QStringLiteral("5"),
                                  "chkUitgang_1", true, 7},
                      PatternCase{"BothDarkBitsOpenAsAllDark",
                                  Step{.opcode = kMultibit3, .p2 = 101},
                                  QStringLiteral("dlgTarnCalcPattern"), QStringLiteral("37"),
                                  nullptr, true, 37},
                      PatternCase{"CancelKeepsBothDarkBits", Step{.opcode = kMultibit3, .p2 = 101},
                                  QStringLiteral("dlgTarnCalcPattern"), QStringLiteral("37"),
                                  "chkNoDark", false, 101},
                      PatternCase{"EventOffOfInput1", Step{.opcode = kEventInput, .p2 = 5},
                                  QStringLiteral("dlgTarnCalcEventPattern"), QStringLiteral("82"),
                                  "optEvent_3", true, 50}),
    [](const auto& test) { return test.param.what; });

// Every instruction with a calculator opens it from each box it serves.
TEST_F(EditorToolsTest, EveryHelpToolCodeOpensItsCalculator) {
  for (const InstructionMenuEntry& entry : InstructionMenu()) {
    const InstructionDescriptor d = InstructionOf(entry.opcode);
    if (d.help_tool == kHelpToolNone) continue;
    const bool time = d.help_tool == kHelpToolTime;
    const QString dialog = time ? QStringLiteral("dlgCT")
                           : d.help_tool == kHelpToolEventPattern
                               ? QStringLiteral("dlgTarnCalcEventPattern")
                               : QStringLiteral("dlgTarnCalcPattern");
    SetStep(0, Step{entry.opcode});
    const std::vector<HelpToolBox> boxes =
        time ? std::vector{HelpToolBox::kP3, HelpToolBox::kP4, HelpToolBox::kStepTime}
             : std::vector{HelpToolBox::kP2};
    for (HelpToolBox box : boxes) {
      Answer(dialog, [](QDialog&) {});
      tools().OpenHelpTool(0, box, QStringLiteral("0"));
      EXPECT_TRUE(seen_) << d.name;
    }
  }
  EXPECT_THAT(TakeMessages(), IsEmpty());

  SetStep(0, Step{.opcode = 38});  // "Set Level" has none
  EXPECT_FALSE(tools().OpenHelpTool(0, HelpToolBox::kP2, QStringLiteral("20")));
  EXPECT_THAT(TakeMessages(),
              ElementsAre("Help tool not available for this box with the selected command"));
}

// A screen reader can name every control of every dialog.
TEST_F(EditorToolsTest, EveryControlOfTheDialogsHasAName) {
  std::vector<std::string> dialogs;
  std::vector<std::string> unnamed;
  for (QDialog* dialog : window->findChildren<QDialog*>()) {
    if (!dialog->objectName().startsWith(QStringLiteral("dlg"))) continue;
    dialogs.push_back(dialog->objectName().toStdString());
    for (QWidget* control : dialog->findChildren<QWidget*>()) {
      const bool speaks = qobject_cast<QAbstractButton*>(control) != nullptr ||
                          qobject_cast<QLineEdit*>(control) != nullptr ||
                          qobject_cast<QAbstractSlider*>(control) != nullptr;
      if (speaks && control->accessibleName().isEmpty())
        unnamed.push_back(control->objectName().toStdString());
    }
  }
  EXPECT_THAT(dialogs, ::testing::UnorderedElementsAre("dlgEditPin", "dlgEditAspect", "dlgEditStep",
                                                       "dlgTarnCalcLevel", "dlgTarnCalcPattern",
                                                       "dlgTarnCalcEventPattern", "dlgCT"));
  EXPECT_THAT(unnamed, IsEmpty());
}

}  // namespace
}  // namespace tarn::testing
