// Adapters come and go: the "Port:" list follows the system's catalogue, and a port pulled out
// under an operation or between operations ends it with one message and shows the port closed.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <vector>

#include "gui/window_fixture.h"
#include "ui/link_bar.h"

namespace tarn::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::StartsWith;

// A catalogue the test plugs adapters into and pulls them out of.
class FakeCatalogue : public PortCatalogue {
 public:
  std::vector<ListedPort> ListPorts() override { return ports; }
  std::vector<ListedPort> ports = {{1, "sim"}};
};

class PortListTest : public WindowTest {
 protected:
  QComboBox* Combo() { return Find<QComboBox>(QStringLiteral("ComboPort")); }
  QStringList Items() {
    QStringList items;
    for (int i = 0; i < Combo()->count(); ++i) items.append(Combo()->itemText(i));
    return items;
  }
  QString PortState() { return Find<QLabel>(QStringLiteral("LabelPortState"))->text(); }
  void Look() { window->findChild<ui::LinkBar*>()->LookAtPorts(); }
  // A pick in the drop-down list, as the keyboard or a screen reader makes it.
  void Pick(const QString& text) {
    const int index = Combo()->findText(text);
    ASSERT_GE(index, 0) << text.toStdString();
    Combo()->setCurrentIndex(index);
    emit Combo()->activated(index);
  }
};

TEST_F(PortListTest, TheListFollowsWhatIsPluggedIn) {
  FakeCatalogue fake;
  catalogue = &fake;
  Start(DataFolder());
  ASSERT_EQ(Items(), QStringList{QStringLiteral("1 sim")});
  const QString shown = Combo()->currentText();

  const struct {
    const char* name;
    std::vector<ListedPort> ports;
    QStringList items;
  } steps[] = {
      {"an adapter plugged in", {{1, "sim"}, {2, "/dev/ttyUSB7"}},
       {QStringLiteral("1 sim"), QStringLiteral("2 /dev/ttyUSB7")}},
      {"one before it moves the numbers", {{1, "/dev/ttyACM0"}, {2, "sim"}, {3, "/dev/ttyUSB7"}},
       {QStringLiteral("1 /dev/ttyACM0"), QStringLiteral("2 sim"), QStringLiteral("3 /dev/ttyUSB7")}},
      {"pulled out again", {{1, "sim"}}, {QStringLiteral("1 sim")}},
  };
  for (const auto& step : steps) {
    fake.ports = step.ports;
    Look();
    EXPECT_EQ(Items(), step.items) << step.name;
    EXPECT_EQ(Combo()->currentText(), shown) << step.name << ": the field keeps its port";
  }
  EXPECT_TRUE(window->link().port_open()) << "the open port stayed listed";
  EXPECT_THAT(TakeMessages(), IsEmpty());

  // The open port leaves the catalogue with its adapter: told once, closed, and back in the list
  // when it is plugged in again, where one pick opens it.
  fake.ports = {};
  Look();
  Look();
  EXPECT_THAT(TakeMessages(), ElementsAre(StartsWith("The serial port sim is gone")));
  EXPECT_FALSE(window->link().port_open());
  EXPECT_EQ(PortState(), QStringLiteral("Closed"));
  EXPECT_TRUE(Items().isEmpty());
  fake.ports = {{1, "sim"}};
  Look();
  Pick(QStringLiteral("1 sim"));
  EXPECT_TRUE(window->link().port_open());
  EXPECT_EQ(PortState(), QStringLiteral("Open"));
  EXPECT_THAT(TakeMessages(), IsEmpty());
}

// Under an operation or between operations, the adapter goes: one message naming the port, the
// port shown closed, and what the window knew of the Tarn forgotten, so that "Write Changes"
// cannot write against a Tarn that may have been swapped meanwhile.
TEST_F(PortListTest, APulledAdapterEndsTheOperationWithOneMessage) {
  LoadIntoTarn(ExampleFile());
  const struct {
    const char* name;
    const char* operation;  // nothing: between operations
  } cases[] = {
      {"during Read All", "CommandReadAll"},
      {"during Write All", "CommandWriteAll"},
      {"during Verify All", "CommandVerifyAll"},
      {"between operations", nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    RunOperation(QStringLiteral("CommandReadAll"));
    ASSERT_TRUE(window->picture().known()) << ::testing::PrintToString(TakeMessages());
    if (c.operation != nullptr) {
      const int pulled_at = tarn.replies_asked() + 40;
      port.VanishWhen([this, pulled_at] { return tarn.replies_asked() >= pulled_at; });
      RunOperation(QLatin1String(c.operation));
      // The report of a verification waits for its reader.
      if (auto* report = window->findChild<QDialog*>(QStringLiteral("frmTarnVerification"))) {
        report->reject();
      }
    } else {
      port.Vanish();
      Look();
    }
    EXPECT_THAT(TakeMessages(), ElementsAre(StartsWith("The serial port sim is gone")));
    EXPECT_FALSE(window->link().port_open());
    EXPECT_EQ(PortState(), QStringLiteral("Closed"));
    EXPECT_FALSE(window->picture().known());

    // Plugged in again: the list offers it, one pick opens it.
    port.ComeBack();
    Look();
    Pick(QStringLiteral("1 sim"));
    EXPECT_TRUE(window->link().port_open());
    EXPECT_THAT(TakeMessages(), IsEmpty());
  }
}

}  // namespace
}  // namespace tarn::testing
