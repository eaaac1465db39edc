#ifndef TARN_UI_DIALOGS_EVENT_PATTERN_CALCULATOR_H_
#define TARN_UI_DIALOGS_EVENT_PATTERN_CALCULATOR_H_

#include <QDialog>
#include <array>

#include "model/event_pattern_calculator.h"

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace tarn::ui {

class WindowHost;

// "TarnConfig CalcETImap": the "ETImap" p2 of an "Event Input" step as the event inputs taking
// part and what happens to their On- or Off-Event.
class EventPatternCalculatorDialog : public QDialog {
  Q_OBJECT

 public:
  EventPatternCalculatorDialog(WindowHost& host, QWidget* parent);

  // Opens on `value`; `p2_text` is what "Cancel" gives back. True when closed with "OK", and
  // parameter() is then what the step takes.
  bool Run(int value, const QString& p2_text);
  QString parameter() const;

  // "Cancel", Escape: "Parameter" shows the text the dialog was opened with again.
  void reject() override;

 private:
  void Show();

  EventPatternCalculator calc_;
  std::array<QCheckBox*, kEventInputCount> inputs_{};
  std::array<QRadioButton*, kEventPatternOptions.size()> options_{};
  QLineEdit* parameter_;
  QLineEdit* original_;
};

}  // namespace tarn::ui

#endif  // TARN_UI_DIALOGS_EVENT_PATTERN_CALCULATOR_H_
