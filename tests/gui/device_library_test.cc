#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QTabWidget>
#include <QTimer>
#include <fstream>

#include "gui/window_fixture.h"
#include "ui/text.h"

namespace tarn::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

class DeviceLibraryTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    ShowDeviceTab();
    folder_ = fs::temp_directory_path() /
              ("tarn_gui_" + std::to_string(QCoreApplication::applicationPid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  // A fresh window on the "Tarn Device Configuration" tab.
  void Restart() {
    Start(DataFolder());
    ShowDeviceTab();
  }
  void ShowDeviceTab() { Find<QTabWidget>(QStringLiteral("SSTab_Main"))->setCurrentIndex(2); }
  fs::path Write(const std::string& name, const std::string& text) {
    std::ofstream(folder_ / name, std::ios::binary) << text;
    return folder_ / name;
  }
  QComboBox* List() { return Find<QComboBox>(QStringLiteral("cboDevice")); }
  QString Version() { return Find<QLabel>(QStringLiteral("lblDDVersion"))->text(); }
  void Pick(const char* name) {
    List()->setCurrentIndex(List()->findText(QString::fromLatin1(name)));
  }
  void Reload(std::optional<fs::path> file, Qt::KeyboardModifiers keys = Qt::NoModifier) {
    files.opens.push_back(std::move(file));
    QTest::mouseClick(Button(QStringLiteral("CommandReloadDD")), Qt::LeftButton, keys);
  }
  // The pin the editor shows (its pin field is the editor's to test).
  void SetPin(int pin) { window->workspace().config.current_pin = static_cast<std::uint8_t>(pin); }
  void LoadOnPin(const char* name, int pin) {
    SetPin(pin);
    Pick(name);
    Click(QStringLiteral("CommandPAspPreLoad"));
  }

  // Answers the device name dialogs in the order they come; nullopt cancels one.
  void AnswerNameDialogs(std::deque<std::optional<QString>> answers) {
    name_answers_ = std::move(answers);
    AnswerNextNameDialog(kTries);
  }
  void AnswerNextNameDialog(int tries) {
    QTimer::singleShot(0, window.get(), [this, tries] {
      auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr || dialog->objectName() != QStringLiteral("dlgDeviceName")) {
        if (tries > 0) AnswerNextNameDialog(tries - 1);
        return;
      }
      names_asked_.push_back(dialog->accessibleName());
      const std::optional<QString> name = name_answers_.front();
      name_answers_.pop_front();
      if (!name_answers_.empty()) AnswerNextNameDialog(kTries);
      if (!name) return dialog->reject();
      auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("TextDeviceName"));
      field->selectAll();
      field->insert(*name);  // as typed; key clicks cannot carry a snowman
      QTest::keyClick(field, Qt::Key_Return);
    });
  }

  static constexpr int kTries = 100;
  fs::path folder_;
  std::deque<std::optional<QString>> name_answers_;
  std::vector<QString> names_asked_;
};

TEST_F(DeviceLibraryTest, LoadsAStandardDeviceOntoTheCurrentPinAndThePinsAfterIt) {
  EXPECT_EQ(Version(), QStringLiteral("Standard devices 1.0"));
  EXPECT_EQ(List()->count(), 9);
  const struct {
    const char* device;
    int pin;
    std::vector<int> pins;  // head first
  } cases[] = {
      {"Signal 3 lamps", 30, {30, 31, 0}},
      {"Signal 4 lamps", 2, {2, 3, 4, 5}},
      {"Street light", 31, {31}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.device);
    Restart();
    const DeviceConfiguration before = window->workspace().config;
    LoadOnPin(c.device, c.pin);
    const DeviceConfiguration& config = window->workspace().config;
    EXPECT_EQ(config.pins[c.pin].device_name, c.device);
    for (const int pin : c.pins) {
      EXPECT_EQ(config.pins[pin].device_pointer, c.pin - pin) << pin;
      EXPECT_FALSE(config.pins[pin].description.empty()) << pin;
    }
    const int after = (c.pins.back() + 1) % 32;
    EXPECT_EQ(config.pins[after], before.pins[after]) << "the pin after the device";
    EXPECT_TRUE(window->isWindowModified());
    EXPECT_THAT(TakeMessages(), IsEmpty());
  }
}

