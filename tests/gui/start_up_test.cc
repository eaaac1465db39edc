// Start-up with the standard device library missing, unreadable or not a library: the warnings
// come in order, the fallback dialog is offered, and the window is ready afterwards.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QTemporaryDir>
#include <fstream>
#include <functional>

#include "gui/window_fixture.h"

namespace tarn::testing {
namespace {

using ::testing::ElementsAreArray;

constexpr const char* kNotFound = "Can not find Device Configuration file at standard location";
constexpr const char* kNoneAvailable = "No Device Configuration available";
constexpr const char* kInvalid = "Invalid definition file";

struct StartUpCase {
  const char* name;
  // Puts (or leaves out) TarnDevices.def in the program's folder.
  std::function<void(const std::filesystem::path& folder)> prepare;
  bool fallback_answered;  // the file dialog that follows the first warning picks the real library
  std::vector<std::string> messages;
  const char* version;  // lblDDVersion afterwards
  int devices;          // entries of cboDevice afterwards
};

void Write(const std::filesystem::path& path, const char* text) { std::ofstream(path) << text; }

class StartUpTest : public WindowTest, public ::testing::WithParamInterface<StartUpCase> {
 protected:
  void SetUp() override {}  // each case starts the window on its own folder
};

TEST_P(StartUpTest, WarnsInOrderAndStillStarts) {
  const StartUpCase& c = GetParam();
  QTemporaryDir folder;
  const std::filesystem::path program_folder = folder.path().toStdU16String();
  c.prepare(program_folder);
  if (c.fallback_answered) files.opens = {DataFolder() / "TarnDevices.def"};

  Start(program_folder);

  EXPECT_THAT(TakeMessages(), ElementsAreArray(c.messages)) << c.name;
  EXPECT_EQ(Find<QLabel>(QStringLiteral("lblDDVersion"))->text().toStdString(), c.version)
      << c.name;
  EXPECT_EQ(Find<QComboBox>(QStringLiteral("cboDevice"))->count(), c.devices) << c.name;
  // Whatever the library did, the rest of start-up happened: the port is open and a read works.
  LoadIntoTarn(ExampleFile());
  RunOperation(QStringLiteral("CommandReadAll"));
  EXPECT_EQ(Text(QStringLiteral("TextGenIDString")), QStringLiteral("Nord Yard 7")) << c.name;
  EXPECT_FALSE(window->isWindowModified()) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Library, StartUpTest,
    ::testing::Values(
        StartUpCase{"missing, dialog cancelled", [](const std::filesystem::path&) {}, false,
                    {kNotFound, kNoneAvailable}, "None", 0},
        StartUpCase{"missing, another file chosen", [](const std::filesystem::path&) {}, true,
                    {kNotFound}, "Standard devices 1.0", 9},
        StartUpCase{"unreadable (a folder of that name)",
                    [](const std::filesystem::path& folder) {
                      std::filesystem::create_directory(folder / "TarnDevices.def");
                    },
                    false, {kNotFound, kNoneAvailable}, "None", 0},
        StartUpCase{"not a definitions file",
                    [](const std::filesystem::path& folder) {
                      Write(folder / "TarnDevices.def", "\"TarnConfiguration 3100\"\r\n");
                    },
                    false, {kInvalid}, "None", 0},
        StartUpCase{"a header without a version",
                    [](const std::filesystem::path& folder) {
                      Write(folder / "TarnDevices.def",
                            "\"TarnDeviceDefinitions\"\r\n\"End\"\r\n");
                    },
                    false, {}, "Unknown", 0}),
    [](const ::testing::TestParamInfo<StartUpCase>& info) {
      std::string name;
      for (const char ch : std::string(info.param.name)) {
        if (std::isalnum(static_cast<unsigned char>(ch))) name += ch;
      }
      return name;
    });

}  // namespace
}  // namespace tarn::testing
