#include "ui/dialogs/dialog_parts.h"

#include <QDialog>
#include <QFormLayout>
#include <QLabel>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

#include "ui/text.h"
#include "ui/widgets/controls.h"

namespace tarn::ui {

void SetUpDialog(QDialog* dialog, const QString& name, const QString& title) {
  dialog->setObjectName(name);
  dialog->setWindowTitle(title);
  dialog->setAccessibleName(title);
  dialog->setModal(true);
  dialog->setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

QHBoxLayout* MakeOkCancelRow(QDialog* dialog) {
  auto* row = new QHBoxLayout;
  QPushButton* ok = MakeButton(dialog, QStringLiteral("cmdOK"), QStringLiteral("OK"));
  QPushButton* cancel = MakeButton(dialog, QStringLiteral("cmdCancel"), QStringLiteral("Cancel"));
  ok->setDefault(true);
  row->addStretch();
  row->addWidget(ok);
  row->addWidget(cancel);
  QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
  QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
  return row;
}

void MakeShownOnly(QLineEdit* field) {
  field->setReadOnly(true);
  field->setFocusPolicy(Qt::TabFocus);
}

ParameterFields AddParameterFields(QDialog* dialog, QBoxLayout* column) {
  auto* form = new QFormLayout;
  column->addLayout(form);
  QLabel* label = MakeLabel(dialog, QStringLiteral("lblParameter"), QStringLiteral("Parameter"));
  ParameterFields fields{MakeField(dialog, QStringLiteral("txtParameter"), label),
                         MakeNamedField(dialog, QStringLiteral("txtOriginal"),
                                        QStringLiteral("Original"))};
  MakeShownOnly(fields.parameter);
  form->addRow(label, fields.parameter);
  fields.original->hide();
  return fields;
}


}  // namespace tarn::ui
