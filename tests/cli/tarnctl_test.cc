// tarnctl as a user runs it: `tarnctl simulate` on a pseudo-terminal, `tarnctl send` through
// QSerialPort to it.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <csignal>
#include <memory>
#include <string>

namespace {

using ::testing::HasSubstr;

struct Result {
  int exit_code = -1;
  std::string out;
  std::string err;
};

Result RunTarnctl(const QStringList& arguments) {
  QProcess process;
  process.start(TARNCTL_PATH, arguments);
  process.waitForFinished(30000);
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
          process.readAllStandardOutput().toStdString(),
          process.readAllStandardError().toStdString()};
}

// A command line and how tarnctl must end it: its exit code and a part of its standard error.
struct Outcome {
  const char* name;
  QStringList arguments;
  int exit_code;
  const char* message;
};

void ExpectOutcome(const Outcome& c) {
  const Result result = RunTarnctl(c.arguments);
  EXPECT_EQ(result.exit_code, c.exit_code) << c.name << ": " << result.err;
  EXPECT_THAT(result.err, HasSubstr(c.message)) << c.name;
}

// A running `tarnctl simulate`; stopped with SIGTERM when the test ends.
class Simulator {
 public:
  explicit Simulator(const QStringList& options) {
    link_ = directory_.filePath("tarn0");
    process_.start(TARNCTL_PATH, QStringList{"simulate", "--link", link_} + options);
    if (process_.waitForReadyRead(10000)) {
      device_ = QString::fromUtf8(process_.readLine()).trimmed();
    }
  }
  ~Simulator() {
    process_.terminate();
    if (!process_.waitForFinished(5000)) process_.kill();
  }
  // Stops the simulator; returns how many replies it was asked for (-1 when it did not say).
  int StopAndCountReplies() {
    process_.terminate();
    process_.waitForFinished(5000);
    const QString err = QString::fromUtf8(process_.readAllStandardError());
    const qsizetype at = err.indexOf(QStringLiteral("stopped; "));
    return at < 0 ? -1 : err.mid(at + 9).section(QLatin1Char(' '), 0, 0).toInt();
  }
  const QString& link() const { return link_; }
  const QString& device() const { return device_; }
  QProcess& process() { return process_; }

 private:
  QTemporaryDir directory_;
  QProcess process_;
  QString link_;
  QString device_;
};

int argc = 1;
char arg0[] = "tarnctl_tests";
char* argv[] = {arg0, nullptr};

class TarnctlTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!QCoreApplication::instance()) application_ = new QCoreApplication(argc, argv);
  }
  static inline QCoreApplication* application_ = nullptr;
};

TEST_F(TarnctlTest, SimulatePrintsItsDeviceAndLinksToIt) {
  Simulator simulator({});
  ASSERT_THAT(simulator.device().toStdString(), HasSubstr("/dev/pts/"));
  EXPECT_EQ(QFileInfo(simulator.link()).symLinkTarget(), simulator.device());
  simulator.process().terminate();
  EXPECT_TRUE(simulator.process().waitForFinished(5000));
  EXPECT_EQ(simulator.process().exitCode(), 0);
  EXPECT_FALSE(QFileInfo::exists(simulator.link())) << "the link is removed on exit";
}

TEST_F(TarnctlTest, SendAsksTheSimulatedTarnDirectlyAndTunnelled) {
  const struct {
    const char* name;
    QStringList simulator_options;
    QStringList send_options;
  } cases[] = {
      {"direct", {}, {}},
      {"direct at 38400", {}, {"--baud", "38400"}},
      {"tunnelled", {"--tolvik"}, {"--tunnel"}},
  };
  for (const auto& c : cases) {
    Simulator simulator(c.simulator_options);
    const Result result = RunTarnctl(QStringList{"send", "--port", simulator.link()} +
                                     c.send_options + QStringList{"112", "0"});
    EXPECT_EQ(result.exit_code, 0) << c.name << result.err;
    EXPECT_EQ(result.out, "112 0 3 1 0 10\n") << c.name;
  }
}

TEST_F(TarnctlTest, ExtendedAddressDirectAndTunnelled) {
  for (const bool tunnelled : {false, true}) {
    Simulator simulator(tunnelled ? QStringList{"--tolvik"} : QStringList{});
    const QStringList link = QStringList{"--port", simulator.link()} +
                             (tunnelled ? QStringList{"--tunnel"} : QStringList{});
    // Give the Tarn extended address 7, then talk to it under that address.
    ASSERT_EQ(
        RunTarnctl(QStringList{"send"} + link + QStringList{"--one-way", "96", "2", "7"}).exit_code,
        0);
    const Result result =
        RunTarnctl(QStringList{"send"} + link + QStringList{"--xaddr", "7", "112", "2"});
    EXPECT_EQ(result.exit_code, 0) << tunnelled << result.err;
    EXPECT_EQ(result.out, "112 2 7\n") << tunnelled;
    // Under another extended address the Tarn keeps quiet.
    const Result other =
        RunTarnctl(QStringList{"send"} + link + QStringList{"--xaddr", "8", "112", "2"});
    EXPECT_EQ(other.exit_code, 1) << tunnelled;
    EXPECT_EQ(other.out, "") << tunnelled;
  }
}

