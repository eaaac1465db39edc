#include "ui/dialogs/edit_pin_dialog.h"

namespace tarn::ui {

EditPinDialog::EditPinDialog(WindowContext& context, QWidget* parent)
    : ToolDialog(context, parent, QStringLiteral("dlgEditPin"), QStringLiteral("Edit Pin")) {
  AddTool("cmdCopyPin", "Copy Pin", [this] {
    clipboard_.Copy(context_.config());
    accept();
  });
  AddTool("cmdPastePin", "Paste Pin", [this] {
    PasteAndClose("Paste Pin", [this] { return clipboard_.Paste(context_.config()); });
  });
  AddTool("cmdClearPin", "Clear Pin",
          [this] { EditAndClose("Clear Pin", [this] { ClearPin(context_.config()); }); });
  AddCancel();
}

void EditPinDialog::Run() {
  Show(QStringLiteral("Pin %1").arg(context_.config().current_pin + context_.numbering_base()));
}

}  // namespace tarn::ui
