#include "ui/dialogs/tool_dialog.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/dialogs/dialog_parts.h"
#include "ui/widgets/controls.h"

namespace tarn::ui {

ToolDialog::ToolDialog(WindowContext& context, QWidget* parent, const QString& name,
                       const QString& title)
    : QDialog(parent), context_(context) {
  SetUpDialog(this, name, title);
  column_ = new QVBoxLayout(this);
  target_ = MakeLabel(this, name + QStringLiteral("Target"), {});
  column_->addWidget(target_);
}

void ToolDialog::AddTool(const char* name, const char* caption,
                         const std::function<void()>& action) {
  QPushButton* button = MakeButton(this, QString::fromLatin1(name), QString::fromLatin1(caption));
  button->setAutoDefault(true);
  column_->addWidget(button);
  ConnectRequest(context_.host, button, &QPushButton::clicked, this, action);
}

void ToolDialog::AddCancel() {
  AddTool("cmdCancel", "Cancel", [this] { reject(); });
}

void ToolDialog::Show(const QString& target) {
  target_->setText(target);
  exec();
}

void ToolDialog::EditAndClose(std::string_view edit, const std::function<void()>& apply) {
  context_.host.Edit(edit, apply);
  accept();
}

void ToolDialog::PasteAndClose(std::string_view edit, const std::function<PasteOutcome()>& paste) {
  PasteOutcome outcome;
  context_.host.Edit(edit, [&] { outcome = paste(); });
  if (!outcome.pasted) {
    context_.prompter.Show(outcome.message);
    return;
  }
  accept();
}

}  // namespace tarn::ui