TEST_F(TarnctlTest, FailuresAndUsageErrors) {
  Simulator simulator({});
  const QString port = simulator.link();
  const Outcome cases[] = {
      {"nobody at module 5",
       {"send", "--port", port, "--module", "5", "112", "0"},
       1,
       "No response received, resetting bidirectional communication"},
      {"value above 127", {"send", "--port", port, "112", "200"}, 1, "nothing was sent"},
      {"no such port",
       {"send", "--port", "/dev/no-such-tarn", "112", "0"},
       1,
       "tarnctl: error: Cannot open serial port /dev/no-such-tarn: no such device"},
      {"port number not listed",
       {"send", "--port", "999", "112", "0"},
       1,
       "tarnctl: error: There is no serial port 999. Run \"tarnctl ports\" to list the ports "
       "that are there now.\n"},
      {"no port", {"send", "112", "0"}, 2, "--port is required"},
      {"bad baud", {"send", "--port", port, "--baud", "1200", "112"}, 2, "--baud"},
      {"bad module", {"send", "--port", port, "--module", "16", "112"}, 2, "--module"},
      {"bad value", {"send", "--port", port, "x"}, 2, "payload values"},
      {"unknown command", {"frobnicate"}, 2, "unknown command"},
      {"no command", {}, 2, "usage: tarnctl COMMAND"},
  };
  for (const Outcome& c : cases) ExpectOutcome(c);
}

TEST_F(TarnctlTest, VersionAndHelpGoToStandardOutput) {
  const struct {
    QStringList arguments;
    const char* out_start;
  } cases[] = {
      {{"--version"}, "tarnctl " TARN_VERSION "\n"},
      {{"--help"}, "usage: tarnctl COMMAND"},
      {{"send", "--help"}, "Usage: tarnctl send [options] VALUE..."},
      {{"devices", "--help"}, "Usage: tarnctl devices [options] [LIBRARY]"},
  };
  for (const auto& c : cases) {
    const Result result = RunTarnctl(c.arguments);
    EXPECT_EQ(result.exit_code, 0) << c.arguments.join(' ').toStdString();
    EXPECT_THAT(result.out, ::testing::StartsWith(c.out_start));
    EXPECT_EQ(result.err, "") << c.arguments.join(' ').toStdString();
  }
}

TEST_F(TarnctlTest, OneWaySucceedsWhenTheFrameWasSent) {
  Simulator simulator({});
  const Result result =
      RunTarnctl({"send", "--port", simulator.link(), "--one-way", "96", "6", "5"});
  EXPECT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(result.out, "");
  // The write arrived: the green lamp mask reads back.
  EXPECT_EQ(RunTarnctl({"send", "--port", simulator.link(), "112", "6"}).out, "112 6 5\n");
}

TEST_F(TarnctlTest, LiveCommandsReachTheTarnAndTheMonitorReportsThem) {
  Simulator simulator({});
  const QStringList port = {"--port", simulator.link()};
  const auto run = [&port](const QStringList& command, const QStringList& values) {
    return RunTarnctl(QStringList{command.first()} + port + command.mid(1) + values);
  };
  // Pin 3 a PWM output, pin 4 a servo: a get-pin-configuration (0x51) answers with the live value
  // in place of configuration byte 1.
  ASSERT_EQ(run({"send", "--one-way"}, {"65", "3", "2", "7"}).exit_code, 0);
  ASSERT_EQ(run({"send", "--one-way"}, {"65", "4", "1", "7"}).exit_code, 0);

  Result result = run({"pwm", "--slow"}, {"3", "20"});
  EXPECT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(run({"send"}, {"81", "3"}).out, "81 3 2 20 0 0 0 0\n");
  result = run({"servo", "--dynamic"}, {"4", "-10"});
  EXPECT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(run({"send"}, {"81", "4"}).out, "81 4 1 54 0 0 0 0 0 0 0 0 0 0\n");
  result = run({"aspect"}, {"5", "11"});
  EXPECT_EQ(result.exit_code, 0) << result.err;

  // The simulated Tarn reports the last live message (sub-command, pin, value) and the count,
  // once: the poll after it is answered with nothing new.
  result = run({"monitor", "--count", "2"}, {});
  EXPECT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(result.out, "Start Monitoring\n<0> <5> <11> <3> \nMonitoring Stopped\n");

  const struct {
    const char* name;
    QStringList command;
    QStringList values;
    int exit_code;
    const char* message;
  } failures[] = {
      {"nobody at module 5", {"aspect", "--module", "5"}, {"0", "1"}, 1, "No response received"},
      {"aspect 12", {"aspect"}, {"0", "12"}, 2, "ASPECT must be a number from 0 to 11"},
      {"pin 32", {"pwm"}, {"32", "1"}, 2, "PIN must be a number from 0 to 31"},
      {"level 32", {"pwm"}, {"1", "32"}, 2, "LEVEL must be a number from 0 to 31"},
      {"position -65", {"servo"}, {"1", "-65"}, 2, "POSITION must be a number from -64 to 63"},
      {"one value", {"servo"}, {"1"}, 2, "expected PIN and POSITION"},
      {"no replies asked", {"monitor", "--one-way", "--count", "1"}, {}, 1, "no report"},
      {"count 0", {"monitor", "--count", "0"}, {}, 2, "--count"},
  };
  for (const auto& c : failures) {
    const Result failed = run(c.command, c.values);
    EXPECT_EQ(failed.exit_code, c.exit_code) << c.name << ": " << failed.err;
    EXPECT_THAT(failed.err, HasSubstr(c.message)) << c.name;
  }
}

