#include "ui/dialogs/edit_aspect_dialog.h"

namespace tarn::ui {

EditAspectDialog::EditAspectDialog(WindowContext& context, QWidget* parent)
    : ToolDialog(context, parent, QStringLiteral("dlgEditAspect"), QStringLiteral("Edit Aspect")) {
  AddTool("cmdCopyAspect", "Copy Aspect", [this] {
    clipboard_.Copy(context_.config());
    accept();
  });
  AddTool("cmdPasteAspect", "Paste Aspect", [this] {
    PasteAndClose("Paste Aspect", [this] { return clipboard_.Paste(context_.config()); });
  });
  AddTool("cmdClearAspect", "Clear Aspect",
          [this] { EditAndClose("Clear Aspect", [this] { ClearAspect(context_.config()); }); });
  AddTool("cmdCleanupAspect", "Cleanup Aspect",
          [this] { EditAndClose("Cleanup Aspect", [this] { CleanupAspect(context_.config()); }); });
  AddCancel();
}

void EditAspectDialog::Run() {
  const DeviceConfiguration& config = context_.config();
  Show(QStringLiteral("Pin %1, aspect %2")
           .arg(config.current_pin + context_.numbering_base())
           .arg(config.current_aspect));
}

}  // namespace tarn::ui
