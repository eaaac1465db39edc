#include "files/whole_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "support/recording_prompter.h"
#include "temporary_folder.h"

namespace tarn {
namespace {

namespace fs = std::filesystem;
using testing::FileText;

constexpr std::string_view kOld = "old contents";
constexpr std::string_view kNew = "new contents\r\n";
constexpr uid_t kSomeone = 65534;
constexpr uid_t kSomeoneElse = 65533;
constexpr std::string_view kForeignLink =
    "it is a symbolic link owned by another user in a shared folder; not followed";

// A destination as a save finds it.
struct Destination {
  fs::path save_to = {};
  fs::path lands_in = {};   // where the bytes must arrive; empty when the save is refused
  fs::path untouched = {};  // a file that must keep kOld
  int reader = -1;          // the read end of a pipe
};

struct SaveCase {
  std::string name;
  bool needs_root;  // to give files to other users
  std::function<Destination(const fs::path& folder)> prepare;
  std::string refusal;  // empty when the save succeeds
  bool check_passes;
};

fs::path OldFile(const fs::path& path) {
  std::ofstream(path, std::ios::binary) << kOld;
  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  return path;
}

// A folder anyone may add to but only owners remove from, as /tmp, owned by kSomeone, holding a
// link owned by `link_owner` to a file outside it.
Destination SharedFolderLink(const fs::path& folder, uid_t link_owner) {
  const fs::path shared = folder / "shared";
  fs::create_directory(shared);
  chmod(shared.c_str(), 01777);
  EXPECT_EQ(chown(shared.c_str(), kSomeone, kSomeone), 0);
  const fs::path real = OldFile(folder / "real.dat");
  fs::create_symlink(real, shared / "layout.dat");
  EXPECT_EQ(lchown((shared / "layout.dat").c_str(), link_owner, link_owner), 0);
  return {shared / "layout.dat", link_owner == kSomeone ? real : fs::path(), real};
}

// The mode, owner and file a replaced file must keep, and the inode it must not.
void ExpectReplacedInPlaceOf(const fs::path& path, const struct stat& before) {
  struct stat after {};
  ASSERT_EQ(stat(path.c_str(), &after), 0);
  EXPECT_EQ(after.st_mode, before.st_mode);
  EXPECT_EQ(after.st_uid, before.st_uid);
  EXPECT_EQ(after.st_gid, before.st_gid);
  EXPECT_NE(after.st_ino, before.st_ino) << "replaced by a new file, not written over";
}

std::string Drain(int fd) {
  std::string bytes(1024, '\0');
  const ssize_t got = read(fd, bytes.data(), bytes.size());
  bytes.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
  return bytes;
}

class WholeFileTest : public testing::TemporaryFolderTest {};

TEST_F(WholeFileTest, SavesToEachKindOfDestination) {
  const std::vector<SaveCase> cases = {
      {"regular file", false,
       [](const fs::path& folder) {
         const fs::path file = OldFile(folder / "layout.dat");
         if (geteuid() == 0) {
           EXPECT_EQ(chown(file.c_str(), kSomeone, kSomeoneElse), 0);
         }
         return Destination{.save_to = file, .lands_in = file};
       },
       "", true},
      {"link to a file", false,
       [](const fs::path& folder) {
         fs::create_symlink("real.dat", folder / "layout.dat");
         return Destination{.save_to = folder / "layout.dat",
                            .lands_in = OldFile(folder / "real.dat")};
       },
       "", true},
      {"pipe with a reader", false,
       [](const fs::path& folder) {
         const fs::path pipe = folder / "pipe";
         EXPECT_EQ(mkfifo(pipe.c_str(), 0600), 0);
         // Open for reading and writing, the pipe has a reader at once and the test no thread.
         return Destination{
             .save_to = pipe, .lands_in = pipe, .reader = open(pipe.c_str(), O_RDWR | O_NONBLOCK)};
       },
       "", true},
      {"pipe without a reader", false,
       [](const fs::path& folder) {
         EXPECT_EQ(mkfifo((folder / "pipe").c_str(), 0600), 0);
         return Destination{.save_to = folder / "pipe"};
       },
       "it is a pipe that no program is reading", true},
      {"someone else's link in a shared folder", true,
       [](const fs::path& folder) { return SharedFolderLink(folder, kSomeoneElse); },
       std::string(kForeignLink), false},
      {"the shared folder owner's link", true,
       [](const fs::path& folder) { return SharedFolderLink(folder, kSomeone); }, "", true},
      {"missing folder", false,
       [](const fs::path& folder) {
         return Destination{.save_to = folder / "missing" / "layout.dat"};
       },
       "No such file or directory", false},
  };
  for (const SaveCase& test : cases) {
    // Without root no file can be given to another user; those cases are left out.
    if (test.needs_root && geteuid() != 0) continue;
    SCOPED_TRACE(test.name);
    const fs::path folder = folder_ / test.name;
    fs::create_directory(folder);
    const Destination destination = test.prepare(folder);
    struct stat before {};
    const bool was_file =
        stat(destination.lands_in.c_str(), &before) == 0 && S_ISREG(before.st_mode);

    std::string check_error;
    EXPECT_EQ(CheckSaveDestination(destination.save_to, check_error), test.check_passes);
    std::string error;
    EXPECT_EQ(ReplaceWholeFile(destination.save_to, kNew, error), test.refusal.empty());
    EXPECT_EQ(error, test.refusal);
    if (!test.check_passes) {
      EXPECT_EQ(check_error, test.refusal);
    }

    if (destination.reader >= 0) {
      EXPECT_EQ(Drain(destination.reader), kNew);
      close(destination.reader);
    } else if (!destination.lands_in.empty()) {
      EXPECT_EQ(FileText(destination.lands_in), kNew);
    }
    if (was_file) ExpectReplacedInPlaceOf(destination.lands_in, before);
    if (!destination.untouched.empty() && destination.untouched != destination.lands_in) {
      EXPECT_EQ(FileText(destination.untouched), kOld);
    }
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
      EXPECT_NE(entry.path().filename().string()[0], '.') << "temporary file left behind";
    }
  }
}

TEST_F(WholeFileTest, ReadsUpToSixteenMebibytesAndNoMore) {
  const auto sparse = [this](std::size_t size) {
    const fs::path path = folder_ / std::to_string(size);
    std::ofstream{path};
    fs::resize_file(path, size);
    return path;
  };
  std::string contents = "kept";
  std::string error;
  ASSERT_TRUE(ReadWholeFile(sparse(kMaxReadFileBytes), contents, error)) << error;
  EXPECT_EQ(contents.size(), kMaxReadFileBytes);

  contents = "kept";
  testing::RecordingPrompter prompter;
  const fs::path oversize = sparse(17 * 1024 * 1024);
  EXPECT_FALSE(ReadWholeFileOrWarn(oversize, contents, prompter));
  EXPECT_FALSE(ReadWholeFileOrWarn("/dev/zero", contents, prompter));
  EXPECT_EQ(contents, "kept");
  EXPECT_EQ(prompter.Texts(),
            (std::vector<std::string>{
                "Cannot open " + oversize.string() + ": the file is larger than 16 MiB",
                "Cannot open /dev/zero: the file is larger than 16 MiB"}));
}

}  // namespace
}  // namespace tarn
