#include "ui/dialogs/edit_step_dialog.h"

#include "model/step_editing.h"

namespace tarn::ui {

EditStepDialog::EditStepDialog(WindowContext& context, QWidget* parent)
    : ToolDialog(context, parent, QStringLiteral("dlgEditStep"), QStringLiteral("Edit Step")) {
  AddTool("cmdInsertStep", "Insert Step", [this] {
    EditAndClose("Insert Step", [this] { InsertStep(context_.config(), step_); });
  });
  AddTool("cmdDeleteStep", "Delete Step", [this] {
    EditAndClose("Delete Step", [this] { DeleteStep(context_.config(), step_); });
  });
  AddCancel();
}

void EditStepDialog::Run(int step) {
  step_ = step;
  const DeviceConfiguration& config = context_.config();
  Show(QStringLiteral("Pin %1, aspect %2, step %3")
           .arg(config.current_pin + context_.numbering_base())
           .arg(config.current_aspect)
           .arg(step));
}

}  // namespace tarn::ui