TEST_F(TarnctlTest, LiveCommandAndMonitorTunnelled) {
  Simulator simulator({"--tolvik"});
  const QStringList link = {"--port", simulator.link(), "--tunnel"};
  const Result sent = RunTarnctl(QStringList{"pwm"} + link + QStringList{"7", "31"});
  EXPECT_EQ(sent.exit_code, 0) << sent.err;
  const Result monitored = RunTarnctl(QStringList{"monitor"} + link + QStringList{"--count", "1"});
  EXPECT_EQ(monitored.exit_code, 0) << monitored.err;
  EXPECT_THAT(monitored.out, HasSubstr("<38> <7> <31> <1> \n"));
}

// Writes `contents` to `name` in `directory` and returns its path.
QString WriteFile(const QTemporaryDir& directory, const QString& name, const QByteArray& contents) {
  const QString path = directory.filePath(name);
  QFile file(path);
  if (file.open(QIODevice::WriteOnly)) file.write(contents);
  return path;
}

QByteArray ReadFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST_F(TarnctlTest, ConvertSavesAFileOfAnyVersionAsACurrentOne) {
  QTemporaryDir directory;
  const QByteArray current =
      "\"TarnConfiguration 3100\"\r\n\"DCC\",300,2000,13\r\n\"Pin\",4,3,1,\"Signal\"\r\n"
      "  \"Cfg\",2,1,0,20,0,31\r\n  \"Asp\",0,\"Stop\"\r\n    \"Ins\",0,29,0,1,0,0\r\n\"End\"\r\n";
  const QString in = WriteFile(directory, "in.dat", current);
  const QString full = directory.filePath("full.dat");
  const Result converted = RunTarnctl({"convert", in, full});
  EXPECT_EQ(converted.exit_code, 0) << converted.err;
  EXPECT_EQ(converted.err, "");
  const QByteArray saved = ReadFile(full);
  EXPECT_TRUE(
      saved.startsWith("\"TarnConfiguration 3100\"\r\n\"ID$\",\"\"\r\n\"DCC\",300,2000,13\r\n"));
  EXPECT_EQ(saved.count("\"Pin\","), 32);
  EXPECT_TRUE(saved.contains("    \"Ins\",0,29,0,1,0,0\r\n"));

  const QString compact = directory.filePath("compact.dat");
  EXPECT_EQ(RunTarnctl({"convert", "--compact", in, compact}).exit_code, 0);
  EXPECT_EQ(ReadFile(compact).count("\"Pin\","), 1);

  // An old file is read by its version's rules: no extended address, two address counts.
  const QString old = WriteFile(directory, "old.dat",
                                "\"TarnConfiguration 0023\"\r\n\"DCC\",300,13\r\n\"Pin\",0,0,0,"
                                "\"p\"\r\n\"PAM\",4,5\r\n\"End\"\r\n");
  const QString renewed = directory.filePath("renewed.dat");
  const Result from_old = RunTarnctl({"convert", old, renewed});
  EXPECT_EQ(from_old.exit_code, 0) << from_old.err;
  EXPECT_THAT(from_old.err, HasSubstr("Data File Version = 23"));
  EXPECT_TRUE(ReadFile(renewed).contains("\"DCC\",300,1,13\r\n"));
  EXPECT_TRUE(ReadFile(renewed).contains("  \"PAM\",1,4,5\r\n"));
}

