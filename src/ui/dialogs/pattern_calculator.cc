#include "ui/dialogs/pattern_calculator.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "model/calculator_parameter.h"
#include "ui/dialogs/dialog_parts.h"
#include "ui/text.h"
#include "ui/widgets/controls.h"
#include "ui/window_context.h"

namespace tarn::ui {
namespace {

void ShowBox(QCheckBox* box, const CheckBoxView& view) {
  ShowChecked(box, view.checked);
  box->setEnabled(view.enabled);
}

}  // namespace

PatternCalculatorDialog::PatternCalculatorDialog(WindowHost& host, QWidget* parent)
    : QDialog(parent) {
  SetUpDialog(this, QStringLiteral("dlgTarnCalcPattern"),
              QStringLiteral("VeskConfig Calculate Pattern"));
  auto* column = new QVBoxLayout(this);
  auto* boxes = new QGridLayout;
  column->addLayout(boxes);
  for (int i = 0; i < kPatternBoxCount; ++i) {
    outputs_[i] =
        MakeCheckBox(this, ElementName("chkUitgang", i), QStringLiteral("Output +%1").arg(i));
    boxes->addWidget(outputs_[i], i, 0);
    ConnectRequest(host, outputs_[i], &QCheckBox::toggled, this, [this, i](bool checked) {
      calc_ = SetPatternOutput(calc_, i, checked);
      Show();
    });
  }
  all_dark_ = MakeCheckBox(this, QStringLiteral("chkAllDark"), QStringLiteral("All Dark"));
  no_dark_ = MakeCheckBox(this, QStringLiteral("chkNoDark"), QStringLiteral("No Dark-phase"));
  boxes->addWidget(all_dark_, 0, 1);
  boxes->addWidget(no_dark_, 1, 1);
  ConnectRequest(host, all_dark_, &QCheckBox::toggled, this, [this](bool checked) {
    calc_ = SetAllDark(calc_, checked);
    Show();
  });
  ConnectRequest(host, no_dark_, &QCheckBox::toggled, this, [this](bool checked) {
    calc_ = SetNoDark(calc_, checked);
    Show();
  });

  const ParameterFields fields = AddParameterFields(this, column);
  parameter_ = fields.parameter;
  original_ = fields.original;
  column->addLayout(MakeOkCancelRow(this));
}

bool PatternCalculatorDialog::Run(int value, int outputs, const QString& p2_text) {
  calc_ = OpenPatternCalculator(value, outputs, TypedText(p2_text));
  Show();
  outputs_[0]->setFocus();
  return exec() == QDialog::Accepted;
}

QString PatternCalculatorDialog::parameter() const { return parameter_->text(); }

void PatternCalculatorDialog::reject() {
  calc_.parameter.text = ClosingParameter(calc_.parameter, false);
  Show();
  QDialog::reject();
}

void PatternCalculatorDialog::Show() {
  for (int i = 0; i < kPatternBoxCount; ++i) ShowBox(outputs_[i], calc_.output_boxes[i]);
  ShowBox(all_dark_, calc_.all_dark);
  ShowBox(no_dark_, calc_.no_dark);
  parameter_->setText(FromTarnText(calc_.parameter.text));
  original_->setText(FromTarnText(calc_.parameter.original));
}

}  // namespace tarn::ui
