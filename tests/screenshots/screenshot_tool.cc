// screenshots DIR: pictures of the real main window for the documentation. The window runs
// offscreen on a simulated Tarn that holds the example configuration; "Read All" has filled it and
// expert mode is on. One picture per main tab (the device tab with "Show Details" off), the
// aspect editor with "Show Details" on a pin of each layout, and the window at a laptop's size.
// Two more Tarns share the bus; the Layout window shows all three after "Back Up All" and a
// "Check All" that finds one changed.

#include <unistd.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPixmap>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>

#include "files/data_file.h"
#include "operations/flows.h"
#include "operations/session.h"
#include "sim/manual_clock.h"
#include "sim/simulated_bus.h"
#include "sim/simulated_port.h"
#include "sim/simulated_tarn.h"
#include "support/recording_prompter.h"
#include "ui/main_window.h"
#include "ui/monitor_panel.h"
#include "ui/test_tab.h"
#include "ui/windows/layout_window.h"

namespace tarn {
namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 900;
constexpr int kLaptopWidth = 1240;
constexpr int kLaptopHeight = 640;
// A picture with fewer colours than this shows nothing but a blank face.
constexpr int kFewestColours = 8;
// PNG "quality" 0 is zlib's strongest compression: the pictures live in the repository.
constexpr int kSmallestPng = 0;

// No file dialog ever opens: the standard library is found in the data folder, and the layout
// folder is a temporary one.
class NoFiles : public ui::FileChooser {
 public:
  explicit NoFiles(std::filesystem::path layout_folder)
      : layout_folder_(std::move(layout_folder)) {}
  std::optional<std::filesystem::path> Open(ui::FileKind kind, const QString&,
                                            const QString&) override {
    if (kind == ui::FileKind::kLayoutFolder) return layout_folder_;
    return std::nullopt;
  }
  std::optional<std::filesystem::path> Save(ui::FileKind kind, const QString& title,
                                            const QString& preset) override {
    return Open(kind, title, preset);
  }

 private:
  std::filesystem::path layout_folder_;
};

// Writes the example into the simulated Tarn as "Write All" would, over a link of its own.
bool LoadIntoTarn(const std::filesystem::path& file, sim::SimulatedTarn& tarn) {
  testing::RecordingPrompter quiet;
  Workspace workspace;
  if (!LoadDataFile(file, workspace.config, quiet)) return false;
  sim::ManualClock clock;
  sim::SimulatedPort port(tarn, clock);
  Link link(port, clock, quiet);
  link.TakeOverModuleAddress(tarn.module_address());
  if (!link.SelectPort("1 sim")) return false;
  SilentProgress progress;
  Session session(link, clock, quiet, progress, workspace);
  return Flows(session).WriteAll();
}

int Colours(const QImage& image) {
  std::set<QRgb> colours;
  for (int y = 0; y < image.height(); y += 4) {
    for (int x = 0; x < image.width(); x += 4) colours.insert(image.pixel(x, y));
  }
  return static_cast<int>(colours.size());
}

// Lets the layouts that the last change asked for run: a window grabbed before they have run
// shows, say, the status bar's size grip where a narrower bar would have it. A layout that shrinks
// asks its parent in turn, each on the next turn of the loop.
void Settle() {
  for (int round = 0; round < 5; ++round) {
    QCoreApplication::sendPostedEvents();
    QApplication::processEvents();
  }
}

// The picture with a colour table when 256 colours hold every pixel, which is the same picture in
// about half the bytes; as it is otherwise.
QImage Compact(const QImage& image) {
  std::set<QRgb> colours;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      colours.insert(image.pixel(x, y));
      if (colours.size() > 256) return image;
    }
  }
  return image.convertToFormat(QImage::Format_Indexed8, QList<QRgb>(colours.begin(), colours.end()),
                               Qt::ThresholdDither);
}

bool Save(QWidget& window, const QDir& folder, const char* name) {
  Settle();
  const QImage image = window.grab().toImage();
  const QString path = folder.filePath(QString::fromLatin1(name));
  if (image.isNull() || Colours(image) < kFewestColours ||
      !Compact(image).save(path, "PNG", kSmallestPng)) {
    std::fprintf(stderr, "screenshots: %s could not be made\n", qPrintable(path));
    return false;
  }
  std::printf("%s\n", qPrintable(path));
  return true;
}

template <typename Widget>
Widget* Find(ui::MainWindow& window, const char* name) {
  return window.findChild<Widget*>(QString::fromLatin1(name));
}

// Types a pin number into the editor's pin field and presses Enter, as a user chooses a pin.
void ChoosePin(ui::MainWindow& window, const char* pin) {
  auto* field = Find<QLineEdit>(window, "TextPAspOutput");
  if (field == nullptr) return;
  field->setText(QString::fromLatin1(pin));
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QApplication::sendEvent(field, &enter);
}

}  // namespace
}  // namespace tarn