TEST_F(TarnctlTest, ConvertRefusals) {
  QTemporaryDir directory;
  const QString out = directory.filePath("out.dat");
  const QString truncated =
      WriteFile(directory, "cut.dat", "\"TarnConfiguration 3100\"\r\n\"Pin\",4,3,1,\"Sig");
  const QString good =
      WriteFile(directory, "good.dat", "\"TarnConfiguration 3100\"\r\n\"End\"\r\n");
  const Outcome cases[] = {
      {"truncated", {"convert", truncated, out}, 1, "Invalid configuration file"},
      {"missing", {"convert", directory.filePath("none.dat"), out}, 1, "Cannot open"},
      {"unwritable",
       {"convert", good, directory.filePath("no/such/folder/out.dat")},
       1,
       "Cannot save"},
      {"one file", {"convert", good}, 2, "IN and OUT"},
      {"bad option", {"convert", "--compat", good, out}, 2, "compat"},
  };
  for (const Outcome& c : cases) {
    ExpectOutcome(c);
    EXPECT_FALSE(QFileInfo::exists(out)) << c.name;
  }
}

TEST_F(TarnctlTest, DiffPrintsOneLinePerDifferenceAndAnswersByItsExitCode) {
  QTemporaryDir directory;
  const QByteArray a =
      "\"TarnConfiguration 3100\"\r\n\"Pin\",4,3,0,\"Signal\"\r\n  \"Cfg\",2,1,0,20,0,31\r\n"
      "  \"Asp\",2,\"\"\r\n    \"Ins\",1,38,0,20,0,0\r\n\"End\"\r\n";
  QByteArray b = a;
  b.replace("\"Signal\"", "\"Signal \xE9\"").replace(",38,0,20,", ",38,0,25,");
  const QString file_a = WriteFile(directory, "a.dat", a);
  const QString file_b = WriteFile(directory, "b.dat", b);

  const Result same = RunTarnctl({"diff", file_a, file_a});
  EXPECT_EQ(same.exit_code, 0) << same.err;
  EXPECT_EQ(same.out, "");
  // Pins from 0, as in the file; the description's Windows-1252 reaches the terminal as UTF-8.
  const Result different = RunTarnctl({"diff", file_a, file_b});
  EXPECT_EQ(different.exit_code, 1) << different.err;
  EXPECT_EQ(different.out,
            "Pin 4 aspect 2 step 1: Set Level, Level 20 -> 25\n"
            "Pin 4 description: \"Signal\" -> \"Signal \xC3\xA9\"\n");

  const QString cut = WriteFile(directory, "cut.dat", a.left(40));
  const Outcome failures[] = {
      {"missing", {"diff", file_a, directory.filePath("none.dat")}, 2, "Cannot open"},
      {"refused", {"diff", cut, file_b}, 2, "Invalid configuration file"},
      {"one file", {"diff", file_a}, 2, "A and B"},
  };
  for (const Outcome& c : failures) ExpectOutcome(c);
}

TEST_F(TarnctlTest, DevicesListsALibrary) {
  // The standard library lies beside the program.
  const QString standard = QFileInfo(TARNCTL_PATH).dir().filePath("TarnDevices.def");
  const Result listed = RunTarnctl({"devices", standard});
  EXPECT_EQ(listed.exit_code, 0) << listed.err;
  EXPECT_THAT(listed.out, ::testing::StartsWith("Standard devices 1.0\nSignal 2 lamps\n"));
  EXPECT_THAT(listed.out, HasSubstr("\nLevel crossing\n"));
  EXPECT_GE(QString::fromStdString(listed.out).count('\n'), 9);
  // Without a LIBRARY, the standard one.
  const Result standard_listed = RunTarnctl({"devices"});
  EXPECT_EQ(standard_listed.exit_code, 0) << standard_listed.err;
  EXPECT_EQ(standard_listed.out, listed.out);

  QTemporaryDir directory;
  const QString latin = WriteFile(directory, "mine.def",
                                  "\"TarnDeviceDefinitions \"\r\n\"Dev\",\"Bahn\xFC"
                                  "bergang\"\r\n\"Dev\",\"B\"\r\n\"End\"\r\n");
  EXPECT_EQ(RunTarnctl({"devices", latin}).out,
            "\nBahn\xC3\xBC"
            "bergang\nB\n");

  const struct {
    const char* name;
    QString file;
    const char* message;
  } failures[] = {
      {"data file", WriteFile(directory, "x.dat", "\"TarnConfiguration 3100\"\r\n\"End\"\r\n"),
       "Invalid definition file"},
      {"no End", WriteFile(directory, "cut.def", "\"TarnDeviceDefinitions v\"\r\n\"Dev\",\"A\""),
       "Invalid definition file"},
      {"missing", directory.filePath("none.def"), "tarnctl: error: Cannot open"},
  };
  for (const auto& c : failures) {
    const Result result = RunTarnctl({"devices", c.file});
    EXPECT_EQ(result.exit_code, 1) << c.name;
    EXPECT_EQ(result.out, "") << c.name;
    EXPECT_THAT(result.err, HasSubstr(c.message)) << c.name;
  }
  EXPECT_EQ(RunTarnctl({"devices", latin, latin}).exit_code, 2);
}

