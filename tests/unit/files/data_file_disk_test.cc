#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>

#include "files/data_file.h"
#include "rich_configuration.h"
#include "support/recording_prompter.h"
#include "temporary_folder.h"

namespace tarn {
namespace {

namespace fs = std::filesystem;
using testing::FileText;
using testing::RecordingPrompter;

class DataFileDiskTest : public testing::TemporaryFolderTest {
 protected:
  void SetUp() override {
    TemporaryFolderTest::SetUp();
    path_ = folder_ / "layout.dat";
  }

  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder_)) {
      names.push_back(entry.path().filename().string());
    }
    return names;
  }

  void WriteOldFile() {
    std::ofstream(path_, std::ios::binary) << kOld;
    fs::permissions(path_, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  }

  static constexpr std::string_view kOld = "old contents";
  fs::path path_;
  RecordingPrompter prompter_;
};

TEST_F(DataFileDiskTest, SaveReplacesTheFileAndLoadsBack) {
  WriteOldFile();
  DeviceConfiguration config = testing::RichConfiguration();
  config.pins[1].pin_config[2] = 90;  // Servo Initialised set
  ASSERT_TRUE(SaveDataFile(path_, config, DataFileForm::kFull, prompter_));
  EXPECT_EQ(config.pins[1].pin_config[2], 26);
  EXPECT_EQ(Entries(), std::vector<std::string>{"layout.dat"}) << "no temporary file left";
  EXPECT_EQ(fs::status(path_).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  DeviceConfiguration copy = config;
  EXPECT_EQ(FileText(path_), WriteDataFile(copy, DataFileForm::kFull));

  DeviceConfiguration loaded;
  ASSERT_TRUE(LoadDataFile(path_, loaded, prompter_));
  EXPECT_EQ(loaded.pins[1], config.pins[1]);
  EXPECT_TRUE(prompter_.messages.empty());
}

TEST_F(DataFileDiskTest, SaveKeepsAWriteProtectedFile) {
  if (geteuid() == 0) GTEST_SKIP() << "write protection does not hold for a privileged user";
  WriteOldFile();
  fs::permissions(path_, fs::perms::owner_read);
  DeviceConfiguration config;
  config.pins[0].pin_config = {1, 64, 90};
  EXPECT_FALSE(SaveDataFile(path_, config, DataFileForm::kFull, prompter_));
  EXPECT_EQ(FileText(path_), kOld);
  EXPECT_EQ(config.pins[0].pin_config[2], 90);
  EXPECT_EQ(Entries(), std::vector<std::string>{"layout.dat"});
  EXPECT_EQ(prompter_.Texts(),
            std::vector<std::string>{"Cannot save " + path_.string() + ": Permission denied"});
}

TEST_F(DataFileDiskTest, SaveIntoMissingFolderFailsAndKeepsTheModel) {
  path_ = folder_ / "missing" / "layout.dat";
  DeviceConfiguration config;
  config.pins[0].pin_config = {1, 64, 90};
  ASSERT_FALSE(SaveDataFile(path_, config, DataFileForm::kFull, prompter_));
  EXPECT_EQ(config.pins[0].pin_config[2], 90);
  EXPECT_EQ(prompter_.Texts(), std::vector<std::string>{"Cannot save " + path_.string() +
                                                        ": No such file or directory"});
  EXPECT_EQ(prompter_.messages[0].icon, PromptIcon::kWarning);
}

TEST_F(DataFileDiskTest, SaveOntoAFolderFailsAndLeavesIt) {
  fs::create_directory(path_);
  std::ofstream(path_ / "inside") << "x";
  DeviceConfiguration config;
  ASSERT_FALSE(SaveDataFile(path_, config, DataFileForm::kFull, prompter_));
  EXPECT_TRUE(fs::is_directory(path_));
  EXPECT_EQ(FileText(path_ / "inside"), "x");
  EXPECT_EQ(Entries(), std::vector<std::string>{"layout.dat"});
  ASSERT_EQ(prompter_.messages.size(), 1u);
  EXPECT_TRUE(prompter_.messages[0].text.starts_with("Cannot save " + path_.string() + ": "));
}

TEST_F(DataFileDiskTest, WriteFailingMidwayKeepsTheOldFileWhole) {
  WriteOldFile();
  DeviceConfiguration config = testing::RichConfiguration();
  // A file size limit makes the write fail even for a privileged user.
  rlimit old_limit{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old_limit), 0);
  const auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = old_limit;
  small.rlim_cur = 1000;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool saved = SaveDataFile(path_, config, DataFileForm::kFull, prompter_);
  setrlimit(RLIMIT_FSIZE, &old_limit);
  std::signal(SIGXFSZ, old_handler);

  EXPECT_FALSE(saved);
  EXPECT_EQ(FileText(path_), kOld);
  EXPECT_EQ(Entries(), std::vector<std::string>{"layout.dat"});
  EXPECT_EQ(prompter_.Texts(),
            std::vector<std::string>{"Cannot save " + path_.string() + ": File too large"});
}

TEST_F(DataFileDiskTest, LoadOfMissingOrRefusedFileKeepsTheModel) {
  DeviceConfiguration config = testing::RichConfiguration();
  const DeviceConfiguration before = config;
  EXPECT_FALSE(LoadDataFile(path_, config, prompter_));
  WriteOldFile();
  EXPECT_FALSE(LoadDataFile(path_, config, prompter_));
  EXPECT_FALSE(LoadDataFile(folder_, config, prompter_));
  EXPECT_EQ(config, before);
  EXPECT_EQ(prompter_.Texts(), (std::vector<std::string>{
                                   "Cannot open " + path_.string() + ": No such file or directory",
                                   "Invalid configuration file",
                                   "Cannot open " + folder_.string() + ": Is a directory"}));
}

}  // namespace
}  // namespace tarn
