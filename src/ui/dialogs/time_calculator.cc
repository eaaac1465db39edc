#include "ui/dialogs/time_calculator.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include "model/step_time.h"
#include "ui/dialogs/dialog_parts.h"
#include "ui/text.h"
#include "ui/widgets/controls.h"
#include "ui/window_context.h"

namespace tarn::ui {
namespace {

constexpr QLatin1String kMaxTimeCaption("Max Time = ");
constexpr QLatin1String kTimeCaption("Time = ");

// A duration label is read out with what it is the duration of.
void ShowDuration(QLabel* value, QLatin1String caption, const std::string& text) {
  const QString shown = FromTarnText(text);
  ShowText(value, shown);
  value->setAccessibleName(caption + shown);
}

}  // namespace

TimeCalculatorDialog::TimeCalculatorDialog(WindowHost& host, QWidget* parent) : QDialog(parent) {
  SetUpDialog(this, QStringLiteral("dlgCT"), QStringLiteral("TarnConfig CalcTime"));
  auto* column = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  column->addLayout(grid);

  QLabel* base_label = MakeLabel(this, QStringLiteral("LabelCTBase"), QStringLiteral("Base"));
  base_ = MakeField(this, QStringLiteral("TextCTBase"), base_label);
  UpDown* base_up_down = MakeUpDown(this, QStringLiteral("UpDownCTBase"), QStringLiteral("Base"));
  auto* base_row = new QHBoxLayout;
  base_row->addWidget(base_);
  base_row->addWidget(base_up_down);
  base_row->addStretch();
  grid->addWidget(base_label, 0, 0);
  grid->addLayout(base_row, 0, 1);

  QLabel* time_label = MakeLabel(this, QStringLiteral("LabelCTSlider"), QStringLiteral("Time"));
  time_ = MakeSlider(this, QStringLiteral("SliderCTTime"), QStringLiteral("Time"), 0, kMaxWaitTime);
  time_->setPageStep(8);
  time_->setMinimumWidth(260);
  time_label->setBuddy(time_);
  grid->addWidget(time_label, 1, 0);
  grid->addWidget(time_, 1, 1);

  QLabel* max_caption =
      MakeLabel(this, QStringLiteral("LabelCTMaxTimeCaption"), QString(kMaxTimeCaption));
  max_time_text_ = MakeLabel(this, QStringLiteral("LabelCTMaxTime"), {});
  QLabel* time_caption =
      MakeLabel(this, QStringLiteral("LabelCTTimeCaption"), QString(kTimeCaption));
  time_text_ = MakeLabel(this, QStringLiteral("LabelCTTime"), {});
  grid->addWidget(max_caption, 2, 0);
  grid->addWidget(max_time_text_, 2, 1);
  grid->addWidget(time_caption, 3, 0);
  grid->addWidget(time_text_, 3, 1);
  // Until the dialog first computes them.
  ShowDuration(max_time_text_, kMaxTimeCaption, calc_.max_time_text);
  ShowDuration(time_text_, kTimeCaption, calc_.time_text);
  column->addLayout(MakeOkCancelRow(this));

  ConnectRequest(host, time_, &QSlider::valueChanged, this, [this](int time) {
    calc_ = MoveTimeSlider(calc_, time);
    Show();
  });
  ConnectRequest(host, base_up_down, &UpDown::stepped, this, [this](int direction) {
    calc_ = SetTimeBase(calc_, calc_.base + direction);
    Show();
  });
  ConnectRequest(host, base_, &NumberField::committed, this, [this] {
    calc_ = EnterTimeBase(calc_, TypedText(base_->text()));
    Show();
  });
}

bool TimeCalculatorDialog::Run(const Step& step) {
  calc_ = OpenTimeCalculator(step);
  Show();
  time_->setFocus();
  return exec() == QDialog::Accepted;
}

void TimeCalculatorDialog::reject() {
  calc_ = CancelTimeCalculator(calc_);
  Show();
  QDialog::reject();
}

void TimeCalculatorDialog::Show() {
  base_->Show(FromTarnText(calc_.base_text));
  {
    const QSignalBlocker quiet(time_);
    time_->setValue(calc_.time);
  }
  ShowDuration(max_time_text_, kMaxTimeCaption, calc_.max_time_text);
  ShowDuration(time_text_, kTimeCaption, calc_.time_text);
}

}  // namespace tarn::ui
