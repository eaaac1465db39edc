// How fast does the desktop program start, and how much processor time does it take while it
// waits and while the traffic monitor runs?
//
// The window is tarnconfig's: the real MainWindow on the real QSerialPort, built as main() builds
// it, with the standard device library; the platform is offscreen unless QT_QPA_PLATFORM names
// another.
//
//  1. Start-up: this program started again with --start-up, from the moment it is started until
//     its window has painted for the first time (the median of five starts).
//  2. Idle: the window on `tarnctl simulate --pace` at 19200 baud over a pseudo-terminal, filled by
//     "Read All", then ten seconds of the event loop with nothing to do but look at the system's
//     port catalogue every second: CPU time over wall time.
//  3. Monitoring: expert mode, the "Test" tab, a click on "Monitor", and ten seconds of the event
//     loop while the monitor polls the Tarn: CPU time over wall time, and the reports it printed.

#include <time.h>

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "platform/event_loop_clock.h"
#include "platform/qt_serial_port.h"
#include "ui/main_window.h"

namespace {

constexpr int kStarts = 5;
constexpr int kSettleMilliseconds = 1000;
constexpr int kMeasureMilliseconds = 10'000;
constexpr int kBitsPerSecond = 19200;

double MonotonicSeconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// Answers questions with Yes ("Expert Mode?") and prints every message, so that a failure shows.
class YesPrompter : public tarn::Prompter {
 public:
  tarn::PromptAnswer Show(std::string_view text, tarn::PromptIcon,
                          tarn::PromptButtons buttons) override {
    std::fprintf(stderr, "message: %.*s\n", static_cast<int>(text.size()), text.data());
    return buttons == tarn::PromptButtons::kYesNo || buttons == tarn::PromptButtons::kYesNoCancel
               ? tarn::PromptAnswer::kYes
               : tarn::PromptAnswer::kOk;
  }
};

// tarnconfig's window and what it runs on, as main() makes them.
struct Program {
  explicit Program(tarn::Prompter* prompter)
      : port(clock),
        window({.port = port,
                .clock = clock,
                .prompter = prompter,
                .program_folder = std::filesystem::path(TARN_SOURCE_DIR) / "data",
                .qt_port = &port,
                .catalogue = &port}) {}

