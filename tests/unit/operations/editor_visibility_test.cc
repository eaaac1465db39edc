#include "operations/editor_visibility.h"

#include <gtest/gtest.h>

#include <array>
#include <string_view>

namespace tarn {
namespace {

using Counts = std::array<std::string_view, 3>;  // "Serial", "B-DCC", "X-DCC"
using Flags = std::array<bool, 3>;
constexpr Counts kUsual = {"1", "1", "1"};

// The index of an operation button within kEditorButtons.
std::size_t ButtonIndex(Operation operation) {
  for (std::size_t i = 0; i < kEditorButtons.size(); ++i) {
    if (kEditorButtons[i].operation == operation) return i;
  }
  ADD_FAILURE() << "no button";
  return 0;
}

TEST(EditorVisibilityTest, DetailsExpertLayoutAndCountsDecideWhatIsShown) {
  const struct {
    const char* what;
    EditorState state;
    bool grid;
    bool aspect_controls;
    int rows;
    bool write_single;
    Flags counts;
    bool nr_of_addresses;
    bool read_pin;      // "Read Pin", "Write Pin", "Verify All Pins": expert mode
    bool read_aspects;  // "Read Asp's", "Write Asp's": details and expert mode
  } cases[] = {
      {"start: no details, layout 0, usual counts",
       {false, false, LayoutOption::kNone, kUsual},
       false,
       false,
       0,
       false,
       {},
       false,
       false,
       false},
      {"details on, layout 0: the grid without rows or Write Single",
       {true, false, LayoutOption::kNone, kUsual},
       true,
       false,
       0,
       false,
       {true, true, true},
       true,
       false,
       false},
      {"layout 4 without details: the aspect fields, no grid",
       {false, false, LayoutOption::kFourAspects, kUsual},
       false,
       true,
       9,
       false,
       {},
       false,
       false,
       false},
      {"layout 4 with details",
       {true, false, LayoutOption::kFourAspects, kUsual},
       true,
       true,
       9,
       true,
       {true, true, true},
       true,
       false,
       false},
      {"layout 12 with details and expert",
       {true, true, LayoutOption::kTwelveAspects, kUsual},
       true,
       true,
       3,
       true,
       {true, true, true},
       true,
       true,
       true},
      {"expert without details",
       {false, true, LayoutOption::kTwelveAspects, kUsual},
       false,
       true,
       3,
       false,
       {},
       false,
       true,
       false},
      {"a count of 2 stays without details",
       {false, false, LayoutOption::kNone, {"1", "2", "1"}},
       false,
       false,
       0,
       false,
       {false, true, false},
       true,
       false,
       false},
      {"a count of 0 stays too",
       {false, false, LayoutOption::kNone, {"0", "1", "1"}},
       false,
       false,
       0,
       false,
       {true, false, false},
       true,
       false,
       false},
      {"a field holding text that is not \"1\" stays",
       {false, false, LayoutOption::kNone, {"1", "1", "01"}},
       false,
       false,
       0,
       false,
       {false, false, true},
       true,
       false,
       false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const EditorVisibility shown = VisibilityOf(c.state);
    EXPECT_EQ(shown.step_grid, c.grid);
    EXPECT_EQ(shown.aspect_controls, c.aspect_controls);
    EXPECT_EQ(shown.step_rows, c.rows);
    EXPECT_EQ(shown.write_single, c.write_single);
    EXPECT_EQ(shown.counts, c.counts);
    EXPECT_EQ(shown.nr_of_addresses, c.nr_of_addresses);
    for (Operation expert :
         {Operation::kReadPin, Operation::kWritePin, Operation::kVerifyAllPins}) {
      EXPECT_EQ(shown.buttons[ButtonIndex(expert)], c.read_pin);
    }
    for (Operation both : {Operation::kReadPinAspects, Operation::kWritePinAspects}) {
      EXPECT_EQ(shown.buttons[ButtonIndex(both)], c.read_aspects);
    }
    for (Operation always : {Operation::kReadDevice, Operation::kWriteDevice,
                             Operation::kReadAllPins, Operation::kWriteAllPins}) {
      EXPECT_TRUE(shown.buttons[ButtonIndex(always)]);
    }
  }
}

// Only a field that is shown can hold something typed; a pin change commits every one of them,
// an aspect change all but the aspect field it sets itself.
TEST(EditorVisibilityTest, ChangesCommitWhatIsShownFirst) {
  const struct {
    const char* what;
    EditorChange change;
    EditorState state;
    PendingCommits commits;
  } cases[] = {
      {"pin change, layout 4 with details",
       EditorChange::kPin,
       {true, false, LayoutOption::kFourAspects, kUsual},
       {.step_rows = 9,
        .aspect = true,
        .initial_aspect = true,
        .counts = {true, true, true},
        .device_pin = true,
        .pin_configuration = true}},
      {"aspect change, layout 12 with details",
       EditorChange::kAspect,
       {true, false, LayoutOption::kTwelveAspects, kUsual},
       {.step_rows = 3,
        .aspect = false,
        .initial_aspect = true,
        .counts = {true, true, true},
        .device_pin = true}},
      {"pin change without details: no step rows, only the unusual count",
       EditorChange::kPin,
       {false, false, LayoutOption::kFourAspects, {"1", "1", "0"}},
       {.step_rows = 0,
        .aspect = true,
        .initial_aspect = true,
        .counts = {false, false, true},
        .device_pin = true,
        .pin_configuration = true}},
      {"pin change on a pin without program",
       EditorChange::kPin,
       {true, false, LayoutOption::kNone, kUsual},
       {.step_rows = 0,
        .aspect = false,
        .initial_aspect = false,
        .counts = {true, true, true},
        .device_pin = true,
        .pin_configuration = true}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(CommitsBefore(c.change, VisibilityOf(c.state)), c.commits);
  }
}

}  // namespace
}  // namespace tarn
