// tarnctl as a user runs it: `tarnctl simulate` on a pseudo-terminal, `tarnctl send` through
// QSerialPort to it.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
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
  const struct {
    const char* name;
    QStringList arguments;
    int exit_code;
    const char* message;
  } cases[] = {
      {"nobody at module 5",
       {"send", "--port", port, "--module", "5", "112", "0"},
       1,
       "No response received, resetting bidirectional communication"},
      {"value above 127", {"send", "--port", port, "112", "200"}, 1, "nothing was sent"},
      {"no such port", {"send", "--port", "/dev/no-such-tarn", "112", "0"}, 1, "no such device"},
      {"no port", {"send", "112", "0"}, 2, "--port is required"},
      {"bad baud", {"send", "--port", port, "--baud", "1200", "112"}, 2, "--baud"},
      {"bad module", {"send", "--port", port, "--module", "16", "112"}, 2, "--module"},
      {"bad value", {"send", "--port", port, "x"}, 2, "payload values"},
      {"unknown command", {"frobnicate"}, 2, "unknown command"},
  };
  for (const auto& c : cases) {
    const Result result = RunTarnctl(c.arguments);
    EXPECT_EQ(result.exit_code, c.exit_code) << c.name << ": " << result.err;
    EXPECT_THAT(result.err, HasSubstr(c.message)) << c.name;
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

}  // namespace
