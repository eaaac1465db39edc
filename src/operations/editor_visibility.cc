#include "operations/editor_visibility.h"

namespace tarn {
namespace {

// A pin takes one address of each kind unless told otherwise; only a different count is worth
// the room when the details are off.
constexpr std::string_view kUsualCount = "1";

}  // namespace

bool IsShown(ShownWhen when, bool details, bool expert) {
  switch (when) {
    case ShownWhen::kAlways:
      return true;
    case ShownWhen::kDetails:
      return details;
    case ShownWhen::kExpert:
      return expert;
    case ShownWhen::kDetailsAndExpert:
      return details && expert;
  }
  return false;
}

EditorVisibility VisibilityOf(const EditorState& state) {
  const LayoutShape shape = ShapeOf(state.option);
  EditorVisibility shown;
  shown.step_grid = state.details;
  shown.aspect_controls = shape.aspect_controls;
  shown.step_rows = shape.step_rows;
  shown.write_single = state.details && shape.aspect_controls;
  for (std::size_t i = 0; i < shown.counts.size(); ++i) {
    shown.counts[i] = state.details || state.count_texts[i] != kUsualCount;
    shown.nr_of_addresses = shown.nr_of_addresses || shown.counts[i];
  }
  for (std::size_t i = 0; i < kEditorButtons.size(); ++i) {
    shown.buttons[i] = IsShown(kEditorButtons[i].shown, state.details, state.expert);
  }
  return shown;
}

PendingCommits CommitsBefore(EditorChange change, const EditorVisibility& shown) {
  PendingCommits commits;
  commits.step_rows = shown.step_grid ? shown.step_rows : 0;
  commits.initial_aspect = shown.aspect_controls;
  commits.counts = shown.counts;
  commits.device_pin = true;
  if (change == EditorChange::kPin) {
    commits.aspect = shown.aspect_controls;
    commits.pin_configuration = true;
  }
  return commits;
}

}  // namespace tarn