// The ways a Tarn may answer what the program relies on nothing of: `tarnctl simulate` options.
const QStringList kEmptyAnswers = {"--ack", "empty"};
const QStringList kEchoingAnswers = {"--ack", "echo", "--reports", "every", "--reply-xaddr"};

void ExpectWriteVerifyAndRead(const QStringList& answers) {
  const QString example = QString(TARN_SOURCE_DIR) + "/data/examples/nord_yard.dat";
  QTemporaryDir directory;
  Simulator simulator(answers);
  const QStringList link = {"--port", simulator.link()};

  const Result written = RunTarnctl(QStringList{"write"} + link + QStringList{example});
  ASSERT_EQ(written.exit_code, 0) << written.err;
  const Result verified = RunTarnctl(QStringList{"verify"} + link + QStringList{example});
  EXPECT_EQ(verified.exit_code, 0) << verified.err;
  EXPECT_THAT(verified.out, ::testing::EndsWith("\nVerify OK\n"));

  const QString back = directory.filePath("back.dat");
  const Result read = RunTarnctl(QStringList{"read"} + link + QStringList{"--out", back});
  ASSERT_EQ(read.exit_code, 0) << read.err;
  EXPECT_THAT(read.err, HasSubstr("Reading pin 32 of 32"));
  const QByteArray saved = ReadFile(back);
  EXPECT_TRUE(saved.contains("\"ID$\",\"Nord Yard 7\"\r\n")) << saved.left(200).toStdString();
  EXPECT_EQ(saved.count("\"Pin\","), 32);

  // One pin changed live on the Tarn: verification names it.
  ASSERT_EQ(RunTarnctl(QStringList{"send"} + link +
                       QStringList{"--one-way", "97", "1", "2", "5", "3", "40", "2", "29"})
                .exit_code,
            0);
  const Result changed = RunTarnctl(QStringList{"verify"} + link + QStringList{example});
  EXPECT_EQ(changed.exit_code, 1);
  EXPECT_THAT(changed.out, HasSubstr("Pin 2: Pinconfig does not compare\n"));
  EXPECT_THAT(changed.out, ::testing::EndsWith("Verification Stopped\n"));
}

// A whole configuration through the pseudo-terminal: write it, verify it, read it back, and see a
// change on the Tarn reported; for Tarns that answer writes with nothing and with the command.
TEST_F(TarnctlTest, WriteVerifyAndReadAWholeConfiguration) {
  for (const QStringList& answers : {kEmptyAnswers, kEchoingAnswers}) {
    SCOPED_TRACE(answers.join(' ').toStdString());
    ExpectWriteVerifyAndRead(answers);
  }
}

// A Tarn that answers just inside the 2-second limit, behind an adapter that holds every reply for
// 16 ms: a read, a write and a live message all succeed, directly and tunnelled.
TEST_F(TarnctlTest, ASlowTarnIsHeardWithinTheLimit) {
  const QStringList slow = {"--latency", "1800", "--spread", "150", "--adapter-hold", "16"};
  for (const bool tunnelled : {false, true}) {
    Simulator simulator(slow + (tunnelled ? QStringList{"--tolvik"} : QStringList{}));
    const QStringList link = QStringList{"--port", simulator.link()} +
                             (tunnelled ? QStringList{"--tunnel"} : QStringList{});
    const Result read = RunTarnctl(QStringList{"send"} + link + QStringList{"112", "0"});
    EXPECT_EQ(read.exit_code, 0) << tunnelled << read.err;
    EXPECT_EQ(read.out, "112 0 3 1 0 10\n");
    const Result write = RunTarnctl(QStringList{"send"} + link + QStringList{"96", "6", "5"});
    EXPECT_EQ(write.exit_code, 0) << tunnelled << write.err;
    EXPECT_THAT(write.err, HasSubstr("the reply carries no values"));
    const Result live = RunTarnctl(QStringList{"aspect"} + link + QStringList{"3", "1"});
    EXPECT_EQ(live.exit_code, 0) << tunnelled << live.err;
  }
}

TEST_F(TarnctlTest, ConfigurationCommandsRefuseBeforeTheyTouchTheTarn) {
  QTemporaryDir directory;
  const QString cut =
      WriteFile(directory, "cut.dat", "\"TarnConfiguration 3100\"\r\n\"Pin\",4,3,1,\"Sig");
  Simulator simulator({});
  const QStringList link = {"--port", simulator.link()};
  const Outcome cases[] = {
      {"write refused file", QStringList{"write"} + link + QStringList{cut}, 1,
       "Invalid configuration file"},
      {"verify refused file", QStringList{"verify"} + link + QStringList{cut}, 1,
       "Invalid configuration file"},
      {"read without --out", QStringList{"read"} + link, 2, "--out"},
      {"write without file", QStringList{"write"} + link, 2, "FILE"},
      {"read from a missing port",
       {"read", "--port", directory.filePath("nothing"), "--out", directory.filePath("x.dat")},
       1,
       "Cannot open serial port"},
  };
  for (const Outcome& c : cases) ExpectOutcome(c);
  EXPECT_FALSE(QFileInfo::exists(directory.filePath("x.dat")));
}

}  // namespace

