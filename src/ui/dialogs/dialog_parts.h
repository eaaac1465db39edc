#ifndef TARN_UI_DIALOGS_DIALOG_PARTS_H_
#define TARN_UI_DIALOGS_DIALOG_PARTS_H_

#include <QString>
#include <string>

class QBoxLayout;
class QDialog;
class QHBoxLayout;
class QLineEdit;
class QPushButton;

// What the editor's small dialogs share: each is made once, kept for the whole run and shown
// modally; Escape is "Cancel" and, where there is one, Enter is "OK".

namespace tarn::ui {

// Object name, title and modality. A screen reader names the dialog by its title.
void SetUpDialog(QDialog* dialog, const QString& name, const QString& title);

// "OK", the default button that Enter presses, accepting; "Cancel" rejecting, as Escape does.
QHBoxLayout* MakeOkCancelRow(QDialog* dialog);

// A field that shows a result and takes no typing.
void MakeShownOnly(QLineEdit* field);

// The pattern calculators' "Parameter" (shown only) under the boxes, and beside it the hidden
// value to restore on "Cancel".
struct ParameterFields {
  QLineEdit* parameter;
  QLineEdit* original;
};
ParameterFields AddParameterFields(QDialog* dialog, QBoxLayout* column);


}  // namespace tarn::ui

#endif  // TARN_UI_DIALOGS_DIALOG_PARTS_H_
