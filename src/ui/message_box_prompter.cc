#include "ui/message_box_prompter.h"

#include <QMessageBox>

#include "ui/text.h"

namespace tarn::ui {
namespace {

QMessageBox::Icon IconOf(PromptIcon icon) {
  switch (icon) {
    case PromptIcon::kWarning:
      return QMessageBox::Warning;
    case PromptIcon::kInformation:
      return QMessageBox::Information;
    case PromptIcon::kQuestion:
      return QMessageBox::Question;
    case PromptIcon::kNone:
      break;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

PromptAnswer MessageBoxPrompter::Show(std::string_view text, PromptIcon icon,
                                      PromptButtons buttons) {
  QMessageBox box(IconOf(icon), QStringLiteral("Tarn Config"), FromTarnText(text),
                  QMessageBox::NoButton, parent_);
  box.setTextFormat(Qt::PlainText);
  switch (buttons) {
    case PromptButtons::kOk:
      box.setStandardButtons(QMessageBox::Ok);
      break;
    case PromptButtons::kOkCancel:
      box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
      box.setDefaultButton(QMessageBox::Ok);
      break;
    case PromptButtons::kYesNo:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      box.setDefaultButton(QMessageBox::Yes);
      break;
    case PromptButtons::kYesNoCancel:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      box.setDefaultButton(QMessageBox::Yes);
      break;
  }
  switch (box.exec()) {
    case QMessageBox::Yes:
      return PromptAnswer::kYes;
    case QMessageBox::No:
      return PromptAnswer::kNo;
    case QMessageBox::Cancel:
      return PromptAnswer::kCancel;
    default:
      // Escape on a box with OK alone closes it as OK; on Yes/No it answers No.
      if (buttons == PromptButtons::kYesNo) return PromptAnswer::kNo;
      if (buttons == PromptButtons::kOk) return PromptAnswer::kOk;
      return PromptAnswer::kCancel;
  }
}

}  // namespace tarn::ui
