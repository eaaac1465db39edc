// What a screen reader hears: every control of the main window, on every tab and with every
// expert and detail control shown, has a control name and speaks a name of its own, and no two
// controls of a tab sound the same.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMap>
#include <QPlainTextEdit>
#include <QSet>
#include <QTabWidget>
#include <QTimer>

#include "gui/window_fixture.h"

namespace tarn::testing {
namespace {

bool IsControl(QWidget* widget) {
  return qobject_cast<QAbstractButton*>(widget) != nullptr ||
         qobject_cast<QLineEdit*>(widget) != nullptr || qobject_cast<QComboBox*>(widget) != nullptr ||
         qobject_cast<QAbstractSlider*>(widget) != nullptr ||
         qobject_cast<QPlainTextEdit*>(widget) != nullptr;
}

// The name the accessibility tree gives the widget.
QString Spoken(QWidget* widget) {
  QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
  return face == nullptr ? QString() : face->text(QAccessible::Name).trimmed();
}

// The line edit inside an editable combo box and the combo's own popup parts belong to it, and
// a scroll area's bars to the scroll area.
bool IsPartOfAnother(QWidget* widget) {
  for (QWidget* up = widget->parentWidget(); up != nullptr; up = up->parentWidget()) {
    if (qobject_cast<QComboBox*>(up) != nullptr || qobject_cast<QAbstractSlider*>(up) != nullptr ||
        up->objectName().endsWith(QLatin1String("container"))) {
      return true;
    }
  }
  return widget->objectName().startsWith(QLatin1String("qt_"));
}

TEST_F(WindowTest, EveryControlHasAControlNameAndASpokenName) {
  QAccessible::setActive(true);
  prompter.answers = {PromptAnswer::kYes};
  window->AskExpertMode();
  auto* details = Find<QCheckBox>(QStringLiteral("CheckPAspShowDetails"));
  if (!details->isChecked()) details->click();
  LoadIntoTarn(ExampleFile());
  RunOperation(QStringLiteral("CommandReadAll"));

  QStringList missing;
  QSet<QString> checked;
  auto* tabs = Find<QTabWidget>(QStringLiteral("SSTab_Main"));
  for (int tab = 0; tab < tabs->count(); ++tab) {
    tabs->setCurrentIndex(tab);
    QMap<QString, QStringList> heard;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
      if (!IsControl(widget) || !widget->isVisibleTo(window.get()) || IsPartOfAnother(widget)) {
        continue;
      }
      const QString where = QLatin1String(widget->metaObject()->className()) + QLatin1Char(' ') +
                            widget->objectName();
      checked.insert(where);
      if (widget->objectName().isEmpty()) missing.append(QStringLiteral("no control name: ") + where);
      if (Spoken(widget).isEmpty()) missing.append(QStringLiteral("speaks no name: ") + where);
      // Two controls that speak alike on one tab must at least be told apart by what they do.
      heard[Spoken(widget) + QLatin1Char('|') + widget->accessibleDescription()].append(where);
    }
    for (auto it = heard.cbegin(); it != heard.cend(); ++it) {
      if (it.value().size() > 1) {
        missing.append(QStringLiteral("alike: ") + it.value().join(QLatin1String(", ")));
      }
    }
  }
  EXPECT_GT(checked.size(), 250) << "the walk reached every tab";
  EXPECT_TRUE(missing.isEmpty()) << missing.join(QLatin1Char('\n')).toStdString();
}

// The accessibility "Toggle" action, what screen readers, switch access and voice control use on
// a box or an option, changes its state without a click. The program takes the change as the
// user's all the same: the model follows, and the change is an edit to undo.
TEST_F(WindowTest, AToggleThroughTheAccessibilityInterfaceChangesTheModel) {
  QAccessible::setActive(true);
  prompter.answers = {PromptAnswer::kYes};
  window->AskExpertMode();
  files.opens = {ExampleFile()};
  Click(QStringLiteral("CommandLoad"));
  TakeMessages();
  Find<QTabWidget>(QStringLiteral("SSTab_Main"))->setCurrentIndex(2);
  Workspace& w = window->workspace();
  DeviceConfiguration& config = w.config;
  // Step 7 of pin 1's first aspect fades; pin 3 has no program.
  window->Edit("set-up", [&] { config.pins[0].aspects[0].steps[7].opcode = 38; });
  window->ShowEverything();
  ASSERT_EQ(config.pins[2].aspect_layout, 0);
  const GeneralSettings& settings = config.general_settings;
  const GeneralSettings before = settings;
  const EventEnableMap map = w.enable_map;
  const auto pin_shown = [this](const char* pin) {
    Type(QStringLiteral("TextPAspOutput"), QString::fromLatin1(pin));
  };
  const struct {
    const char* control;
    std::function<void()> before;
    std::function<bool()> taken;
    bool edit = true;  // of the configuration, to undo; a link setting is none
  } cases[] = {
      {"CheckPAspFade_7", {}, [&] { return config.pins[0].aspects[0].steps[7].fade == 1; }},
      {"OptionPAspConf_1", [&] { pin_shown("3"); },
       [&] {
         return config.pins[2].aspect_layout == 3 &&
                Find<QWidget>(QStringLiteral("ComboPAspInst_8"))->isVisibleTo(window.get());
       }},
      {"CheckKLnumber",
       {},
       [&] {
         return NumberingBase(config) == 0 &&
                Text(QStringLiteral("TextPAspOutput")) == QStringLiteral("2");
       }},
      {"CheckTarnBD", {}, [&] { return !window->link().bidirectional(); }, false},
      {"CheckInitEE_5", {}, [&] { return w.enable_map.off[1] != map.off[1]; }},
      {"ChkGenDCCAllow0", {}, [&] { return settings.allow_address_0 != before.allow_address_0; }},
      {"CheckLCGreen_1",
       {},
       [&] { return (settings.green_led_mask ^ before.green_led_mask) == 0x02; }},
      {"ChkGenHWCSource_3",
       {},
       [&] { return settings.source_driver[3] != before.source_driver[3]; }},
      {"CheckGenXGM_9",
       {},
       [&] { return settings.extended_group_mask[9] != before.extended_group_mask[9]; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.control);
    if (c.before) c.before();
    auto* control = Find<QAbstractButton>(QString::fromLatin1(c.control));
    const bool was = control->isChecked();
    const QString undo = Find<QAction>(QStringLiteral("ActionUndo"))->text();
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(control);
    ASSERT_NE(face->actionInterface(), nullptr);
    ASSERT_TRUE(face->actionInterface()->actionNames().contains(
        QAccessibleActionInterface::toggleAction()));
    face->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_NE(control->isChecked(), was);
    EXPECT_TRUE(c.taken());
    EXPECT_EQ(Find<QAction>(QStringLiteral("ActionUndo"))->text() != undo, c.edit);
  }
  EXPECT_THAT(TakeMessages(), ::testing::IsEmpty());
}

// The pattern calculator's boxes, toggled so, make the parameter the step takes.
TEST_F(WindowTest, APatternCalculatorsBoxesToggledMakeTheParameter) {
  QAccessible::setActive(true);
  Find<QTabWidget>(QStringLiteral("SSTab_Main"))->setCurrentIndex(2);
  window->Edit("set-up", [this] {
    DeviceConfiguration& config = window->workspace().config;
    config.pins[0].aspect_layout = 3;
    config.pins[0].aspects[0].steps[0] = {.opcode = 13, .p2 = 5};  // "Multibit 3", +0 and +2
  });
  window->ShowEverything();
  QTimer::singleShot(0, window.get(), [] {
    QWidget* dialog = QApplication::activeModalWidget();
    ASSERT_NE(dialog, nullptr);
    for (const char* box : {"chkUitgang_1", "chkAllDark"}) {
      QAccessible::queryAccessibleInterface(dialog->findChild<QCheckBox*>(QString::fromLatin1(box)))
          ->actionInterface()
          ->doAction(QAccessibleActionInterface::toggleAction());
    }
    EXPECT_EQ(dialog->findChild<QLineEdit*>(QStringLiteral("txtParameter"))->text(),
              QStringLiteral("39"));
    QTest::mouseClick(dialog->findChild<QAbstractButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
  });
  auto* p2 = Find<QLineEdit>(QStringLiteral("TextPAspPar1_0"));
  p2->setFocus();
  QTest::keyClick(p2, Qt::Key_F1);
  EXPECT_EQ(window->workspace().config.pins[0].aspects[0].steps[0].p2, 39);
}

// A screen reader's press reaches what a double-click does on a caption: "Port:" shows the bit
// rates, the version label the response field.
TEST_F(WindowTest, AScreenReadersPressDoesWhatADoubleClickDoes) {
  QAccessible::setActive(true);
  const struct {
    const char* caption;
    const char* shown;
  } cases[] = {{"LabelPort", "FrameBitrate"}, {"Release", "TextResponse"}};
  for (const auto& c : cases) {
    QWidget* shown = Find<QWidget>(QString::fromLatin1(c.shown));
    ASSERT_FALSE(shown->isVisibleTo(window.get())) << c.shown;
    QAccessibleInterface* face =
        QAccessible::queryAccessibleInterface(Find<QWidget>(QString::fromLatin1(c.caption)));
    ASSERT_NE(face, nullptr);
    ASSERT_NE(face->actionInterface(), nullptr);
    face->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    // The press is animated: the click follows a moment later.
    EXPECT_TRUE(QTest::qWaitFor([&] { return shown->isVisibleTo(window.get()); }, 2000))
        << c.caption;
  }
  EXPECT_THAT(TakeMessages(), ::testing::IsEmpty());
}

}  // namespace
}  // namespace tarn::testing