namespace {

// A Tarn that lets the line down at the first, a middle or the last reply of an operation, or
// for good: tarnctl never claims a success it did not get, and says what it left behind.
struct LineFault {
  const char* fault;  // tarnctl simulate --fault, with @first/@middle/@last for the position
  int exit_code;
  const char* message;  // in standard error, or, for verify, the end of the report
};

// How many replies a clean run of `command` asks a Tarn for.
int RepliesOf(const QStringList& command, const QStringList& simulator_options) {
  Simulator simulator(simulator_options);
  RunTarnctl(QStringList{command.first(), "--port", simulator.link()} + command.mid(1));
  return simulator.StopAndCountReplies();
}

// `unsaved`, when given, is a file the command must not leave behind when it fails.
void ExpectLineFaultsOf(const QStringList& command, const QStringList& simulator_options,
                        std::initializer_list<LineFault> faults, const QString& unsaved) {
  const int replies = RepliesOf(command, simulator_options);
  ASSERT_GT(replies, 2);
  for (const LineFault& c : faults) {
    QString fault = QString::fromLatin1(c.fault);
    fault.replace(QStringLiteral("@first"), QStringLiteral("@1"));
    fault.replace(QStringLiteral("@middle"), QStringLiteral("@%1").arg(replies / 2));
    fault.replace(QStringLiteral("@last"), QStringLiteral("@%1").arg(replies));
    Simulator simulator(simulator_options + QStringList{"--fault", fault});
    if (!unsaved.isEmpty()) QFile::remove(unsaved);
    const Result result =
        RunTarnctl(QStringList{command.first(), "--port", simulator.link()} + command.mid(1));
    EXPECT_EQ(result.exit_code, c.exit_code) << c.fault << ": " << result.err;
    const std::string& where = command.first() == QStringLiteral("verify") ? result.out : result.err;
    EXPECT_THAT(where, HasSubstr(c.message)) << c.fault << ": " << result.err;
    if (!unsaved.isEmpty() && c.exit_code != 0) {
      EXPECT_FALSE(QFileInfo::exists(unsaved)) << c.fault;
    }
  }
}

// Against a Tarn that answers writes with nothing, and one that echoes the command.
void ExpectLineFaults(const QStringList& command, const QStringList& simulator_options,
                      std::initializer_list<LineFault> faults, const QString& unsaved = {}) {
  for (const QStringList& answers : {kEmptyAnswers, kEchoingAnswers}) {
    SCOPED_TRACE(answers.join(' ').toStdString());
    ExpectLineFaultsOf(command, simulator_options + answers, faults, unsaved);
  }
}

const QString kExample = QString(TARN_SOURCE_DIR) + "/data/examples/nord_yard.dat";
constexpr const char* kPartWritten = "The write stopped; the Tarn now holds part of the configuration.";

}  // namespace

TEST_F(TarnctlTest, WriteClaimsNothingTheTarnDidNotConfirm) {
  ExpectLineFaults({"write", kExample}, {},
                   {{"no-reply@first", 1, kPartWritten},
                    {"no-reply@middle", 1, kPartWritten},
                    {"no-reply@last", 1, kPartWritten},
                    {"bad-checksum@middle", 1, kPartWritten},
                    {"wrong-echo@last", 1, kPartWritten},
                    {"silent", 1, kPartWritten},
                    {"refuse-events", 0, "Written"}});
}

TEST_F(TarnctlTest, AOneWayWriteIsNotCalledWritten) {
  // One way, nothing can be confirmed: exit 3 and no "Written". (A file of start values: one
  // way, every pin and event write waits 100 ms for the Tarn to store it.)
  QTemporaryDir directory;
  const QString plain = WriteFile(directory, "plain.dat", "\"TarnConfiguration 3100\"\r\n\"End\"\r\n");
  Simulator simulator({});
  const Result one_way = RunTarnctl({"write", "--port", simulator.link(), "--one-way", plain});
  EXPECT_EQ(one_way.exit_code, 3) << one_way.err;
  EXPECT_THAT(one_way.err, HasSubstr("Sent; not confirmed by the Tarn, run verify"));
  EXPECT_THAT(one_way.err, ::testing::Not(HasSubstr("Written")));
}

TEST_F(TarnctlTest, VerifyNeverPassesOverAComparisonItCouldNotMake) {
  ExpectLineFaults({"verify", kExample}, {"--load", kExample},
                   {{"no-reply@first", 1, "ReadIDString: No response received"},
                    {"no-reply@middle", 1, "Verification Stopped"},
                    {"no-reply@last", 1, "Pin 32: No response received"},
                    {"wrong-echo@middle", 1, "Verification Stopped"},
                    {"silent", 1, "Verification Stopped"},
                    {"refuse-events", 1, "Read Event-On: Function not supported by Device"}});
}

