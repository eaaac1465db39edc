// What a screen reader hears: every control of the main window, on every tab and with every
// expert and detail control shown, and of every dialog, has a control name and speaks a name of
// its own; no two controls of a tab, a step row or a dialog sound the same.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QMap>
#include <QPlainTextEdit>
#include <QRegularExpression>
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

// What a screen reader says of the widget: the texts of the labels the accessibility tree
// relates to it, then its name. On Linux a list's name is its current entry, so its labels are
// what tell one list from another.
QString Spoken(QWidget* widget) {
  QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
  if (face == nullptr) return {};
  QStringList said;
  for (const auto& [label, relation] : face->relations(QAccessible::Label)) {
    said.append(label->text(QAccessible::Name).trimmed());
  }
  said.append(face->text(QAccessible::Name).trimmed());
  said.removeDuplicates();
  said.removeAll(QString());
  return said.join(QLatin1Char(' '));
}

// The line edit inside an editable combo box and the combo's own popup parts belong to it, and
// a scroll area's bars (in their containers) to the scroll area.
bool IsPartOfAnother(QWidget* widget) {
  for (QWidget* up = widget->parentWidget(); up != nullptr; up = up->parentWidget()) {
    if (qobject_cast<QComboBox*>(up) != nullptr || qobject_cast<QAbstractSlider*>(up) != nullptr ||
        up->objectName().endsWith(QLatin1String("container"))) {
      return true;
    }
  }
  return widget->objectName().startsWith(QLatin1String("qt_"));
}

// The controls of `owner` a screen reader meets.
QList<QWidget*> ControlsOf(QWidget* owner) {
  QList<QWidget*> controls;
  for (QWidget* widget : owner->findChildren<QWidget*>()) {
    if (IsControl(widget) && widget->isVisibleTo(owner) && !IsPartOfAnother(widget) &&
        widget->window() == owner->window()) {
      controls.append(widget);
    }
  }
  return controls;
}

QString Where(const QWidget* widget) {
  return QLatin1String(widget->metaObject()->className()) + QLatin1Char(' ') + widget->objectName();
}

// Every control has a control name and speaks a name, and no two of `group` sound the same; on
// a tab two may share a name when what they do (their description) tells them apart.
void CheckGroup(const QString& group, const QList<QWidget*>& controls, bool by_description,
                QStringList& missing) {
  QMap<QString, QStringList> heard;
  for (QWidget* widget : controls) {
    if (widget->objectName().isEmpty())
      missing.append(QStringLiteral("no control name: ") + Where(widget));
    if (Spoken(widget).isEmpty())
      missing.append(QStringLiteral("speaks no name: ") + Where(widget));
    const QString told =
        by_description ? QLatin1Char('|') + widget->accessibleDescription() : QString();
    heard[Spoken(widget) + told].append(Where(widget));
  }
  for (auto it = heard.cbegin(); it != heard.cend(); ++it) {
    if (it.value().size() > 1) {
      missing.append(group + QStringLiteral(": alike: ") + it.value().join(QLatin1String(", ")));
    }
  }
}

TEST_F(WindowTest, EveryControlOfEveryTabRowAndDialogSpeaksANameOfItsOwn) {
  QAccessible::setActive(true);
  prompter.answers = {PromptAnswer::kYes};
  window->AskExpertMode();
  auto* details = Find<QCheckBox>(QStringLiteral("CheckPAspShowDetails"));
  if (!details->isChecked()) details->click();
  LoadIntoTarn(ExampleFile());
  RunOperation(QStringLiteral("CommandReadAll"));
  // Nine rows that all hold "-": only their labels tell their lists apart.
  window->Edit("set-up", [this] {
    for (Step& step : window->workspace().config.pins[0].aspects[3].steps) step = Step{};
    window->workspace().config.current_aspect = 3;
  });
  window->ShowEverything();

  QStringList missing;
  QSet<QString> checked;
  auto* tabs = Find<QTabWidget>(QStringLiteral("SSTab_Main"));
  for (int tab = 0; tab < tabs->count(); ++tab) {
    tabs->setCurrentIndex(tab);
    const QList<QWidget*> controls = ControlsOf(window.get());
    for (QWidget* widget : controls) checked.insert(Where(widget));
    CheckGroup(tabs->tabText(tab), controls, true, missing);
  }
  EXPECT_GT(checked.size(), 250) << "the walk reached every tab";

  tabs->setCurrentIndex(2);
  for (int row = 0; row < 9; ++row) {
    QList<QWidget*> controls;
    const QRegularExpression of_row(QStringLiteral("_%1$").arg(row));
    for (QWidget* widget : ControlsOf(Find<QWidget>(QStringLiteral("AspDetails")))) {
      if (of_row.match(widget->objectName()).hasMatch()) controls.append(widget);
    }
    EXPECT_EQ(controls.size(), 7) << "row " << row;
    CheckGroup(QStringLiteral("step row %1").arg(row), controls, false, missing);
    // Its list's label is its own, not the title of the frame around all nine rows.
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(
        Find<QWidget>(QStringLiteral("ComboPAspInst_%1").arg(row)));
    QStringList labels;
    for (const auto& [label, relation] : list->relations(QAccessible::Label)) {
      labels.append(label->text(QAccessible::Name));
    }
    EXPECT_EQ(labels, QStringList{QStringLiteral("Step %1 Instruction").arg(row)});
  }

  // The dialogs and secondary windows, and the one made when "Save Device" asks for a name.
  int dialogs = 0;
  for (QWidget* window_of_its_own : window->findChildren<QWidget*>()) {
    if (!window_of_its_own->isWindow()) continue;
    ++dialogs;
    CheckGroup(window_of_its_own->objectName(), ControlsOf(window_of_its_own), false, missing);
  }
  EXPECT_GE(dialogs, 9);
  bool asked = false;
  QTimer::singleShot(0, window.get(), [&] {
    QWidget* dialog = QApplication::activeModalWidget();
    ASSERT_NE(dialog, nullptr);
    asked = dialog->objectName() == QStringLiteral("dlgDeviceName");
    CheckGroup(dialog->objectName(), ControlsOf(dialog), false, missing);
    static_cast<QDialog*>(dialog)->reject();
  });
  Type(QStringLiteral("TextPAspOutput"), QStringLiteral("10"));  // a pin of no device
  Click(QStringLiteral("CommandSaveDevice"));
  EXPECT_TRUE(asked);
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
