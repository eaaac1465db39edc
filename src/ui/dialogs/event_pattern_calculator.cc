#include "ui/dialogs/event_pattern_calculator.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include "model/calculator_parameter.h"
#include "ui/dialogs/dialog_parts.h"
#include "ui/text.h"
#include "ui/widgets/controls.h"
#include "ui/window_context.h"

namespace tarn::ui {

EventPatternCalculatorDialog::EventPatternCalculatorDialog(WindowHost& host, QWidget* parent)
    : QDialog(parent) {
  SetUpDialog(this, QStringLiteral("dlgTarnCalcEventPattern"),
              QStringLiteral("TarnConfig CalcETImap"));
  auto* column = new QVBoxLayout(this);
  auto* frames = new QHBoxLayout;
  column->addLayout(frames);

  QGroupBox* inputs = MakeFrame(this, QStringLiteral("fraEventInputs"), QStringLiteral("Inputs"));
  auto* input_column = new QVBoxLayout(inputs);
  for (int i = 0; i < kEventInputCount; ++i) {
    inputs_[i] =
        MakeCheckBox(inputs, ElementName("chkEvent", i), QStringLiteral("Event Input %1").arg(i));
    input_column->addWidget(inputs_[i]);
    ConnectRequest(host, inputs_[i], &QCheckBox::toggled, this, [this, i](bool checked) {
      calc_ = SetEventInput(calc_, i, checked);
      Show();
    });
  }
  frames->addWidget(inputs);

  // The options share one frame, which makes them exclusive.
  QGroupBox* actions = MakeFrame(this, QStringLiteral("fraEventAction"), QStringLiteral("Action"));
  auto* action_column = new QVBoxLayout(actions);
  for (std::size_t i = 0; i < kEventPatternOptions.size(); ++i) {
    const EventPatternOption& option = kEventPatternOptions[i];
    options_[i] =
        MakeOption(actions, ElementName("optEvent", option.index), FromTarnText(option.caption));
    action_column->addWidget(options_[i]);
    ConnectRequest(host, options_[i], &QRadioButton::toggled, this,
                   [this, index = option.index](bool on) {
                     if (!on) return;
                     calc_ = ChooseEventOption(calc_, index);
                     Show();
                   });
  }
  frames->addWidget(actions);

  const ParameterFields fields = AddParameterFields(this, column);
  parameter_ = fields.parameter;
  original_ = fields.original;
  column->addLayout(MakeOkCancelRow(this));
}

bool EventPatternCalculatorDialog::Run(int value, const QString& p2_text) {
  calc_ = OpenEventPatternCalculator(value, TypedText(p2_text));
  Show();
  inputs_[0]->setFocus();
  return exec() == QDialog::Accepted;
}

QString EventPatternCalculatorDialog::parameter() const { return parameter_->text(); }

void EventPatternCalculatorDialog::reject() {
  calc_.parameter.text = ClosingParameter(calc_.parameter, false);
  Show();
  QDialog::reject();
}

void EventPatternCalculatorDialog::Show() {
  for (int i = 0; i < kEventInputCount; ++i) ShowChecked(inputs_[i], calc_.inputs[i]);
  for (std::size_t i = 0; i < kEventPatternOptions.size(); ++i) {
    if (kEventPatternOptions[i].index == calc_.option) ShowChecked(options_[i], true);
  }
  parameter_->setText(FromTarnText(calc_.parameter.text));
  original_->setText(FromTarnText(calc_.parameter.original));
}

}  // namespace tarn::ui
