// What a screen reader hears: every control of the main window, on every tab and with every
// expert and detail control shown, has a control name and speaks a name of its own, and no two
// controls of a tab sound the same.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QMap>
#include <QSet>
#include <QTabWidget>

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
