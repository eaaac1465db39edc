#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QLabel>
#include <QProgressBar>
#include <QTabWidget>
#include <QTimer>
#include <QApplication>

#include "gui/window_fixture.h"

namespace tarn::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST_F(WindowTest, StartsUpWithThePortChosen) {
  EXPECT_TRUE(window->link().port_open());
  EXPECT_THAT(TakeMessages(), IsEmpty());
  EXPECT_EQ(window->windowTitle(), QStringLiteral("Tarn Config - untitled[*]"));
  EXPECT_FALSE(window->isWindowModified());
}

TEST_F(WindowTest, TheTestTabNeedsExpertMode) {
  auto* tabs = Find<QTabWidget>(QStringLiteral("SSTab_Main"));
  tabs->setCurrentIndex(1);
  tabs->setCurrentIndex(3);
  EXPECT_EQ(tabs->currentIndex(), 1) << "the previous tab comes back";
  EXPECT_THAT(TakeMessages(), ElementsAre("Sorry, This tab is disabled"));

  // A right click on the version label asks; Yes opens the tab, No closes it again.
  auto* release = Button(QStringLiteral("Release"));
  prompter.answers = {PromptAnswer::kYes};
  QTest::mouseClick(release, Qt::RightButton);
  EXPECT_TRUE(window->expert_mode());
  tabs->setCurrentIndex(3);
  EXPECT_EQ(tabs->currentIndex(), 3);
  prompter.answers = {PromptAnswer::kNo};
  QTest::mouseClick(release, Qt::RightButton);
  EXPECT_FALSE(window->expert_mode());
  EXPECT_THAT(TakeMessages(), ElementsAre("Expert Mode?", "Expert Mode?"));
}

TEST_F(WindowTest, ReadAllShowsProgressDisablesTheWindowAndStopKeepsWhatWasRead) {
  LoadIntoTarn(ExampleFile());
  auto* content = Find<QWidget>(QStringLiteral("Content"));
  auto* bar = Find<QProgressBar>(QStringLiteral("ProgressAction"));
  std::vector<QString> progress;
  bool disabled_while_busy = false;
  // The progress report lets the window take clicks; the third one is the user's "Stop".
  int reports = 0;
  QObject::connect(bar, &QProgressBar::valueChanged, bar, [&] {
    progress.push_back(bar->format());
    disabled_while_busy = !content->isEnabled();
    if (++reports == 20) {
      QTimer::singleShot(0, [&] { QTest::mouseClick(Button(QStringLiteral("CommandStop")), Qt::LeftButton); });
    }
  });
  RunOperation(QStringLiteral("CommandReadAll"));
  EXPECT_TRUE(disabled_while_busy);
  EXPECT_TRUE(content->isEnabled());
  EXPECT_FALSE(bar->isVisible());
  ASSERT_FALSE(progress.empty());
  EXPECT_THAT(TakeMessages(), ::testing::Contains("Stopped by the user."));
  // What was read before the stop stays.
  EXPECT_NE(window->workspace().firmware_version, "Unknown");
}

// Timer1 leaves a pressed operation waiting while a modal dialog is open in the middle of a slot.
TEST_F(WindowTest, AnOperationWaitsForAModalDialogToClose) {
  window->PressOperation(Operation::kReadAll);
  const int asked = tarn.replies_asked();
  bool ticked_inside = false;
  QTimer::singleShot(0, window.get(), [&] {
    auto* dialog = QApplication::activeModalWidget();
    ASSERT_NE(dialog, nullptr);
    window->Tick();
    ticked_inside = true;
    EXPECT_EQ(tarn.replies_asked(), asked) << "nothing was sent while the dialog was open";
    dialog->close();
  });
  QTest::mouseClick(Find<QWidget>(QStringLiteral("LabelPAspOutput")), Qt::LeftButton);
  EXPECT_TRUE(ticked_inside);
  window->Tick();
  EXPECT_GT(tarn.replies_asked(), asked) << "the read ran once the dialog was closed";
}

TEST_F(WindowTest, ClosingWithUnsavedEditsAsksAndCancelKeepsTheWindow) {
  window->Edit("Start numbering at 1", [this] { window->workspace().config.numbering_base = 0; });
  EXPECT_TRUE(window->isWindowModified());
  prompter.answers = {PromptAnswer::kCancel};
  EXPECT_FALSE(window->close());
  EXPECT_TRUE(window->isVisible());
  EXPECT_THAT(TakeMessages(), ElementsAre("Save changes to the configuration before closing?"));
  prompter.answers = {PromptAnswer::kNo};
  EXPECT_TRUE(window->close());
}

}  // namespace
}  // namespace tarn::testing
