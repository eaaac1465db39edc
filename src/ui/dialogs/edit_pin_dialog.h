#ifndef TARN_UI_DIALOGS_EDIT_PIN_DIALOG_H_
#define TARN_UI_DIALOGS_EDIT_PIN_DIALOG_H_

#include "model/pin_clipboard.h"
#include "ui/dialogs/tool_dialog.h"

namespace tarn::ui {

// "Edit Pin": copy, paste and clear the current pin. The clipboard is the dialog's own and lives
// as long as the dialog, which the editor keeps for the whole run.
class EditPinDialog : public ToolDialog {
  Q_OBJECT

 public:
  EditPinDialog(WindowContext& context, QWidget* parent);

  // Shows the dialog for the current pin until a tool or "Cancel" closes it.
  void Run();

 private:
  PinClipboard clipboard_;
};

}  // namespace tarn::ui

#endif  // TARN_UI_DIALOGS_EDIT_PIN_DIALOG_H_