TEST_F(TarnctlTest, ReadSavesOnlyWhatTheTarnGaveAndSaysWhatIsMissing) {
  QTemporaryDir directory;
  const QString out = directory.filePath("read.dat");
  ExpectLineFaults({"read", "--out", out}, {"--load", kExample},
                   {{"no-reply@first", 1, "the read stopped; " },
                    {"no-reply@middle", 1, "the read stopped; "},
                    {"wrong-echo@last", 1, "not everything was read; "},
                    {"silent", 1, "the read stopped; "},
                    {"refuse-events", 1, "the Event-On actions of pins 1 to 32"}},
                   out);

  // --partial saves what came, and still does not call it a success.
  Simulator simulator({"--load", kExample, "--fault", "refuse-events"});
  const Result partial =
      RunTarnctl({"read", "--port", simulator.link(), "--out", out, "--partial"});
  EXPECT_EQ(partial.exit_code, 1) << partial.err;
  EXPECT_THAT(partial.err, HasSubstr("without what was not read"));
  EXPECT_TRUE(QFileInfo::exists(out));
}

TEST_F(TarnctlTest, AnInterruptedWriteSaysTheTarnHoldsPartOfIt) {
  Simulator simulator({"--pace"});  // a real line's speed: the write takes seconds
  QProcess write;
  write.start(TARNCTL_PATH, {"write", "--port", simulator.link(), kExample});
  ASSERT_TRUE(write.waitForStarted());
  // Interrupted once it is under way.
  write.setReadChannel(QProcess::StandardError);
  write.waitForReadyRead(5000);
  ::kill(static_cast<pid_t>(write.processId()), SIGINT);
  ASSERT_TRUE(write.waitForFinished(10000));
  const std::string err = write.readAllStandardError().toStdString();
  EXPECT_EQ(write.exitCode(), 1) << err;
  EXPECT_THAT(err, HasSubstr("Stopped by the user."));
  EXPECT_THAT(err, HasSubstr(kPartWritten));
}

// The adapter is pulled out in the middle of a write: one error that names the port and says it
// is gone, the line that says what the Tarn was left with, exit 1.
TEST_F(TarnctlTest, APulledAdapterEndsAWriteWithOneMessage) {
  auto simulator = std::make_unique<Simulator>(QStringList{"--pace"});
  const QString link = simulator->link();
  QProcess write;
  write.start(TARNCTL_PATH, {"write", "--port", link, kExample});
  ASSERT_TRUE(write.waitForStarted());
  write.setReadChannel(QProcess::StandardError);
  write.waitForReadyRead(5000);
  simulator.reset();
  ASSERT_TRUE(write.waitForFinished(10000));
  const QString err = QString::fromUtf8(write.readAllStandardError());
  EXPECT_EQ(write.exitCode(), 1) << err.toStdString();
  EXPECT_EQ(err.count(QStringLiteral("tarnctl: error:")), 1) << err.toStdString();
  EXPECT_THAT(err.toStdString(),
              HasSubstr("tarnctl: error: The serial port " + link.toStdString() + " is gone"));
  EXPECT_THAT(err.toStdString(), HasSubstr(kPartWritten));
}

TEST_F(TarnctlTest, MonitorFailsWhenThePortStopsWorking) {
  auto simulator = std::make_unique<Simulator>(QStringList{"--reports", "every"});
  QProcess monitor;
  monitor.start(TARNCTL_PATH, {"monitor", "--port", simulator->link(), "--count", "600"});
  QByteArray out;
  while (!out.contains('<') && monitor.waitForReadyRead(5000)) out += monitor.readAllStandardOutput();
  ASSERT_TRUE(out.contains('<')) << "a report came before the line went";
  simulator.reset();  // the adapter is pulled
  ASSERT_TRUE(monitor.waitForFinished(10000));
  const std::string err = monitor.readAllStandardError().toStdString();
  EXPECT_EQ(monitor.exitCode(), 1) << err;
  EXPECT_THAT(err, HasSubstr("is gone"));
}

namespace {

// A bus of simulated Tarns, one `--tarn` each.
QStringList Bus(const QStringList& tarns) {
  QStringList options = {"--bus"};
  for (const QString& tarn : tarns) options << "--tarn" << tarn;
  return options;
}

}  // namespace

