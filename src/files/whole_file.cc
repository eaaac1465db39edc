#include "files/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <system_error>

namespace tarn {
namespace {

namespace fs = std::filesystem;

constexpr int kTemporaryNameAttempts = 100;
constexpr int kMaxLinkHops = 40;  // as many as the kernel follows before it gives up
constexpr std::size_t kMebibyte = 1024 * 1024;
constexpr std::size_t kReadChunkBytes = 16 * 1024;
constexpr std::string_view kForeignLinkText =
    "it is a symbolic link owned by another user in a shared folder; not followed";
constexpr std::string_view kPipeWithoutReaderText = "it is a pipe that no program is reading";

std::string ErrorText(int error_number) { return std::strerror(error_number); }

std::string TooLargeText() {
  return "the file is larger than " + std::to_string(kMaxReadFileBytes / kMebibyte) + " MiB";
}

fs::path FolderOf(const fs::path& path) {
  return path.has_parent_path() ? path.parent_path() : ".";
}

// 0 when the program may `mode` `path`, judged by the effective ids the open that follows will
// be judged by; otherwise the reason's error number.
int AccessError(const fs::path& path, int mode) {
  return faccessat(AT_FDCWD, path.c_str(), mode, AT_EACCESS) == 0 ? 0 : errno;
}

// Reads to the end of `fd` or until `out` holds `limit` bytes, whichever comes first.
bool ReadAtMost(int fd, std::size_t limit, std::string& out) {
  char buffer[kReadChunkBytes];
  while (out.size() < limit) {
    const ssize_t got = read(fd, buffer, std::min(sizeof buffer, limit - out.size()));
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (got == 0) return true;
    out.append(buffer, static_cast<std::size_t>(got));
  }
  return true;
}

bool WriteAll(int fd, std::string_view contents) {
  while (!contents.empty()) {
    const ssize_t written = write(fd, contents.data(), contents.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    contents.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// Closes `fd` after writing to it; a close that fails reports a write that failed late.
bool CloseAfterWriting(int fd, bool written, int& failure) {
  failure = written ? 0 : errno;
  if (close(fd) != 0 && written) {
    failure = errno;
    return false;
  }
  return written;
}

// The kernel follows a link in a sticky world-writable folder (as /tmp) only for the link's owner,
// or when the folder's owner owns the link too: anyone may plant a link there that names a file of
// someone else's. A save reads its links by hand, which would pass that rule by, so it is kept
// here as well.
bool MayFollow(const fs::path& link, const struct stat& link_status) {
  if (link_status.st_uid == geteuid()) return true;
  struct stat folder {};
  if (stat(FolderOf(link).c_str(), &folder) != 0) return false;
  constexpr mode_t kShared = S_ISVTX | S_IWOTH;
  return (folder.st_mode & kShared) != kShared || folder.st_uid == link_status.st_uid;
}

// Follows the links `named` leads through to the name a save replaces: renaming over a link would
// leave the file it names stale and turn the link into a copy. Stops at the first name that is no
// link; refuses a link the kernel would not follow.
bool FollowLinks(const fs::path& named, fs::path& path, std::string& error) {
  path = named;
  for (int hop = 0;; ++hop) {
    struct stat status {};
    if (lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return true;
    if (hop == kMaxLinkHops) {
      error = ErrorText(ELOOP);
      return false;
    }
    if (!MayFollow(path, status)) {
      error = kForeignLinkText;
      return false;
    }
    std::error_code code;
    const fs::path target = fs::read_symlink(path, code);
    if (code) {
      error = code.message();
      return false;
    }
    path = target.is_absolute() ? target : FolderOf(path) / target;
  }
}

// Where a save writes and how.
struct Destination {
  fs::path path;
  bool stream = false;  // a pipe, terminal or device: it has no folder entry to replace
  bool pipe = false;
};

std::optional<Destination> FindDestination(const fs::path& named, std::string& error) {
  Destination destination;
  if (!FollowLinks(named, destination.path, error)) return std::nullopt;
  int failure = 0;
  struct stat status {};
  // Asked of the name as given, so that the kernel sees through the links that name no path,
  // such as /dev/stdout on a pipe.
  if (stat(named.c_str(), &status) == 0 && !S_ISREG(status.st_mode)) {
    destination = {named, true, S_ISFIFO(status.st_mode)};
    failure = S_ISDIR(status.st_mode) ? EISDIR : AccessError(named, W_OK);
  } else {
    // A rename needs no write permission on the file it replaces: refuse a write-protected one.
    failure = AccessError(destination.path, W_OK);
    if (failure == 0 || failure == ENOENT) {
      failure = AccessError(FolderOf(destination.path), W_OK | X_OK);
    }
  }
  if (failure != 0) {
    error = ErrorText(failure);
    return std::nullopt;
  }
  return destination;
}

// Opening without waiting tells whether a pipe has a reader at all; the writes then wait for it.
bool WriteInto(const Destination& destination, std::string_view contents, std::string& error) {
  const int fd = open(destination.path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    const int failure = errno;
    error = failure == ENXIO && destination.pipe ? std::string(kPipeWithoutReaderText)
                                                 : ErrorText(failure);
    return false;
  }
  const int flags = fcntl(fd, F_GETFL);
  const bool written =
      flags >= 0 && fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0 && WriteAll(fd, contents);
  int failure = 0;
  if (CloseAfterWriting(fd, written, failure)) return true;
  error = ErrorText(failure);
  return false;
}

// Creates a new file beside `path` that no one else has opened, returning its descriptor or -1.
int CreateTemporaryBeside(const fs::path& path, fs::path& temporary) {
  const std::string stem = "." + path.filename().string() + ".tmp" + std::to_string(getpid());
  for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
    temporary = FolderOf(path) / (stem + "_" + std::to_string(attempt));
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// Gives the new file the old one's owner, group and permissions. Only a privileged program may
// give a file away; for any other the file becomes the user's, as every file they write does, and
// keeps its group when they belong to it. Neither fails the save.
bool TakeOver(int fd, const struct stat& old_file) {
  [[maybe_unused]] const bool owned = fchown(fd, old_file.st_uid, old_file.st_gid) == 0 ||
                                      fchown(fd, static_cast<uid_t>(-1), old_file.st_gid) == 0;
  // After the owner, whose change clears the set-id bits.
  return fchmod(fd, old_file.st_mode & 07777) == 0;
}

// The rename is only durable once the folder itself reaches the disk; failing that is no reason
// to call the save failed, since the new file is in place either way.
void SyncFolder(const fs::path& path) {
  const int fd = open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

bool ReplaceFile(const fs::path& path, std::string_view contents, std::string& error) {
  fs::path temporary;
  const int fd = CreateTemporaryBeside(path, temporary);
  if (fd < 0) {
    error = ErrorText(errno);
    return false;
  }
  struct stat old_file {};
  bool ok =
      stat(path.c_str(), &old_file) != 0 || !S_ISREG(old_file.st_mode) || TakeOver(fd, old_file);
  int failure = 0;
  ok = CloseAfterWriting(fd, ok && WriteAll(fd, contents) && fsync(fd) == 0, failure);
  if (ok && std::rename(temporary.c_str(), path.c_str()) != 0) {
    ok = false;
    failure = errno;
  }
  if (!ok) {
    unlink(temporary.c_str());
    error = ErrorText(failure);
    return false;
  }
  SyncFolder(path);
  return true;
}

}  // namespace

bool ReadWholeFile(const fs::path& path, std::string& contents, std::string& error) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    error = ErrorText(errno);
    return false;
  }
  std::string read_bytes;
  const bool read_ok = ReadAtMost(fd, kMaxReadFileBytes + 1, read_bytes);
  const int read_errno = errno;
  close(fd);
  if (!read_ok) {
    error = ErrorText(read_errno);
    return false;
  }
  if (read_bytes.size() > kMaxReadFileBytes) {
    error = TooLargeText();
    return false;
  }
  contents = std::move(read_bytes);
  return true;
}

bool ReplaceWholeFile(const fs::path& path, std::string_view contents, std::string& error) {
  const std::optional<Destination> destination = FindDestination(path, error);
  if (!destination) return false;
  if (destination->stream) return WriteInto(*destination, contents, error);
  return ReplaceFile(destination->path, contents, error);
}

bool CheckSaveDestination(const fs::path& path, std::string& error) {
  return FindDestination(path, error).has_value();
}

bool ReadWholeFileOrWarn(const fs::path& path, std::string& contents, Prompter& prompter) {
  std::string error;
  if (ReadWholeFile(path, contents, error)) return true;
  prompter.Show("Cannot open " + path.string() + ": " + error, PromptIcon::kWarning);
  return false;
}

bool ReplaceWholeFileOrWarn(const fs::path& path, std::string_view contents, Prompter& prompter) {
  std::string error;
  if (ReplaceWholeFile(path, contents, error)) return true;
  prompter.Show("Cannot save " + path.string() + ": " + error, PromptIcon::kWarning);
  return false;
}

}  // namespace tarn
