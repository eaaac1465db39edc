#ifndef TARN_UI_DIALOGS_PATTERN_CALCULATOR_H_
#define TARN_UI_DIALOGS_PATTERN_CALCULATOR_H_

#include <QDialog>
#include <array>

#include "model/pattern_calculator.h"

class QCheckBox;
class QLineEdit;

namespace tarn::ui {

class WindowHost;

// "VeskConfig Calculate Pattern": the "Patt." p2 of a "Multibit" step as one box per output,
// with "All Dark" and "No Dark-phase" for instructions of up to five outputs.
class PatternCalculatorDialog : public QDialog {
  Q_OBJECT

 public:
  PatternCalculatorDialog(WindowHost& host, QWidget* parent);

  // Opens on `value` for an instruction of `outputs` outputs; `p2_text` is what "Cancel" gives
  // back. True when closed with "OK", and parameter() is then what the step takes.
  bool Run(int value, int outputs, const QString& p2_text);
  QString parameter() const;

  // "Cancel", Escape: "Parameter" shows the text the dialog was opened with again.
  void reject() override;

 private:
  void Show();

  PatternCalculator calc_;
  std::array<QCheckBox*, kPatternBoxCount> outputs_{};
  QCheckBox* all_dark_;
  QCheckBox* no_dark_;
  QLineEdit* parameter_;
  QLineEdit* original_;
};

}  // namespace tarn::ui

#endif  // TARN_UI_DIALOGS_PATTERN_CALCULATOR_H_
