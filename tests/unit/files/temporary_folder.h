#ifndef TARN_TESTS_UNIT_FILES_TEMPORARY_FOLDER_H_
#define TARN_TESTS_UNIT_FILES_TEMPORARY_FOLDER_H_

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace tarn::testing {

// The bytes of a file; empty when it cannot be read.
inline std::string FileText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Gives every test an empty folder of its own, removed with everything in it afterwards.
class TemporaryFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ =
        std::filesystem::temp_directory_path() / ("tarn_files_" + std::to_string(getpid()) + "_" +
                                                  test->test_suite_name() + "_" + test->name());
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  std::filesystem::path folder_;
};

}  // namespace tarn::testing

#endif  // TARN_TESTS_UNIT_FILES_TEMPORARY_FOLDER_H_
