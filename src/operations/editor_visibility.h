#ifndef TARN_OPERATIONS_EDITOR_VISIBILITY_H_
#define TARN_OPERATIONS_EDITOR_VISIBILITY_H_

#include <array>
#include <string_view>

#include "model/aspect_view.h"
#include "operations/operation_table.h"

// Which controls of the aspect program editor are shown, by "Show Details", expert mode, the
// layout option and the address counts; and which typed fields take effect before the pin or the
// aspect changes, so that nothing typed is lost when the fields are filled from another record.

namespace tarn {

enum class ShownWhen : std::uint8_t { kAlways, kDetails, kExpert, kDetailsAndExpert };
bool IsShown(ShownWhen when, bool details, bool expert);

struct EditorButton {
  Operation operation;
  ShownWhen shown;
};

// The operation buttons of the editor, in the order they are laid out.
inline constexpr std::array<EditorButton, 9> kEditorButtons = {{
    {Operation::kReadPin, ShownWhen::kExpert},
    {Operation::kWritePin, ShownWhen::kExpert},
    {Operation::kReadDevice, ShownWhen::kAlways},
    {Operation::kWriteDevice, ShownWhen::kAlways},
    {Operation::kReadAllPins, ShownWhen::kAlways},
    {Operation::kWriteAllPins, ShownWhen::kAlways},
    {Operation::kReadPinAspects, ShownWhen::kDetailsAndExpert},
    {Operation::kWritePinAspects, ShownWhen::kDetailsAndExpert},
    {Operation::kVerifyAllPins, ShownWhen::kExpert},
}};

struct EditorState {
  bool details = false;  // CheckPAspShowDetails
  bool expert = false;
  LayoutOption option = LayoutOption::kNone;
  // What the count fields show, in kPinCountFields order ("Serial", "B-DCC", "X-DCC").
  std::array<std::string_view, 3> count_texts{};
};

struct EditorVisibility {
  bool step_grid = false;        // the frame AspDetails with the rows and their headings
  bool aspect_controls = false;  // "Aspect", "Init", the aspect description, "Test"
  int step_rows = 0;             // rows 0 .. step_rows - 1 within the grid
  bool write_single = false;     // "Write Single" and the "#" and "Instruction" headings
  std::array<bool, 3> counts{};  // each count field with its up/down and column heading
  bool nr_of_addresses = false;  // the "Nr Of Addresses" label
  std::array<bool, kEditorButtons.size()> buttons{};  // as kEditorButtons

  friend bool operator==(const EditorVisibility&, const EditorVisibility&) = default;
};

EditorVisibility VisibilityOf(const EditorState& state);

// The typed fields that take effect before a change fills the fields from another record.
enum class EditorChange : std::uint8_t { kPin, kAspect };

struct PendingCommits {
  int step_rows = 0;  // all four fields of rows 0 .. step_rows - 1
  bool aspect = false;
  bool initial_aspect = false;
  std::array<bool, 3> counts{};    // as kPinCountFields
  bool device_pin = false;         // TextDevicePin, which is always shown
  bool pin_configuration = false;  // the fields of the shown pin configuration tab

  friend bool operator==(const PendingCommits&, const PendingCommits&) = default;
};

// Only what is shown can hold a typed entry. A pin change commits every field of the pin; an
// aspect change all but the aspect field, which the change itself sets. Both show every field of
// the pin again, so a device pin typed and not yet committed would be lost otherwise.
PendingCommits CommitsBefore(EditorChange change, const EditorVisibility& shown);

}  // namespace tarn

#endif  // TARN_OPERATIONS_EDITOR_VISIBILITY_H_
