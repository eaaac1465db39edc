#include "sim/pty_bridge.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <thread>

namespace tarn::sim {
namespace {

std::string ReadLinkTarget(const std::string& path) {
  std::array<char, 4096> target{};
  const ssize_t length = readlink(path.c_str(), target.data(), target.size() - 1);
  return length < 0 ? std::string() : std::string(target.data(), static_cast<size_t>(length));
}

}  // namespace

PtyBridge::PtyBridge(SimulatedDevice& device) : device_(device) {}

PtyBridge::~PtyBridge() { Close(); }

bool PtyBridge::Fail(const std::string& what) {
  error_text_ = what + ": " + strerror(errno);
  Close();
  return false;
}

bool PtyBridge::Open(const std::string& link_path) {
  Close();
  error_text_.clear();
  master_fd_ = posix_openpt(O_RDWR | O_NOCTTY);
  if (master_fd_ < 0) return Fail("cannot open a pseudo-terminal");
  if (grantpt(master_fd_) != 0 || unlockpt(master_fd_) != 0)
    return Fail("cannot unlock the pseudo-terminal");
  const char* name = ptsname(master_fd_);
  if (name == nullptr) return Fail("cannot name the pseudo-terminal");
  device_path_ = name;

  slave_fd_ = open(device_path_.c_str(), O_RDWR | O_NOCTTY);
  if (slave_fd_ < 0) return Fail("cannot open " + device_path_);
  // Raw: no echo, no line editing, no translation of bytes.
  termios settings{};
  if (tcgetattr(slave_fd_, &settings) != 0) return Fail("cannot read terminal settings");
  cfmakeraw(&settings);
  if (tcsetattr(slave_fd_, TCSANOW, &settings) != 0) return Fail("cannot set raw mode");
  // A program that stops reading must not block the device: what does not fit is lost, as on a
  // real line.
  const int flags = fcntl(master_fd_, F_GETFL);
  if (flags < 0 || fcntl(master_fd_, F_SETFL, flags | O_NONBLOCK) != 0)
    return Fail("cannot configure the pseudo-terminal");

  if (!link_path.empty() && !MakeLink(link_path)) return false;
  return true;
}

bool PtyBridge::MakeLink(const std::string& link_path) {
  struct stat status {};
  if (lstat(link_path.c_str(), &status) == 0) {
    if (!S_ISLNK(status.st_mode)) {
      error_text_ = link_path + " exists and is not a symbolic link";
      Close();
      return false;
    }
    if (unlink(link_path.c_str()) != 0) return Fail("cannot replace " + link_path);
  }
  if (symlink(device_path_.c_str(), link_path.c_str()) != 0)
    return Fail("cannot link " + link_path);
  link_path_ = link_path;
  return true;
}

void PtyBridge::Close() {
  // Remove only our own link; someone may have pointed it elsewhere meanwhile.
  if (!link_path_.empty() && ReadLinkTarget(link_path_) == device_path_) unlink(link_path_.c_str());
  link_path_.clear();
  if (slave_fd_ >= 0) close(slave_fd_);
  if (master_fd_ >= 0) close(master_fd_);
  slave_fd_ = master_fd_ = -1;
  pending_.clear();
}

bool PtyBridge::Run(const std::atomic<bool>& stop) {
  if (master_fd_ < 0) return false;
  std::array<std::uint8_t, 256> buffer{};
  while (!stop.load()) {
    pollfd watch{master_fd_, POLLIN, 0};
    const timespec timeout = PollTimeout();
    const int ready = ppoll(&watch, 1, &timeout, nullptr);
    if (ready < 0 && errno != EINTR) return Fail("waiting on the pseudo-terminal");
    if (ready > 0) {
      if ((watch.revents & (POLLERR | POLLNVAL)) != 0) {
        error_text_ = "the pseudo-terminal failed";
        return false;
      }
      if ((watch.revents & POLLIN) != 0) {
        const ssize_t count = read(master_fd_, buffer.data(), buffer.size());
        if (count < 0 && errno != EAGAIN && errno != EINTR) return Fail("reading");
        if (count > 0) FeedDevice(std::span(buffer).first(static_cast<std::size_t>(count)));
      } else if ((watch.revents & POLLHUP) != 0) {
        // A hang-up is reported again at once by every poll(); wait instead of spinning.
        std::this_thread::sleep_for(std::chrono::milliseconds(kPollMilliseconds));
      }
    }
    WriteDueAnswers();
  }
  return true;
}

void PtyBridge::FeedDevice(std::span<const std::uint8_t> bytes) {
  const auto seconds = [](double value) {
    return std::chrono::duration_cast<std::chrono::steady_clock::duration>(
        std::chrono::duration<double>(value));
  };
  const SteadyTime now = std::chrono::steady_clock::now();
  std::vector<std::uint8_t> answer;
  for (const std::uint8_t byte : bytes) {
    received_until_ = std::max(received_until_, now) + seconds(byte_seconds_);
    answer.clear();
    device_.Receive(byte, answer);
    if (answer.empty()) continue;
    const SteadyTime starts =
        std::max(received_until_ + seconds(device_.LastAnswerDelay()), transmit_free_at_);
    const SteadyTime due = starts + seconds(byte_seconds_ * static_cast<double>(answer.size()));
    transmit_free_at_ = due;
    pending_.push_back({due + seconds(adapter_hold_seconds_), answer});
  }
}

// Answers leave in order, as on a line: one that comes after a late answer waits for it.
void PtyBridge::WriteDueAnswers() {
  const SteadyTime now = std::chrono::steady_clock::now();
  while (!pending_.empty() && pending_.front().due <= now) {
    const std::vector<std::uint8_t>& bytes = pending_.front().bytes;
    // Non-blocking: bytes the terminal cannot take are lost, as on a line nobody reads.
    if (write(master_fd_, bytes.data(), bytes.size()) < 0) error_text_ = strerror(errno);
    pending_.pop_front();
  }
}

// To the nanosecond: a paced answer rounded up to whole milliseconds would make the line slower
// than the wire it stands for.
timespec PtyBridge::PollTimeout() const {
  std::chrono::nanoseconds wait = std::chrono::milliseconds(kPollMilliseconds);
  if (!pending_.empty()) {
    wait = std::clamp<std::chrono::nanoseconds>(
        pending_.front().due - std::chrono::steady_clock::now(), std::chrono::nanoseconds(0), wait);
  }
  const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(wait);
  return {static_cast<time_t>(seconds.count()), static_cast<long>((wait - seconds).count())};
}

}  // namespace tarn::sim
