// The Layout window on a simulated bus of Tarns: Find Tarns, Back Up All, Check All, Restore, and
// a row made the Tarn the tabs work on by Enter, a double-click and a screen reader's press.

#include "ui/windows/layout_window.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAction>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <filesystem>

#include "files/data_file.h"
#include "gui/window_fixture.h"
#include "operations/flows.h"
#include "operations/layout_scan.h"
#include "sim/simulated_bus.h"

namespace tarn::testing {
namespace {

using ::testing::HasSubstr;

class LayoutWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const int module : {0, 5, 11}) bus.Add(static_cast<std::uint8_t>(module));
    bus.Add(9).InjectFault(sim::Fault::kBadChecksum, sim::kAlways);
    LoadExample(0);
    bus.Find(5)->memory().registers[sim::kIdStringRegister] = {'S', 'u', 'd'};
    window = std::make_unique<ui::MainWindow>(ui::WindowPlatform{.port = port,
                                                                 .clock = clock,
                                                                 .prompter = &prompter,
                                                                 .files = &files,
                                                                 .program_folder = DataFolder()});
    window->show();
    window->StartUp();
    window->ChoosePort(QStringLiteral("1 sim"));
    Find<QAction>(window.get(), QStringLiteral("ActionLayout"))->trigger();
    layout = window->findChild<ui::LayoutWindow*>(QStringLiteral("frmTarnLayout"));
    ASSERT_NE(layout, nullptr);
    table = Find<QTableWidget>(layout, QStringLiteral("GridLayoutTarns"));
  }
  void TearDown() override {
    window.reset();
    std::filesystem::remove_all(folder);
  }

  void LoadExample(int module) {
    RecordingPrompter quiet;
    Workspace workspace;
    ASSERT_TRUE(LoadDataFile(ExampleFile(), workspace.config, quiet));
    sim::ManualClock own_clock;
    sim::SimulatedPort own_port(bus, own_clock);
    Link link(own_port, own_clock, quiet);
    link.TakeOverModuleAddress(static_cast<std::uint8_t>(module));
    ASSERT_TRUE(link.SelectPort("1 sim"));
    SilentProgress progress;
    Session session(link, own_clock, quiet, progress, workspace);
    ASSERT_TRUE(Flows(session).WriteAll());
  }

  template <typename Widget>
  static Widget* Find(QObject* in, const QString& name) {
    Widget* widget = in->findChild<Widget*>(name);
    EXPECT_NE(widget, nullptr) << name.toStdString();
    return widget;
  }
  void Click(const QString& name) {
    auto* button = Find<QPushButton>(layout, name);
    ASSERT_TRUE(button->isEnabled()) << name.toStdString();
    QTest::mouseClick(button, Qt::LeftButton);
  }
  // The texts of a column, "|" between the rows.
  std::string Column(int column) const {
    QStringList texts;
    for (int row = 0; row < table->rowCount(); ++row) texts << table->item(row, column)->text();
    return texts.join(QLatin1Char('|')).toStdString();
  }
  QString Notes() const {
    return layout->findChild<QPlainTextEdit*>(QStringLiteral("txtLayoutNotes"))->toPlainText();
  }

  sim::ManualClock clock;
  sim::SimulatedBus bus;
  sim::SimulatedPort port{bus, clock};
  RecordingPrompter prompter;
  ScriptedFiles files;
  std::unique_ptr<ui::MainWindow> window;
  ui::LayoutWindow* layout = nullptr;
  QTableWidget* table = nullptr;
  std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("tarn_layout_window_" + std::to_string(getpid()));
};

