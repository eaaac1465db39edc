// Does a step-field commit feel instant?
//
// Builds the real main window offscreen on a simulated Tarn, reads it, shows a pin of four aspects
// whose aspect holds nine steps of different instructions with "Show Details" on, then many times
// over types a value into one parameter field and presses Enter: the entry is clamped and stored
// through the core as one undoable edit, the row and its headings are shown again, the window
// compares the configuration with the picture it keeps of the Tarn (read just before) and marks
// what differs, and the pending paint is flushed. A second loop shows the
// whole aspect view again after each commit, as a pin or aspect change does. Prints the mean
// time of each as a ratio of one frame at 60 Hz (16.67 ms); under 0.2 leaves room to spare.

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTabWidget>
#include <chrono>
#include <cstdio>
#include <filesystem>

#include "bench/bench_support.h"
#include "model/aspect_layout.h"
#include "sim/manual_clock.h"
#include "sim/simulated_port.h"
#include "sim/simulated_tarn.h"
#include "ui/aspect_editor.h"
#include "ui/main_window.h"

namespace {

constexpr double kFrameMs = 1000.0 / 60.0;
constexpr int kWarmUp = 20;
constexpr int kRuns = 400;

class NoFiles : public tarn::ui::FileChooser {
 public:
  std::optional<std::filesystem::path> Open(tarn::ui::FileKind, const QString&,
                                            const QString&) override {
    return std::nullopt;
  }
  std::optional<std::filesystem::path> Save(tarn::ui::FileKind, const QString&,
                                            const QString&) override {
    return std::nullopt;
  }
};

// Nine steps that use every column, fades and times.
void FillAspect(tarn::DeviceConfiguration& config) {
  using tarn::Step;
  config.current_pin = 4;
  config.current_aspect = 1;
  tarn::PinRecord& pin = config.pins[4];
  pin.aspect_layout = tarn::kLayoutFourAspects;
  const Step steps[] = {{.opcode = 38, .fade = 1, .p1 = 1, .p2 = 20},
                        {.opcode = 96, .p1 = 127, .p2 = 31, .p3 = 9},
                        {.opcode = 102, .p3 = 25, .p4 = 1},
                        {.opcode = 13, .fade = 1, .p2 = 5},
                        {.opcode = 39, .fade = 1, .p2 = 64},
                        {.opcode = 5, .p2 = 200, .p3 = 10},
                        {.opcode = 18, .p1 = 3, .p2 = 10, .p3 = 7},
                        {.opcode = 104, .p1 = 2, .p2 = 0x7E},
                        {.opcode = 1, .p2 = 2, .p3 = 8}};
  for (int row = 0; row < 9; ++row) pin.aspects[1].steps[row] = steps[row];
}

void PressEnter(QWidget* field) {
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier);
  QApplication::sendEvent(field, &press);
  QApplication::sendEvent(field, &release);
}

// Mean milliseconds of `runs` calls of `once(i)`, after a few that are not counted.
template <typename Once>
double MeanMs(Once once) {
  for (int i = 0; i < kWarmUp; ++i) once(i);
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < kRuns; ++i) once(i);
  const std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - start;
  return spent.count() / kRuns;
}

}  // namespace

int main(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  tarn::sim::ManualClock clock;
  tarn::sim::SimulatedTarn tarn_device;
  tarn::sim::SimulatedPort port(tarn_device, clock);
  tarn::bench::NotingPrompter prompter;
  NoFiles files;
  tarn::ui::MainWindow window({.port = port,
                               .clock = clock,
                               .prompter = &prompter,
                               .files = &files,
                               .program_folder = std::filesystem::path(TARN_SOURCE_DIR) / "data"});
  window.resize(1280, 900);
  window.show();
  window.StartUp();
  window.ChoosePort(QStringLiteral("1 sim"));
  // A picture of the Tarn, so that every edit is compared with it as in a session at a Tarn.
  window.PressOperation(tarn::Operation::kReadAll);
  window.Tick();
  window.findChild<QTabWidget*>(QStringLiteral("SSTab_Main"))->setCurrentIndex(2);
  window.Edit("Program", [&window] { FillAspect(window.workspace().config); });
  window.ShowEverything();
  QApplication::processEvents();

  auto* field = window.findChild<QLineEdit*>(QStringLiteral("TextPAspPar1_4"));
  auto* editor = window.findChild<tarn::ui::AspectEditor*>();
  if (field == nullptr || editor == nullptr || !field->isVisible()) {
    std::fprintf(stderr, "editor_bench: the step rows are not shown\n");
    return 1;
  }
  field->setFocus();

  // Servo positions -10 and 10 in turn, so that every commit stores a change.
  const auto commit = [field](int i) {
    field->selectAll();
    field->insert(i % 2 == 0 ? QStringLiteral("-10") : QStringLiteral("10"));
    PressEnter(field);
    QApplication::processEvents();
  };
  const double commit_ms = MeanMs(commit);
  const double view_ms = MeanMs([&](int i) {
    commit(i);
    editor->ShowAspectView();
    QApplication::processEvents();
  });
  const int expected = 64 + ((kRuns - 1) % 2 == 0 ? -10 : 10);  // the last commit
  if (window.workspace().config.pins[4].aspects[1].steps[4].p2 != expected) {
    std::fprintf(stderr, "editor_bench: the commits did not reach the model\n");
    return 1;
  }
  std::printf("step-field commit and row refresh: %.3f ms, %.3f of a 60 Hz frame\n", commit_ms,
              commit_ms / kFrameMs);
  std::printf("commit and whole aspect view (9 rows): %.3f ms, %.3f of a 60 Hz frame\n", view_ms,
              view_ms / kFrameMs);
  return 0;
}
