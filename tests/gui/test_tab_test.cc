// The "Test" tab on the simulated Tarn: what each button puts on the line, and the monitor.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAccessible>
#include <QCheckBox>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTextBlock>
#include <QTimer>
#include <array>
#include <cstdint>
#include <vector>

#include "gui/window_fixture.h"
#include "ui/monitor_panel.h"

namespace tarn::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Payload = std::vector<std::uint8_t>;
using VeskFrame = std::array<std::uint8_t, 4>;

class TestTabTest : public WindowTest {
 protected:
  void SetUp() override {
    // A report at every poll, so that the monitor prints one line a tick.
    tarn.set_choices({.poll_reports = sim::PollReports::kEveryPoll});
    WindowTest::SetUp();
    // The prompter answers "Expert Mode?" with Yes.
    QTest::mouseClick(Button(QStringLiteral("Release")), Qt::RightButton);
    Find<QTabWidget>(QStringLiteral("SSTab_Main"))->setCurrentIndex(3);
    TakeMessages();
    // "Monitor" stops when it loses the focus, which only an active window hands around.
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  }

  ui::MonitorPanel* Monitor() { return Find<ui::MonitorPanel>(QStringLiteral("FrameMonitor")); }
  QPlainTextEdit* MonitorText() { return Find<QPlainTextEdit>(QStringLiteral("textFBM")); }
  bool Timer2Runs() { return Find<QTimer>(QStringLiteral("Timer2"))->isActive(); }
};

// Thirty-two frames, one for each pin, to the module whose first byte is `first`.
std::vector<VeskFrame> EveryPin(std::uint8_t first, std::uint8_t command, std::uint8_t value) {
  std::vector<VeskFrame> frames;
  for (std::uint8_t pin = 0; pin < 32; ++pin) frames.push_back({first, command, pin, value});
  return frames;
}

std::vector<Payload> EightOutputs(std::uint8_t aspect) {
  std::vector<Payload> payloads;
  for (std::uint8_t output = 0; output < 8; ++output) payloads.push_back({0, 1, output, aspect});
  return payloads;
}

