// "Write Changes", the marks of what differs from the Tarn, and undo and redo in the window.

#include "operations/write_changes.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <functional>

#include "gui/window_fixture.h"
#include "model/pin_clipboard.h"
#include "operations/flows.h"
#include "sim/direct_frame.h"
#include "support/simulated_line.h"
#include "ui/windows/verification_window.h"

namespace tarn::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

class WriteChangesWindowTest : public WindowTest {
 protected:
  // The Tarn holds the example and the window has read it whole.
  void ReadTheExample() {
    LoadIntoTarn(ExampleFile());
    RunOperation(QStringLiteral("CommandReadAll"));
    ASSERT_TRUE(window->picture().known());
    TakeMessages();
    MarkSent();
  }

  void MarkSent() { sent_before_ = port.written().size(); }

  // The payloads sent since MarkSent(), each cut to its command, pin, aspect and step.
  std::vector<Bytes> Sent() const {
    sim::DirectFrameDecoder decoder;
    std::vector<Bytes> sent;
    for (std::size_t i = sent_before_; i < port.written().size(); ++i) {
      const auto frame = decoder.Take(port.written()[i]);
      if (frame && !frame->values.empty()) {
        sent.emplace_back(frame->values.begin(),
                          frame->values.begin() + std::min<std::size_t>(4, frame->values.size()));
      }
    }
    return sent;
  }

  QString Summary() { return Find<QLabel>(QStringLiteral("LabelDifferences"))->text(); }
  QString TabTitle(int index) {
    return Find<QTabWidget>(QStringLiteral("SSTab_Main"))->tabText(index);
  }
  QAction* Action(const QString& name) { return Find<QAction>(name); }

  std::size_t sent_before_ = 0;
};

// Against each Tarn of the direct line: a write's answer empty or echoed, prompt or late.
class WriteChangesToEachTarnTest : public WriteChangesWindowTest,
                                   public ::testing::WithParamInterface<LineKind> {
 protected:
  void SetUp() override {
    tarn.set_choices(GetParam().choices);
    port.set_adapter_hold(GetParam().adapter_hold_seconds);
    WriteChangesWindowTest::SetUp();
  }
};

INSTANTIATE_TEST_SUITE_P(DirectTarns, WriteChangesToEachTarnTest,
                         ::testing::ValuesIn(DirectLineKinds()), LineKindName);

TEST_P(WriteChangesToEachTarnTest, OneChangedStepWritesOnlyItsAspectAndTheTarnThenVerifies) {
  ReadTheExample();
  EXPECT_EQ(Summary(), QStringLiteral("The Tarn holds what the window shows"));
  const PinRecord& pin = window->workspace().config.pins[0];
  ASSERT_EQ(pin.aspect_layout, 3) << "four aspects of nine steps";
  window->Edit("Set Level",
               [this] { ++window->workspace().config.pins[0].aspects[1].steps[0].p2; });
  EXPECT_EQ(Summary(), QStringLiteral("1 group differs from the Tarn"));
  EXPECT_EQ(TabTitle(2), QStringLiteral("Tarn Device Configuration \u2022"));
  EXPECT_EQ(Find<QTabWidget>(QStringLiteral("SSTab_Main"))->tabBar()->accessibleTabName(2),
            QStringLiteral("Tarn Device Configuration, differs from the Tarn"));
  EXPECT_EQ(TabTitle(0), QStringLiteral("General"));

  const int asked = tarn.replies_asked();
  Click(QStringLiteral("CommandWriteChanges"));
  std::vector<Bytes> steps;
  for (std::uint8_t step = 0; step < 9; ++step) steps.push_back({0x63, 0, 1, step});
  EXPECT_THAT(Sent(), ElementsAreArray(steps));
  EXPECT_EQ(tarn.replies_asked() - asked, 9);
  EXPECT_THAT(TakeMessages(), IsEmpty());
  EXPECT_EQ(Summary(), QStringLiteral("The Tarn holds what the window shows"));
  EXPECT_EQ(TabTitle(2), QStringLiteral("Tarn Device Configuration"));
  EXPECT_EQ(Action(QStringLiteral("ActionUndo"))->text(), QStringLiteral("Undo Set Level"))
      << "a write is no edit";

  RunOperation(QStringLiteral("CommandVerifyAll"));
  auto* report = window->findChild<ui::VerificationWindow*>(QStringLiteral("frmTarnVerification"));
  ASSERT_NE(report, nullptr);
  EXPECT_TRUE(report->text().endsWith(QStringLiteral("Verify OK"))) << report->text().toStdString();
  report->reject();

  // Taken back, the step differs again: the Tarn holds the new one.
  Action(QStringLiteral("ActionUndo"))->trigger();
  EXPECT_EQ(Summary(), QStringLiteral("1 group differs from the Tarn"));
  prompter.answers = {PromptAnswer::kOk};
  window->WriteChanges();
  window->WriteChanges();
  EXPECT_THAT(TakeMessages(), ElementsAre(std::string(kNothingToWrite)));
}

