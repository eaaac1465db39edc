#ifndef TARN_UI_DIALOGS_EDIT_STEP_DIALOG_H_
#define TARN_UI_DIALOGS_EDIT_STEP_DIALOG_H_

#include "ui/dialogs/tool_dialog.h"

namespace tarn::ui {

// "Edit Step": insert an empty step at the clicked step of the current aspect, or delete that
// step. It keeps nothing between uses.
class EditStepDialog : public ToolDialog {
  Q_OBJECT

 public:
  EditStepDialog(WindowContext& context, QWidget* parent);

  // Shows the dialog for step `step` (0..8) until a tool or "Cancel" closes it.
  void Run(int step);

 private:
  int step_ = 0;
};

}  // namespace tarn::ui

#endif  // TARN_UI_DIALOGS_EDIT_STEP_DIALOG_H_
