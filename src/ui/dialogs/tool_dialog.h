#ifndef TARN_UI_DIALOGS_TOOL_DIALOG_H_
#define TARN_UI_DIALOGS_TOOL_DIALOG_H_

#include <QDialog>
#include <functional>
#include <string_view>

#include "model/paste_outcome.h"
#include "ui/window_context.h"

class QLabel;
class QVBoxLayout;

namespace tarn::ui {

// A dialog of the editor's copy, paste and clear tools: a line that says what the tools act on,
// a column of tool buttons and "Cancel" (also Escape). Enter presses the button with the focus.
class ToolDialog : public QDialog {
  Q_OBJECT

 protected:
  ToolDialog(WindowContext& context, QWidget* parent, const QString& name, const QString& title);

  // A tool button; `action` does what it says and closes the dialog, or keeps it open.
  void AddTool(const char* name, const char* caption, const std::function<void()>& action);
  // Ends the column with "Cancel".
  void AddCancel();

  // Shows the dialog, its first line reading `target`, until a tool or "Cancel" closes it.
  void Show(const QString& target);

  // An edit of the model named `edit` (undoable), then closes.
  void EditAndClose(std::string_view edit, const std::function<void()>& apply);
  // A paste named `edit`: closes when something was pasted; from an empty clipboard the model
  // stays as it is, the message is shown and the dialog stays open.
  void PasteAndClose(std::string_view edit, const std::function<PasteOutcome()>& paste);

  WindowContext& context_;

 private:
  QLabel* target_;
  QVBoxLayout* column_;
};

}  // namespace tarn::ui

#endif  // TARN_UI_DIALOGS_TOOL_DIALOG_H_
