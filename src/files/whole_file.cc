#include "files/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

namespace tarn {
namespace {

constexpr int kTemporaryNameAttempts = 100;

std::string ErrorText(int error_number) { return std::strerror(error_number); }

// Creates a new file beside `path` that no one else has opened, returning its descriptor or -1.
int CreateTemporaryBeside(const std::filesystem::path& path, std::filesystem::path& temporary) {
  const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
  const std::string stem = "." + path.filename().string() + ".tmp" + std::to_string(getpid());
  for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
    temporary = folder / (stem + "_" + std::to_string(attempt));
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
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

// The rename is only durable once the folder itself reaches the disk; failing that is no reason
// to call the save failed, since the new file is in place either way.
void SyncFolder(const std::filesystem::path& path) {
  const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

// Saving through a symbolic link replaces the file it names; renaming over the link itself would
// leave that file stale and turn the link into a copy.
std::filesystem::path FileBehindLink(const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::is_symlink(path, error)) return path;
  std::filesystem::path target = std::filesystem::canonical(path, error);
  return error ? path : target;
}

}  // namespace

bool ReadWholeFile(const std::filesystem::path& path, std::string& contents, std::string& error) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    error = ErrorText(errno);
    return false;
  }
  std::string read;
  char buffer[8192];
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) read.append(buffer, got);
  const bool failed = std::ferror(file) != 0;
  const int read_errno = errno;
  std::fclose(file);
  if (failed) {
    error = ErrorText(read_errno);
    return false;
  }
  contents = std::move(read);
  return true;
}

bool ReplaceWholeFile(const std::filesystem::path& named, std::string_view contents,
                      std::string& error) {
  const std::filesystem::path path = FileBehindLink(named);
  // A rename needs no write permission on the file it replaces: refuse a write-protected one here.
  if (access(path.c_str(), W_OK) != 0 && errno != ENOENT) {
    error = ErrorText(errno);
    return false;
  }
  std::filesystem::path temporary;
  const int fd = CreateTemporaryBeside(path, temporary);
  if (fd < 0) {
    error = ErrorText(errno);
    return false;
  }
  struct stat old_file {};
  bool ok = true;
  if (stat(path.c_str(), &old_file) == 0 && S_ISREG(old_file.st_mode)) {
    ok = fchmod(fd, old_file.st_mode & 07777) == 0;
  }
  ok = ok && WriteAll(fd, contents) && fsync(fd) == 0;
  int failure = ok ? 0 : errno;
  if (close(fd) != 0 && ok) {
    ok = false;
    failure = errno;
  }
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

bool ReadWholeFileOrWarn(const std::filesystem::path& path, std::string& contents,
                         Prompter& prompter) {
  std::string error;
  if (ReadWholeFile(path, contents, error)) return true;
  prompter.Show("Cannot open " + path.string() + ": " + error, PromptIcon::kWarning);
  return false;
}

bool ReplaceWholeFileOrWarn(const std::filesystem::path& path, std::string_view contents,
                            Prompter& prompter) {
  std::string error;
  if (ReplaceWholeFile(path, contents, error)) return true;
  prompter.Show("Cannot save " + path.string() + ": " + error, PromptIcon::kWarning);
  return false;
}

}  // namespace tarn