TEST_F(WriteChangesWindowTest, WithoutAPictureItAsksAndYesWritesAll) {
  LoadIntoTarn(ExampleFile());
  EXPECT_EQ(Summary(), QStringLiteral("What the Tarn holds is not known"));
  MarkSent();
  prompter.answers = {PromptAnswer::kNo};
  Click(QStringLiteral("CommandWriteChanges"));
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].text, kNoPictureQuestion);
  EXPECT_EQ(prompter.messages[0].buttons, PromptButtons::kYesNo);
  window->Tick();
  EXPECT_THAT(Sent(), IsEmpty()) << "No writes nothing";

  prompter.answers = {PromptAnswer::kYes};
  Action(QStringLiteral("ActionWriteChanges"))->trigger();
  EXPECT_EQ(window->context().scheduler.pending(), "WriteAll");
  window->Tick();
  EXPECT_TRUE(window->picture().known()) << "Write All that succeeded is a picture";
  EXPECT_EQ(tarn.memory().pins[0].aspect_layout, 0) << "the Tarn holds the window's start values";
}

// Another program changed the Tarn since the window read it whole. A read of a part brings the
// Tarn's values into the window; "Write Changes" right after sends nothing for it.
TEST_F(WriteChangesWindowTest, WriteChangesAfterAPartialReadSendsNothingOfIt) {
  ReadTheExample();
  prompter.answers = {PromptAnswer::kYes};
  window->AskExpertMode();
  TakeMessages();
  auto* tabs = Find<QTabWidget>(QStringLiteral("SSTab_Main"));
  const struct {
    const char* button;
    int tab;
    std::function<void(Workspace&)> change;
  } cases[] = {
      {"CommandReadPin", 2,
       [](Workspace& w) {
         ++w.config.pins[0].aspects[1].steps[0].p2;
         w.config.pins[0].initial_aspect = 3;
       }},
      {"CommandPAspReadPin", 2, [](Workspace& w) { ++w.config.pins[0].aspects[2].steps[1].p2; }},
      {"CommandReadAllPins", 2, [](Workspace& w) { w.config.pins[7].dcc_address_count = 3; }},
      // "Read Pin Config".
      {"CommandGetPinConfig_1", 2, [](Workspace& w) { w.config.pins[0].pin_config[3] ^= 1; }},
      {"CommandGenIDRead", 0,
       [](Workspace& w) { w.config.general_settings.id_string = "Other 1"; }},
      {"CommandGenDCCRead", 0, [](Workspace& w) { w.config.general_settings.dcc_address = 512; }},
      {"CommandGenAddrRead", 0,
       [](Workspace& w) { w.config.general_settings.extended_group_mask[3] ^= true; }},
      {"CommandLCRead", 0, [](Workspace& w) { w.config.general_settings.green_led_mask ^= 4; }},
      {"CommandGenHWCRead", 0,
       [](Workspace& w) { w.config.general_settings.sink_driver[2] ^= true; }},
      {"CommandGenSerialRead", 0,
       [](Workspace& w) { w.config.general_settings.serial_port_enable ^= true; }},
      {"CommandECInitRead", 1, [](Workspace& w) { w.enable_map.on[2] ^= true; }},
      {"CommandECReadSingle", 1, [](Workspace& w) { w.config.event_actions[0].off[1] = 9; }},
      {"CommandECRead", 1, [](Workspace& w) { w.config.event_actions[20].on[3] = 4; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.button);
    Workspace tarn_holds = window->workspace();
    c.change(tarn_holds);
    OnOwnLine(tarn_holds, [](Session& session) { ASSERT_TRUE(Flows(session).WriteAll()); });
    tabs->setCurrentIndex(c.tab);
    RunOperation(QString::fromLatin1(c.button));
    EXPECT_EQ(Summary(), QStringLiteral("The Tarn holds what the window shows"));
    EXPECT_THAT(TakeMessages(), IsEmpty());
    MarkSent();
    prompter.answers = {PromptAnswer::kOk};
    Click(QStringLiteral("CommandWriteChanges"));
    EXPECT_THAT(Sent(), IsEmpty());
    EXPECT_THAT(TakeMessages(), ElementsAre(std::string(kNothingToWrite)));
  }
}

// A number typed and not yet committed (the field still has the focus) takes part in whatever
// takes the whole model: "Write Changes" from the menu writes it, and closing asks to save it.
TEST_F(WriteChangesWindowTest, ANumberStillBeingTypedIsWrittenAndAskedAbout) {
  ReadTheExample();
  Find<QTabWidget>(QStringLiteral("SSTab_Main"))->setCurrentIndex(2);
  auto* field = Find<QLineEdit>(QStringLiteral("TextPAspPar1_0"));  // pin 0, aspect 0, step 0, p2
  field->setFocus();
  field->selectAll();
  QTest::keyClicks(field, QStringLiteral("21"));
  Action(QStringLiteral("ActionWriteChanges"))->trigger();
  EXPECT_EQ(window->workspace().config.pins[0].aspects[0].steps[0].p2, 21);
  EXPECT_EQ(tarn.memory().pins[0].steps[0][2], 21) << "the Tarn got what was typed";
  EXPECT_EQ(Summary(), QStringLiteral("The Tarn holds what the window shows"));
  EXPECT_TRUE(field->hasFocus()) << "the caret stays where the user typed";

  field->selectAll();
  QTest::keyClicks(field, QStringLiteral("22"));
  prompter.answers = {PromptAnswer::kCancel};
  EXPECT_FALSE(window->close());
  EXPECT_THAT(TakeMessages(), ElementsAre("Save changes to the configuration before closing?"));
  EXPECT_EQ(window->workspace().config.pins[0].aspects[0].steps[0].p2, 22);
}

// Confirming the address the link already uses (a click into the field, tabbing through it, a
// step at the end of the range) is no change of the Tarn talked to.
TEST_F(WriteChangesWindowTest, TheSameAddressAgainKeepsThePicture) {
  ReadTheExample();
  ASSERT_EQ(Text(QStringLiteral("TextAddress")), QStringLiteral("1"));  // the lowest, from 1
  Type(QStringLiteral("TextAddress"), QStringLiteral("1"));
  EXPECT_TRUE(window->picture().known());
  Click(QStringLiteral("UpDownAddress_down"));
  EXPECT_TRUE(window->picture().known()) << "already at the bottom";
  Type(QStringLiteral("TextAddress"), QStringLiteral("0"));
  EXPECT_EQ(Text(QStringLiteral("TextAddress")), QStringLiteral("1"));
  EXPECT_TRUE(window->picture().known()) << "clamped to the address held";
}

TEST_F(WriteChangesWindowTest, EveryChangeOfTheLinksTargetForgetsThePicture) {
  const struct {
    const char* name;
    std::function<void()> change;
  } cases[] = {
      {"port chosen again", [this] { window->ChoosePort(QStringLiteral("1 sim")); }},
      {"Refresh", [this] { Click(QStringLiteral("cmdRefreshComm")); }},
      {"bit rate", [this] { Button(QStringLiteral("OptionBitRate_2"))->click(); }},
      {"module address", [this] { Type(QStringLiteral("TextAddress"), QStringLiteral("2")); }},
      {"module address up", [this] { Click(QStringLiteral("UpDownAddress_up")); }},
      {"port gone",
       [this] {
         port.Vanish();
         window->PressOperation(Operation::kReadAll);
         window->Tick();
       }},
  };
  for (const auto& c : cases) {
    if (!window->link().port_open()) window->ChoosePort(QStringLiteral("1 sim"));
    Type(QStringLiteral("TextAddress"), QStringLiteral("0"));
    window->PressOperation(Operation::kWriteAll);
    window->Tick();
    ASSERT_TRUE(window->picture().known()) << c.name;
    c.change();
    EXPECT_FALSE(window->picture().known()) << c.name;
    EXPECT_EQ(Summary(), QStringLiteral("What the Tarn holds is not known")) << c.name;
    TakeMessages();
  }
}

// Ctrl+Z after Tab: the field the focus moved to has nothing of its own to undo, so the window's
// Undo runs, and Ctrl+Shift+Z its Redo. A field with typing of its own undoes that first.
TEST_F(WriteChangesWindowTest, CtrlZInAFieldWithNothingToUndoUndoesTheWindowsLastEdit) {
  files.opens = {ExampleFile()};
  Click(QStringLiteral("CommandLoad"));
  Find<QTabWidget>(QStringLiteral("SSTab_Main"))->setCurrentIndex(2);
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  const std::uint8_t& p2 = window->workspace().config.pins[0].aspects[0].steps[0].p2;
  const std::uint8_t loaded = p2;
  auto* field = Find<QLineEdit>(QStringLiteral("TextPAspPar1_0"));
  field->setFocus();
  field->selectAll();
  QTest::keyClicks(field, QStringLiteral("21"));
  QTest::keyClick(field, Qt::Key_Tab);
  ASSERT_EQ(p2, 21);
  auto* next = qobject_cast<QLineEdit*>(QApplication::focusWidget());
  ASSERT_NE(next, nullptr);
  ASSERT_NE(next, field);
  const QString shown = next->text();

  QTest::keyClick(next, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(p2, loaded);
  EXPECT_EQ(field->text(), QString::number(loaded));
  QTest::keyClick(next, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(p2, 21);

  QTest::keyClick(next, Qt::Key_End);
  QTest::keyClicks(next, QStringLiteral("7"));
  QTest::keyClick(next, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(next->text(), shown) << "the field's own typing";
  EXPECT_EQ(p2, 21) << "and nothing of the window's";
}

TEST_F(WriteChangesWindowTest, UndoAndRedoGiveBackEachWorkspaceExactly) {
  std::vector<Workspace> states = {window->workspace()};
  files.opens = {ExampleFile()};
  Click(QStringLiteral("CommandLoad"));
  // Through the widgets: pin 1 (numbered from 1) copied with "Edit Pin" and pasted onto pin 21,
  // then a step field of the pasted pin typed into.
  Find<QTabWidget>(QStringLiteral("SSTab_Main"))->setCurrentIndex(2);
  const auto use_pin_tool = [this](const char* tool) {
    QTimer::singleShot(0, window.get(), [this, tool] {
      QWidget* dialog = QApplication::activeModalWidget();
      ASSERT_NE(dialog, nullptr);
      QTest::mouseClick(dialog->findChild<QAbstractButton*>(QString::fromLatin1(tool)),
                        Qt::LeftButton);
    });
    Click(QStringLiteral("LabelPAspOutput"));
  };
  Type(QStringLiteral("TextPAspOutput"), QStringLiteral("1"));
  use_pin_tool("cmdCopyPin");
  Type(QStringLiteral("TextPAspOutput"), QStringLiteral("21"));
  // Choosing a pin is no edit: the loaded model, now showing pin 21, is what undo comes back to.
  states.push_back(window->workspace());
  use_pin_tool("cmdPastePin");
  EXPECT_EQ(window->workspace().config.pins[20].description,
            window->workspace().config.pins[0].description);
  EXPECT_EQ(Action(QStringLiteral("ActionUndo"))->text(), QStringLiteral("Undo Paste Pin"));
  states.push_back(window->workspace());
  ASSERT_NE(Text(QStringLiteral("TextPAspPar1_0")), QStringLiteral("21"));
  Type(QStringLiteral("TextPAspPar1_0"), QStringLiteral("21"));
  EXPECT_EQ(window->workspace().config.pins[20].aspects[0].steps[0].p2, 21);
  states.push_back(window->workspace());
  ASSERT_NE(states[1], states[0]);
  ASSERT_NE(states[2], states[1]);
  ASSERT_NE(states[3], states[2]);

  QAction* undo = Action(QStringLiteral("ActionUndo"));
  QAction* redo = Action(QStringLiteral("ActionRedo"));
  EXPECT_EQ(undo->shortcut(), QKeySequence(QKeySequence::Undo));
  EXPECT_EQ(redo->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+Z")));
  const char* const undo_texts[] = {"Undo Step 0 Level", "Undo Paste Pin", "Undo Load File"};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(undo->text(), QString::fromLatin1(undo_texts[i]));
    undo->trigger();
    EXPECT_EQ(window->workspace(), states[2 - i]) << "undo " << i;
  }
  EXPECT_FALSE(undo->isEnabled());
  EXPECT_EQ(redo->text(), QStringLiteral("Redo Load File"));
  for (int i = 1; i <= 3; ++i) {
    redo->trigger();
    EXPECT_EQ(window->workspace(), states[i]) << "redo " << i;
  }
  EXPECT_FALSE(redo->isEnabled());

  // The history keeps the last 200 edits.
  for (int i = 0; i < 205; ++i) {
    window->Edit("Set Level", [this, i] {
      window->workspace().config.pins[20].aspects[0].steps[0].p2 = static_cast<std::uint8_t>(i);
    });
  }
  int undone = 0;
  while (undo->isEnabled() && undone < 300) {
    undo->trigger();
    ++undone;
  }
  EXPECT_EQ(undone, 200);
}

}  // namespace
}  // namespace tarn::testing
