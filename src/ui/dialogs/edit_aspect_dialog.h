#ifndef TARN_UI_DIALOGS_EDIT_ASPECT_DIALOG_H_
#define TARN_UI_DIALOGS_EDIT_ASPECT_DIALOG_H_

#include "model/aspect_clipboard.h"
#include "ui/dialogs/tool_dialog.h"

namespace tarn::ui {

// "Edit Aspect": copy, paste, clear and clean up the current aspect of the current pin. The
// clipboard is the dialog's own and lives as long as the dialog, which the editor keeps for the
// whole run.
class EditAspectDialog : public ToolDialog {
  Q_OBJECT

 public:
  EditAspectDialog(WindowContext& context, QWidget* parent);

  // Shows the dialog for the current aspect until a tool or "Cancel" closes it.
  void Run();

 private:
  AspectClipboard clipboard_;
};

}  // namespace tarn::ui

#endif  // TARN_UI_DIALOGS_EDIT_ASPECT_DIALOG_H_
