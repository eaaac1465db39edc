// A newcomer's evening with the window: choose the port, "Read All", look at what the Tarn holds,
// "Save File"; then "Load File" of another set-up, "Write All" and "Verify All". Once on the
// simulated line in simulated time, once through the real serial port to `tarnctl simulate` on a
// pseudo-terminal, where the saved file is compared with what `tarnctl read` saves.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QProcess>
#include <QProgressBar>
#include <QTemporaryDir>
#include <fstream>
#include <sstream>

#include "files/data_file.h"
#include "gui/window_fixture.h"
#include "operations/flows.h"
#include "platform/event_loop_clock.h"
#include "platform/qt_serial_port.h"
#include "support/simulated_line.h"
#include "ui/windows/verification_window.h"

namespace tarn::testing {
namespace {

using ::testing::EndsWith;
using ::testing::IsEmpty;

std::string FileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::filesystem::path PathOf(const QTemporaryDir& folder, const char* name) {
  return folder.filePath(QString::fromLatin1(name)).toStdU16String();
}

// The example with an edit in each group a newcomer touches: the ID string, a step, an event.
std::filesystem::path WriteEditedExample(const QTemporaryDir& folder) {
  RecordingPrompter quiet;
  DeviceConfiguration config;
  EXPECT_TRUE(LoadDataFile(ExampleFile(), config, quiet));
  config.general_settings.id_string = "Evening";
  config.pins[4].aspects[0].steps[0].p2 = 25;
  config.event_actions[7].on[2] = 9;
  const std::filesystem::path path = PathOf(folder, "evening.dat");
  EXPECT_TRUE(SaveDataFile(path, config, DataFileForm::kFull, quiet));
  return path;
}

// Against each Tarn of the direct line: a write's answer empty or echoed, prompt or late.
class EveningTest : public WindowTest, public ::testing::WithParamInterface<LineKind> {
 protected:
  void SetUp() override {
    tarn.set_choices(GetParam().choices);
    port.set_adapter_hold(GetParam().adapter_hold_seconds);
    WindowTest::SetUp();
  }

  // What `tarnctl read` saves from the same Tarn: "Read All" through the core on a line of its
  // own, then the data file.
  std::string ReadByTheCore(const std::filesystem::path& path, DataFileForm form) {
    Workspace workspace;
    OnOwnLine(workspace, [](Session& session) { EXPECT_TRUE(Flows(session).ReadAll()); });
    RecordingPrompter quiet;
    EXPECT_TRUE(SaveDataFile(path, workspace.config, form, quiet));
    return FileBytes(path);
  }

  QString ReportText() {
    auto* report = window->findChild<ui::VerificationWindow*>(QStringLiteral("frmTarnVerification"));
    EXPECT_NE(report, nullptr);
    return report == nullptr ? QString() : report->text();
  }

