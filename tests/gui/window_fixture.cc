#include "gui/window_fixture.h"

#include "files/data_file.h"
#include "operations/flows.h"
#include "operations/session.h"

namespace tarn::testing {

void WindowTest::Start(const std::filesystem::path& program_folder, bool choose_port) {
  window.reset();
  window = std::make_unique<ui::MainWindow>(
      ui::WindowPlatform{.port = line,
                         .clock = clock,
                         .prompter = &prompter,
                         .files = &files,
                         .program_folder = program_folder,
                         .catalogue = catalogue != nullptr ? catalogue : &port});
  // Room for every tab without scrolling, so that a click lands on the control it is meant for.
  window->resize(kRoomForEverything);
  window->show();
  window->StartUp();
  if (choose_port) window->ChoosePort(QStringLiteral("1 sim"));
}

void WindowTest::LoadIntoTarn(const std::filesystem::path& file) {
  RecordingPrompter quiet;
  Workspace workspace;
  ASSERT_TRUE(LoadDataFile(file, workspace.config, quiet));
  OnOwnLine(workspace, [](Session& session) { ASSERT_TRUE(Flows(session).WriteAll()); });
}

void WindowTest::OnOwnLine(Workspace& workspace, const std::function<void(Session&)>& run) {
  RecordingPrompter quiet;
  sim::ManualClock own_clock;
  sim::SimulatedPort own_port(tarn, own_clock);
  Link link(own_port, own_clock, quiet);
  link.TakeOverModuleAddress(tarn.module_address());
  ASSERT_TRUE(link.SelectPort("1 sim"));
  SilentProgress progress;
  Session session(link, own_clock, quiet, progress, workspace);
  run(session);
}

void WindowTest::Click(const QString& name) {
  QAbstractButton* button = Button(name);
  ASSERT_NE(button, nullptr);
  ASSERT_TRUE(button->isVisibleTo(window.get())) << name.toStdString() << " is hidden";
  ASSERT_TRUE(button->isEnabled()) << name.toStdString() << " is disabled";
  QTest::mouseClick(button, Qt::LeftButton);
}

void WindowTest::Type(const QString& name, const QString& text) {
  auto* field = Find<QLineEdit>(name);
  ASSERT_NE(field, nullptr);
  ASSERT_TRUE(field->isVisibleTo(window.get())) << name.toStdString() << " is hidden";
  field->setFocus();
  field->selectAll();
  QTest::keyClicks(field, text);
  QTest::keyClick(field, Qt::Key_Return);
}

void WindowTest::RunOperation(const QString& button) {
  Click(button);
  window->Tick();
}

std::vector<std::string> WindowTest::TakeMessages() {
  std::vector<std::string> texts = prompter.Texts();
  prompter.messages.clear();
  return texts;
}

}  // namespace tarn::testing
