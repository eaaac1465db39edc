#ifndef TARN_UI_DIALOGS_LEVEL_CALCULATOR_H_
#define TARN_UI_DIALOGS_LEVEL_CALCULATOR_H_

#include <QDialog>

#include "model/level_calculator.h"

namespace tarn::ui {

class WindowHost;

class NumberField;

// "VeskConfig Calculate Level": a p2 made of a level (0..15) and a time index (0..7), with the
// delay the time index stands for.
class LevelCalculatorDialog : public QDialog {
  Q_OBJECT

 public:
  LevelCalculatorDialog(WindowHost& host, QWidget* parent);

  // Opens on the p2 field's text; true when closed with "OK", and parameter() is then what the
  // step takes.
  bool Run(const QString& p2_text);
  QString parameter() const;

  // "Cancel", Escape: "Parameter" shows the value the dialog was opened with again.
  void reject() override;

 private:
  void Show();

  LevelCalculator calc_;
  NumberField* parameter_;
  NumberField* level_;
  NumberField* time_index_;
  NumberField* delay_;
};

}  // namespace tarn::ui

#endif  // TARN_UI_DIALOGS_LEVEL_CALCULATOR_H_
