#ifndef TARN_TESTS_GUI_WINDOW_FIXTURE_H_
#define TARN_TESTS_GUI_WINDOW_FIXTURE_H_

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "operations/session.h"
#include "sim/manual_clock.h"
#include "sim/simulated_port.h"
#include "sim/simulated_tarn.h"
#include "support/forwarding_port.h"
#include "support/recording_prompter.h"
#include "ui/file_chooser.h"
#include "ui/main_window.h"
#include "ui/widgets/number_field.h"

namespace tarn::testing {

// Answers the window's file dialogs from a script; an empty script cancels.
class ScriptedFiles : public ui::FileChooser {
 public:
  std::optional<std::filesystem::path> Open(ui::FileKind, const QString& title,
                                            const QString& preset) override {
    return Answer(opens, title, preset);
  }
  std::optional<std::filesystem::path> Save(ui::FileKind, const QString& title,
                                            const QString& preset) override {
    return Answer(saves, title, preset);
  }

  std::deque<std::optional<std::filesystem::path>> opens;
  std::deque<std::optional<std::filesystem::path>> saves;
  std::vector<QString> asked;  // "title|preset" of every dialog in order

 private:
  std::optional<std::filesystem::path> Answer(
      std::deque<std::optional<std::filesystem::path>>& script, const QString& title,
      const QString& preset) {
    asked.push_back(title + QLatin1Char('|') + preset);
    if (script.empty()) return std::nullopt;
    std::optional<std::filesystem::path> answer = script.front();
    script.pop_front();
    return answer;
  }
};

// The simulated port, through which a test acts while the window waits for a reply: the real
// port's wait runs the event loop, where a screen reader's request or a posted event arrives.
class WaitingPort : public ForwardingPort {
 public:
  using ForwardingPort::ForwardingPort;

  // Runs at the next wait for a reply, once, then the events it posted.
  std::function<void()> during_next_wait;

  bool WaitForBytes(double deadline) override {
    if (const std::function<void()> run = std::exchange(during_next_wait, {})) {
      run();
      QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    return ForwardingPort::WaitForBytes(deadline);
  }
};

// A window size at which no tab needs to scroll.
inline constexpr QSize kRoomForEverything(1600, 1000);

// The repository's data folder, which holds the standard device library and the example.
inline std::filesystem::path DataFolder() { return std::filesystem::path(TARN_SOURCE_DIR) / "data"; }
inline std::filesystem::path ExampleFile() { return DataFolder() / "examples" / "nord_yard.dat"; }

// The real window on a simulated Tarn in simulated time, its messages recorded and its file
// dialogs scripted. The port is chosen as a user picks it from the list.
class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override { Start(DataFolder()); }

  void Start(const std::filesystem::path& program_folder, bool choose_port = true);

  // Puts a configuration file into the simulated Tarn with "Write All" over a link of its own.
  void LoadIntoTarn(const std::filesystem::path& file);
  // Runs `run` through the core on a line of its own to the same simulated Tarn, as tarnctl would.
  void OnOwnLine(Workspace& workspace, const std::function<void(Session&)>& run);

  template <typename Widget>
  Widget* Find(const QString& name) {
    Widget* widget = window->findChild<Widget*>(name);
    EXPECT_NE(widget, nullptr) << name.toStdString();
    return widget;
  }
  QAbstractButton* Button(const QString& name) { return Find<QAbstractButton>(name); }
  void Click(const QString& name);
  // Types into a field and leaves it with Enter, as a user commits an entry.
  void Type(const QString& name, const QString& text);
  QString Text(const QString& name) { return Find<QLineEdit>(name)->text(); }
  // Presses an operation button and runs the next tick, as Timer1 would.
  void RunOperation(const QString& button);

  std::vector<std::string> TakeMessages();

  sim::ManualClock clock;
  sim::SimulatedTarn tarn;
  sim::SimulatedPort port{tarn, clock};
  WaitingPort line{port};  // what the window talks through
  // The ports the window's list follows; the simulated port's own when none is set.
  PortCatalogue* catalogue = nullptr;
  RecordingPrompter prompter;
  ScriptedFiles files;
  std::unique_ptr<ui::MainWindow> window;
};

}  // namespace tarn::testing

#endif  // TARN_TESTS_GUI_WINDOW_FIXTURE_H_