  QTemporaryDir folder;
};

TEST_P(EveningTest, ReadSaveLoadWriteAndVerify) {
  LoadIntoTarn(ExampleFile());
  auto* bar = Find<QProgressBar>(QStringLiteral("ProgressAction"));
  QStringList progress;
  QObject::connect(bar, &QProgressBar::valueChanged, window.get(),
                   [&] { progress.append(bar->format()); });
  RunOperation(QStringLiteral("CommandReadAll"));
  EXPECT_THAT(TakeMessages(), IsEmpty());
  EXPECT_TRUE(progress.contains(QStringLiteral("Reading pin 12 of 32"))) << progress.join(QLatin1Char('|')).toStdString();

  // The General and Event Control tabs show what the Tarn holds.
  EXPECT_EQ(Text(QStringLiteral("TextGenIDString")), QStringLiteral("Nord Yard 7"));
  EXPECT_EQ(Find<QLabel>(QStringLiteral("LabelGenVersionString"))->text(),
            QStringLiteral("3.1.0.10"));
  EXPECT_EQ(Text(QStringLiteral("TextGenDCCAddress")), QStringLiteral("300"));
  const char* on_shown[] = {"4", "5", "6", "7"};  // pin 0 ("1" with numbering from 1)
  for (int input = 0; input < 4; ++input) {
    EXPECT_EQ(Text(QStringLiteral("TextECon_%1").arg(input)), QLatin1String(on_shown[input]));
  }
  EXPECT_TRUE(Find<QCheckBox>(QStringLiteral("CheckInitEE_0"))->isChecked());

  // "Save File" writes what tarnctl read writes; with Shift, the compact form.
  const std::filesystem::path saved = PathOf(folder, "saved.dat");
  const std::filesystem::path compact = PathOf(folder, "compact.dat");
  files.saves = {saved, compact};
  Click(QStringLiteral("CommandSave"));
  QTest::mouseClick(Button(QStringLiteral("CommandSave")), Qt::LeftButton, Qt::ShiftModifier);
  EXPECT_EQ(FileBytes(saved), ReadByTheCore(PathOf(folder, "core.dat"), DataFileForm::kFull));
  EXPECT_EQ(FileBytes(compact),
            ReadByTheCore(PathOf(folder, "core-compact.dat"), DataFileForm::kCompact));
  EXPECT_LT(FileBytes(compact).size(), FileBytes(saved).size());
  EXPECT_EQ(window->windowTitle(), QStringLiteral("Tarn Config - compact.dat[*]"));
  EXPECT_FALSE(window->isWindowModified());

  // Another set-up from a file, written and verified.
  files.opens = {WriteEditedExample(folder)};
  Click(QStringLiteral("CommandLoad"));
  EXPECT_EQ(Text(QStringLiteral("TextGenIDString")), QStringLiteral("Evening"));
  RunOperation(QStringLiteral("CommandWriteAll"));
  EXPECT_EQ(tarn.memory().pins[4].steps[0][2], 25) << "pin 4, aspect 0, step 0, p2";
  RunOperation(QStringLiteral("CommandVerifyAll"));
  EXPECT_THAT(ReportText().trimmed().toStdString(), EndsWith("Verify OK"));
  EXPECT_THAT(TakeMessages(), IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(DirectTarns, EveningTest, ::testing::ValuesIn(DirectLineKinds()),
                         LineKindName);

// The same evening through the real serial port: `tarnctl simulate` on a pseudo-terminal, with
// the options of a Tarn that answers writes with nothing and one that echoes the command.
class PseudoTerminalEveningTest : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.isValid());
    link = folder.filePath(QStringLiteral("tarn0"));
    simulator.start(QStringLiteral(TARNCTL_PATH),
                    QStringList{QStringLiteral("simulate"), QStringLiteral("--link"), link,
                                QStringLiteral("--load"),
                                QString::fromStdU16String(ExampleFile().u16string())} +
                        QString::fromLatin1(GetParam()).split(QLatin1Char(' ')));
    ASSERT_TRUE(simulator.waitForReadyRead(20000)) << "the simulator did not start";
    simulator.readLine();
  }
  void TearDown() override {
    simulator.terminate();
    if (!simulator.waitForFinished(5000)) simulator.kill();
  }

  QTemporaryDir folder;
  QString link;
  QProcess simulator;
};

TEST_P(PseudoTerminalEveningTest, SaveFileWritesWhatTarnctlReadWrites) {
  EventLoopClock clock;
  QtSerialPort port(clock);
  RecordingPrompter prompter;
  ScriptedFiles files;
  ui::MainWindow window({.port = port, .clock = clock, .prompter = &prompter, .files = &files,
                         .program_folder = DataFolder(), .qt_port = &port});
  window.show();
  window.StartUp();
  window.ChoosePort(link);
  ASSERT_TRUE(window.link().port_open());
  QTest::mouseClick(window.findChild<QAbstractButton*>(QStringLiteral("CommandReadAll")),
                    Qt::LeftButton);
  window.Tick();
  EXPECT_THAT(prompter.Texts(), IsEmpty());
  const std::filesystem::path saved = PathOf(folder, "window.dat");
  files.saves = {saved};
  QTest::mouseClick(window.findChild<QAbstractButton*>(QStringLiteral("CommandSave")),
                    Qt::LeftButton);
  window.link().ClosePort();  // the simulator takes one program at a time

  QProcess read;
  const std::filesystem::path by_tarnctl = PathOf(folder, "tarnctl.dat");
  read.start(QStringLiteral(TARNCTL_PATH),
             {QStringLiteral("read"), QStringLiteral("--port"), link, QStringLiteral("--out"),
              QString::fromStdU16String(by_tarnctl.u16string())});
  ASSERT_TRUE(read.waitForFinished(60000));
  ASSERT_EQ(read.exitCode(), 0) << read.readAllStandardError().toStdString();
  EXPECT_FALSE(FileBytes(saved).empty());
  EXPECT_EQ(FileBytes(saved), FileBytes(by_tarnctl));
}

std::string AnswersName(const ::testing::TestParamInfo<const char*>& param) {
  return param.index == 0 ? "Empty" : "Echoing";
}

INSTANTIATE_TEST_SUITE_P(WriteAnswers, PseudoTerminalEveningTest,
                         ::testing::Values("--ack empty", "--ack echo --reports every --reply-xaddr"),
                         AnswersName);

}  // namespace
}  // namespace tarn::testing