TEST_F(TestTabTest, ButtonsPutTheirMessagesOnTheLine) {
  // Module address 2: "Clear All" and the others at the current address are told from those at 0
  // and 15. The first message, a Tarn one, resynchronises the link under the new address.
  tarn.set_module_address(2);
  window->link().TakeOverModuleAddress(2);
  const std::string refused =
      "VeskSend: Value out of range (0..127), value = 128; nothing was sent";
  const struct {
    const char* button;
    int presses;
    std::vector<std::pair<const char*, const char*>> typed;
    std::vector<const char*> ticked;
    std::vector<Payload> live;
    std::vector<VeskFrame> vesk;
    std::vector<std::string> messages;
  } cases[] = {
      {"CommandTarnSetAspect_2", 1, {{"TextTarnSendAspectOutput", "5"}}, {}, {{0, 1, 5, 2}}},
      {"CommandTarnSetAspect_4",
       3,
       {{"TextTarnSendAspectOutput", "9.4"}},
       {},
       {{0, 1, 9, 0}, {0, 1, 9, 1}, {0, 1, 9, 0}}},
      {"CommandTarnSetAspect_6", 1, {}, {}, EightOutputs(1)},
      {"CommandTarnSetAspect_5", 1, {}, {}, EightOutputs(0)},
      {"CmdSetMatrix_17", 1, {}, {"ChkMatrix_2", "ChkMatrix_9"}, {{0, 1, 2, 17}, {0, 1, 9, 17}}},
      {"CmdSetMatrix_3", 1, {}, {}, {}},
      {"Command_Clr_0", 1, {}, {}, {}, EveryPin(11, 8, 0)},
      {"Command_Clr_1", 1, {}, {}, {}, EveryPin(3, 8, 0)},
      {"Command_LT_0", 1, {}, {}, {}, EveryPin(11, 10, 30)},
      {"Command_LT_2", 1, {}, {}, {}, EveryPin(63, 10, 30)},
      {"CommandReset_0", 1, {}, {}, {}, {{11, 2, 0, 0}}},
      {"CommandReset_1", 1, {}, {}, {}, {{63, 2, 0, 0}}},
      {"CommandSendVesk",
       1,
       {{"TextVeskParameter_0", "10"},
        {"TextVeskParameter_1", "127"},
        {"TextVeskParameter_2", "6.5"}},
       {},
       {},
       {{11, 10, 127, 7}}},
      {"CommandSendVesk", 1, {{"TextVeskParameter_1", "128"}}, {}, {}, {}, {refused}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.button);
    for (const auto& [field, text] : c.typed)
      Type(QString::fromLatin1(field), QString::fromLatin1(text));
    for (QCheckBox* box :
         window->findChildren<QCheckBox*>(QRegularExpression(QStringLiteral("^ChkMatrix_")))) {
      box->setChecked(false);
    }
    for (const char* box : c.ticked) Click(QString::fromLatin1(box));
    const std::size_t live_before = tarn.live_messages().size();
    const std::size_t vesk_before = tarn.vesk_frames().size();
    for (int i = 0; i < c.presses; ++i) Click(QString::fromLatin1(c.button));
    EXPECT_EQ(std::vector<Payload>(tarn.live_messages().begin() + live_before,
                                   tarn.live_messages().end()),
              c.live);
    EXPECT_EQ(
        std::vector<VeskFrame>(tarn.vesk_frames().begin() + vesk_before, tarn.vesk_frames().end()),
        c.vesk);
    EXPECT_EQ(TakeMessages(), c.messages);
  }
  // A refused frame keeps what was typed.
  EXPECT_EQ(Text(QStringLiteral("TextVeskParameter_1")), QStringLiteral("128"));
  EXPECT_EQ(Text(QStringLiteral("TextVeskParameter_2")), QStringLiteral("6.5"));
}

TEST_F(TestTabTest, MonitorPrintsTheReportsUntilAnotherControlIsUsed) {
  Type(QStringLiteral("TextTarnSendAspectOutput"), QStringLiteral("5"));
  Click(QStringLiteral("CommandTarnSetAspect_2"));
  Click(QStringLiteral("CommandFBM_1"));
  Click(QStringLiteral("CommandFBM_1"));
  EXPECT_TRUE(Timer2Runs());
  Monitor()->Tick();
  // A tick while an exchange or another poll is out polls nothing; the monitor runs on after an
  // exchange that disabled the window meanwhile.
  const int asked = tarn.replies_asked();
  const auto tick = [&] {
    Monitor()->Tick();
    return true;
  };
  window->Exchange({}, tick);
  window->BackgroundExchange(tick);
  EXPECT_EQ(tarn.replies_asked(), asked);
  EXPECT_TRUE(Timer2Runs());
  Monitor()->Tick();

  Click(QStringLiteral("CommandFBM_2"));
  EXPECT_FALSE(Timer2Runs());
  Monitor()->Tick();
  EXPECT_EQ(MonitorText()->toPlainText().toStdString(),
            "Start Monitoring\n<1> <5> <2> <1> \n<1> <5> <2> <1> \nMonitoring Stopped");
  // Leaving a monitor that is not running says nothing.
  Click(QStringLiteral("CommandFBM_0"));
  EXPECT_TRUE(MonitorText()->toPlainText().isEmpty());
  EXPECT_THAT(TakeMessages(), IsEmpty());

  // A screen reader presses "Stop" without moving the focus: it stops all the same.
  Click(QStringLiteral("CommandFBM_1"));
  ASSERT_TRUE(Timer2Runs());
  Button(QStringLiteral("CommandFBM_2"))->click();
  EXPECT_FALSE(Timer2Runs());
  EXPECT_TRUE(MonitorText()->toPlainText().endsWith(QStringLiteral("Monitoring Stopped")));
  Click(QStringLiteral("CommandFBM_0"));

  window->ChoosePort(QString());
  Click(QStringLiteral("CommandFBM_1"));
  EXPECT_FALSE(Timer2Runs());
  EXPECT_TRUE(MonitorText()->toPlainText().isEmpty());
  EXPECT_THAT(TakeMessages(), ElementsAre("Select Comm-port"));
}

