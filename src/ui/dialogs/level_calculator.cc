#include "ui/dialogs/level_calculator.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "model/calculator_parameter.h"
#include "ui/dialogs/dialog_parts.h"
#include "ui/text.h"
#include "ui/widgets/controls.h"
#include "ui/window_context.h"

namespace tarn::ui {

LevelCalculatorDialog::LevelCalculatorDialog(WindowHost& host, QWidget* parent) : QDialog(parent) {
  SetUpDialog(this, QStringLiteral("dlgTarnCalcLevel"),
              QStringLiteral("VeskConfig Calculate Level"));
  auto* column = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  column->addLayout(form);
  const auto add_field = [this, form](const char* name, const char* caption) {
    const QString field_name = QString::fromLatin1(name);
    QLabel* label =
        MakeLabel(this, QStringLiteral("lbl") + field_name.mid(3), QString::fromLatin1(caption));
    NumberField* field = MakeField(this, field_name, label);
    form->addRow(label, field);
    return field;
  };
  parameter_ = add_field("txtParameter", "Parameter");
  level_ = add_field("txtLevel", "Level");
  time_index_ = add_field("txtTimeIndex", "Time-Index");
  delay_ = add_field("txtDelay", "Delay (s)");
  MakeShownOnly(parameter_);
  MakeShownOnly(delay_);
  column->addLayout(MakeOkCancelRow(this));

  const auto bind = [this, &host](NumberField* field, LevelField which) {
    ConnectRequest(host, field, &NumberField::textEdited, this, [this, which](const QString& text) {
      calc_ = TypeLevelField(calc_, which, TypedText(text));
      Show();
    });
    ConnectRequest(host, field, &NumberField::committed, this, [this, field, which] {
      calc_ = LeaveLevelField(calc_, which, TypedText(field->text()));
      Show();
    });
  };
  bind(level_, LevelField::kLevel);
  bind(time_index_, LevelField::kTimeIndex);
}

bool LevelCalculatorDialog::Run(const QString& p2_text) {
  calc_ = OpenLevelCalculator(TypedText(p2_text));
  Show();
  level_->setFocus();
  return exec() == QDialog::Accepted;
}

QString LevelCalculatorDialog::parameter() const { return parameter_->text(); }

void LevelCalculatorDialog::reject() {
  calc_.parameter.text = ClosingParameter(calc_.parameter, false);
  Show();
  QDialog::reject();
}

void LevelCalculatorDialog::Show() {
  parameter_->Show(FromTarnText(calc_.parameter.text));
  level_->Show(FromTarnText(calc_.level_text));
  time_index_->Show(FromTarnText(calc_.time_index_text));
  delay_->Show(FromTarnText(calc_.delay_text));
}

}  // namespace tarn::ui
