// The window on a laptop's screen: it opens within 1280 x 720 less a desktop's panels, its
// minimum fits a 1024 x 600 screen, and at either size every control of every tab lies whole
// within its tab's scroll area, none squeezed below what it needs.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QComboBox>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QWheelEvent>

#include "gui/window_fixture.h"

namespace tarn::testing {
namespace {

// 1280 x 720 and 1024 x 600 screens, less a desktop's panels and the window's frame.
constexpr QSize kLaptop(1240, 640);
constexpr QSize kSmallScreen(1000, 550);

// Lets the layouts that a resize or a change of tab asked for run.
void Settle() {
  for (int round = 0; round < 5; ++round) {
    QCoreApplication::sendPostedEvents();
    QApplication::processEvents();
  }
}

bool IsControl(QWidget* widget) {
  return qobject_cast<QAbstractButton*>(widget) != nullptr ||
         qobject_cast<QLineEdit*>(widget) != nullptr ||
         qobject_cast<QComboBox*>(widget) != nullptr ||
         qobject_cast<QAbstractSlider*>(widget) != nullptr;
}

// What a layout gives a control at least when there is room: its own minimum where it has one,
// otherwise what its style says it needs.
QSize Needs(const QWidget* widget) {
  const QSize hint = widget->minimumSizeHint();
  return QSize(widget->minimumWidth() > 0 ? widget->minimumWidth() : hint.width(),
               widget->minimumHeight() > 0 ? widget->minimumHeight() : hint.height())
      .boundedTo(widget->maximumSize());
}

TEST_F(WindowTest, EveryControlOfEveryTabCanBeReachedOnALaptopScreen) {
  prompter.answers = {PromptAnswer::kYes};
  window->AskExpertMode();
  LoadIntoTarn(ExampleFile());
  RunOperation(QStringLiteral("CommandReadAll"));
  TakeMessages();
  ASSERT_TRUE(Button(QStringLiteral("CheckPAspShowDetails"))->isChecked());

  EXPECT_LE(window->minimumSizeHint().width(), kSmallScreen.width());
  EXPECT_LE(window->minimumSizeHint().height(), kSmallScreen.height());
  auto* tabs = Find<QTabWidget>(QStringLiteral("SSTab_Main"));
  for (const QSize size : {kLaptop, kSmallScreen}) {
    window->resize(size);
    Settle();
    ASSERT_EQ(window->size(), size);
    for (int tab = 0; tab < tabs->count(); ++tab) {
      tabs->setCurrentIndex(tab);
      Settle();
      auto* area = qobject_cast<QScrollArea*>(tabs->currentWidget());
      ASSERT_NE(area, nullptr) << "tab " << tab;
      QWidget* page = area->widget();
      if (size == kLaptop) {
        EXPECT_FALSE(area->horizontalScrollBar()->isVisible())
            << page->objectName().toStdString() << " is wider than a laptop's screen";
      }
      int controls = 0;
      for (QWidget* widget : page->findChildren<QWidget*>()) {
        if (!IsControl(widget) || !widget->isVisibleTo(page)) continue;
        ++controls;
        const std::string name = page->objectName().toStdString() + " " +
                                 widget->objectName().toStdString() + " at " +
                                 std::to_string(size.width()) + "x" + std::to_string(size.height());
        const QRect place(widget->mapTo(page, QPoint(0, 0)), widget->size());
        EXPECT_TRUE(page->rect().contains(place)) << name << " lies outside the page";
        EXPECT_GE(widget->width(), Needs(widget).width()) << name << " is squeezed";
        EXPECT_GE(widget->height(), Needs(widget).height()) << name << " is squeezed";
      }
      EXPECT_GT(controls, 10) << "tab " << tab;
    }
  }

  // The wheel over a list the page scrolls past goes on to the page; it chooses an entry only in
  // a list that has the focus.
  auto* list = Find<QComboBox>(QStringLiteral("ComboPAspInst_0"));
  const int entry = list->currentIndex();
  const auto turn_wheel = [list] {
    QWheelEvent wheel(QPointF(5, 5), list->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(list, &wheel);
    return wheel.isAccepted();
  };
  EXPECT_FALSE(turn_wheel());
  EXPECT_EQ(list->currentIndex(), entry);
  list->setFocus();
  EXPECT_TRUE(turn_wheel());
  EXPECT_NE(list->currentIndex(), entry);

  // A new window opens no larger than the laptop's screen leaves room for.
  ui::MainWindow fresh({.port = line,
                        .clock = clock,
                        .prompter = &prompter,
                        .files = &files,
                        .program_folder = DataFolder()});
  EXPECT_LE(fresh.width(), kLaptop.width());
  EXPECT_LE(fresh.height(), kLaptop.height());
  EXPECT_GE(fresh.width(), fresh.minimumSizeHint().width());
}

}  // namespace
}  // namespace tarn::testing