// While the monitor's poll waits for its reply, the window runs nothing a screen reader asks
// for: moving the focus to "Stop", pressing "Tarn SA1" or unticking "Bidirectional Comm." takes
// effect when the reply is in, after the poll's report.
TEST_F(TestTabTest, WhatAScreenReaderAsksWhileAPollWaitsRunsWhenTheReplyIsIn) {
  QAccessible::setActive(true);
  const auto act = [this](const char* control, const QString& action) {
    QAccessible::queryAccessibleInterface(Find<QWidget>(QString::fromLatin1(control)))
        ->actionInterface()
        ->doAction(action);
  };
  std::size_t live_before = 0;
  const struct {
    const char* name;
    std::function<void()> ask;
    std::function<bool()> done;
  } cases[] = {
      {"focus to Stop", [&] { act("CommandFBM_2", QAccessibleActionInterface::setFocusAction()); },
       [this] {
         return !Timer2Runs() && MonitorText()->toPlainText().endsWith(
                                     QStringLiteral("<0> <0> <0> <0> \nMonitoring Stopped"));
       }},
      // The press action clicks a moment later; the click is what arrives mid-wait.
      {"Tarn SA1", [this] { Button(QStringLiteral("CommandTarnSetAspect_1"))->click(); },
       [&] { return tarn.live_messages().size() == live_before + 1; }},
      {"Bidirectional Comm.",
       [&] { act("CheckTarnBD", QAccessibleActionInterface::toggleAction()); },
       [this] { return !window->link().bidirectional(); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Click(QStringLiteral("CommandFBM_1"));
    ASSERT_TRUE(Timer2Runs());
    live_before = tarn.live_messages().size();
    bool done_meanwhile = true;
    line.during_next_wait = [&] {
      c.ask();
      done_meanwhile = c.done();
    };
    Monitor()->Tick();
    EXPECT_FALSE(done_meanwhile);
    EXPECT_FALSE(c.done()) << "not even inside the exchange's own slot";
    QCoreApplication::processEvents();
    EXPECT_TRUE(c.done());
    EXPECT_THAT(TakeMessages(), IsEmpty());
  }

  // A live message leaves the tab as it is while it waits: nothing greys.
  act("CheckTarnBD", QAccessibleActionInterface::toggleAction());
  ASSERT_TRUE(window->link().bidirectional());
  bool waited_enabled = false;
  line.during_next_wait = [&] {
    waited_enabled = Find<QWidget>(QStringLiteral("Content"))->isEnabled() &&
                     Button(QStringLiteral("CommandTarnSetAspect_1"))->isEnabled();
  };
  Click(QStringLiteral("CommandTarnSetAspect_0"));
  EXPECT_TRUE(waited_enabled);
}

TEST_F(TestTabTest, MonitorTextKeepsTheLastLines) {
  Click(QStringLiteral("CommandFBM_1"));
  const int asked = tarn.replies_asked();
  for (int i = 0; i < ui::MonitorPanel::kMaxLines + 5; ++i) Monitor()->Tick();
  EXPECT_EQ(MonitorText()->blockCount(), ui::MonitorPanel::kMaxLines);
  EXPECT_EQ(MonitorText()->document()->firstBlock().text(), QStringLiteral("<0> <0> <0> <0> "));
  EXPECT_EQ(tarn.replies_asked() - asked, ui::MonitorPanel::kMaxLines + 5);
}

}  // namespace
}  // namespace tarn::testing
