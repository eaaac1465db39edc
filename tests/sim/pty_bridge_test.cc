#include "sim/pty_bridge.h"

#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "sim/simulated_tarn.h"
#include "tarn_test_frames.h"

namespace tarn::sim {
namespace {

using testing::Bytes;
using ::testing::IsEmpty;

namespace fs = std::filesystem;

const Bytes kVersionRequest = {0x03, 0xE2, 0xF0, 0x80, 0xAB};
const Bytes kVersionReply = {0x03, 0xE6, 0xF0, 0x80, 0x83, 0x81, 0x80, 0x8A, 0x99};

// A program on the other end: opens the terminal's device file like any serial program.
class Client {
 public:
  explicit Client(const std::string& path) : fd_(open(path.c_str(), O_RDWR | O_NOCTTY)) {}
  ~Client() {
    if (fd_ >= 0) close(fd_);
  }
  bool ok() const { return fd_ >= 0; }
  bool Send(const Bytes& bytes) {
    return write(fd_, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
  }
  // Reads until `count` bytes came or `timeout` passed.
  Bytes Receive(std::size_t count, std::chrono::milliseconds timeout) {
    Bytes bytes;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (bytes.size() < count) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0) break;
      pollfd watch{fd_, POLLIN, 0};
      if (poll(&watch, 1, static_cast<int>(left.count())) <= 0) break;
      std::uint8_t buffer[64];
      const ssize_t got = read(fd_, buffer, std::min(sizeof buffer, count - bytes.size()));
      if (got <= 0) break;
      bytes.insert(bytes.end(), buffer, buffer + got);
    }
    return bytes;
  }

 private:
  int fd_;
};

// A bridge serving on its own thread for the length of a test.
class PtyBridgeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    directory_ = fs::temp_directory_path() /
                 ("tarn_pty_test_" + std::to_string(getpid()) + "_" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(directory_);
  }
  void TearDown() override {
    Stop();
    fs::remove_all(directory_);
  }
  void Start() {
    server_ = std::thread([this] { run_result_ = bridge_.Run(stop_); });
  }
  void Stop() {
    stop_ = true;
    if (server_.joinable()) server_.join();
  }

  SimulatedTarn tarn_;
  PtyBridge bridge_{tarn_};
  std::atomic<bool> stop_ = false;
  bool run_result_ = false;
  std::thread server_;
  fs::path directory_;
};

TEST_F(PtyBridgeTest, KeepsServingWhenAProgramClosesTheTerminalAndAnotherOpensIt) {
  ASSERT_TRUE(bridge_.Open()) << bridge_.error_text();
  EXPECT_THAT(bridge_.device_path(), ::testing::StartsWith("/dev/pts/"));
  Start();
  for (int round = 0; round < 3; ++round) {
    Client client(bridge_.device_path());
    ASSERT_TRUE(client.ok());
    ASSERT_TRUE(client.Send(kVersionRequest));
    EXPECT_EQ(client.Receive(kVersionReply.size(), std::chrono::seconds(2)), kVersionReply)
        << "round " << round;
  }
}

TEST_F(PtyBridgeTest, WritesALateAnswerAfterItsDelay) {
  tarn_.set_late_reply_delay(0.4);
  tarn_.InjectFault(Fault::kLateReply);
  ASSERT_TRUE(bridge_.Open()) << bridge_.error_text();
  Start();
  Client client(bridge_.device_path());
  ASSERT_TRUE(client.Send(kVersionRequest));
  EXPECT_THAT(client.Receive(1, std::chrono::milliseconds(200)), IsEmpty());
  EXPECT_EQ(client.Receive(kVersionReply.size(), std::chrono::seconds(2)), kVersionReply);
}

TEST_F(PtyBridgeTest, APromptAnswerWaitsBehindALateOne) {
  tarn_.set_late_reply_delay(0.3);
  tarn_.InjectFault(Fault::kLateReply);
  ASSERT_TRUE(bridge_.Open()) << bridge_.error_text();
  Start();
  Client client(bridge_.device_path());
  const Bytes toggled_request = {0x43, 0xE2, 0xF0, 0x80, 0xEB};
  ASSERT_TRUE(client.Send(kVersionRequest));
  ASSERT_TRUE(client.Send(toggled_request));
  const Bytes both = client.Receive(2 * kVersionReply.size(), std::chrono::seconds(2));
  ASSERT_EQ(both.size(), 2 * kVersionReply.size());
  EXPECT_EQ(both.front(), 0x03) << "the late answer first";
  EXPECT_EQ(both[kVersionReply.size()], 0x43);
}

TEST_F(PtyBridgeTest, LinksToTheTerminalAndRemovesTheLinkWhenDone) {
  const fs::path link = directory_ / "tarn0";
  fs::create_symlink("/nonexistent", link);  // left over from an earlier run
  ASSERT_TRUE(bridge_.Open(link.string())) << bridge_.error_text();
  EXPECT_EQ(fs::read_symlink(link), bridge_.device_path());
  Start();
  {
    Client client(link.string());
    ASSERT_TRUE(client.ok());
    ASSERT_TRUE(client.Send(kVersionRequest));
    EXPECT_EQ(client.Receive(kVersionReply.size(), std::chrono::seconds(2)), kVersionReply);
  }
  Stop();
  EXPECT_TRUE(run_result_);
  bridge_.Close();
  EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
}

TEST_F(PtyBridgeTest, LeavesAFileThatIsNotALinkAlone) {
  const fs::path file = directory_ / "tarn0";
  std::ofstream(file) << "keep me";
  EXPECT_FALSE(bridge_.Open(file.string()));
  EXPECT_THAT(bridge_.error_text(), ::testing::HasSubstr("not a symbolic link"));
  EXPECT_TRUE(fs::is_regular_file(file));
}

TEST_F(PtyBridgeTest, StopsPromptlyAndIdlesWithoutSpinning) {
  ASSERT_TRUE(bridge_.Open()) << bridge_.error_text();
  const std::clock_t cpu_start = std::clock();
  Start();
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  const auto stop_time = std::chrono::steady_clock::now();
  Stop();
  const double cpu_seconds = static_cast<double>(std::clock() - cpu_start) / CLOCKS_PER_SEC;
  EXPECT_LT(std::chrono::steady_clock::now() - stop_time, std::chrono::milliseconds(500));
  EXPECT_LT(cpu_seconds, 0.1) << "the loop sleeps in poll() while idle";
  EXPECT_TRUE(run_result_);
}

}  // namespace
}  // namespace tarn::sim
