#ifndef TARN_UI_DIALOGS_TIME_CALCULATOR_H_
#define TARN_UI_DIALOGS_TIME_CALCULATOR_H_

#include <QDialog>

#include "model/time_calculator.h"

class QLabel;
class QSlider;

namespace tarn::ui {

class WindowHost;

class NumberField;

// "TarnConfig CalcTime": "Time" (p3) and "Base" (p4) of a waiting step, with the duration they
// make and the longest one the base allows.
class TimeCalculatorDialog : public QDialog {
  Q_OBJECT

 public:
  TimeCalculatorDialog(WindowHost& host, QWidget* parent);

  // Opens on the step's p3 and p4; true when closed with "OK", and calculator() then holds what
  // the step takes.
  bool Run(const Step& step);
  const TimeCalculator& calculator() const { return calc_; }

  // "Cancel", Escape: base and time go back to what the dialog was opened with.
  void reject() override;

 private:
  void Show();

  TimeCalculator calc_;
  NumberField* base_;
  QSlider* time_;
  QLabel* max_time_text_;
  QLabel* time_text_;
};

}  // namespace tarn::ui

#endif  // TARN_UI_DIALOGS_TIME_CALCULATOR_H_