int main(int argc, char* argv[]) {
  using namespace tarn;
  // The pictures must not depend on the desktop they are made on.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: screenshots DIR\n");
    return 2;
  }
  const QDir folder(QString::fromLocal8Bit(argv[1]));
  if (!folder.mkpath(QStringLiteral("."))) {
    std::fprintf(stderr, "screenshots: cannot make %s\n", argv[1]);
    return 1;
  }

  const std::filesystem::path data = std::filesystem::path(TARN_SOURCE_DIR) / "data";
  sim::ManualClock clock;
  sim::SimulatedBus bus;
  sim::SimulatedTarn& tarn = bus.Add(0);
  sim::SimulatedPort port(bus, clock);
  if (!LoadIntoTarn(data / "examples" / "nord_yard.dat", tarn) ||
      !LoadIntoTarn(data / "examples" / "sud_depot.dat", bus.Add(5)) ||
      !LoadIntoTarn(data / "examples" / "west_halt.dat", bus.Add(11))) {
    std::fprintf(stderr, "screenshots: the example could not be put into the simulated Tarn\n");
    return 1;
  }
  // Answers "Expert Mode?" with Yes; anything else it records is reported below.
  testing::RecordingPrompter prompter;
  const std::filesystem::path layout_folder =
      std::filesystem::temp_directory_path() / ("tarn-screenshots-" + std::to_string(getpid()));
  NoFiles files(layout_folder);
  ui::MainWindow window({.port = port,
                         .clock = clock,
                         .prompter = &prompter,
                         .files = &files,
                         .program_folder = data});
  window.resize(kWidth, kHeight);
  window.show();
  window.StartUp();
  window.ChoosePort(QStringLiteral("1 sim"));
  window.PressOperation(Operation::kReadAll);
  window.Tick();
  window.AskExpertMode();
  const QString read = window.statusBar()->currentMessage();
  if (window.workspace().firmware_version == kUnknownVersion || !window.expert_mode()) {
    std::fprintf(stderr, "screenshots: \"Read All\" did not fill the window (%s)\n",
                 qPrintable(read));
    return 1;
  }

  // Something on the Test tab's monitor: an aspect set live, and three of the Tarn's reports.
  if (auto* output = Find<QAbstractButton>(window, "CommandTarnSetAspect_2")) output->click();
  if (auto* monitor = Find<QAbstractButton>(window, "CommandFBM_1")) monitor->click();
  if (auto* panel = window.findChild<ui::MonitorPanel*>()) {
    for (int i = 0; i < 3; ++i) panel->Tick();
  }

  // The device tab is shown plain first, then with "Show Details" on: a click, as the user
  // switches it.
  auto* details = Find<QAbstractButton>(window, "CheckPAspShowDetails");
  if (details == nullptr) {
    std::fprintf(stderr, "screenshots: no \"Show Details\" box\n");
    return 1;
  }
  if (details->isChecked()) details->click();
  auto* tabs = Find<QTabWidget>(window, "SSTab_Main");
  const char* pictures[] = {"general.png", "events.png", "device.png", "test.png"};
  bool made = true;
  for (int tab = 0; tab < 4; ++tab) {
    tabs->setCurrentIndex(tab);
    made = Save(window, folder, pictures[tab]) && made;
  }
  tabs->setCurrentIndex(2);
  details->click();
  if (!details->isChecked()) {
    std::fprintf(stderr, "screenshots: \"Show Details\" did not switch on\n");
    return 1;
  }
  made = Save(window, folder, "device-details.png") && made;
  // With the details, a pin of twelve aspects and a pin without a program.
  const struct {
    const char* pin;
    const char* picture;
  } pins[] = {{"2", "device-12.png"}, {"3", "device-0.png"}};
  for (const auto& shown : pins) {
    ChoosePin(window, shown.pin);
    made = Save(window, folder, shown.picture) && made;
  }

  // The window as it opens on a laptop's 1280 x 720 screen, less the desktop's panels and its
  // frame: the device tab with its details, the tab scrolling what does not fit.
  ChoosePin(window, "1");
  window.resize(kLaptopWidth, kLaptopHeight);
  made = Save(window, folder, "window-1280x720.png") && made;

  // The Layout window: the three Tarns backed up, then checked after one changed on the bus.
  window.ShowLayout();
  auto* layout = window.findChild<ui::LayoutWindow*>();
  if (layout == nullptr) return 1;
  layout->resize(760, 420);
  layout->BackUpAll();
  bus.Find(5)->memory().registers[sim::kDccAddressRegister] = {45, 0};
  layout->CheckAll();
  if (auto* table = layout->findChild<QTableWidget*>()) table->selectRow(1);
  made = Save(*layout, folder, "layout.png") && made;
  std::filesystem::remove_all(layout_folder);

  for (const std::string& text : prompter.Texts()) {
    if (text != "Expert Mode?")
      std::fprintf(stderr, "screenshots: the window said: %s\n", text.c_str());
  }
  return made ? 0 : 1;
}