TEST_F(TarnctlTest, ScanListsTheTarnsOfABusAndReportsBadAnswers) {
  Simulator simulator(Bus({"0", "7", "15", "3,fault=silent", "5,fault=garbled",
                           "9,fault=wrong-address"}));
  const QStringList link = {"--port", simulator.link()};
  const Result scan = RunTarnctl(QStringList{"scan"} + link);
  EXPECT_EQ(scan.exit_code, 1) << scan.err;
  EXPECT_EQ(scan.out,
            "module  xaddr  firmware   ID string\n"
            "0       -      3.1.0.10   \"\"\n"
            "7       -      3.1.0.10   \"\"\n"
            "15      -      3.1.0.10   \"\"\n");
  EXPECT_THAT(scan.err, HasSubstr("module 5: garbled answer"));
  EXPECT_THAT(scan.err, HasSubstr("module 9: answer from another address (answered as module 10)"));
  EXPECT_THAT(scan.err, HasSubstr("3 Tarns found on 16 addresses, 150 ms scan wait"));
  EXPECT_THAT(scan.err, ::testing::Not(HasSubstr("No response received")));

  Simulator sound(Bus({"2", "12"}));
  const Result clean = RunTarnctl({"scan", "--port", sound.link(), "--scan-wait", "400"});
  EXPECT_EQ(clean.exit_code, 0) << clean.err;
  EXPECT_THAT(clean.err, HasSubstr("2 Tarns found on 16 addresses, 400 ms scan wait"));
  const Outcome refusals[] = {
      {"wait too short", {"scan", "--port", sound.link(), "--scan-wait", "20"}, 2,
       "--scan-wait must be from 150 to 2000 ms"},
      {"tarn without bus", {"simulate", "--tarn", "3"}, 2, "--tarn needs --bus"},
      {"bad tarn", {"simulate", "--bus", "--tarn", "16"}, 2, "--tarn takes MODULE"},
  };
  for (const Outcome& c : refusals) ExpectOutcome(c);
}

TEST_F(TarnctlTest, BackupCheckAndRestoreAWholeLayout) {
  Simulator simulator(Bus({"0,load=" + kExample, "4", "9"}));
  const QStringList link = {"--port", simulator.link()};
  QTemporaryDir directory;
  const QString folder = directory.filePath("layout");

  const Result backup = RunTarnctl(QStringList{"backup"} + link + QStringList{folder});
  ASSERT_EQ(backup.exit_code, 0) << backup.err;
  EXPECT_THAT(backup.out, HasSubstr("module 0 \"Nord Yard 7\": backed up [tarn-00-Nord Yard 7.dat]"));
  EXPECT_TRUE(ReadFile(folder + "/tarn-00-Nord Yard 7.dat").contains("\"ID$\",\"Nord Yard 7\""));
  EXPECT_TRUE(QFileInfo::exists(folder + "/tarn-04.dat"));
  EXPECT_TRUE(ReadFile(folder + "/layout.json").contains("\"file\": \"tarn-09.dat\""));

  Result check = RunTarnctl(QStringList{"check"} + link + QStringList{folder});
  EXPECT_EQ(check.exit_code, 0) << check.err;
  EXPECT_EQ(QString::fromStdString(check.out).count(": matches"), 3) << check.out;

  // Module 4's DCC address changed on the Tarn: check names it as diff does.
  ASSERT_EQ(RunTarnctl(QStringList{"send"} + link +
                       QStringList{"--module", "4", "--one-way", "96", "4", "45", "0"})
                .exit_code,
            0);
  check = RunTarnctl(QStringList{"check"} + link + QStringList{folder});
  EXPECT_EQ(check.exit_code, 1);
  EXPECT_THAT(check.out, HasSubstr("module 4 \"\": differs, 1 difference [tarn-04.dat]\n"
                                   "  DCC address: "));
  const Result restored = RunTarnctl(QStringList{"restore"} + link + QStringList{folder, "4"});
  EXPECT_EQ(restored.exit_code, 0) << restored.err;
  EXPECT_THAT(restored.err, HasSubstr("module 4 \"\": restored"));
  check = RunTarnctl(QStringList{"check"} + link + QStringList{folder});
  EXPECT_EQ(check.exit_code, 0) << check.out;

  // A hand-broken index: a clear message, and neither the Tarns nor the folder are touched.
  QFile index(folder + "/layout.json");
  ASSERT_TRUE(index.open(QIODevice::ReadWrite));
  QByteArray text = index.readAll();
  text.replace("\"tunnelled\": false,", "\"tunnelled\": false");
  index.resize(0);
  index.write(text);
  index.close();
  const Outcome refusals[] = {
      {"broken check", QStringList{"check"} + link + QStringList{folder}, 1,
       "layout.json cannot be used: line "},
      {"broken backup", QStringList{"backup"} + link + QStringList{folder}, 1,
       "Nothing in the folder was changed."},
      {"broken restore", QStringList{"restore"} + link + QStringList{folder, "4"}, 1,
       "cannot be used"},
      {"no such Tarn", QStringList{"restore"} + link + QStringList{directory.path(), "4"}, 1,
       "There is no layout index"},
      {"module 16", QStringList{"restore"} + link + QStringList{folder, "16"}, 2,
       "MODULE must be a number from 0 to 15"},
  };
  for (const Outcome& c : refusals) ExpectOutcome(c);
  EXPECT_EQ(ReadFile(folder + "/layout.json"), text);
}