TEST_F(LayoutWindowTest, FromTheScanToTheRowMadeCurrent) {
  QAccessible::setActive(true);
  // Every control names itself to a screen reader.
  for (QWidget* widget : layout->findChildren<QWidget*>()) {
    if (qobject_cast<QAbstractButton*>(widget) == nullptr &&
        qobject_cast<QLineEdit*>(widget) == nullptr &&
        qobject_cast<QAbstractItemView*>(widget) == nullptr) {
      continue;
    }
    if (!widget->isVisibleTo(layout) || qobject_cast<QAbstractItemView*>(widget->parentWidget())) {
      continue;  // the table's own header and scroll bars
    }
    EXPECT_FALSE(widget->objectName().isEmpty()) << widget->metaObject()->className();
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    EXPECT_FALSE(face->text(QAccessible::Name).isEmpty()) << widget->objectName().toStdString();
  }
  EXPECT_EQ(Find<QLineEdit>(layout, QStringLiteral("TextScanWait"))->text(), QStringLiteral("150"));

  Click(QStringLiteral("CommandFindTarns"));
  // Numbered as the link bar numbers them ("Start numbering at 1").
  EXPECT_EQ(Column(0), "1|6|12");
  EXPECT_EQ(Column(3), "Nord Yard 7|Sud|");
  EXPECT_EQ(Column(4), "found|found|found");
  EXPECT_THAT(Notes().toStdString(), HasSubstr("module 10: garbled answer"));
  EXPECT_TRUE(prompter.messages.empty()) << prompter.Texts().front();
  EXPECT_EQ(window->link().module_address(), 0) << "the scan leaves the link as it was";

  // Back Up All into a folder, then Check All after one Tarn changed.
  files.saves.push_back(folder);
  Click(QStringLiteral("CommandBackUpAll"));
  EXPECT_EQ(Column(4), "backed up|backed up|backed up");
  EXPECT_TRUE(std::filesystem::exists(folder / "tarn-05-Sud.dat"));
  bus.Find(5)->memory().registers[sim::kDccAddressRegister] = {45, 0};
  files.opens.push_back(folder);
  Click(QStringLiteral("CommandCheckAll"));
  EXPECT_EQ(Column(4), "matches|differs|matches");
  table->selectRow(1);
  EXPECT_THAT(Notes().toStdString(), HasSubstr("  DCC address: "));
  // Restore asks, then writes only what differs.
  Click(QStringLiteral("CommandRestore"));
  ASSERT_FALSE(prompter.messages.empty());
  EXPECT_THAT(prompter.messages.front().text, HasSubstr("Write the backup tarn-05-Sud.dat"));
  EXPECT_EQ(Column(4), "matches|restored|matches");

  // Enter on a row: module 11 (shown 12) in the link bar.
  auto* address = window->findChild<QLineEdit*>(QStringLiteral("TextAddress"));
  ASSERT_NE(address, nullptr);
  table->setFocus();
  table->setCurrentCell(2, 0);
  QTest::keyClick(table, Qt::Key_Return);
  EXPECT_EQ(window->link().module_address(), 11);
  EXPECT_EQ(address->text(), QStringLiteral("12"));
  EXPECT_FALSE(window->picture().known());

  // A double-click on a row.
  const QRect cell = table->visualRect(table->model()->index(1, 3));
  // As a mouse does it: the press of the first click, then the double-click.
  QTest::mousePress(table->viewport(), Qt::LeftButton, {}, cell.center());
  QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell.center());
  EXPECT_EQ(window->link().module_address(), 5);

  // "Make Current" for the selected row, which a screen reader presses (its press animates the
  // click that follows here at once).
  table->selectRow(0);
  auto* make_current = Find<QPushButton>(layout, QStringLiteral("CommandMakeCurrent"));
  QAccessibleInterface* button = QAccessible::queryAccessibleInterface(make_current);
  ASSERT_NE(button->actionInterface(), nullptr);
  EXPECT_TRUE(
      button->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
  make_current->click();
  EXPECT_EQ(window->link().module_address(), 0);
  EXPECT_EQ(address->text(), QStringLiteral("1"));
  // The tabs work on it: "Read All" reads the example from module 0.
  Find<QAbstractButton>(window.get(), QStringLiteral("CommandReadAll"))->click();
  window->Tick();
  EXPECT_EQ(window->workspace().config.general_settings.id_string, "Nord Yard 7");
}

}  // namespace
}  // namespace tarn::testing