TEST_F(DeviceLibraryTest, SavedDevicesAreListedByReloadAndShiftAppends) {
  const struct {
    const char* what;
    const char* loaded;                        // a library device put on pin 4 first, or none
    std::deque<std::optional<QString>> names;  // the answers to dlgDeviceName
    const char* listed;  // what Reload DD then lists; nullptr: nothing was written
    std::vector<std::string> messages;
  } cases[] = {
      {"a device with its name", "Signal 2 lamps", {}, "Signal 2 lamps", {}},
      {"a pin without a name is named first",
       nullptr,
       {QStringLiteral("Yard lamp")},
       "Yard lamp",
       {}},
      {"a name Windows-1252 cannot hold is asked again",
       nullptr,
       {QStringLiteral("Lamp \u2603"), QStringLiteral("Lamp")},
       "Lamp",
       {ui::CannotStoreText(QStringLiteral("Device Name"), QStringLiteral("Lamp \u2603"))}},
      {"cancelled naming saves nothing", nullptr, {std::nullopt}, nullptr, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Restart();
    if (c.loaded != nullptr) LoadOnPin(c.loaded, 4);
    SetPin(4);
    const fs::path file = folder_ / "mine.def";
    fs::remove(file);
    files.saves = {file};
    files.asked.clear();
    names_asked_.clear();
    if (!c.names.empty()) AnswerNameDialogs(c.names);
    Click(QStringLiteral("CommandSaveDevice"));
    EXPECT_EQ(names_asked_.size(), c.names.size());
    for (const QString& asked : names_asked_) EXPECT_EQ(asked, QStringLiteral("Device Name"));
    EXPECT_THAT(TakeMessages(), ::testing::ContainerEq(c.messages));
    if (c.listed == nullptr) {
      EXPECT_FALSE(fs::exists(file));
      EXPECT_THAT(files.asked, IsEmpty()) << "no file dialog after a cancelled name";
      EXPECT_EQ(window->workspace().config.pins[4].device_name, "");
      continue;
    }
    EXPECT_THAT(files.asked, ElementsAre(QStringLiteral("Save Device|")));
    EXPECT_EQ(window->workspace().config.pins[4].device_name, c.listed);

    Reload(file);
    ASSERT_EQ(List()->count(), 1);
    EXPECT_EQ(List()->itemText(0), QString::fromLatin1(c.listed));
    EXPECT_EQ(Version(), QString::fromLatin1(c.listed));
    Reload(DataFolder() / "TarnDevices.def", Qt::ShiftModifier);
    EXPECT_EQ(List()->count(), 10);
    EXPECT_EQ(Version(), QString::fromLatin1(c.listed) + QStringLiteral(" + Standard devices 1.0"));
    EXPECT_EQ(List()->currentIndex(), 0) << "appending keeps the pick";
    // The saved device loads back from its own file.
    SetPin(9);
    Click(QStringLiteral("CommandPAspPreLoad"));
    EXPECT_EQ(window->workspace().config.pins[9].device_name, c.listed);
    EXPECT_THAT(TakeMessages(), IsEmpty());
  }
}

TEST_F(DeviceLibraryTest, ReloadAppendsOnlyWithShiftAloneOnTheLeftButton) {
  const fs::path small = Write("small.def",
                               "\"TarnDeviceDefinitions Small 2\"\r\n\"Dev\",\"a\"\r\n"
                               "\"Dev\",\"b\"\r\n\"End\"\r\n");
  const struct {
    Qt::MouseButton button;
    Qt::KeyboardModifiers keys;
    std::optional<fs::path> chosen;
    int count;
    const char* version;
    std::vector<std::string> messages;
  } cases[] = {
      {Qt::LeftButton, Qt::NoModifier, small, 2, "Small 2", {}},
      {Qt::LeftButton, Qt::ShiftModifier, small, 11, "Standard devices 1.0 + Small 2", {}},
      {Qt::LeftButton, Qt::ShiftModifier | Qt::ControlModifier, small, 2, "Small 2", {}},
      {Qt::LeftButton, Qt::AltModifier, small, 2, "Small 2", {}},
      {Qt::LeftButton,
       Qt::NoModifier,
       std::nullopt,
       9,
       "Standard devices 1.0",
       {"No Device Configuration file selected"}},
      {Qt::RightButton, Qt::ShiftModifier, small, 9, "Standard devices 1.0", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.count) + " " + c.version);
    Restart();
    files.opens = {c.chosen};
    QTest::mouseClick(Button(QStringLiteral("CommandReloadDD")), c.button, c.keys);
    EXPECT_EQ(List()->count(), c.count);
    EXPECT_EQ(Version(), QString::fromLatin1(c.version));
    EXPECT_EQ(files.opens.empty(), c.button == Qt::LeftButton) << "only the left button asks";
    EXPECT_THAT(TakeMessages(), ::testing::ContainerEq(c.messages));
  }
}

TEST_F(DeviceLibraryTest, LoadDeviceThatFindsNothingChangesNothing) {
  const std::string header = "\"TarnDeviceDefinitions Mine\"\r\n";
  const std::string device = "\"Dev\",\"Lamp\"\r\n  \"Pin\",0,0,0,\"Lamp\"\r\n";
  const struct {
    const char* what;
    std::string listed;   // the library as Reload DD read it
    std::string on_disk;  // the same file when Load Device reads it; empty: removed
    const char* message;
  } cases[] = {
      {"device renamed", header + device + "\"End\"\r\n",
       header + "\"Dev\",\"Lamp 2\"\r\n\"End\"\r\n", "No match found"},
      {"file removed", header + device + "\"End\"\r\n", "", "No match found"},
      {"header overwritten", header + device + "\"End\"\r\n", "\"TarnConfiguration 3100\"\r\n",
       "No match found"},
      {"an empty list", header + "\"End\"\r\n", header + "\"End\"\r\n",
       "Select Devicename to load"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Restart();
    Reload(Write("mine.def", c.listed));
    if (c.on_disk.empty()) {
      fs::remove(folder_ / "mine.def");
    } else {
      Write("mine.def", c.on_disk);
    }
    SetPin(7);
    const Workspace before = window->workspace();
    Click(QStringLiteral("CommandPAspPreLoad"));
    EXPECT_THAT(TakeMessages(), ElementsAre(c.message));
    EXPECT_EQ(window->workspace(), before);
    EXPECT_FALSE(window->isWindowModified()) << "no undo step for a load that did nothing";
  }
}

}  // namespace
}  // namespace tarn::testing