  tarn::EventLoopClock clock;
  tarn::QtSerialPort port;
  tarn::ui::MainWindow window;
};

// Calls `done` once, when `widget` has painted for the first time.
class FirstPaint : public QObject {
 public:
  FirstPaint(QWidget& widget, std::function<void()> done) : done_(std::move(done)) {
    widget.installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && done_) {
      // After the paint event has been handled, not before.
      QTimer::singleShot(0, this, std::exchange(done_, {}));
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  std::function<void()> done_;
};

// --start-up: shows the window and prints the monotonic time of its first paint.
int StartUpChild() {
  Program program(nullptr);
  FirstPaint first_paint(program.window, [] {
    std::printf("%.6f\n", MonotonicSeconds());
    std::fflush(stdout);
    QApplication::quit();
  });
  program.window.show();
  program.window.StartUp();
  return QApplication::exec();
}

// Seconds from starting this program again to its window's first paint; the median of kStarts.
double StartUpSeconds(const QString& self) {
  std::vector<double> seconds;
  for (int i = 0; i < kStarts; ++i) {
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const double started = MonotonicSeconds();
    child.start(self, {QStringLiteral("--start-up")});
    if (!child.waitForFinished(30'000) || child.exitCode() != 0) return -1;
    bool number = false;
    const double painted = QString::fromLatin1(child.readAllStandardOutput()).trimmed().toDouble(&number);
    if (!number) return -1;
    seconds.push_back(painted - started);
  }
  std::sort(seconds.begin(), seconds.end());
  return seconds[seconds.size() / 2];
}

// Runs the event loop until `done` or `limit_ms` has passed; true when `done`.
bool RunUntil(const std::function<bool()>& done, int limit_ms) {
  QElapsedTimer elapsed;
  elapsed.start();
  while (!done()) {
    if (elapsed.elapsed() > limit_ms) return false;
    QTest::qWait(50);
  }
  return true;
}

struct Load {
  double cpu = 0;
  double wall = 0;
  double Ratio() const { return cpu / wall; }
};

// The event loop for `milliseconds`, with nothing but the window's own timers.
Load RunEventLoop(int milliseconds) {
  QEventLoop loop;
  QTimer::singleShot(milliseconds, Qt::PreciseTimer, &loop, &QEventLoop::quit);
  const double cpu_start = tarn::bench::CpuSeconds();
  const auto wall_start = std::chrono::steady_clock::now();
  loop.exec();
  return {tarn::bench::CpuSeconds() - cpu_start,
          std::chrono::duration<double>(std::chrono::steady_clock::now() - wall_start).count()};
}

template <typename Widget>
Widget* Find(tarn::ui::MainWindow& window, const char* name) {
  auto* widget = window.findChild<Widget*>(QString::fromLatin1(name));
  if (widget == nullptr) std::fprintf(stderr, "the window has no %s\n", name);
  return widget;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  if (argc == 2 && std::string(argv[1]) == "--start-up") return StartUpChild();

  const double start_up = StartUpSeconds(QApplication::applicationFilePath());
  if (start_up < 0) {
    std::fprintf(stderr, "the window did not start\n");
    return 1;
  }
  std::printf("start-up to the first painted window: %.3f s (median of %d starts)\n", start_up,
              kStarts);

  QTemporaryDir directory;
  const QString link_path = directory.filePath(QStringLiteral("tarn"));
  QProcess simulator;
  simulator.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  simulator.start(QStringLiteral(TARNCTL_PATH),
                  {QStringLiteral("simulate"), QStringLiteral("--pace"), QStringLiteral("--baud"),
                   QString::number(kBitsPerSecond), QStringLiteral("--load"),
                   QStringLiteral(TARN_SOURCE_DIR "/data/examples/nord_yard.dat"),
                   // A report at every poll: the monitor's heaviest case.
                   QStringLiteral("--reports"), QStringLiteral("every"),
                   QStringLiteral("--link"), link_path});
  if (!simulator.waitForReadyRead(10'000)) {
    std::fprintf(stderr, "tarnctl simulate did not start\n");
    return 1;
  }
  const auto stop_simulator = [&simulator] {
    simulator.terminate();
    simulator.waitForFinished(5000);
  };

  YesPrompter prompter;
  Program program(&prompter);
  tarn::ui::MainWindow& window = program.window;
  window.show();
  window.StartUp();
  Find<QAbstractButton>(window, "OptionBitRate_1")->click();  // 19200
  window.ChoosePort(link_path);
  window.PressOperation(tarn::Operation::kReadAll);
  const bool read = RunUntil(
      [&] {
        return !window.busy() && window.workspace().firmware_version != tarn::kUnknownVersion;
      },
      60'000);
  if (!read) {
    std::fprintf(stderr, "\"Read All\" did not finish\n");
    stop_simulator();
    return 1;
  }
  QTest::qWait(kSettleMilliseconds);
  const Load idle = RunEventLoop(kMeasureMilliseconds);
  std::printf("idle, port open, after \"Read All\": CPU/wall %.4f over %.1f s\n", idle.Ratio(),
              idle.wall);

  window.AskExpertMode();
  auto* tabs = Find<QTabWidget>(window, "SSTab_Main");
  auto* monitor = Find<QAbstractButton>(window, "CommandFBM_1");
  auto* text = Find<QPlainTextEdit>(window, "textFBM");
  auto* timer2 = window.findChild<QTimer*>(QStringLiteral("Timer2"));
  if (!window.expert_mode() || tabs == nullptr || monitor == nullptr || text == nullptr ||
      timer2 == nullptr) {
    stop_simulator();
    return 1;
  }
  tabs->setCurrentIndex(3);
  // "Monitor" runs while it has the focus, which only an active window hands around.
  window.activateWindow();
  if (!QTest::qWaitForWindowActive(&window)) std::fprintf(stderr, "the window is not active\n");
  QTest::mouseClick(monitor, Qt::LeftButton);
  const int lines_before = text->blockCount();
  const Load monitoring = RunEventLoop(kMeasureMilliseconds);
  const int reports = text->blockCount() - lines_before;
  const bool monitored = timer2->isActive() && reports > 0;
  std::printf("monitoring: CPU/wall %.4f over %.1f s; %d reports, %.1f a second%s\n",
              monitoring.Ratio(), monitoring.wall, reports, reports / monitoring.wall,
              monitored ? "" : "  (the monitor did not run)");
  stop_simulator();
  return monitored ? 0 : 1;
}
