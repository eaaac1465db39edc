// The real QSerialPort path on a pseudo-terminal whose other end the test plays.

#include "platform/qt_serial_port.h"

#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <QCoreApplication>
#include <array>
#include <thread>
#include <vector>

#include "link/frame_checksum.h"
#include "link/link.h"
#include "platform/steady_clock.h"
#include "support/recording_prompter.h"

namespace tarn {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

// The master side of a pseudo-terminal in raw mode.
class Terminal {
 public:
  Terminal() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    grantpt(master_);
    unlockpt(master_);
    device_ = ptsname(master_);
    termios attributes{};
    tcgetattr(master_, &attributes);
    cfmakeraw(&attributes);
    tcsetattr(master_, TCSANOW, &attributes);
  }
  ~Terminal() { Close(); }
  void Close() {
    if (master_ >= 0) close(master_);
    master_ = -1;
  }
  const std::string& device() const { return device_; }

  // Reads what arrives within `milliseconds`.
  std::vector<std::uint8_t> Read(int count, int milliseconds = 2000) {
    std::vector<std::uint8_t> bytes;
    while (static_cast<int>(bytes.size()) < count) {
      pollfd wanted{master_, POLLIN, 0};
      if (poll(&wanted, 1, milliseconds) <= 0) break;
      std::uint8_t byte = 0;
      if (read(master_, &byte, 1) != 1) break;
      bytes.push_back(byte);
    }
    return bytes;
  }
  void Write(const std::vector<std::uint8_t>& bytes) {
    ASSERT_EQ(write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }

 private:
  int master_ = -1;
  std::string device_;
};

class QtSerialPortTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "platform_tests";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
  }
  SteadyClock clock_;
  QtSerialPort port_{clock_};
  testing::RecordingPrompter prompter_;
  Link link_{port_, clock_, prompter_};
};

TEST_F(QtSerialPortTest, MissingDeviceSaysSo) {
  EXPECT_FALSE(link_.OpenPortByName("/dev/no-such-tarn-adapter"));
  ASSERT_EQ(prompter_.messages.size(), 1u);
  EXPECT_THAT(prompter_.messages[0].text, HasSubstr("no such device"));
  EXPECT_FALSE(link_.port_open());
}

TEST_F(QtSerialPortTest, FramesGoOutByteExactAndAReplyComesBack) {
  Terminal terminal;
  ASSERT_TRUE(link_.OpenPortByName(terminal.device()));
  std::thread device([&terminal] {
    // The resynchronisation (12 bytes), then the request with toggle 64.
    const std::vector<std::uint8_t> received = terminal.Read(12 + 5);
    if (received.size() != 17) return;
    std::vector<std::uint8_t> reply = {0x43, 0xE6, 0xF0, 0x80, 0x83, 0x81, 0x80, 0x8A};
    reply.push_back(FrameChecksum(reply));
    terminal.Write(reply);
  });
  const std::array<std::uint8_t, 2> request = {0x70, 0x00};
  EXPECT_TRUE(link_.SendTarnMessage(true, request));
  device.join();
  EXPECT_TRUE(link_.reply_valid())
      << (prompter_.messages.empty() ? "" : prompter_.messages[0].text);
  EXPECT_THAT(link_.ReplyPayload(), ElementsAre(0x70, 0, 3, 1, 0, 10));
}

TEST_F(QtSerialPortTest, PortThatVanishesMidExchangeFailsTheExchange) {
  Terminal terminal;
  ASSERT_TRUE(link_.OpenPortByName(terminal.device()));
  std::thread device([&terminal] {
    terminal.Read(17);
    terminal.Close();  // the adapter is pulled while the program waits for the reply
  });
  const std::array<std::uint8_t, 2> request = {0x70, 0x00};
  const bool sent = link_.SendTarnMessage(true, request);
  device.join();
  EXPECT_FALSE(link_.reply_valid());
  EXPECT_FALSE(sent);
  EXPECT_FALSE(link_.port_open());
  ASSERT_EQ(prompter_.messages.size(), 1u);
  EXPECT_THAT(prompter_.messages[0].text, HasSubstr("is gone"));
}

// Pulled out while the line is quiet: the event loop that watches the port marks it failed, and
// the next look finds it gone though nothing was sent.
TEST_F(QtSerialPortTest, PortThatVanishesWhileQuietIsFoundGone) {
  Terminal terminal;
  ASSERT_TRUE(link_.OpenPortByName(terminal.device()));
  terminal.Close();
  for (int i = 0; i < 50 && !port_.Failed(); ++i) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  EXPECT_TRUE(port_.Failed());
  link_.CheckPortStillThere(true);
  EXPECT_FALSE(link_.port_open());
  ASSERT_EQ(prompter_.messages.size(), 1u);
  EXPECT_THAT(prompter_.messages[0].text, HasSubstr("is gone"));
}

}  // namespace
}  // namespace tarn
